// "kestovil ap_k7": the autopilot control panel. Six lit push-buttons (ENGAGE, heading, NAV,
// approach, altitude holds A and B), a turn knob with its needle, and a pitch wheel. The clicks
// change modes and send the simulator's mode switches; the computer (ap_computer.cpp) does the
// rest every frame.
#include "autopilot/ap_computer.h"
#include "autopilot/ap_units.h"
#include "autopilot/autopilot.h"
#include "autopilot/autopilot_events.h"
#include "instruments/instruments.h"
#include "module/runs.h"

namespace {

MODULE_VAR master_var = sim::token(0x67);
MODULE_VAR gps_var = sim::token(0x350);

// Chain: 0 background, 1 night overlay, 2 turn needle (day), 3 turn needle (night), 4..6 pitch
// wheel up, centre, down (day), 7..9 the same by night, 10..15 the lamps of ENGAGE, heading, NAV,
// approach, altitude A, altitude B.
// A lit lamp glows by night as by day.
constexpr FLAGS LAMP = k7::HIDDEN | IMAGE_USE_LUMINOUS;
constexpr k7::ImageEntry lamps[] = {
    {20496, {27, 18}, LAMP}, {20496, {27, 48}, LAMP},  {20496, {56, 78}, LAMP},
    {20496, {85, 78}, LAMP}, {20496, {147, 78}, LAMP}, {20496, {178, 78}, LAMP},
};
constexpr FLAGS OTHER = k7::DAY_HIDDEN, NIGHT = k7::NIGHT_HIDDEN;
constexpr k7::ImageEntry wheels[] = {
    {18784, {174, 14}, OTHER}, {18800, {174, 18}, k7::ART_DAY}, {18816, {174, 33}, OTHER},
    {20528, {174, 14}, NIGHT}, {20544, {174, 18}, NIGHT},       {20560, {174, 33}, NIGHT},
};
enum Wheel : std::size_t { WHEEL_UP, WHEEL_CENTRE, WHEEL_DOWN, WHEEL_IMAGES };

using Lamps = k7::Run<gauge_ap, lamps>;
using Wheels = k7::Run<gauge_ap, wheels, Lamps::head>;

const NONLINEARITY turn_scale[] = {
    {{88, 4}, -40, 0},  {{90, 2}, -25, 0},  {{93, 0}, -20, 0}, {{96, -2}, -15, 0},
    {{99, -3}, -10, 0}, {{102, -4}, -5, 0}, {{107, -5}, 0, 0}, {{112, -4}, 5, 0},
    {{115, -3}, 10, 0}, {{118, -2}, 15, 0}, {{121, 0}, 20, 0}, {{124, 2}, 25, 0},
    {{126, 4}, 40, 0},
};

FLOAT64 FSAPI turn_selection(ELEMENT_NEEDLE*) {
  return ap_turn_sel;
}

extern ELEMENT_NEEDLE needle_night;
extern ELEMENT_ICON night_overlay;
constexpr PIXPOINT NEEDLE_PIVOT = {108, 23};
constexpr PIXPOINT NEEDLE_BITMAP_PIVOT = {3, 20};
ELEMENT_NEEDLE needle_day =
    k7::needle(&gauge_ap, 20480, NEEDLE_PIVOT, NEEDLE_BITMAP_PIVOT, k7::NEEDLE_DAY, turn_selection,
               turn_scale, 0, K7_NEXT(needle_night));
ELEMENT_NEEDLE needle_night =
    k7::needle(&gauge_ap, 20576, NEEDLE_PIVOT, NEEDLE_BITMAP_PIVOT, k7::NEEDLE_NIGHT | IMAGE_HIDDEN,
               turn_selection, turn_scale, 0, Wheels::head);
ELEMENT_ICON night_overlay =
    k7::icon(&gauge_ap, 20512, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(needle_day));
ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_ap, 18752, {0, 0}, k7::TRANSPARENT, K7_NEXT(night_overlay));

} // namespace

void ap_lamp(ApLamp lamp, bool lit) {
  k7::show(Lamps::element[lamp], lit);
}
bool ap_lamp_lit(ApLamp lamp) {
  return k7::shown(Lamps::element[lamp]);
}

