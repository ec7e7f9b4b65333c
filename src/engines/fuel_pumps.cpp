// "kestovil fuel_pumps_lh_k7" and "kestovil fuel_pumps_rh_k7": the four pump switches of each
// feed side with their low-level and low-pressure lamps; the pump logic of the side, and the feed
// logic that chooses the tank the simulator's engine draws from, or starves it.
#include "engines/fuel_sides.h"
#include "module/kit.h"
#include "module/runs.h"
#include "module/services.h"

#include <array>

namespace {

// ---- drawing
// ------------------------------------------------------------------------------------------

// Switch positions as stored: three-position switches 0 centre, 1 up, 2 down; two-position
// switches 0 down, 1 up. The lever images are listed in that order, day copies then night copies.
constexpr ID LEVER_UP = 13680, LEVER_CENTRE = 4976, LEVER_DOWN = 13664;
constexpr ID LEVER_UP_NIGHT = 14096, LEVER_CENTRE_NIGHT = 13952, LEVER_DOWN_NIGHT = 14080;
constexpr ID LAMP_LOW_LEVEL = 4880, LAMP_LOW_LEVEL_NAV = 14112;
constexpr ID LAMP_LOW_PRESSURE = 4912, LAMP_LOW_PRESSURE_NAV = 14128;
constexpr ID PUMP_FACE = 13936;

struct PumpLayout {
  PIXPOINT pump1[3]; // centre, up, down
  PIXPOINT pump2[3];
  PIXPOINT pump3[2]; // down, up
  PIXPOINT pump4[2];
  PIXPOINT low_level;
  PIXPOINT low_pressure;
};

// The right panel is the left one mirrored: pumps 1 and 4 change columns with pumps 3 and 2.
constexpr PumpLayout layout_lh{{{44, 15}, {44, 3}, {44, 21}},
                               {{13, 59}, {13, 48}, {13, 65}},
                               {{13, 21}, {13, 3}},
                               {{44, 65}, {44, 48}},
                               {12, 96},
                               {46, 96}};
constexpr PumpLayout layout_rh{{{13, 15}, {13, 3}, {13, 21}},
                               {{44, 59}, {44, 48}, {44, 65}},
                               {{44, 21}, {44, 3}},
                               {{13, 65}, {13, 48}},
                               {44, 96},
                               {10, 96}};

// Element n + 1 of a pump panel's chain is image n of this table.
enum PumpImage : std::size_t {
  PUMP1_DAY = 0,
  PUMP1_NIGHT = 3,
  PUMP2_DAY = 6,
  PUMP2_NIGHT = 9,
  PUMP3_DAY = 12,
  PUMP3_NIGHT = 14,
  PUMP4_DAY = 16,
  PUMP4_NIGHT = 18,
  LOW_LEVEL = 20,
  LOW_LEVEL_NAV = 21,
  LOW_PRESSURE = 22,
  LOW_PRESSURE_NAV = 23,
  PUMP_IMAGES = 24
};

// The images of one panel, the day image of each switch's load position shown.
constexpr std::array<k7::ImageEntry, PUMP_IMAGES> pump_images(const PumpLayout& l) {
  constexpr ID three_day[3] = {LEVER_CENTRE, LEVER_UP, LEVER_DOWN};
  constexpr ID three_night[3] = {LEVER_CENTRE_NIGHT, LEVER_UP_NIGHT, LEVER_DOWN_NIGHT};
  constexpr ID two_day[2] = {LEVER_DOWN, LEVER_UP};
  constexpr ID two_night[2] = {LEVER_DOWN_NIGHT, LEVER_UP_NIGHT};
  auto flags = [](bool shown) { return shown ? k7::ART_DAY : k7::ART_DAY | IMAGE_HIDDEN; };
  std::array<k7::ImageEntry, PUMP_IMAGES> a{};
  for (std::size_t i = 0; i < 3; ++i) {
    a[PUMP1_DAY + i] = {three_day[i], l.pump1[i], flags(i == 2)};
    a[PUMP1_NIGHT + i] = {three_night[i], l.pump1[i], k7::NIGHT_HIDDEN};
    a[PUMP2_DAY + i] = {three_day[i], l.pump2[i], flags(i == 2)};
    a[PUMP2_NIGHT + i] = {three_night[i], l.pump2[i], k7::NIGHT_HIDDEN};
  }
  for (std::size_t i = 0; i < 2; ++i) {
    a[PUMP3_DAY + i] = {two_day[i], l.pump3[i], flags(i == 0)};
    a[PUMP3_NIGHT + i] = {two_night[i], l.pump3[i], k7::NIGHT_HIDDEN};
    a[PUMP4_DAY + i] = {two_day[i], l.pump4[i], flags(i == 1)};
    a[PUMP4_NIGHT + i] = {two_night[i], l.pump4[i], k7::NIGHT_HIDDEN};
  }
  a[LOW_LEVEL] = {LAMP_LOW_LEVEL, l.low_level, k7::HIDDEN};
  a[LOW_LEVEL_NAV] = {LAMP_LOW_LEVEL_NAV, l.low_level, k7::HIDDEN};
  a[LOW_PRESSURE] = {LAMP_LOW_PRESSURE, l.low_pressure, k7::HIDDEN};
  a[LOW_PRESSURE_NAV] = {LAMP_LOW_PRESSURE_NAV, l.low_pressure, k7::HIDDEN};
  return a;
}

constexpr auto images_lh = pump_images(layout_lh);
constexpr auto images_rh = pump_images(layout_rh);
using ImagesLh = k7::Run<gauge_fuel_pumps_lh, images_lh>;
using ImagesRh = k7::Run<gauge_fuel_pumps_rh, images_rh>;

ELEMENT_STATIC_IMAGE face_lh =
    k7::static_image(&gauge_fuel_pumps_lh, PUMP_FACE, {0, 0}, k7::TRANSPARENT, ImagesLh::head);
ELEMENT_STATIC_IMAGE face_rh =
    k7::static_image(&gauge_fuel_pumps_rh, PUMP_FACE, {0, 0}, k7::TRANSPARENT, ImagesRh::head);

MODULE_VAR nav_lights = sim::token(0x26B);

void draw(const FuelSide& s, ELEMENT_ICON* image) {
  k7::draw_position(image + PUMP1_DAY, image + PUMP1_NIGHT, 3, s.pump1_sw);
  k7::draw_position(image + PUMP2_DAY, image + PUMP2_NIGHT, 3, s.pump2_sw);
  k7::draw_position(image + PUMP3_DAY, image + PUMP3_NIGHT, 2, s.pump3_sw);
  k7::draw_position(image + PUMP4_DAY, image + PUMP4_NIGHT, 2, s.pump4_sw);
  const bool nav = sim::read(nav_lights) == 1.0;
  k7::show_lamp(image[LOW_LEVEL], image[LOW_LEVEL_NAV], s.qty_main < 200.0 && elec_bus_ess == 1,
                nav);
  k7::show_lamp(image[LOW_PRESSURE], image[LOW_PRESSURE_NAV], s.lowpress == 1 && elec_bus_main == 1,
                nav);
}

// ---- pumps
// --------------------------------------------------------------------------------------------

constexpr i16 PUMP1_START_BELOW = 101;
constexpr i16 PUMP1_STOP_ABOVE = 239;
constexpr i16 LOW_PRESSURE_BELOW = 111;
constexpr double LOW_CONTENTS_KG = 200.0;

void run_pumps(const FuelSide& s) {
  const bool ess = elec_bus_ess == 1;
  const bool main = elec_bus_main == 1;

  // Pump 1: on, or automatic on pressure while the engine's HP cock is open.
  if (s.pump1_sw == 2) {
    if (!ess || s.hp_cock != 1)
      s.pump1_on = 0;
    else if (s.press < PUMP1_START_BELOW)
      s.pump1_on = 1;
    else if (s.press > PUMP1_STOP_ABOVE && s.pump4_sw != 1)
      s.pump1_on = 0;
  } else {
    s.pump1_on = s.pump1_sw == 1 && ess;
  }

  // Pump 2: on, or automatic on low main-tank contents.
  if (s.pump2_sw == 2)
    s.pump2_on = s.qty_main < LOW_CONTENTS_KG && main;
  else
    s.pump2_on = s.pump2_sw == 1 && main;

  s.pump3_on = s.pump3_sw == 1 && ess;

  // Pump 4 and the low-pressure latch: with pump 4 on, the latch is set by low pressure and
  // cleared only once pump 4 has been running; with it off the latch follows the pressure.
  if (s.pump4_sw == 1) {
    if (s.press < LOW_PRESSURE_BELOW)
      s.lowpress = 1;
    else if (s.pump4_on)
      s.lowpress = 0;
    s.pump4_on = main;
  } else {
    s.pump4_on = 0;
    s.lowpress = s.press < LOW_PRESSURE_BELOW;
  }
}

// ---- feed
// ---------------------------------------------------------------------------------------------

// The simulator's fuel selector values: 2 and 4 are the left engine's own tanks, 3 and 5 the
// right engine's; 0 is off. Anything else is kept as 6, so that it is always replaced.
constexpr u8 SELECTOR_OFF = 0;
constexpr u8 SELECTOR_OTHER = 6;

u8 selector_code(double value) {
  const i32 n = k7::sat_cast<i32>(value);
  return (n == 0 || (n >= 2 && n <= 5)) ? static_cast<u8>(n) : SELECTOR_OTHER;
}

struct Feed {
  const FuelSide& own;
  const FuelSide& other;
  u8 pumped;       // own tank fed by pump 2 or 3
  u8 suction;      // own tank by suction, or by pumps 1 and 4 only
  u8 other_pumped; // the other engine's values, copied through the cross-feed
  u8 other_suction;
  double ceiling_ft; // suction feed no longer holds above this altitude
  u32 select_event[6];
};

constexpr Feed feed_lh{fuel_lh, fuel_rh, 2,       4,
                       3,       5,       17000.0, {0x101A3, 0, 0x101A5, 0x101A6, 0x101A7, 0x101A8}};
constexpr Feed feed_rh{fuel_rh, fuel_lh, 3,       5,
                       2,       4,       20000.0, {0x103D4, 0, 0x103D6, 0x103D7, 0x103D8, 0x103D9}};

MODULE_VAR altitude_lh = sim::token(0x4A);
MODULE_VAR altitude_rh = sim::token(0x4A);
MODULE_VAR n2_lh = sim::token(0x271);
MODULE_VAR n2_rh = sim::token(0x284);

void select(const Feed& f, u8 value) {
  if (f.own.selector != value) sim::key_event(f.select_event[value]);
}

void run_feed(const Feed& f, MODULE_VAR& altitude_var, MODULE_VAR& n2_var) {
  const FuelSide& s = f.own;
  const double altitude = sim::read(altitude_var);
  const double n2 = sim::read(n2_var);
  const bool below_ceiling = altitude < f.ceiling_ft;
  const bool turning = n2 >= 20.0;
  const bool pressure = s.press >= FUEL_FEED_MIN_PRESSURE;
  const bool own_can_feed = s.valve_b == 1 && (pressure || (below_ceiling && turning));

  if (fuel_crossfeed_open == 0 || elec_bus_ess == 0 || own_can_feed) {
    if (s.valve_b == 0)
      select(f, SELECTOR_OFF);
    else if (!pressure)
      select(f, below_ceiling && turning ? f.suction : SELECTOR_OFF);
    else if (s.pump2_on == 0 && s.pump3_on == 0)
      select(f, f.suction);
    else
      select(f, f.pumped);
  } else if (f.other.valve_b == 1 && f.other.press >= FUEL_FEED_MIN_PRESSURE) {
    if (f.other.selector == f.other_pumped)
      select(f, f.other_pumped);
    else if (f.other.selector == f.other_suction)
      select(f, f.other_suction);
    else
      select(f, SELECTOR_OFF);
  } else {
    select(f, SELECTOR_OFF);
  }
}

// ---- gauges
// -------------------------------------------------------------------------------------------

MODULE_VAR selector_eng1 = sim::token(0x133);
MODULE_VAR selector_eng2 = sim::token(0x38A);

void FSAPI callback_lh(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  fuel_sel_eng1 = selector_code(sim::read(selector_eng1));
  fuel_sel_eng2 = selector_code(sim::read(selector_eng2));
  run_pumps(fuel_lh);
  run_feed(feed_lh, altitude_lh, n2_lh);
  draw(fuel_lh, ImagesLh::element);
}

void FSAPI callback_rh(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  run_pumps(fuel_rh);
  run_feed(feed_rh, altitude_rh, n2_rh);
  draw(fuel_rh, ImagesRh::element);
}

using k7::switch_area;

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;

MOUSERECT mouse_lh[] = {
    k7::mouse_parent(),
    k7::mouse_area({37, 1, 27, 14}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_lh1_sw, 1>),
    k7::mouse_area({37, 15, 27, 14}, CURSOR_HAND, CLICK, switch_area<fuel_pump_lh1_sw, 0>),
    k7::mouse_area({37, 29, 27, 14}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_lh1_sw, 2>),
    k7::mouse_area({6, 45, 27, 14}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_lh2_sw, 1>),
    k7::mouse_area({6, 59, 27, 14}, CURSOR_HAND, CLICK, switch_area<fuel_pump_lh2_sw, 0>),
    k7::mouse_area({6, 73, 27, 14}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_lh2_sw, 2>),
    k7::mouse_area({6, 1, 27, 21}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_lh3_sw, 1>),
    k7::mouse_area({6, 22, 27, 21}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_lh3_sw, 0>),
    k7::mouse_area({37, 45, 27, 21}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_lh4_sw, 1>),
    k7::mouse_area({37, 66, 27, 21}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_lh4_sw, 0>),
    K7_MOUSE_END,
};

MOUSERECT mouse_rh[] = {
    k7::mouse_parent(),
    k7::mouse_area({6, 1, 27, 14}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_rh1_sw, 1>),
    k7::mouse_area({6, 15, 27, 14}, CURSOR_HAND, CLICK, switch_area<fuel_pump_rh1_sw, 0>),
    k7::mouse_area({6, 29, 27, 14}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_rh1_sw, 2>),
    k7::mouse_area({37, 45, 27, 14}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_rh2_sw, 1>),
    k7::mouse_area({37, 59, 27, 14}, CURSOR_HAND, CLICK, switch_area<fuel_pump_rh2_sw, 0>),
    k7::mouse_area({37, 73, 27, 14}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_rh2_sw, 2>),
    k7::mouse_area({37, 1, 27, 21}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_rh3_sw, 1>),
    k7::mouse_area({37, 22, 27, 21}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_rh3_sw, 0>),
    k7::mouse_area({6, 45, 27, 21}, CURSOR_UPARROW, CLICK, switch_area<fuel_pump_rh4_sw, 1>),
    k7::mouse_area({6, 66, 27, 21}, CURSOR_DOWNARROW, CLICK, switch_area<fuel_pump_rh4_sw, 0>),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(fuel_pumps_lh, face_lh, mouse_lh, callback_lh);
K7_GAUGE_HEADER(fuel_pumps_rh, face_rh, mouse_rh, callback_rh);
