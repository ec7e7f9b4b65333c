// The autopilot computer: the simulator's autopilot flies; this decides which of its modes are on
// and feeds it references every frame, and adds a pitch-attitude hold, a bank hold for the turn
// knob and rudder coordination of its own.
#include "autopilot/ap_computer.h"
#include "autopilot/ap_units.h"
#include "autopilot/autopilot.h"
#include "autopilot/autopilot_events.h"
#include "instruments/instruments.h"

#include <cmath>

namespace {

MODULE_VAR master_var = sim::token(0x67);
MODULE_VAR alt_hold_flag_var = sim::token(0x6c);
MODULE_VAR heading_flag_var = sim::token(0x6a);
MODULE_VAR nav_flag_var = sim::token(0x69);
MODULE_VAR approach_flag_var = sim::token(0x6f);
MODULE_VAR glide_flag_var = sim::token(0x70);
MODULE_VAR leveler_flag_var = sim::token(0x68);
MODULE_VAR bank_360_var = sim::token(0x4f);
MODULE_VAR on_ground_var = sim::token(0x3c);
MODULE_VAR vs_var = sim::token(0x41);
MODULE_VAR pitch_var = sim::token(0x4e);
MODULE_VAR altitude_var = sim::token(0x4a);
MODULE_VAR bank_var = sim::token(0x50);
MODULE_VAR sideslip_var = sim::token(0x45);
MODULE_VAR gps_var = sim::token(0x350);
MODULE_VAR throttle1_var = sim::token(0x22e);
MODULE_VAR throttle2_var = sim::token(0x238);
MODULE_VAR autothrottle_var = sim::token(0x73);
MODULE_VAR tick_var = sim::token(0x1);

bool on(MODULE_VAR& flag) {
  return sim::read_finite(flag) == 1.0;
}

// What the computer reads of the aircraft in one frame.
struct Inputs {
  bool master, master_off, on_ground;
  double vs_fpm, pitch_up, altitude, bank_360;
};

Inputs read_inputs() {
  Inputs in{};
  const double master = sim::read_finite(master_var);
  in.master = master == 1.0;
  in.master_off = master == 0.0;
  in.on_ground = sim::read_finite(on_ground_var) != 0.0;
  in.vs_fpm = ap::fpm_from_raw(ap::read_within(vs_var, -50000, 50000));
  in.pitch_up = -ap::read_within(pitch_var, -90, 90);
  in.altitude = ap::read_within(altitude_var, -2000, 100000);
  in.bank_360 = sim::read_finite(bank_360_var);
  return in;
}

// ---- vertical modes

// A V/S reference in whole ft/min, within what the aircraft can fly.
i32 vs_reference(double fpm) {
  return k7::sat_cast<i32>(k7::clamp(fpm, -20000.0, 20000.0));
}

void engagement(const Inputs& in) {
  if (in.master && ap_pitch_hold == 0 && ap_ready != 0 && !in.on_ground && ap_appr == 0) {
    ap_lamp(LAMP_ENGAGE, true);
    ap::send(AP_ALT_HOLD_ON);
    ap_vs_cmd = vs_reference(in.vs_fpm);
    ap_pitch_target = in.pitch_up;
    ap_pitch_latched = 0;
    ap_pitch_hold = 1;
    ap_coord_active = 1;
  } else {
    ap_lamp(LAMP_ENGAGE, false);
  }
}

// The V/S change per degree of pitch error, by the size of the error.
struct Gain {
  double from;
  double fpm_per_degree;
};
constexpr Gain pitch_gains[] = {{1.5, 1500}, {1.0, 1000}, {0.5, 500}, {0.1, 100}};

void pitch_attitude_hold(const Inputs& in) {
  if (ap_pitch_hold == 0 || ap_alt_hold_a != 0 || ap_alt_hold_b != 0 || ap_appr != 0 ||
      ap_ready == 0 || in.on_ground)
    return;
  ap_lamp(LAMP_ALT_A, false);
  ap_lamp(LAMP_ALT_B, false);
  ap_pitch_err = k7::clamp(in.pitch_up - ap_pitch_target, -180.0, 180.0);
  const double size = std::fabs(ap_pitch_err);
  bool banded = false;
  for (const Gain& g : pitch_gains)
    if (size >= g.from) {
      ap_vs_cmd = vs_reference(in.vs_fpm - ap_pitch_err * g.fpm_per_degree);
      ap_pitch_latched = 0;
      banded = true;
      break;
    }
  if (!banded && ap_pitch_latched == 0) {
    ap_vs_cmd = vs_reference(in.vs_fpm);
    ap_pitch_latched = 1;
  }
  // The altitude reference lies where the V/S leads: far above, far below, or right here.
  const double reference = in.vs_fpm > 0.0 ? 69000.0 : (in.vs_fpm < 0.0 ? 0.0 : in.altitude);
  ap::send(AP_ALT_REF, reference);
  ap::send(AP_VS_REF, ap_vs_cmd);
}

void altitude_hold(const Inputs& in) {
  const bool hold_b = ap_alt_hold_b != 0, hold_a = ap_alt_hold_a != 0;
  if ((hold_b || hold_a) && ap_ready != 0) {
    ap_lamp(hold_b ? LAMP_ALT_B : LAMP_ALT_A, true);
    if (ap_alt_capture == 0) {
      ap_alt_ref = k7::sat_cast<i32>(in.altitude);
      ap_vs_cmd = 0;
      ap::send(AP_VS_REF, 0);
      ap_alt_capture = 1;
    }
    ap_pitch_target = in.pitch_up;
    ap_pitch_latched = 0;
    if (ap_alt_capture == 1) {
      const double tolerance = hold_b ? 1.5 : 0.5;
      if (std::fabs(in.altitude - ap_alt_ref) < tolerance)
        ap_alt_capture = 2;
      else
        ap::send(AP_ALT_REF, ap_alt_ref);
    }
  }
  if (!hold_a) ap_lamp(LAMP_ALT_A, false);
  if (!hold_b) ap_lamp(LAMP_ALT_B, false);
  if (!hold_a && !hold_b) ap_alt_capture = 0;
  if (sim::read_finite(alt_hold_flag_var) == 0.0) {
    ap_lamp(LAMP_ALT_A, false);
    ap_lamp(LAMP_ALT_B, false);
  }
}

// ---- lateral modes

void heading_mode(const Inputs& in) {
  if (in.master && ap_hdg_mode == 1 && ap_ready != 0) {
    ap_lamp(LAMP_HEADING, true);
    ap::send(AP_HEADING_REF, static_cast<double>(hsi_heading_sel));
  }
}

void nav_mode(const Inputs& in) {
  if (!in.master || ap_nav_mode == 0 || ap_ready == 0) return;
  ap_lamp(LAMP_NAV, true);
  if (on(gps_var)) {
    ap::send(AP_NAV_HOLD_ON);
    ap_nav_mode = 2;
  } else if (hsi_nav1_loc != 0 || hsi_nav1_gs_avail != 0) {
    const bool takeoff_thrust =
        sim::read_finite(throttle1_var) >= 0.95 || sim::read_finite(throttle2_var) >= 0.95;
    if (!takeoff_thrust || sim::read_finite(autothrottle_var) != 0.0) {
      ap::send(AP_NAV_HOLD_OFF);
      ap::send(AP_APPROACH_ON);
      ap_nav_mode = 3;
    }
    // At take-off thrust NAV hands over to the heading mode and the go-around pitch law: that
    // branch comes with the go-around law.
  } else {
    ap::send(AP_NAV_HOLD_OFF);
    ap_nav_mode = 1;
  }
  if (ap_nav_mode == 1 && fd_nav_steer != 0) {
    ap_hdg_mode = 0;
    ap::send(AP_HEADING_REF, fd_heading_cmd);
    ap::send(AP_HEADING_HOLD_ON);
  }
}

void approach_mode(const Inputs& in) {
  if (!in.master || ap_appr == 0 || ap_ready == 0) return;
  ap_lamp(LAMP_APPROACH, true);
  if (fd_gs_state != 0) ap_alt_hold_a = ap_alt_hold_b = 0;
  // The approach V/S law and the flare come with the approach autothrottle and landing aids.
}

// ---- loss of readiness, master off

void clear_modes() {
  ap_hdg_mode = ap_nav_mode = ap_appr = 0;
  ap_alt_hold_a = ap_alt_hold_b = 0;
  ap_turn_active = 0;
  ap_turn_sel = 0;
}

void master_off() {
  clear_modes();
  ap_pitch_hold = 0;
  ap_wheel_up_clk = ap_wheel_dn_clk = 0;
  ap_wheel_timer_on = 0;
  ap_wheel_timer_end = 0;
  if (ap_coord_state == 1) ap_coord_state = 2;
  ap_disengage();
  for (int lamp = 0; lamp < AP_LAMPS; ++lamp)
    ap_lamp(static_cast<ApLamp>(lamp), false);
  ap_coord_active = 0;
}

// ---- bank and the turn knob

// The bank as a signed whole number of degrees from the simulator's 0..360 bank: any reading is
// wrapped into 0..360 first, so that 359.x reads as level, not as a stale value.
void bank(const Inputs& in) {
  const double b = std::fmod(in.bank_360, 360.0);
  const double wrapped = b < 0.0 ? b + 360.0 : b;
  ap_bank_int = wrapped >= 180.0 ? static_cast<i32>(360.0 - wrapped) : -static_cast<i32>(wrapped);
}

void wing_levelling(const Inputs& in) {
  if (!in.master || ap_turn_active != 0 || ap_ready == 0) return;
  const double hdg = sim::read_finite(heading_flag_var), nav = sim::read_finite(nav_flag_var),
               appr = sim::read_finite(approach_flag_var);
  if (hdg == 0.0 && nav == 0.0 && appr == 0.0) {
    ap::send(AP_WING_LEVELER_ON);
    ap_turn_sel = 0;
  } else if (hdg == 1.0 || nav == 1.0 || appr == 1.0) {
    ap::send(AP_WING_LEVELER_OFF);
    ap_turn_sel = 0;
  }
}

// The aileron bias that holds each selected bank (5 to 30 degrees).
constexpr i32 turn_biases[] = {180, 200, 280, 310, 340, 370};

// The aileron command by the bank's distance d from the selection.
struct AileronBand {
  i32 from; // d at least this (and, mirrored, at most -this)
  bool plus_bias;
  i32 command;
};
constexpr AileronBand aileron_bands[] = {
    {15, false, 8000}, {10, true, 6000}, {5, true, 3000}, {1, true, 1000}};

void turn_knob_law(const Inputs& in) {
  ap_turn_sel = k7::clamp<i32>(ap_turn_sel, -30, 30);
  const i32 steps = ap_turn_sel / 5;
  if (steps != 0) ap_turn_bias = steps > 0 ? turn_biases[steps - 1] : -turn_biases[-steps - 1];
  if (ap_turn_active == 0 || !in.master) return;
  const i32 d = ap_bank_int - ap_turn_sel;
  i32 command = ap_turn_bias - 30;
  for (const AileronBand& band : aileron_bands) {
    if (d >= band.from) {
      command = (band.plus_bias ? ap_turn_bias : 0) + band.command;
      break;
    }
    if (d <= -band.from) {
      command = (band.plus_bias ? ap_turn_bias : 0) - band.command;
      break;
    }
  }
  ap::send(AP_AILERON_SET, command);
}

// ---- the pitch wheel image and the rudder

void wheel_image() {
  const u32 tick = k7::sat_cast<u32>(sim::read_finite(tick_var));
  if (ap_wheel_up_clk == 0 && ap_wheel_dn_clk == 0) {
    ap_wheel_timer_on = 0;
    return;
  }
  if (ap_wheel_timer_on == 0) {
    ap_wheel_timer_end = tick + 3;
    ap_wheel_timer_on = 1;
  } else if (tick >= ap_wheel_timer_end) {
    ap_wheel_up_clk = ap_wheel_dn_clk = 0;
    ap_wheel_timer_on = 0;
    ap_wheel_timer_end = 0;
  }
}

i32 toward_zero(i32 command) {
  if (command > 100) return command - 100;
  if (command < -100) return command + 100;
  return 0;
}

void rudder_coordination() {
  const bool sim_coordinates = sim::calc("(A:AUTO COORDINATION,bool)") != 0.0;
  if (ap_coord_active != 0 && !sim_coordinates) {
    ap_coord_state = 1;
    if (std::fabs(sim::read_finite(bank_var)) >= 5.0) {
      const double slip = sim::read_finite(sideslip_var);
      if (slip < -20.0) {
        if (ap_rudder_cmd <= 12000) ap_rudder_cmd += 100;
      } else if (slip < -5.0) {
        if (ap_rudder_cmd <= 5000) ap_rudder_cmd += 100;
      } else if (slip > 20.0) {
        if (ap_rudder_cmd >= -12000) ap_rudder_cmd -= 100;
      } else if (slip > 5.0) {
        if (ap_rudder_cmd >= -5000) ap_rudder_cmd -= 100;
      } else {
        ap_rudder_cmd = toward_zero(ap_rudder_cmd);
      }
      ap::send(AP_RUDDER_SET, ap_rudder_cmd);
    } else {
      ap_coord_state = 2;
    }
  }
  if (ap_coord_state == 2) {
    ap_rudder_cmd = toward_zero(ap_rudder_cmd);
    ap::send(AP_RUDDER_SET, ap_rudder_cmd);
    if (ap_rudder_cmd == 0) ap_coord_state = 0;
  }
}

} // namespace

