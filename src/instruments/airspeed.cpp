// "kestovil ias_k7": the airspeed indicator with its second pointer, the two speed markers set
// by hand or by the take-off and approach buttons, the take-off speed computer behind them (a
// reference speed from the gross weight, rotation and flap speeds from the flap angle), the two
// speed readouts, and the 80-knot, V1 and VR call-outs of the take-off run.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "instruments/airdata_kit.h"
#include "instruments/ias_shared.h"
#include "instruments/instruments.h"
#include "module/drum.h"
#include "module/runs.h"
#include "sound/sound.h"

namespace {

constexpr double DIAL_MAX = 400.0;
constexpr double POINTER_CLIMB = 10.0; // knots per update; the pointer falls at once
constexpr u32 MARKER_MIN = 80;
constexpr u32 MARKER_MAX = 250;
constexpr i32 BUTTON_TICKS = 36;
constexpr double CALL_OUT_THROTTLE = 0.8;
constexpr double WEIGHT_MAX = 200000.0; // kg: anything beyond is not this aircraft

// ---- the take-off speed computer
// -----------------------------------------------------------------------

MODULE_VAR airspeed = sim::token(0x3D);
MODULE_VAR airspeed_fine = sim::token(0x3F);
MODULE_VAR on_ground = sim::token(0x3C);
MODULE_VAR flaps_left = sim::token(0x38B);
MODULE_VAR airbrakes = sim::token(0x146);
MODULE_VAR throttle1 = sim::token(0x22E);
MODULE_VAR throttle2 = sim::token(0x238);

void compute_speeds() {
  ias_gross_weight =
      k7::clamp(k7::finite_or(sim::calc("(A:TOTAL WEIGHT,kilogram)"), 0.0), 0.0, WEIGHT_MAX);
  const double flaps = sim::read_finite(flaps_left);
  const double base = (ias_gross_weight / 1000.0 - 40.0) * 1.4375 + 116.5 + 3.0;
  ias_vbase = base;
  double rotate = base + 5.0;
  double flap = base - 5.0;
  if (flaps <= 4) {
    rotate = base + 15.0;
    flap = base + 15.0;
  } else if (flaps <= 9) {
    rotate = base + 9.0;
    flap = base + 15.0;
  } else if (flaps <= 19) {
    flap = base + 10.0;
  } else if (flaps <= 29) {
    flap = base + 4.0;
  } else if (flaps <= 34) {
    flap = base + 2.0;
  } else if (flaps <= 39) {
    flap = sim::read_finite(airbrakes) > airbrk_low ? base + 5.0 : base;
  }
  ias_vr = rotate;
  ias_vflap = flap;
  ias_v1 = rotate - 10.0;
  ias_vr_int = k7::sat_cast<i32>(rotate);
}

u32 marker(double speed) {
  return k7::clamp(k7::sat_cast<u32>(speed), MARKER_MIN, MARKER_MAX);
}

// ---- call-outs
// -----------------------------------------------------------------------------------------

void call_out(u8& played, bool reached, SoundId sound) {
  if (reached && played == 0 && sound_loaded(sound)) {
    sound_play(sound);
    played = 1;
  }
}

void call_outs(double ias) {
  const bool take_off_power = sim::read_finite(throttle1) >= CALL_OUT_THROTTLE ||
                              sim::read_finite(throttle2) >= CALL_OUT_THROTTLE;
  if (sim::read(on_ground) == 1.0 && take_off_power) {
    call_out(ias_call_80, ias >= 80.0, SND_V80KTS);
    call_out(ias_call_v1, ias >= ias_v1, SND_V1KTS);
    call_out(ias_call_vr, ias >= ias_vr_int, SND_VRKTS);
  } else {
    ias_call_80 = 0;
    ias_call_v1 = 0;
    ias_call_vr = 0;
  }
}

// ---- readouts
// ------------------------------------------------------------------------------------------

// The readouts have a fixed hundreds drum: a speed outside 100..199 is shown at the nearer end
// rather than split into drum positions that do not exist.
void roll_readout(double speed, f64& tens, f64& units) {
  const int shown = static_cast<int>(k7::clamp(speed, 100.0, 199.0));
  tens = k7::drum_roll(tens, (shown - 100) / 10, 10);
  units = k7::drum_roll(units, shown % 10, 10);
}

// ---- elements
// ------------------------------------------------------------------------------------------

constexpr PIXPOINT PIVOT{103, 101};

// Both pointers; the markers use the rows from 80 to 250.
constexpr NONLINEARITY dial[] = {
    {{165, 40}, 0, 0},    {{177, 55}, 60, 0},   {{185, 72}, 70, 0},   {{190, 97}, 80, 0},
    {{181, 141}, 100, 0}, {{150, 175}, 120, 0}, {{127, 187}, 130, 0}, {{102, 191}, 140, 0},
    {{55, 178}, 160, 0},  {{39, 163}, 170, 0},  {{26, 147}, 180, 0},  {{18, 132}, 190, 0},
    {{14, 118}, 200, 0},  {{17, 70}, 250, 0},   {{49, 30}, 300, 0},   {{94, 13}, 350, 0},
    {{141, 23}, 400, 0},
};
constexpr NONLINEARITY marker_dial[] = {
    {{190, 97}, 80, 0},   {{181, 141}, 100, 0}, {{150, 175}, 120, 0}, {{127, 187}, 130, 0},
    {{102, 191}, 140, 0}, {{55, 178}, 160, 0},  {{39, 163}, 170, 0},  {{26, 147}, 180, 0},
    {{18, 132}, 190, 0},  {{14, 118}, 200, 0},  {{17, 70}, 250, 0},
};

FLOAT64 FSAPI pointer_value(ELEMENT_NEEDLE*) {
  ias_ind = k7::clamp(ias_ind, 0.0, DIAL_MAX);
  return ias_ind;
}
FLOAT64 FSAPI second_pointer_value(ELEMENT_NEEDLE*) {
  ias_second_ind = k7::clamp(ias_second_ind, 0.0, DIAL_MAX);
  return ias_second_ind;
}
FLOAT64 FSAPI upper_marker_value(ELEMENT_NEEDLE*) {
  ias_marker_high = k7::clamp(ias_marker_high, MARKER_MIN, MARKER_MAX);
  return ias_marker_high;
}
FLOAT64 FSAPI lower_marker_value(ELEMENT_NEEDLE*) {
  ias_marker_low = k7::clamp(ias_marker_low, MARKER_MIN, MARKER_MAX);
  return ias_marker_low;
}
FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
FLOAT64 FSAPI drum_one(ELEMENT_MOVING_IMAGE*) {
  return 1.0;
}
FLOAT64 FSAPI drum_upper_tens(ELEMENT_MOVING_IMAGE*) {
  return ias_drum_upper_tens;
}
FLOAT64 FSAPI drum_upper_units(ELEMENT_MOVING_IMAGE*) {
  return ias_drum_upper_units;
}
FLOAT64 FSAPI drum_lower_tens(ELEMENT_MOVING_IMAGE*) {
  return ias_drum_lower_tens;
}
FLOAT64 FSAPI drum_lower_units(ELEMENT_MOVING_IMAGE*) {
  return ias_drum_lower_units;
}

constexpr FLAGS SHOWN = IMAGE_USE_TRANSPARENCY;
constexpr FLAGS NEEDLE = IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR;

// Chain: 0 face, 1 pointer, 2 second pointer, 3 upper marker, 4 lower marker, 5 take-off button,
// 6 approach button, 7 VR label, 8 flap-speed label, 9..11 upper readout, 12..14 lower readout.
constexpr ID DRUM = 6176;
constexpr k7::SlideEntry drum_table[] = {
    {DRUM, {101, 11}, SHOWN, no_shift, drum_one, 0, 10},
    {DRUM, {119, 11}, SHOWN, no_shift, drum_upper_tens, 0, 10},
    {DRUM, {137, 11}, SHOWN, no_shift, drum_upper_units, 0, 10},
    {DRUM, {101, 43}, SHOWN, no_shift, drum_one, 0, 10},
    {DRUM, {119, 43}, SHOWN, no_shift, drum_lower_tens, 0, 10},
    {DRUM, {137, 43}, SHOWN, no_shift, drum_lower_units, 0, 10},
};
constexpr k7::ImageEntry image_table[] = {
    {5472, {0, 164}, k7::HIDDEN},
    {5456, {102, 164}, k7::HIDDEN},
    {30496, {69, 43}, k7::HIDDEN},
    {30512, {69, 43}, k7::HIDDEN},
};
using Drums = k7::Run<gauge_ias, drum_table>;
using Images = k7::Run<gauge_ias, image_table, Drums::head>;
enum : std::size_t { TAKE_OFF_IMAGE, APPROACH_IMAGE, LABEL_VR, LABEL_FLAP };

extern ELEMENT_NEEDLE pointer, second_pointer, upper_marker, lower_marker;

ELEMENT_STATIC_IMAGE face =
    k7::static_image(&gauge_ias, 5392, {0, 0}, k7::TRANSPARENT, K7_NEXT(pointer));
ELEMENT_NEEDLE pointer = k7::needle(&gauge_ias, 5424, PIVOT, {30, 10}, NEEDLE, pointer_value, dial,
                                    0, K7_NEXT(second_pointer));
ELEMENT_NEEDLE second_pointer = k7::needle(&gauge_ias, 5408, PIVOT, {42, 10}, NEEDLE,
                                           second_pointer_value, dial, 0, K7_NEXT(upper_marker));
ELEMENT_NEEDLE upper_marker = k7::needle(&gauge_ias, 5440, PIVOT, {-70, 4}, NEEDLE,
                                         upper_marker_value, marker_dial, 0, K7_NEXT(lower_marker));
ELEMENT_NEEDLE lower_marker = k7::needle(&gauge_ias, 5440, PIVOT, {-70, 4}, NEEDLE,
                                         lower_marker_value, marker_dial, 0, Images::head);

// ---- clicks
// ------------------------------------------------------------------------------------------------

BOOL FSAPI on_lower_minus(PPIXPOINT, FLAGS32) {
  if (ias_marker_low > MARKER_MIN) --ias_marker_low;
  return FALSE_K7;
}
BOOL FSAPI on_lower_plus(PPIXPOINT, FLAGS32) {
  if (ias_marker_low < 247 && ias_marker_high > ias_marker_low + 3) {
    ++ias_marker_low;
  } else if (ias_marker_low >= 247) {
    ias_marker_low = 247;
  } else {
    ++ias_marker_low;
    ++ias_marker_high;
  }
  return FALSE_K7;
}
BOOL FSAPI on_upper_minus(PPIXPOINT, FLAGS32) {
  if (ias_marker_high > 83 && ias_marker_low + 3 < ias_marker_high) {
    --ias_marker_high;
  } else if (ias_marker_high < 84) {
    ias_marker_high = 83;
  } else {
    --ias_marker_high;
    --ias_marker_low;
  }
  return FALSE_K7;
}
BOOL FSAPI on_upper_plus(PPIXPOINT, FLAGS32) {
  if (ias_marker_high < MARKER_MAX) ++ias_marker_high;
  return FALSE_K7;
}
BOOL FSAPI on_take_off_button(PPIXPOINT, FLAGS32) {
  ias_to_btn = 1;
  return FALSE_K7;
}
BOOL FSAPI on_approach_button(PPIXPOINT, FLAGS32) {
  ias_app_btn = 1;
  return FALSE_K7;
}
BOOL FSAPI on_readouts(PPIXPOINT, FLAGS32) {
  ias_readout_on = ias_readout_on == 1 ? 0 : 1;
  return FALSE_K7;
}

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;
constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 25, 43}, CURSOR_DOWNARROW, HELD, on_lower_minus),
    k7::mouse_area({25, 0, 25, 43}, CURSOR_UPARROW, HELD, on_lower_plus),
    k7::mouse_area({156, 0, 25, 43}, CURSOR_DOWNARROW, HELD, on_upper_minus),
    k7::mouse_area({181, 0, 25, 43}, CURSOR_UPARROW, HELD, on_upper_plus),
    k7::mouse_area({0, 136, 70, 70}, CURSOR_HAND, CLICK, on_take_off_button),
    k7::mouse_area({136, 136, 70, 70}, CURSOR_HAND, CLICK, on_approach_button),
    k7::mouse_area({69, 46, 70, 70}, CURSOR_HAND, CLICK, on_readouts),
    K7_MOUSE_END,
};

