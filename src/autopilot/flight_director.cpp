#include "autopilot/flight_director.h"
#include "autopilot/ap_units.h"
#include "autopilot/autopilot.h"
#include "electrical/electrical.h"
#include "instruments/instruments.h"

#include <cmath>

f64 fd_zone[6] = {};

namespace {

constexpr double PI = 3.14159265358979323846;

MODULE_VAR course_var = sim::token(0x2d);
MODULE_VAR heading_var = sim::token(0x54);
MODULE_VAR bank_var = sim::token(0x50);
MODULE_VAR pitch_var = sim::token(0x4e);
MODULE_VAR vs_var = sim::token(0x41);
MODULE_VAR lateral_dev_var = sim::token(0x28);
MODULE_VAR glide_dev_var = sim::token(0x29);
MODULE_VAR glide_received_var = sim::token(0x2c);
MODULE_VAR signal_var = sim::token(0x31);
MODULE_VAR body_long_var = sim::token(0x227);
MODULE_VAR body_lat_var = sim::token(0x228);
MODULE_VAR speed_var = sim::token(0x3d);
MODULE_VAR height_var = sim::token(0x266);
MODULE_VAR att_fail_1_var = sim::token(0x114);
MODULE_VAR att_fail_2_var = sim::token(0x120);
MODULE_VAR tick_var = sim::token(0x1);

// What the computer reads of the aircraft in one frame.
struct Inputs {
  double course, heading, bank, pitch_up, vs_raw, vs_fpm, lateral_dev, glide_dev, signal;
  double body_long, body_lat, speed, height, tick;
  bool glide_received;
};

Inputs read_inputs() {
  Inputs in{};
  in.course = ap::read_within(course_var, -720, 720);
  in.heading = ap::read_within(heading_var, -720, 720);
  in.bank = ap::read_within(bank_var, -360, 360);
  in.pitch_up = -ap::read_within(pitch_var, -180, 180);
  in.vs_raw = ap::read_within(vs_var, -50000, 50000);
  in.vs_fpm = ap::fpm_from_raw(in.vs_raw);
  in.lateral_dev = ap::read_within(lateral_dev_var, -10000, 10000);
  in.glide_dev = ap::read_within(glide_dev_var, -10000, 10000);
  in.signal = ap::read_within(signal_var, 0, 1000000);
  in.body_long = ap::read_within(body_long_var, -100000, 100000);
  in.body_lat = ap::read_within(body_lat_var, -100000, 100000);
  in.speed = ap::read_within(speed_var, 0, 2000);
  in.height = ap::read_within(height_var, -1000, 100000);
  in.tick = ap::read_within(tick_var, 0, 4294967295.0);
  in.glide_received = sim::read_finite(glide_received_var) == 1.0;
  return in;
}

// ---- drift, glide and pitch commands

void drift_and_course(const Inputs& in) {
  const double a = in.body_long, b = in.body_lat;
  const double speed = std::sqrt(a * a + b * b);
  // At rest there is no velocity to take a direction from: no drift.
  fd_drift = speed > 0.0 && std::isfinite(speed)
                 ? std::acos(k7::clamp(a / speed, -1.0, 1.0)) * 180.0 / PI
                 : 0.0;
  const double k = in.course;
  if (b >= 1.0)
    fd_course_corr = k - fd_drift + (k < fd_drift ? 360.0 : 0.0);
  else if (b <= -1.0)
    fd_course_corr = k + fd_drift - (k >= 360.0 - fd_drift ? 360.0 : 0.0);
  else
    fd_course_corr = k;
}

double captured_glide_command(const Inputs& in) {
  const double d = in.glide_dev;
  if (d <= -15.0) return 0.0;
  if (d >= 15.0) return -1500.0;
  return fd_glide_base - 10.0 * d;
}

// Once captured above 200 m the glide command is recomputed every 20 ticks, on two alternating
// timers. A frame that comes late still counts; the clock then catches up one step per frame.
void glide_clock(const Inputs& in) {
  constexpr double PERIOD = 20.0;
  if (fd_gs_timer_a == 0.0 && fd_gs_timer_a_on == 0 && fd_gs_timer_b_on == 0) {
    fd_gs_timer_a = in.tick + PERIOD;
    fd_gs_timer_a_on = 1;
  } else if (fd_gs_timer_a_on != 0 && in.tick >= fd_gs_timer_a) {
    fd_glide_vs_cmd = captured_glide_command(in);
    fd_gs_timer_b = fd_gs_timer_a + PERIOD;
    fd_gs_timer_a_on = 0;
    fd_gs_timer_b_on = 1;
  } else if (fd_gs_timer_b_on != 0 && in.tick >= fd_gs_timer_b) {
    fd_glide_vs_cmd = captured_glide_command(in);
    fd_gs_timer_a = fd_gs_timer_b + PERIOD;
    fd_gs_timer_b_on = 0;
    fd_gs_timer_a_on = 1;
  }
}

void glide_command(const Inputs& in) {
  fd_glide_base = -(in.speed / 2.0) * 10.0 * 1.30048;
  const double h = in.height;
  if (h > 240.0) fd_vs_sample_1 = in.vs_raw;
  if (h > 220.0) fd_vs_sample_2 = in.vs_raw;
  if (h > 202.0) fd_vs_sample_3 = in.vs_raw;
  fd_vs_sample_avg = (fd_vs_sample_1 + fd_vs_sample_2 + fd_vs_sample_3) / 3.0;

  if (h <= 21.0 && ap_attphase == 3)
    fd_glide_vs_cmd = in.vs_fpm >= -135.0 ? -390.0 : -34.0 * h - 135.0;
  else if (h <= 21.0)
    fd_glide_vs_cmd = fd_glide_base;
  else if (h <= 200.0)
    fd_glide_vs_cmd = fd_vs_sample_avg;
  else if (fd_gs_state == 0)
    fd_glide_vs_cmd = 0.0;
  else if (fd_gs_state == 1)
    fd_glide_vs_cmd = fd_glide_base;
  else
    glide_clock(in);
}

void pitch_command(const Inputs& in) {
  if (fd_mode_sel == 2)
    fd_pitch_cmd = in.vs_fpm / 50.0;
  else if (fd_mode_sel == 1)
    fd_pitch_cmd = 4.0 * (in.pitch_up - 10.0);
  else
    fd_pitch_cmd = 4.0 * (in.pitch_up - fd_knob_value);
  // Both sides in ft/min: flying the commanded descent exactly gives no command.
  fd_glide_pitch_cmd = (in.vs_fpm - ap::fpm_from_raw(fd_glide_vs_cmd)) / 50.0;
}

// ---- lateral commands

constexpr ap::Band heading_bands[] = {{15, 25}, {10, 15}, {5, 10}, {3, 5}, {2, 1}};
constexpr ap::Band radio_bands[] = {{15, 25}, {10, 10}, {5, 5}, {3, 2}, {2, 1}};

void heading_select(const Inputs& in) {
  double e = ap::heading_difference(static_cast<double>(hsi_heading_sel), in.heading);
  if (std::fabs(e) < 0.5) e = 0.0;
  fd_hdg_err = e;
  fd_hdg_step = ap::banded_step(heading_bands, e);
  fd_hdg_roll_cmd = std::fabs(e) <= 3.0 ? e : fd_hdg_step + in.bank;
}

void capture_zone(const Inputs& in) {
  double z1;
  if (hsi_nav1_loc != 0 || hsi_nav1_gs_avail != 0)
    z1 = 99.0;
  else
    z1 = in.signal <= 300.0 ? in.signal / 15.0 : in.signal / 30.0 + 30.0;
  fd_zone[0] = z1;
  fd_zone[1] = z1 / 3.0;
  fd_zone[2] = fd_zone[1] / 1.5;
  fd_zone[3] = fd_zone[2] / 1.5;
  fd_zone[4] = fd_band_latch_mid == 2 ? fd_zone[3] / 2.5 : fd_zone[3] / 2.0;
  fd_zone[5] = fd_band_latch_in == 2 ? fd_zone[4] / 2.0 : fd_zone[4] / 1.5;
}

// The intercept bands between the zone's thresholds, outermost first: band i holds deviations
// above zone[i + 1] up to zone[i] (the last one down to 0). The two inner latches move by their
// state in the band reached.
struct InterceptBand {
  i32 intercept;
  u8 latch_in[4]; // next state of `fd_band_latch_in` from 0..3
  u8 latch_mid[4];
};
constexpr InterceptBand intercept_bands[] = {
    {20, {0, 1, 2, 3}, {0, 1, 2, 3}}, {15, {0, 1, 2, 3}, {0, 1, 2, 3}},
    {10, {0, 0, 0, 0}, {0, 1, 2, 3}}, {5, {0, 1, 2, 3}, {0, 2, 2, 0}},
    {1, {0, 2, 2, 0}, {1, 1, 3, 3}},  {0, {1, 1, 3, 3}, {0, 1, 2, 3}},
};

void intercept(const Inputs& in) {
  const double d = std::fabs(in.lateral_dev);
  fd_intercept = 0;
  for (int i = 0; i < 6; ++i) {
    const double inner = i < 5 ? fd_zone[i + 1] : 0.0;
    if (d > inner && d <= fd_zone[i]) {
      const InterceptBand& band = intercept_bands[i];
      fd_intercept = band.intercept;
      fd_band_latch_in = band.latch_in[fd_band_latch_in & 3];
      fd_band_latch_mid = band.latch_mid[fd_band_latch_mid & 3];
      return;
    }
  }
}

void heading_command(const Inputs& in) {
  const double d = in.lateral_dev, z1 = fd_zone[0];
  double cmd = in.heading;
  if (d < 0.0 && d >= -z1) {
    cmd = fd_course_corr - fd_intercept;
    if (cmd < 0.0) cmd += 360.0;
  } else if (d > 0.0 && d <= z1) {
    cmd = fd_course_corr + fd_intercept;
    if (cmd > 360.0) cmd -= 360.0;
  }
  fd_heading_cmd = static_cast<i32>(cmd);
}

void radio_steering(const Inputs& in) {
  double e = ap::heading_difference(static_cast<double>(fd_heading_cmd), in.heading);
  if (std::fabs(e) < 0.2) e = 0.0;
  fd_nav_err = e;
  fd_nav_step = ap::banded_step(radio_bands, e);
  if (fd_nav_step != 0) fd_nav_steer = 1;
  if (in.signal <= 0.0) fd_nav_steer = 0;
  fd_nav_roll_cmd = std::fabs(e) <= 5.0 ? e : fd_nav_step + in.bank;
}

// ---- localizer and glide slope

double wrap_360(double angle) {
  const double a = std::fmod(angle, 360.0);
  return a < 0.0 ? a + 360.0 : a;
}

void localizer_and_glide(const Inputs& in) {
  const double k = wrap_360(in.course);
  fd_inbound_lo = static_cast<u32>(wrap_360(k - 90.0));
  fd_inbound_hi = static_cast<u32>(wrap_360(k + 90.0));
  const double h = wrap_360(in.heading);
  const double lo = fd_inbound_lo, hi = fd_inbound_hi;
  fd_inbound = (lo < hi ? (h > lo && h < hi) : (h > lo || h < hi)) ? 1 : 0;

  if (fd_inbound != 0 && in.glide_received) {
    fd_loc_captured = 1;
    const double d = in.glide_dev;
    if (fd_gs_state == 0 && d > -15.0 && in.vs_raw > -250.0) {
      fd_gs_state = 1;
    } else if (fd_gs_state == 1 && d < 0.0) {
      fd_gs_state = 2;
      fd_appr_pitch_cmd = fd_glide_pitch_cmd;
    } else if (fd_gs_state == 1 || fd_gs_state == 2) {
      fd_appr_pitch_cmd = fd_glide_pitch_cmd;
    } else {
      fd_appr_pitch_cmd = 0.0;
    }
  } else {
    fd_loc_captured = 0;
    fd_gs_state = 0;
    fd_gs_timer_a = fd_gs_timer_b = 0.0;
    fd_gs_timer_a_on = fd_gs_timer_b_on = 0;
    fd_appr_pitch_cmd = 0.0;
  }
}

// ---- the bars

constexpr double ROLL_STOWED = 14.0, PITCH_STOWED = -4.0;

double bar_target(double command) {
  return (command + 120.0) / 20.0;
}

// Roll-bar tracking: far from its target the bar moves fast, after a change of law slowly,
// once tracking finely; otherwise it sits on the target and the law is tracking.
struct TrackRule {
  double margin;
  u8 state;
  double step;
};
constexpr TrackRule radio_rules[] = {{1, 0, 1}, {0.1, 0, 0.05}, {0.02, 2, 0.01}, {0.01, 1, 0.005}};
constexpr TrackRule heading_rules[] = {{1, 0, 1}, {0.02, 2, 0.01}, {0.05, 1, 0.025}};

enum RollLaw { LAW_BLUE_LEFT, LAW_HEADING, LAW_BLUE_RIGHT, LAW_APPROACH, LAWS };
u8* const roll_states[LAWS] = {&fd_trk_blue_left, &fd_trk_hdg, &fd_trk_blue_right, &fd_trk_appr};

template <std::size_t N> void track_roll(const TrackRule (&rules)[N], u8& state, double target) {
  double step = 0.0;
  for (const TrackRule& r : rules) {
    if (state != r.state) continue;
    if (fd_roll_bar > target + r.margin) {
      step = -r.step;
      break;
    }
    if (fd_roll_bar < target - r.margin) {
      step = r.step;
      break;
    }
  }
  if (step != 0.0) {
    fd_roll_bar += step;
  } else {
    state = 1;
    fd_roll_bar = target;
  }
  fd_roll_bar = k7::clamp(fd_roll_bar, 1.0, 11.0);
}

// The bar follows its law; the other laws will be entered from elsewhere.
void roll_law(RollLaw law, double command) {
  for (int i = 0; i < LAWS; ++i)
    if (i != law) *roll_states[i] = 2;
  const double target = bar_target(command);
  if (law == LAW_HEADING)
    track_roll(heading_rules, *roll_states[law], target);
  else
    track_roll(radio_rules, *roll_states[law], target);
}

void clear_roll_tracking() {
  for (u8* s : roll_states)
    *s = 0;
}

void track_pitch(u8& tracking, double command) {
  const double target = bar_target(command);
  if (fd_pitch_bar > target + 1.0 && tracking == 0)
    fd_pitch_bar -= 1.0;
  else if (fd_pitch_bar < target - 1.0 && tracking == 0)
    fd_pitch_bar += 1.0;
  else if (fd_pitch_bar > target + 0.2)
    fd_pitch_bar -= 0.1;
  else if (fd_pitch_bar < target - 0.2)
    fd_pitch_bar += 0.1;
  else {
    tracking = 1;
    fd_pitch_bar = target;
  }
  fd_pitch_bar = k7::clamp(fd_pitch_bar, 0.0, 11.0);
}

void stow_roll() {
  fd_roll_bar = std::fmin(fd_roll_bar + 1.0, ROLL_STOWED);
}
void stow_pitch() {
  fd_pitch_bar = std::fmax(fd_pitch_bar - 1.0, PITCH_STOWED);
}
void show_flags(bool fd, bool attitude) {
  adi_flag_fd_shown = fd ? 1 : 0;
  adi_flag_att_shown = attitude ? 1 : 0;
}

void bars_and_flags() {
  const bool powered = elec_ac_ess != 0 && elec_tadg_on != 0;
  if (!powered) {
    clear_roll_tracking();
    show_flags(true, true);
    stow_roll();
    stow_pitch();
  }
  const u8 position = powered ? fd_mode_sel : 0;
  if (position >= 1 && position <= 6) show_flags(false, false);
  switch (position) {
  case 1:
    roll_law(LAW_HEADING, fd_hdg_roll_cmd);
    track_pitch(fd_trk_pitch, fd_pitch_cmd);
    fd_mode_sub = 0;
    break;
  case 3:
    if (fd_mode_push != 0) {
      roll_law(LAW_HEADING, fd_hdg_roll_cmd);
      track_pitch(fd_trk_pitch, fd_pitch_cmd);
    } else {
      stow_roll();
      stow_pitch();
      show_flags(true, false);
      clear_roll_tracking();
      fd_trk_pitch = fd_trk_pitch_appr = 0;
      fd_mode_sub = 0;
    }
    break;
  case 5:
    roll_law(LAW_BLUE_LEFT, -fd_nav_roll_cmd);
    track_pitch(fd_trk_pitch, fd_pitch_cmd);
    fd_mode_sub = 2;
    break;
  case 6:
    roll_law(LAW_BLUE_RIGHT, fd_nav_roll_cmd);
    track_pitch(fd_trk_pitch, fd_pitch_cmd);
    fd_mode_sub = 1;
    break;
  case 4:
    roll_law(LAW_APPROACH, fd_nav_roll_cmd);
    track_pitch(fd_trk_pitch_appr, fd_appr_pitch_cmd);
    fd_mode_sub = 1;
    break;
  case 2:
    if (fd_mode_push != 0) {
      // ALT HOLD with HEADING: the bar is put on its target at once.
      for (int i = 0; i < LAWS; ++i)
        if (i != LAW_HEADING) *roll_states[i] = 2;
      fd_trk_hdg = 1;
      fd_roll_bar = k7::clamp(bar_target(fd_hdg_roll_cmd), 1.0, 11.0);
    } else if (fd_mode_sub == 1) {
      roll_law(LAW_BLUE_RIGHT, fd_nav_roll_cmd);
    } else if (fd_mode_sub == 2) {
      roll_law(LAW_BLUE_LEFT, -fd_nav_roll_cmd);
    } else {
      stow_roll();
      clear_roll_tracking();
    }
    track_pitch(fd_trk_pitch, fd_pitch_cmd);
    break;
  default:
    stow_roll();
    stow_pitch();
    show_flags(true, true);
    break;
  }
}

void attitude_failure() {
  if (sim::read_finite(att_fail_1_var) == 1.0 || sim::read_finite(att_fail_2_var) == 1.0)
    show_flags(true, true);
  else if (elec_tadg_on != 0)
    adi_flag_att_shown = 0;
}

} // namespace

// The flight director computer, once per frame, in this order.
void fd_computer_update() {
  const Inputs in = read_inputs();
  drift_and_course(in);
  glide_command(in);
  pitch_command(in);
  heading_select(in);
  capture_zone(in);
  intercept(in);
  heading_command(in);
  radio_steering(in);
  localizer_and_glide(in);
  bars_and_flags();
  attitude_failure();
}