void ap_disengage() {
  if (on(leveler_flag_var)) ap::send(AP_WING_LEVELER_OFF);
  if (on(heading_flag_var)) ap::send(AP_HEADING_HOLD_OFF);
  if (on(nav_flag_var)) {
    ap::send(AP_NAV_HOLD_OFF);
    ap::send(AP_NAV_HOLD_OFF_2);
  }
  if (on(glide_flag_var) || on(approach_flag_var)) ap::send(AP_APPROACH_OFF);
}

void ap_computer_update() {
  const Inputs in = read_inputs();
  if (sim::read_finite(heading_flag_var) == 0.0) ap_hdg_mode = 0;
  engagement(in);
  pitch_attitude_hold(in);
  altitude_hold(in);
  ap_wheel_moved = 0;
  if (fd_nav_steer != 0 && ap_nav_mode == 1) ap_hdg_mode = 0;
  heading_mode(in);
  // Here the go-around pitch law runs (while `ap_nav_to_hdg`), once it is built.
  nav_mode(in);
  approach_mode(in);
  if (in.master && ap_ready != 0) ap_lamp(LAMP_ENGAGE, true);
  if (ap_ready == 0) {
    if (in.master) ap::send(AP_DISCONNECT);
    ap_disengage();
  }
  if (in.master_off) master_off();
  bank(in);
  wing_levelling(in);
  turn_knob_law(in);
  wheel_image();
  rudder_coordination();
}
