// The pop-up toggles: small pictures on the main panel that open and close the pop-up windows,
// and the close buttons inside the windows. "kestovil toggle_pan_start" (the sounds and the
// hydraulic-loss automation) and "kestovil toggle_pan_fail" (the start-up sequence) are toggles
// too, in their own files.
#include "module/services.h"
#include "panels/panels.h"
#include "panels/windows.h"

namespace panels {

namespace {

MODULE_VAR on_ground = sim::token(0x3C);

} // namespace

void geardoors_cycle() {
  if (sim::read(on_ground) != 1.0) {
    sim::window_close(WIN_DOORS);
    sim::window_toggle(WIN_GEAR);
    return;
  }
  switch (panel_geardoors_state) {
  case 0:
    sim::window_open(WIN_DOORS);
    sim::window_close(WIN_GEAR);
    panel_geardoors_state = 1;
    break;
  case 1:
    sim::window_close(WIN_DOORS);
    sim::window_open(WIN_GEAR);
    panel_geardoors_state = 2;
    break;
  default:
    sim::window_close(WIN_DOORS);
    sim::window_close(WIN_GEAR);
    panel_geardoors_state = 0;
    break;
  }
}

namespace {

BOOL FSAPI on_geardoors(PPIXPOINT, FLAGS32) {
  geardoors_cycle();
  return 0;
}

constexpr char clock_tip[] = "display/hide clock";
constexpr char gps_tip[] = "display/hide GPS";
constexpr char ap_tip[] = "display/hide autopilot only";
constexpr char geardoors_tip[] = "display/hide gear ind./doors ind. panel";
constexpr char hyd_tip[] = "display/hide hydraulic/servo panels";
constexpr char hyd2_tip[] = "close hydraulic & servo panels";
constexpr char elec_tip[] = "display/hide electrical panel";
constexpr char elec2_tip[] = "close electrical panel";
constexpr char up2_tip[] = "display/hide Upper2 panel";
constexpr char up22_tip[] = "close Upper2 panel";
constexpr char up3_tip[] = "display/hide Upper3 panel";
constexpr char up32_tip[] = "close Upper3 panel";
constexpr char ped2_tip[] = "close pedestal";
constexpr char pressu_tip[] = "display/hide cabin press panel";

// Sizes in gauge pixels: the toggles of the main panel are as tall as its row; the close buttons
// inside the windows are flat strips.
using Clock = Toggle<gauge_toggle_pan_clock, GAUGE_INDEX_toggle_pan_clock, 70, 70, clock_tip,
                     toggle_click<WIN_CLOCK>>;
using Gps = Toggle<gauge_toggle_pan_gps, GAUGE_INDEX_toggle_pan_gps, 70, 70, gps_tip,
                   toggle_click<WIN_GPS>>;
using Ap = Toggle<gauge_toggle_pan_ap, GAUGE_INDEX_toggle_pan_ap, 70, 70, ap_tip,
                  toggle_click<WIN_AUTOPILOT>>;
using GearDoors = Toggle<gauge_toggle_pan_geardoors, GAUGE_INDEX_toggle_pan_geardoors, 100, 70,
                         geardoors_tip, on_geardoors>;
using Hyd = Toggle<gauge_toggle_pan_hyd, GAUGE_INDEX_toggle_pan_hyd, 77, 70, hyd_tip,
                   toggle_click<WIN_HYDRAULICS, WIN_SERVOS>>;
using Hyd2 = Toggle<gauge_toggle_pan_hyd2, GAUGE_INDEX_toggle_pan_hyd2, 204, 40, hyd2_tip,
                    toggle_click<WIN_HYDRAULICS, WIN_SERVOS>>;
using Elec = Toggle<gauge_toggle_pan_elec, GAUGE_INDEX_toggle_pan_elec, 96, 70, elec_tip,
                    toggle_click<WIN_ELECTRICAL>>;
using Elec2 = Toggle<gauge_toggle_pan_elec2, GAUGE_INDEX_toggle_pan_elec2, 63, 40, elec2_tip,
                     toggle_click<WIN_ELECTRICAL>>;
using Up2 = Toggle<gauge_toggle_pan_up2, GAUGE_INDEX_toggle_pan_up2, 85, 70, up2_tip,
                   toggle_click<WIN_UPPER2>>;
using Up22 = Toggle<gauge_toggle_pan_up22, GAUGE_INDEX_toggle_pan_up22, 127, 40, up22_tip,
                    toggle_click<WIN_UPPER2>>;
using Up3 = Toggle<gauge_toggle_pan_up3, GAUGE_INDEX_toggle_pan_up3, 85, 70, up3_tip,
                   toggle_click<WIN_UPPER3>>;
using Up32 = Toggle<gauge_toggle_pan_up32, GAUGE_INDEX_toggle_pan_up32, 70, 40, up32_tip,
                    toggle_click<WIN_UPPER3>>;
using Ped2 = Toggle<gauge_toggle_pan_ped2, GAUGE_INDEX_toggle_pan_ped2, 78, 40, ped2_tip,
                    toggle_click<WIN_PEDESTAL>>;
using Pressu = Toggle<gauge_toggle_pan_pressu, GAUGE_INDEX_toggle_pan_pressu, 70, 70, pressu_tip,
                      toggle_click<WIN_CABIN_PRESSURE>>;

} // namespace

} // namespace panels

using namespace panels;

K7_GAUGE_HEADER(toggle_pan_clock, Clock::background, Clock::mouse, Clock::callback);
K7_GAUGE_HEADER(toggle_pan_gps, Gps::background, Gps::mouse, Gps::callback);
K7_GAUGE_HEADER(toggle_pan_ap, Ap::background, Ap::mouse, Ap::callback);
K7_GAUGE_HEADER(toggle_pan_geardoors, GearDoors::background, GearDoors::mouse, GearDoors::callback);
K7_GAUGE_HEADER(toggle_pan_hyd, Hyd::background, Hyd::mouse, Hyd::callback);
K7_GAUGE_HEADER(toggle_pan_hyd2, Hyd2::background, Hyd2::mouse, Hyd2::callback);
K7_GAUGE_HEADER(toggle_pan_elec, Elec::background, Elec::mouse, Elec::callback);
K7_GAUGE_HEADER(toggle_pan_elec2, Elec2::background, Elec2::mouse, Elec2::callback);
K7_GAUGE_HEADER(toggle_pan_up2, Up2::background, Up2::mouse, Up2::callback);
K7_GAUGE_HEADER(toggle_pan_up22, Up22::background, Up22::mouse, Up22::callback);
K7_GAUGE_HEADER(toggle_pan_up3, Up3::background, Up3::mouse, Up3::callback);
K7_GAUGE_HEADER(toggle_pan_up32, Up32::background, Up32::mouse, Up32::callback);
K7_GAUGE_HEADER(toggle_pan_ped2, Ped2::background, Ped2::mouse, Ped2::callback);
K7_GAUGE_HEADER(toggle_pan_pressu, Pressu::background, Pressu::mouse, Pressu::callback);
