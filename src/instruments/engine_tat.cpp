// "kestovil tat_k7": total air temperature, with an overlay of the left and right flap angles that
// comes up by itself when the flaps start to travel and goes away on a click or when the flaps are
// fully up. The flap angles it keeps are also what the flap position indicator shows.
#include "hydraulics/hydraulics.h"
#include "instruments/engine_twins.h"
#include "module/services.h"

#include <initializer_list>

namespace {

constexpr NONLINEARITY tat_dial[] = {
    {{36, 146}, -70, 0}, {{19, 121}, -60, 0}, {{19, 61}, -40, 0},  {{60, 18}, -20, 0},
    {{120, 17}, 0, 0},   {{163, 59}, 20, 0},  {{163, 120}, 40, 0}, {{147, 145}, 50, 0},
};
constexpr NONLINEARITY flap_dial[] = {
    {{12, 113}, 0, 0},   {{109, 11}, 5, 0},  {{167, 64}, 10, 0},
    {{151, 152}, 20, 0}, {{71, 172}, 35, 0},
};
constexpr double TAT_LOW = -70, TAT_HIGH = 50, FLAPS_HIGH = 35;
constexpr PIXPOINT PIVOT{90, 90};

FLOAT64 FSAPI tat_value(ELEMENT_NEEDLE*) {
  return k7::on_dial(tat_ind, TAT_LOW, TAT_HIGH);
}
FLOAT64 FSAPI flap_left(ELEMENT_NEEDLE*) {
  return k7::on_dial(flaps_ind_left, 0, FLAPS_HIGH);
}
FLOAT64 FSAPI flap_right(ELEMENT_NEEDLE*) {
  return k7::on_dial(flaps_ind_right, 0, FLAPS_HIGH);
}

ELEMENT_NEEDLE tat_needle(ID bitmap, FLAGS flags, PELEMENT_HEADER* next) {
  return k7::needle(&gauge_tat, bitmap, PIVOT, {-11, 5}, flags, tat_value, tat_dial, 0, next);
}
ELEMENT_NEEDLE flap_needle(ID bitmap, FLAGS flags, PNEEDLE_UPDATE_CB value, PELEMENT_HEADER* next) {
  return k7::needle(&gauge_tat, bitmap, PIVOT, {-13, 7}, flags, value, flap_dial, 0, next);
}

// Chain: 0 face, 1 needle, 2-4 flap overlay (dial, right, left); 5 night face, 6 needle, 7-9 night
// overlay.
extern ELEMENT_NEEDLE needle_day, needle_night, right_day, left_day, right_night, left_night;
extern ELEMENT_ICON overlay_day, night_face, overlay_night;

ELEMENT_STATIC_IMAGE face =
    k7::static_image(&gauge_tat, 12800, {0, 0}, k7::TRANSPARENT, K7_NEXT(needle_day));
ELEMENT_NEEDLE needle_day = tat_needle(12656, k7::NEEDLE_DAY, K7_NEXT(overlay_day));
ELEMENT_ICON overlay_day = k7::icon(&gauge_tat, 10352, {0, 0}, k7::DAY_HIDDEN, K7_NEXT(right_day));
ELEMENT_NEEDLE right_day =
    flap_needle(10320, k7::NEEDLE_DAY | IMAGE_HIDDEN, flap_right, K7_NEXT(left_day));
ELEMENT_NEEDLE left_day =
    flap_needle(10288, k7::NEEDLE_DAY | IMAGE_HIDDEN, flap_left, K7_NEXT(night_face));
ELEMENT_ICON night_face =
    k7::icon(&gauge_tat, 12816, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(needle_night));
ELEMENT_NEEDLE needle_night =
    tat_needle(12672, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, K7_NEXT(overlay_night));
ELEMENT_ICON overlay_night =
    k7::icon(&gauge_tat, 10368, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(right_night));
ELEMENT_NEEDLE right_night =
    flap_needle(10336, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, flap_right, K7_NEXT(left_night));
ELEMENT_NEEDLE left_night = flap_needle(10304, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, flap_left, K7_END);

BOOL FSAPI on_dial_click(PPIXPOINT, FLAGS32) {
  flaps_dial_shown = flaps_dial_shown == 0;
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 181, 181}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_dial_click),
    K7_MOUSE_END,
};

MODULE_VAR tat_var = sim::token(0x15E);
MODULE_VAR flaps_left_var = sim::token(0x38B);
MODULE_VAR flaps_right_var = sim::token(0x38C);

constexpr double TAT_STEP = 0.05, TAT_WINDOW = 1.0; // slow, and settles within a degree

void update_temperature() {
  const double target = k7::clamp(sim::read_finite(tat_var) * 256.0, TAT_LOW, TAT_HIGH);
  // Without the battery bus the needle drifts back to 0.
  tat_ind = k7::slew(tat_ind, elec_bus_batt == 1 ? target : 0.0, TAT_STEP, TAT_WINDOW);
}

// The flap transmitters need the instrument AC bus and, once the green circuit can no longer
// drive the flaps with the emergency guard open, the red circuit with the emergency lever out.
bool flap_indication_alive() {
  if (elec_ac_instr != 1) return false;
  if (hydrau_press_green > 1750 || emerg_flap_guard == 0) return true;
  return hydrau_press_red > 950 && emerg_flap_lev != 0;
}

bool in_detent(double v) {
  return (v > 4.9 && v < 5.1) || (v > 9.9 && v < 10.1) || (v > 19.9 && v < 20.1) || v > 34.9;
}

void update_flaps() {
  const double left = sim::read_finite(flaps_left_var);
  if (flap_indication_alive()) {
    flaps_ind_left = k7::clamp(left, 0.0, FLAPS_HIGH);
    flaps_ind_right = k7::clamp(sim::read_finite(flaps_right_var), 0.0, FLAPS_HIGH);
  }
  // The overlay comes up once at the start of each travel, from the flaps themselves.
  if (left <= 0) {
    if (flaps_up_seen == 0) {
      flaps_dial_shown = 0;
      flaps_dial_latch = 0;
      flaps_up_seen = 1;
    }
    return;
  }
  flaps_up_seen = 0;
  if (in_detent(left)) {
    flaps_dial_latch = 0;
  } else if (flaps_dial_latch == 0) {
    flaps_dial_shown = 1;
    flaps_dial_latch = 1;
  }
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update_temperature();
  update_flaps();
  k7::draw_night_layer({&night_face.header, &needle_night.header});
  const bool overlay = flaps_dial_shown == 1;
  for (const k7::DayNight& art : {k7::DayNight{&overlay_day.header, &overlay_night.header},
                                  k7::DayNight{&right_day.header, &right_night.header},
                                  k7::DayNight{&left_day.header, &left_night.header}})
    k7::draw(art, overlay);
}

} // namespace

K7_GAUGE_HEADER(tat, face, mouse, callback);
