// "kestovil ap_ready_k7", the autopilot READY switch with its green lamp, and
// "kestovil ap_attphase_sw_k7", the landing-phase lever. The autopilot works only while it is
// ready: its supplies, hydraulic pressure and the READY switch.
#include "autopilot/ap_units.h"
#include "autopilot/autopilot.h"
#include "autopilot/autopilot_events.h"
#include "electrical/electrical.h"
#include "hydraulics/hydraulics.h"
#include "module/daynight.h"
#include "module/kit.h"

namespace {

constexpr u16 AP_MIN_PRESSURE = 1400;

MODULE_VAR master_var = sim::token(0x67);

// ---- READY switch: chain 0 background, 1 switch up, 2 switch down, 3 lamp (day), 4..6 by night.
extern ELEMENT_ICON ready_up, ready_down, ready_lamp, ready_up_night, ready_down_night,
    ready_lamp_night;
ELEMENT_STATIC_IMAGE ready_background =
    k7::static_image(&gauge_ap_ready, k7::bitmap_id(GAUGE_INDEX_ap_ready, 0), {0, 0},
                     k7::TRANSPARENT, K7_NEXT(ready_up));
ELEMENT_ICON ready_up =
    k7::icon(&gauge_ap_ready, 18688, {19, 11}, k7::DAY_HIDDEN, K7_NEXT(ready_down));
ELEMENT_ICON ready_down =
    k7::icon(&gauge_ap_ready, 18544, {18, 19}, k7::ART_DAY, K7_NEXT(ready_lamp));
ELEMENT_ICON ready_lamp =
    k7::icon(&gauge_ap_ready, 18720, {69, 0}, k7::DAY_HIDDEN, K7_NEXT(ready_up_night));
ELEMENT_ICON ready_up_night =
    k7::icon(&gauge_ap_ready, 18704, {19, 11}, k7::NIGHT_HIDDEN, K7_NEXT(ready_down_night));
ELEMENT_ICON ready_down_night =
    k7::icon(&gauge_ap_ready, 18560, {18, 19}, k7::NIGHT_HIDDEN, K7_NEXT(ready_lamp_night));
ELEMENT_ICON ready_lamp_night = k7::icon(&gauge_ap_ready, 18736, {69, 0}, k7::NIGHT_HIDDEN, K7_END);

BOOL FSAPI on_ready_switch(PPIXPOINT, FLAGS32) {
  if (ap_ready_sw != 0 && sim::read_finite(master_var) == 1.0) {
    for (u32 event : {AP_DISCONNECT, AP_WING_LEVELER_OFF, AP_HEADING_HOLD_OFF, AP_NAV_HOLD_OFF,
                      AP_NAV_HOLD_OFF_2, AP_APPROACH_OFF, AP_AUTOTHROTTLE_OFF})
      ap::send(event);
  }
  k7::switch_to(ap_ready_sw, ap_ready_sw != 0 ? 0 : 1);
  return FALSE_K7;
}

MOUSERECT ready_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 1, 46, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_ready_switch),
    K7_MOUSE_END,
};

void FSAPI ready_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool supplied = elec_bus_gen_c == 1 && elec_ac_main == 1 && elec_ac_main_b == 1;
  const bool pressure = hydrau_press_green > AP_MIN_PRESSURE || hydrau_press_blue > AP_MIN_PRESSURE;
  ap_ready = supplied && elec_tadg_on == 1 && pressure && ap_ready_sw == 1 ? 1 : 0;

  const k7::DayNight positions[] = {{&ready_up.header, &ready_up_night.header},
                                    {&ready_down.header, &ready_down_night.header}};
  k7::draw_position(positions, ap_ready_sw != 0 ? 0 : 1);
  const bool master_off = sim::read_finite(master_var) == 0.0;
  k7::draw({&ready_lamp.header, &ready_lamp_night.header}, ap_ready != 0 && master_off);
}

// ---- landing-phase lever: chain 0 background, 1 lever up, 2 lever down, 3 and 4 by night.
extern ELEMENT_ICON lever_up, lever_down, lever_up_night, lever_down_night;
ELEMENT_STATIC_IMAGE lever_background =
    k7::static_image(&gauge_ap_attphase_sw, k7::bitmap_id(GAUGE_INDEX_ap_attphase_sw, 0), {0, 0},
                     k7::TRANSPARENT, K7_NEXT(lever_up));
ELEMENT_ICON lever_up =
    k7::icon(&gauge_ap_attphase_sw, 13680, {13, 22}, k7::DAY_HIDDEN, K7_NEXT(lever_down));
ELEMENT_ICON lever_down =
    k7::icon(&gauge_ap_attphase_sw, 13664, {14, 40}, k7::ART_DAY, K7_NEXT(lever_up_night));
ELEMENT_ICON lever_up_night =
    k7::icon(&gauge_ap_attphase_sw, 13104, {13, 22}, k7::NIGHT_HIDDEN, K7_NEXT(lever_down_night));
ELEMENT_ICON lever_down_night =
    k7::icon(&gauge_ap_attphase_sw, 13088, {14, 40}, k7::NIGHT_HIDDEN, K7_END);

MOUSERECT lever_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 41, 40}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<ap_attphase_lever, 3>),
    k7::mouse_area({0, 40, 41, 40}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<ap_attphase_lever, 2>),
    K7_MOUSE_END,
};

void FSAPI lever_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  ap_attphase = ap_attphase_lever == 3 ? 3 : 2;
  const k7::DayNight positions[] = {{&lever_up.header, &lever_up_night.header},
                                    {&lever_down.header, &lever_down_night.header}};
  k7::draw_position(positions, ap_attphase == 3 ? 0 : 1);
}

} // namespace

K7_GAUGE_HEADER(ap_ready, ready_background, ready_mouse, ready_callback);
K7_GAUGE_HEADER(ap_attphase_sw, lever_background, lever_mouse, lever_callback);