namespace {

bool master_on() {
  return sim::read_finite(master_var) == 1.0;
}

// ---- the buttons

// The two panels differ in a few of their actions: the second one engages with the simulator's
// extra autopilot event and leaves the rudder coordination, the heading reference and the turn
// selection alone; its wheel images are its own.
enum Panel { MAIN, SECOND };

// Engages the simulator's autopilot, or with it engaged disconnects every mode.
template <Panel P> BOOL FSAPI on_engage(PPIXPOINT, FLAGS32) {
  const double master = sim::read_finite(master_var);
  if (master == 0.0 && ap_ready != 0) {
    ap::send(AP_ENGAGE);
    if (P == SECOND)
      ap::send(AP_ENGAGE_SECOND);
    else
      ap_coord_active = 1;
    ap_coupled = 1;
  } else if (master == 1.0) {
    ap::send(AP_DISCONNECT);
    if (P == SECOND) {
      if (ap_attphase == 2) ap::send(AP_DISCONNECT_SECOND);
    } else {
      if (ap_attphase == 2) ap_coord_active = 0;
      ap::send(AP_HEADING_REF, static_cast<double>(hsi_heading_sel));
      ap_turn_sel = 0;
    }
    ap_coupled = ap_hdg_mode = ap_nav_mode = 0;
    ap_alt_hold_a = ap_alt_hold_b = 0;
    ap_appr = 0;
    ap_turn_active = 0;
    for (u32 event : {AP_WING_LEVELER_OFF, AP_HEADING_HOLD_OFF, AP_NAV_HOLD_OFF, AP_NAV_HOLD_OFF_2,
                      AP_APPROACH_OFF})
      ap::send(event);
  }
  return FALSE_K7;
}

BOOL FSAPI on_heading(PPIXPOINT, FLAGS32) {
  if (!master_on()) return FALSE_K7;
  if (ap_hdg_mode == 0 && ap_ready != 0 && ap_turn_active == 0) {
    ap_hdg_mode = 1;
    ap::send(AP_HEADING_HOLD_ON);
    ap::send(AP_WING_LEVELER_OFF);
    ap_appr = 0;
  } else if (ap_hdg_mode != 0 && ap_ready != 0) {
    ap_hdg_mode = 0;
    ap::send(AP_WING_LEVELER_ON);
  }
  return FALSE_K7;
}

BOOL FSAPI on_nav(PPIXPOINT, FLAGS32) {
  if (!master_on()) return FALSE_K7;
  if (ap_nav_mode == 0 && ap_ready != 0 && ap_turn_active == 0) {
    if (sim::read_finite(gps_var) == 1.0) {
      ap_nav_mode = 2;
      ap::send(AP_NAV_HOLD_ON);
    } else if (hsi_nav1_loc != 0 || hsi_nav1_gs_avail != 0) {
      ap_nav_mode = 3;
      ap::send(AP_APPROACH_ON);
    } else {
      ap_nav_mode = 1;
      if (ap_hdg_mode != 1) ap::send(AP_HEADING_REF, fd_heading_cmd);
      ap::send(AP_HEADING_HOLD_ON);
    }
    ap::send(AP_WING_LEVELER_OFF);
  } else if (ap_nav_mode != 0) {
    ap_nav_mode = 0;
    ap_appr = 0;
    ap::send(AP_NAV_HOLD_OFF);
    ap::send(AP_NAV_HOLD_OFF_2);
    if (ap_hdg_mode == 0) ap::send(AP_HEADING_HOLD_OFF);
  }
  return FALSE_K7;
}

BOOL FSAPI on_approach(PPIXPOINT, FLAGS32) {
  land_test = 0;
  if (!master_on()) return FALSE_K7;
  if (ap_appr == 0 && ap_ready != 0 && ap_turn_active == 0) {
    ap_appr = 1;
    ap::send(AP_WING_LEVELER_OFF);
    ap_appr_lamp = 1;
    ap_nav_mode = 3;
  } else if (ap_appr != 0) {
    ap_appr = 0;
    ap_appr_lamp = 0;
  }
  return FALSE_K7;
}

BOOL FSAPI on_alt_a(PPIXPOINT, FLAGS32) {
  if (!master_on() || ap_ready == 0) return FALSE_K7;
  if (ap_alt_hold_a == 0) {
    ap_alt_hold_b = 0;
    ap_alt_hold_a = 1;
    if (fd_gs_state != 0) ap_appr = 0;
  } else {
    ap_alt_capture = 0;
    ap_alt_hold_a = 0;
  }
  return FALSE_K7;
}

BOOL FSAPI on_alt_b(PPIXPOINT, FLAGS32) {
  if (!master_on() || ap_ready == 0) return FALSE_K7;
  if (ap_alt_hold_b == 0) {
    ap_alt_capture = 0;
    ap_alt_hold_a = 0;
    ap_alt_hold_b = 1;
    if (fd_gs_state != 0) ap_appr = 0;
  } else {
    ap_alt_hold_b = 0;
  }
  return FALSE_K7;
}

// ---- the turn knob: a step left or right takes over the bank from every lateral mode.

void clear_lateral_modes() {
  ap_hdg_mode = ap_nav_mode = ap_appr = 0;
}

// The left step does not ask for readiness; the right one does.
template <i32 Step, bool NeedsReady> BOOL FSAPI on_turn(PPIXPOINT, FLAGS32) {
  if (!master_on() || (NeedsReady && ap_ready == 0)) return FALSE_K7;
  ap::send(AP_WING_LEVELER_OFF);
  ap::send(AP_HEADING_HOLD_OFF);
  clear_lateral_modes();
  ap::send(AP_NAV_HOLD_OFF);
  ap::send(AP_APPROACH_OFF);
  ap_turn_sel = k7::clamp<i32>(ap_turn_sel + Step, -30, 30);
  ap_turn_active = 1;
  return FALSE_K7;
}

// Centred on the second panel, the knob leaves the selection where it was.
template <Panel P> BOOL FSAPI on_turn_centre(PPIXPOINT, FLAGS32) {
  if (!master_on() || ap_ready == 0) return FALSE_K7;
  ap::send(AP_HEADING_HOLD_OFF);
  clear_lateral_modes();
  for (u32 event : {AP_NAV_HOLD_OFF, AP_APPROACH_OFF, AP_WING_LEVELER_ON})
    ap::send(event);
  if (P == MAIN) ap_turn_sel = 0;
  ap_turn_active = 0;
  return FALSE_K7;
}

// ---- the pitch wheel: its image always moves; with the pitch hold it moves the target and
// ends an altitude hold or the approach.
template <u8& Clicked, int Direction> BOOL FSAPI on_wheel(PPIXPOINT, FLAGS32) {
  Clicked = 1;
  ap_wheel_moved = 1;
  if (master_on() && ap_pitch_hold != 0 && ap_ready != 0) {
    ap_alt_hold_a = ap_alt_hold_b = 0;
    ap_alt_capture = 0;
    ap_pitch_target = k7::clamp(ap_pitch_target + 0.4 * Direction, -90.0, 90.0);
    ap_appr = 0;
  }
  return FALSE_K7;
}

template <Panel P, u8& WheelUp, u8& WheelDown> struct Areas { static MOUSERECT mouse[14]; };
template <Panel P, u8& WheelUp, u8& WheelDown>
MOUSERECT Areas<P, WheelUp, WheelDown>::mouse[14] = {
    k7::mouse_parent(),
    k7::mouse_area({27, 18, 18, 14}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_engage<P>),
    k7::mouse_area({27, 48, 18, 14}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_heading),
    k7::mouse_area({56, 78, 18, 14}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_nav),
    k7::mouse_area({85, 78, 18, 14}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_approach),
    k7::mouse_area({147, 78, 18, 14}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_alt_a),
    k7::mouse_area({178, 78, 18, 14}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_alt_b),
    k7::mouse_area({60, 0, 34, 46}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_turn<-5, false>),
    k7::mouse_area({94, 0, 28, 46}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_turn_centre<P>),
    k7::mouse_area({122, 0, 34, 46}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_turn<+5, true>),
    k7::mouse_area({162, 12, 32, 24}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_wheel<WheelUp, -1>),
    k7::mouse_area({162, 37, 32, 27}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_wheel<WheelDown, +1>),
    K7_MOUSE_END,
};
using MainAreas = Areas<MAIN, ap_wheel_up_clk, ap_wheel_dn_clk>;
using SecondAreas = Areas<SECOND, apseul_wheel_up_clk, apseul_wheel_dn_clk>;

void draw() {
  const bool night = k7::panel_night();
  k7::show(night_overlay, night);
  k7::draw({&needle_day.header, &needle_night.header});
  const std::size_t wheel =
      ap_wheel_up_clk != 0 ? WHEEL_UP : (ap_wheel_dn_clk != 0 ? WHEEL_DOWN : WHEEL_CENTRE);
  k7::draw_position(&Wheels::element[0], &Wheels::element[WHEEL_IMAGES], WHEEL_IMAGES, wheel);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  ap_computer_update();
  draw();
}

} // namespace

