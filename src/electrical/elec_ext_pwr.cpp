// "kestovil elec_ext_pwr_k7": the ground-power request button and its lamp, and whether ground
// power can be connected: on the ground, not rolling, and not with both engines above 40 %.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/services.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_ext_pwr, n);
}

extern ELEMENT_ICON lamp;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_ext_pwr, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(lamp));
ELEMENT_ICON lamp = k7::icon(&gauge_elec_ext_pwr, art(1), {36, 0}, k7::DAY_HIDDEN, K7_END);

BOOL FSAPI on_button(PPIXPOINT, FLAGS32) {
  elec_extpwr_request = elec_extpwr_request != 0 ? 0 : 1;
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_tooltip("ask to connect/disconnect ground power unit"),
    k7::mouse_area({36, 0, 48, 48}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_button),
    K7_MOUSE_END,
};

MODULE_VAR speed_var = sim::token(0x266);
MODULE_VAR on_ground_var = sim::token(0x3C);
MODULE_VAR eng1_speed_var = sim::token(0x271);
MODULE_VAR eng2_speed_var = sim::token(0x284);
MODULE_VAR ground_velocity_var = sim::token(0x227);
MODULE_VAR side_velocity_var = sim::token(0x228);

constexpr const char* NAMED_CONNECTED = "airport_extpwr_connected";

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool on_ground = sim::read(speed_var) <= 2.0 || sim::read(on_ground_var) == 1.0;
  const bool engines_low = sim::read(eng1_speed_var) < 40.0 || sim::read(eng2_speed_var) < 40.0;
  const double rolling = sim::read(ground_velocity_var) + sim::read(side_velocity_var);
  const bool standing = rolling >= -2.0 && rolling <= 2.0; // false for NaN
  elec_extpwr_available = (on_ground && engines_low && standing) ? 1 : 0;

  if (elec_extpwr_available != 0 && elec_extpwr_request != 0) {
    elec_extpwr_connected = 1;
  } else {
    elec_extpwr_connected = 0;
    elec_extpwr_request = 0;
  }
  k7::show(lamp, elec_extpwr_connected != 0);
  elec_extpwr_feeding = (elec_extpwr_connected != 0 && elec_master_sw == 1) ? 1 : 0;

  // Tell the rest of the panel whether the ground unit is plugged in.
  if (on_ground) {
    const double shown = sim::named_get(NAMED_CONNECTED);
    if (elec_extpwr_connected != 0 && shown == 0.0) sim::named_set(NAMED_CONNECTED, 1.0);
    if (elec_extpwr_connected == 0 && shown > 0.0) sim::named_set(NAMED_CONNECTED, 0.0);
  }
}

} // namespace

K7_GAUGE_HEADER(elec_ext_pwr, background, mouse, callback);