// ---- update
// ------------------------------------------------------------------------------------------------

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double ias = sim::read_finite(airspeed);
  ias_ind = ias_ind < ias - POINTER_CLIMB ? ias_ind + POINTER_CLIMB : ias;
  ias_ind = k7::clamp(ias_ind, 0.0, DIAL_MAX);
  ias_second_ind = k7::clamp(sim::read_finite(airspeed_fine) / 128.0, 0.0, DIAL_MAX);

  compute_speeds();

  ELEMENT_ICON* image = Images::element;
  const i32 now = k7::tick_now();
  bool started = false;
  const bool take_off_in = k7::timed_button_step(ias_to_btn, ias_to_btn_busy, ias_to_btn_end, now,
                                                 BUTTON_TICKS, started);
  if (started) {
    ias_marker_low = marker(ias_vr);
    ias_marker_high = 150;
  }
  const bool approach_in = k7::timed_button_step(ias_app_btn, ias_app_btn_busy, ias_app_btn_end,
                                                 now, BUTTON_TICKS, started);
  if (started) {
    ias_marker_low = marker(ias_vbase);
    ias_marker_high = marker(ias_vbase + 25.0);
  }
  k7::show(image[TAKE_OFF_IMAGE], take_off_in);
  k7::show(image[APPROACH_IMAGE], approach_in);

  const bool ground = sim::read(on_ground) == 1.0;
  roll_readout(ias_vbase, ias_drum_upper_tens, ias_drum_upper_units);
  roll_readout(ground ? ias_vr_int : ias_vflap, ias_drum_lower_tens, ias_drum_lower_units);
  const bool readouts = ias_readout_on == 1;
  for (ELEMENT_MOVING_IMAGE& drum : Drums::element)
    k7::show(drum, readouts);
  k7::show(image[LABEL_VR], readouts && ground);
  k7::show(image[LABEL_FLAP], readouts && !ground);

  call_outs(ias);

  const bool night = elec_panel_night == 1;
  k7::lit(face, night);
  k7::lit(pointer, night);
  k7::lit(second_pointer, night);
  k7::lit(upper_marker, night);
  k7::lit(lower_marker, night);
  for (ELEMENT_ICON& e : Images::element)
    k7::lit(e, night);
  for (ELEMENT_MOVING_IMAGE& e : Drums::element)
    k7::lit(e, night);
}

} // namespace

MOUSERECT k7::ias_marker_area(int i) {
  return i >= 0 && i < IAS_MARKER_AREAS ? mouse[1 + i] : k7::mouse_end(MOUSE_RECT_EOL);
}

K7_GAUGE_HEADER(ias, face, mouse, callback);
