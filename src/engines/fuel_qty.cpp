// The four tank contents gauges ("kestovil fuel_qtty_main_left_k7" .. "_aux_right_k7") and the
// three test buttons beside them. Each gauge works out its tank's contents from the simulator's
// tanks (the main ones are what the fuel pumps go by), and its needle follows them on the AC bus,
// sweeping to full scale and back when tested.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/daynight.h"
#include "module/services.h"

namespace {

constexpr double LEVEL_PER_PERCENT = 83886.08;
constexpr double LITRES_PER_GALLON_FIGURE = 3.84;
constexpr double KG_PER_POUND = 0.453;
constexpr double MOST = 1e9; // contents and volume figures beyond any real tank

double bounded(double v) {
  return k7::clamp(k7::finite_or(v, 0.0), 0.0, MOST);
}

// One side's simulator tanks: two tanks of its own and the further tank that stands in for an
// auxiliary tank the aircraft does not have.
struct TankTokens {
  MODULE_VAR capacity1, level1, capacity2, level2;
};

MODULE_VAR further_capacity = sim::token(0x122);
MODULE_VAR further_level = sim::token(0x121);
MODULE_VAR fuel_weight = sim::token(0x132); // pounds per gallon

double kg_of(double volume) {
  return bounded(sim::read_finite(fuel_weight) / LITRES_PER_GALLON_FIGURE * KG_PER_POUND * volume);
}

double volume_of(double level, double capacity, double scale) {
  return bounded(level / LEVEL_PER_PERCENT * capacity * LITRES_PER_GALLON_FIGURE / scale);
}

// The main tank is the larger of the two (tank 2 when they are equal).
void main_contents(TankTokens& t, f64& volume, f64& contents) {
  const double c1 = sim::read_finite(t.capacity1), c2 = sim::read_finite(t.capacity2);
  const double l1 = sim::read_finite(t.level1), l2 = sim::read_finite(t.level2);
  volume = c1 > c2 ? volume_of(l1, c1, 100.0) : volume_of(l2, c2, 100.0);
  contents = kg_of(volume);
}

// The auxiliary tank is the smaller one (tank 1 when equal); without a tank 2 the further tank's
// level in percent stands in, and without that the gauge keeps what it had.
void aux_contents(TankTokens& t, f64& volume, f64& contents) {
  const double c1 = sim::read_finite(t.capacity1), c2 = sim::read_finite(t.capacity2);
  if (c2 <= 0.0) {
    if (sim::read_finite(further_capacity) > 0.0)
      contents = bounded(sim::read_finite(further_level) / LEVEL_PER_PERCENT * 100.0);
    return;
  }
  const double l1 = sim::read_finite(t.level1), l2 = sim::read_finite(t.level2);
  volume = c2 < c1 ? volume_of(l2, c2, 10.0) : volume_of(l1, c1, 10.0);
  contents = kg_of(volume);
}

struct Dial {
  double full;      // kg at the end of the scale
  double test_rise; // kg per update on the way up of a test
};
constexpr Dial MAIN_DIAL{7000.0, 100.0};
constexpr Dial AUX_DIAL{12000.0, 250.0};
constexpr double TEST_FALL = 250.0;
constexpr double CATCH_UP = 500.0;
constexpr double FOLLOW_BAND = 100.0;

double on_dial(f64& shown, const Dial& dial) {
  shown = k7::clamp(k7::finite_or(shown, 0.0), 0.0, dial.full);
  return shown;
}

// The needle on the AC bus: a test sweeps to full scale and back down to the contents; otherwise
// a fall is followed at once and a rise climbs at 500 kg per update.
void move_needle(f64& shown, f64 contents, u8& test, u8& phase, const Dial& dial) {
  if (elec_ac_main_b != 1) return;
  if (test != 0 && phase == 0) {
    if (shown >= dial.full)
      phase = 1;
    else
      shown += dial.test_rise;
  } else if (test != 0) {
    if (shown <= contents + FOLLOW_BAND) {
      shown = contents;
      test = 0;
      phase = 0;
    } else {
      shown -= TEST_FALL;
    }
  } else if (shown >= contents - FOLLOW_BAND) {
    shown = contents;
  } else {
    shown += CATCH_UP;
  }
  on_dial(shown, dial);
}

// ---- drawing
// ------------------------------------------------------------------------------------------

constexpr PIXPOINT PIVOT = {54, 54};
constexpr PIXPOINT NEEDLE_PIVOT = {6, 3};
constexpr ID MAIN_FACE = 14416, MAIN_FACE_NIGHT = 14432, AUX_FACE = 14384, AUX_FACE_NIGHT = 14400;
constexpr ID NEEDLE = 14352, NEEDLE_NIGHT = 14368;

constexpr NONLINEARITY main_scale[] = {
    {{39, 103}, 0.0, 0.0},    {{9, 78}, 1000.0, 0.0},   {{5, 39}, 2000.0, 0.0},
    {{39, 9}, 3000.0, 0.0},   {{70, 14}, 4000.0, 0.0},  {{101, 29}, 5000.0, 0.0},
    {{104, 70}, 6000.0, 0.0}, {{78, 101}, 7000.0, 0.0},
};
constexpr NONLINEARITY aux_scale[] = {
    {{37, 102}, 0.0, 0.0},    {{5, 71}, 2000.0, 0.0},  {{11, 26}, 4000.0, 0.0},
    {{49, 3}, 6000.0, 0.0},   {{91, 17}, 8000.0, 0.0}, {{105, 60}, 10000.0, 0.0},
    {{81, 98}, 12000.0, 0.0},
};

FLOAT64 FSAPI shown_main_lh(ELEMENT_NEEDLE*) {
  return on_dial(fuel_qty_main_lh_ind, MAIN_DIAL);
}
FLOAT64 FSAPI shown_main_rh(ELEMENT_NEEDLE*) {
  return on_dial(fuel_qty_main_rh_ind, MAIN_DIAL);
}
FLOAT64 FSAPI shown_aux_lh(ELEMENT_NEEDLE*) {
  return on_dial(fuel_qty_aux_lh_ind, AUX_DIAL);
}
FLOAT64 FSAPI shown_aux_rh(ELEMENT_NEEDLE*) {
  return on_dial(fuel_qty_aux_rh_ind, AUX_DIAL);
}

// Chain of a contents gauge: 0 face, 1 needle, 2 night face, 3 night needle.
#define K7_CONTENTS_GAUGE(ident, face_id, night_face_id, shown, scale)                             \
  extern ELEMENT_NEEDLE ident##_needle;                                                            \
  extern ELEMENT_ICON ident##_night_face;                                                          \
  extern ELEMENT_NEEDLE ident##_night_needle;                                                      \
  ELEMENT_STATIC_IMAGE ident##_face =                                                              \
      k7::static_image(&gauge_##ident, face_id, {0, 0}, k7::TRANSPARENT, K7_NEXT(ident##_needle)); \
  ELEMENT_NEEDLE ident##_needle =                                                                  \
      k7::needle(&gauge_##ident, NEEDLE, PIVOT, NEEDLE_PIVOT, k7::NEEDLE_DAY, shown, scale, 0,     \
                 K7_NEXT(ident##_night_face));                                                     \
  ELEMENT_ICON ident##_night_face = k7::icon(&gauge_##ident, night_face_id, {0, 0},                \
                                             k7::NIGHT_HIDDEN, K7_NEXT(ident##_night_needle));     \
  ELEMENT_NEEDLE ident##_night_needle =                                                            \
      k7::needle(&gauge_##ident, NEEDLE_NIGHT, PIVOT, NEEDLE_PIVOT,                                \
                 k7::NEEDLE_NIGHT | IMAGE_HIDDEN, shown, scale, 0, K7_END);

K7_CONTENTS_GAUGE(fuel_qtty_main_left, MAIN_FACE, MAIN_FACE_NIGHT, shown_main_lh, main_scale)
K7_CONTENTS_GAUGE(fuel_qtty_main_right, MAIN_FACE, MAIN_FACE_NIGHT, shown_main_rh, main_scale)
K7_CONTENTS_GAUGE(fuel_qtty_aux_left, AUX_FACE, AUX_FACE_NIGHT, shown_aux_lh, aux_scale)
K7_CONTENTS_GAUGE(fuel_qtty_aux_right, AUX_FACE, AUX_FACE_NIGHT, shown_aux_rh, aux_scale)
#undef K7_CONTENTS_GAUGE

// The night face and needle lie over the day ones.
template <auto& NightFace, auto& NightNeedle> void draw_night() {
  k7::show(NightFace, k7::panel_night());
  k7::show(NightNeedle, k7::panel_night());
}

TankTokens tanks_lh_main{sim::token(0x124), sim::token(0x123), sim::token(0x126),
                         sim::token(0x125)};
TankTokens tanks_lh_aux = tanks_lh_main;
TankTokens tanks_rh_main{sim::token(0x12a), sim::token(0x129), sim::token(0x12c),
                         sim::token(0x12b)};
TankTokens tanks_rh_aux = tanks_rh_main;

void FSAPI main_left(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  main_contents(tanks_lh_main, fuel_vol_main_lh, fuel_qty_main_lh);
  move_needle(fuel_qty_main_lh_ind, fuel_qty_main_lh, fuel_qty_test_main_lh,
              fuel_qty_test_phase_main_lh, MAIN_DIAL);
  draw_night<fuel_qtty_main_left_night_face, fuel_qtty_main_left_night_needle>();
}
void FSAPI main_right(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  main_contents(tanks_rh_main, fuel_vol_main_rh, fuel_qty_main_rh);
  move_needle(fuel_qty_main_rh_ind, fuel_qty_main_rh, fuel_qty_test_main_rh,
              fuel_qty_test_phase_main_rh, MAIN_DIAL);
  draw_night<fuel_qtty_main_right_night_face, fuel_qtty_main_right_night_needle>();
}
void FSAPI aux_left(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  aux_contents(tanks_lh_aux, fuel_vol_aux_lh, fuel_qty_aux_lh);
  move_needle(fuel_qty_aux_lh_ind, fuel_qty_aux_lh, fuel_qty_test_aux_lh,
              fuel_qty_test_phase_aux_lh, AUX_DIAL);
  draw_night<fuel_qtty_aux_left_night_face, fuel_qtty_aux_left_night_needle>();
}
void FSAPI aux_right(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  aux_contents(tanks_rh_aux, fuel_vol_aux_rh, fuel_qty_aux_rh);
  move_needle(fuel_qty_aux_rh_ind, fuel_qty_aux_rh, fuel_qty_test_aux_rh,
              fuel_qty_test_phase_aux_rh, AUX_DIAL);
  draw_night<fuel_qtty_aux_right_night_face, fuel_qtty_aux_right_night_needle>();
}

constexpr MOUSERECT parent_with_help() {
  MOUSERECT r = k7::mouse_parent();
  r.help_id = 43814;
  return r;
}
MOUSERECT main_left_mouse[] = {parent_with_help(), K7_MOUSE_END};
MOUSERECT main_right_mouse[] = {parent_with_help(), K7_MOUSE_END};
MOUSERECT aux_left_mouse[] = {parent_with_help(), K7_MOUSE_END};
MOUSERECT aux_right_mouse[] = {parent_with_help(), K7_MOUSE_END};

// ---- test buttons (the right main gauge has none)
// -----------------------------------------------------------------------------------

template <u8& Test> BOOL FSAPI on_test(PPIXPOINT, FLAGS32) {
  Test = 1;
  return FALSE_K7;
}

ELEMENT_STATIC_IMAGE testsw_main_left_face =
    k7::static_image(&gauge_fuel_testsw_main_left, 14448, {0, 0}, k7::TRANSPARENT, K7_END);
ELEMENT_STATIC_IMAGE testsw_aux_left_face =
    k7::static_image(&gauge_fuel_testsw_aux_left, 14448, {0, 0}, k7::TRANSPARENT, K7_END);
ELEMENT_STATIC_IMAGE testsw_aux_right_face =
    k7::static_image(&gauge_fuel_testsw_aux_right, 14448, {0, 0}, k7::TRANSPARENT, K7_END);

constexpr PIXBOX TEST_BOX = {0, 0, 20, 20};
MOUSERECT testsw_main_left_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area(TEST_BOX, CURSOR_HAND, MOUSE_LEFTSINGLE, on_test<fuel_qty_test_main_lh>),
    K7_MOUSE_END};
MOUSERECT testsw_aux_left_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area(TEST_BOX, CURSOR_HAND, MOUSE_LEFTSINGLE, on_test<fuel_qty_test_aux_lh>),
    K7_MOUSE_END};
MOUSERECT testsw_aux_right_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area(TEST_BOX, CURSOR_HAND, MOUSE_LEFTSINGLE, on_test<fuel_qty_test_aux_rh>),
    K7_MOUSE_END};

// The buttons only set their gauge's flag; the gauge runs the test.
void FSAPI test_button(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

} // namespace

K7_GAUGE_HEADER(fuel_qtty_main_left, fuel_qtty_main_left_face, main_left_mouse, main_left);
K7_GAUGE_HEADER(fuel_qtty_main_right, fuel_qtty_main_right_face, main_right_mouse, main_right);
K7_GAUGE_HEADER(fuel_qtty_aux_left, fuel_qtty_aux_left_face, aux_left_mouse, aux_left);
K7_GAUGE_HEADER(fuel_qtty_aux_right, fuel_qtty_aux_right_face, aux_right_mouse, aux_right);
K7_GAUGE_HEADER(fuel_testsw_main_left, testsw_main_left_face, testsw_main_left_mouse, test_button);
K7_GAUGE_HEADER(fuel_testsw_aux_left, testsw_aux_left_face, testsw_aux_left_mouse, test_button);
K7_GAUGE_HEADER(fuel_testsw_aux_right, testsw_aux_right_face, testsw_aux_right_mouse, test_button);
