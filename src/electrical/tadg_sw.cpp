// "kestovil tadg_sw_k7": the TADG, the AC supply of the gyro instruments, with its guarded switch
// and two lamps. While it runs it keeps the simulator's heading gyro from drifting away.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/kit.h"
#include "module/services.h"
#include "sound/sound.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_tadg_sw, n);
}

extern ELEMENT_ICON switch_on, switch_off, guard_closed, guard_open, lamp_running, lamp_off;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_tadg_sw, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(switch_on));
ELEMENT_ICON switch_on =
    k7::icon(&gauge_tadg_sw, art(1), {16, 17}, k7::ART_DAY, K7_NEXT(switch_off));
ELEMENT_ICON switch_off =
    k7::icon(&gauge_tadg_sw, art(2), {11, 55}, k7::DAY_HIDDEN, K7_NEXT(guard_closed));
ELEMENT_ICON guard_closed =
    k7::icon(&gauge_tadg_sw, art(3), {11, 17}, k7::ART_DAY, K7_NEXT(guard_open));
ELEMENT_ICON guard_open =
    k7::icon(&gauge_tadg_sw, art(4), {11, 0}, k7::DAY_HIDDEN, K7_NEXT(lamp_running));
ELEMENT_ICON lamp_running =
    k7::icon(&gauge_tadg_sw, art(5), {64, 20}, k7::DAY_HIDDEN, K7_NEXT(lamp_off));
ELEMENT_ICON lamp_off = k7::icon(&gauge_tadg_sw, art(6), {64, 60}, k7::DAY_HIDDEN, K7_END);

// Lower area: lift the guard, or with the guard up turn the TADG off.
BOOL FSAPI on_lower(PPIXPOINT, FLAGS32) {
  if (elec_tadg_guard_open == 0) {
    elec_tadg_guard_open = 1;
  } else if (elec_tadg_sw != 0) {
    sound_play(SND_CLICK);
    elec_tadg_sw = 0;
  }
  return 0;
}

// Upper area: turn the TADG on (the guard snaps shut over it), then the guard flips.
BOOL FSAPI on_upper(PPIXPOINT, FLAGS32) {
  if (elec_tadg_sw == 0) {
    sound_play(SND_CLICK);
    elec_tadg_sw = 1;
  }
  elec_tadg_guard_open = elec_tadg_guard_open != 0 ? 0 : 1;
  if (elec_tadg_guard_open == 0) sound_play(SND_CACHEMETAL);
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({11, 55, 43, 38}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_lower),
    k7::mouse_area({16, 17, 43, 38}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_upper),
    K7_MOUSE_END,
};

MODULE_VAR gyro_drift_var = sim::token(0x55);

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool supplied = elec_bus_ess != 0 || elec_ac_ess != 0 || elec_ac_ess_b != 0;
  elec_tadg_on = (elec_tadg_sw != 0 && supplied) ? 1 : 0;
  if (elec_tadg_on != 0) {
    const double drift = sim::read(gyro_drift_var);
    if (drift >= 50.0 || drift <= -50.0) sim::key_event(0x10020);
  }
  k7::show(switch_on, elec_tadg_sw != 0);
  k7::show(switch_off, elec_tadg_sw == 0);
  k7::show(guard_closed, elec_tadg_guard_open == 0);
  k7::show(guard_open, elec_tadg_guard_open != 0);
  k7::show(lamp_running, elec_tadg_on != 0);
  k7::show(lamp_off, elec_tadg_on == 0 && elec_bus_ess != 0);
}

} // namespace

K7_GAUGE_HEADER(tadg_sw, background, mouse, callback);