K7_GAUGE_HEADER(ap, background, MainAreas::mouse, callback);

// ---- "kestovil apseul_k7": the second autopilot panel, for the window that shows the autopilot
// alone. It acts on the same modes through the same controls and draws them; the computer runs
// only behind the first panel.

namespace {

MODULE_VAR alt_hold_flag_var = sim::token(0x6c);
MODULE_VAR tick_var = sim::token(0x1);

using SecondLamps = k7::Run<gauge_apseul, lamps>;
constexpr k7::ImageEntry second_wheels[] = {{18784, {174, 14}, k7::HIDDEN},
                                            {18800, {174, 18}, k7::TRANSPARENT},
                                            {18816, {174, 33}, k7::HIDDEN}};
using SecondWheels = k7::Run<gauge_apseul, second_wheels, SecondLamps::head>;
ELEMENT_NEEDLE second_needle =
    k7::needle(&gauge_apseul, 20480, NEEDLE_PIVOT, NEEDLE_BITMAP_PIVOT, k7::NEEDLE_DAY,
               turn_selection, turn_scale, 0, SecondWheels::head);
ELEMENT_STATIC_IMAGE second_overlay =
    k7::static_image(&gauge_apseul, 18768, {0, 0}, k7::TRANSPARENT, K7_NEXT(second_needle));
ELEMENT_STATIC_IMAGE second_background =
    k7::static_image(&gauge_apseul, 18752, {0, 0}, k7::TRANSPARENT, K7_NEXT(second_overlay));

void second_lamps() {
  const bool working = master_on() && ap_ready != 0;
  const bool alt_flag = sim::read_finite(alt_hold_flag_var) != 0.0;
  const bool lit[AP_LAMPS] = {true,
                              ap_hdg_mode != 0,
                              ap_nav_mode != 0,
                              ap_appr != 0,
                              ap_alt_hold_a != 0 && alt_flag,
                              ap_alt_hold_b != 0 && alt_flag};
  for (int lamp = 0; lamp < AP_LAMPS; ++lamp)
    k7::show(SecondLamps::element[lamp], working && lit[lamp]);
}

// A click shows the wheel displaced for three ticks, counted from the first frame that sees it.
void second_wheel() {
  const u32 tick = k7::sat_cast<u32>(sim::read_finite(tick_var));
  const bool clicked = apseul_wheel_up_clk != 0 || apseul_wheel_dn_clk != 0;
  if (!master_on() || !clicked) {
    apseul_wheel_up_clk = apseul_wheel_dn_clk = 0;
    apseul_wheel_timer_on = 0;
  } else if (apseul_wheel_timer_on == 0) {
    apseul_wheel_timer_end = tick + 3;
    apseul_wheel_timer_on = 1;
  } else if (tick >= apseul_wheel_timer_end) {
    apseul_wheel_up_clk = apseul_wheel_dn_clk = 0;
    apseul_wheel_timer_on = 0;
  }
  const std::size_t wheel =
      apseul_wheel_up_clk != 0 ? WHEEL_UP : (apseul_wheel_dn_clk != 0 ? WHEEL_DOWN : WHEEL_CENTRE);
  for (std::size_t i = 0; i < WHEEL_IMAGES; ++i)
    k7::show(SecondWheels::element[i], i == wheel);
}

void FSAPI second_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  second_lamps();
  ap_wheel_moved = 0;
  second_wheel();
}

} // namespace

K7_GAUGE_HEADER(apseul, second_background, SecondAreas::mouse, second_callback);
