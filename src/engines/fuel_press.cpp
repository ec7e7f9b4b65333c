// "kestovil fuel_press_k7": the feed pressure of both sides, built up by the pumps and bled away
// by the engines, and the two-needle gauge that shows it.
#include "engines/fuel_sides.h"
#include "module/runs.h"
#include "module/services.h"

namespace {

// ---- drawing
// ------------------------------------------------------------------------------------------

constexpr PIXPOINT PIVOT = {54, 53};
constexpr PIXPOINT NEEDLE_PIVOT = {3, 3};
constexpr i16 DIAL_MAX = 500;

constexpr NONLINEARITY dial[] = {
    {{27, 99}, 0.0, 0.0},  {{0, 53}, 100.0, 0.0},   {{28, 7}, 200.0, 0.0},
    {{80, 8}, 300.0, 0.0}, {{107, 53}, 400.0, 0.0}, {{80, 98}, 500.0, 0.0},
};

// The needles keep the shown value on the dial, writing the clamped value back.
FLOAT64 shown(i16& value) {
  value = k7::clamp<i16>(value, 0, DIAL_MAX);
  return value;
}
FLOAT64 FSAPI value_lh(ELEMENT_NEEDLE*) {
  return shown(fuel_press_lh_ind);
}
FLOAT64 FSAPI value_rh(ELEMENT_NEEDLE*) {
  return shown(fuel_press_rh_ind);
}

extern ELEMENT_NEEDLE needle_lh;
extern ELEMENT_NEEDLE needle_rh;
extern ELEMENT_ICON night_face;
extern ELEMENT_NEEDLE night_needle_lh;
extern ELEMENT_NEEDLE night_needle_rh;

ELEMENT_STATIC_IMAGE face =
    k7::static_image(&gauge_fuel_press, 13904, {0, 0}, k7::TRANSPARENT, K7_NEXT(needle_lh));
ELEMENT_NEEDLE needle_lh = k7::needle(&gauge_fuel_press, 13840, PIVOT, NEEDLE_PIVOT,
                                      k7::TRANSPARENT, value_lh, dial, 0, K7_NEXT(needle_rh));
ELEMENT_NEEDLE needle_rh = k7::needle(&gauge_fuel_press, 13872, PIVOT, NEEDLE_PIVOT,
                                      k7::TRANSPARENT, value_rh, dial, 0, K7_NEXT(night_face));
ELEMENT_ICON night_face =
    k7::icon(&gauge_fuel_press, 13920, {0, 0}, k7::HIDDEN, K7_NEXT(night_needle_lh));
ELEMENT_NEEDLE night_needle_lh =
    k7::needle(&gauge_fuel_press, 13856, PIVOT, NEEDLE_PIVOT, k7::HIDDEN, value_lh, dial, 0,
               K7_NEXT(night_needle_rh));
ELEMENT_NEEDLE night_needle_rh = k7::needle(&gauge_fuel_press, 13888, PIVOT, NEEDLE_PIVOT,
                                            k7::HIDDEN, value_rh, dial, 0, K7_END);

// ---- pressure
// -----------------------------------------------------------------------------------------

constexpr i16 DECAY_DRAWING = 10; // per update while an engine draws on the side
constexpr i16 DECAY_IDLE = 3;
constexpr i16 NOMINAL = 250;

i16 decayed(i16 press, bool drawing) {
  const i16 step = drawing ? DECAY_DRAWING : DECAY_IDLE;
  return press < step ? i16{0} : static_cast<i16>(press - step);
}

// One update of a side. `other_press` is the other side's pressure as it stands now.
void step(const FuelSide& s, const FuelSide& other, i16 other_press) {
  const bool drawing = s.draw == 1;
  // With the cross-feed open and no pump of its own, a side takes the other side's pressure,
  // but only while a pump of the other side is running to make it; with no pump on either
  // side both bleed away.
  if (other.valve_b == 1 && fuel_crossfeed_open == 1 && !s.any_pump() && other.any_pump()) {
    s.press = other_press;
    return;
  }
  if (s.valve_b != 1) {
    s.press = decayed(s.press, drawing);
  } else if (s.pump3_on) {
    s.press = s.press < 245 ? static_cast<i16>(s.press + 5) : NOMINAL;
  } else if (!s.pump1_on && !s.pump2_on && !s.pump4_on) {
    s.press = decayed(s.press, drawing);
  } else if (s.press <= 240) {
    s.press = static_cast<i16>(s.press + 10);
  } else {
    s.press = s.press < (drawing ? 260 : 253) ? NOMINAL : decayed(s.press, drawing);
  }
}

MODULE_VAR n2_eng1 = sim::token(0x271);
MODULE_VAR n2_eng2 = sim::token(0x284);

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool running1 = sim::read(n2_eng1) > 20.0;
  const bool running2 = sim::read(n2_eng2) > 20.0;
  const bool crossfeed = fuel_crossfeed_open == 1;
  fuel_draw_lh = running1 || (crossfeed && running2);
  fuel_draw_rh = running2 || (crossfeed && running1);

  step(fuel_lh, fuel_rh, fuel_press_rh);
  step(fuel_rh, fuel_lh, fuel_press_lh);

  if (elec_ac_instr == 1) {
    fuel_press_lh_ind = fuel_press_lh;
    fuel_press_rh_ind = fuel_press_rh;
  }

  const bool night = elec_panel_night == 1;
  k7::show(night_face, night);
  k7::show(night_needle_lh, night);
  k7::show(night_needle_rh, night);
}

constexpr MOUSERECT parent_with_help() {
  MOUSERECT r = k7::mouse_parent();
  r.help_id = 43854;
  return r;
}

MOUSERECT mouse[] = {parent_with_help(), K7_MOUSE_END};

} // namespace

K7_GAUGE_HEADER(fuel_press, face, mouse, callback);
