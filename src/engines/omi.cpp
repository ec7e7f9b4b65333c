// "kestovil omi_k7": the three marker lamps, and behind them the master warning chime that takes
// the alarm requests of the warning lamps one at a time, the fire bell and the air-conditioning
// noise.
#include "autopilot/autopilot.h"
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "environment/environment.h"
#include "module/gauge.h"
#include "module/services.h"
#include "radios/radios.h"
#include "sound/sound.h"
#include "warnings/warnings.h"

#include <iterator>

namespace {

MODULE_VAR marker_var = sim::token(0x162);
MODULE_VAR tick_var = sim::token(0x1);

// ---- marker lamps
// -------------------------------------------------------------------------------------

// Chain: 0 face, 1-3 the lamps of marker states 1, 2 and 3.
extern ELEMENT_ICON marker_1, marker_2, marker_3;
constexpr PGAUGEHDR omi = &gauge_omi;
ELEMENT_STATIC_IMAGE face =
    k7::static_image(omi, 13120, {0, 0}, IMAGE_USE_TRANSPARENCY, K7_NEXT(marker_1));
constexpr FLAGS LAMP_HIDDEN = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS | IMAGE_HIDDEN;
ELEMENT_ICON marker_1 = k7::icon(omi, 13168, {0, 0}, LAMP_HIDDEN, K7_NEXT(marker_2));
ELEMENT_ICON marker_2 = k7::icon(omi, 13152, {0, 35}, LAMP_HIDDEN, K7_NEXT(marker_3));
ELEMENT_ICON marker_3 = k7::icon(omi, 13136, {0, 70}, LAMP_HIDDEN, K7_END);
ELEMENT_ICON* const markers[] = {&marker_1, &marker_2, &marker_3};
MOUSERECT mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

void marker_update() {
  const double marker = sim::read(marker_var);
  const bool powered = elec_bus_ess == 1 && radio_selcal_sel != 0;
  for (std::size_t i = 0; i < std::size(markers); ++i)
    k7::show(*markers[i], powered && marker == static_cast<double>(i + 1));
}

// ---- master warning chime
// -----------------------------------------------------------------------------

// The alarms in the order the chime takes them; alarm 4 has a request for each side.
struct ChimeRow {
  u8 id;
  u8* request;
  u8* second_request;
};
const ChimeRow chime_rows[] = {
    {2, &warn_req_servo, nullptr},
    {3, &warn_req_elec, nullptr},
    {4, &warn_req_fueltemp_l, &warn_req_fueltemp_r},
    {5, &warn_req_oilpress_l, nullptr},
    {6, &warn_req_oilpress_r, nullptr},
    {7, &warn_req_redbrake, nullptr},
    {8, &warn_req_ice, nullptr},
    {9, &warn_req_coupl, nullptr},
    {10, &warn_req_hydlvl, nullptr},
    {11, &warn_req_fuelpress_l, nullptr},
    {12, &warn_req_fuelpress_r, nullptr},
    {13, &warn_req_cabinxs, nullptr},
    {15, &warn_req_airc, nullptr},
};

bool requested(const u8* request) {
  return request != nullptr && *request == 1;
}
bool idle(const u8* request) {
  return request == nullptr || *request == 0;
}

// The current alarm is given back once all its requests are idle again, whoever cleared them:
// an owner that clears only its request (the air conditioning) would otherwise hold the chime for
// good. An id that is no alarm holds nothing.
void release_current_alarm() {
  if (warn_chime_id == 0) return;
  for (const ChimeRow& row : chime_rows)
    if (row.id == warn_chime_id && !(idle(row.request) && idle(row.second_request))) return;
  warn_chime_id = 0;
}

void chime_update() {
  if (elec_bus_ess != 1) {
    warn_req_firebell = 0;
    if (warn_bell_on != 0) sound_stop(SND_SONNERIE);
    warn_bell_on = 0;
    return;
  }
  release_current_alarm();
  if (warn_chime_id == 0) {
    for (const ChimeRow& row : chime_rows) {
      if (!requested(row.request) && !requested(row.second_request)) continue;
      sound_play(SND_GONGMONO);
      warn_chime_id = row.id;
      for (u8* request : {row.request, row.second_request})
        if (requested(request)) *request = 2;
      break;
    }
  }

  const bool bell = warn_req_firebell == 1;
  if (bell && warn_bell_on == 0) sound_play(SND_SONNERIE, true);
  if (!bell && warn_bell_on != 0) sound_stop(SND_SONNERIE);
  warn_bell_on = bell;
}

// ---- air-conditioning noise
// ---------------------------------------------------------------------------

constexpr u8 AIRC_VALVE_OPEN = 255;
constexpr u8 MAIN_VALVE_OPEN = 100;
constexpr u32 AIRC_NOISE_DELAY = 108; // ticks from the opening sound to the steady noise

enum NoiseState : u8 { NOISE_QUIET, NOISE_STARTING, NOISE_OPENING, NOISE_STEADY };

bool air_delivered(u8 valve, u8 main_valve, u8 engine_running) {
  return valve == AIRC_VALVE_OPEN && main_valve == MAIN_VALVE_OPEN && engine_running == 1;
}

// The opening sound, then the steady noise from the due tick while air flows, and the closing
// sound when it stops. A due tick already passed (the gauge was not served, the tick count
// jumped) starts the steady noise at once instead of waiting for ever.
void airc_noise_update() {
  const bool flowing = air_delivered(airc_valve_lh_pos, air_mainvalve_lh_pos, air_eng_running_lh) ||
                       air_delivered(airc_valve_rh_pos, air_mainvalve_rh_pos, air_eng_running_rh);
  const u32 now = k7::sat_cast<u32>(sim::read(tick_var));
  if (!flowing) {
    if (airc_noise_state == NOISE_STEADY) {
      sound_stop(SND_AIRCOND);
      sound_play(SND_AIRCONDSORT);
      airc_noise_state = NOISE_QUIET;
    }
    return;
  }
  switch (airc_noise_state) {
  case NOISE_QUIET:
    airc_noise_due = now + AIRC_NOISE_DELAY;
    airc_noise_state = NOISE_STARTING;
    break;
  case NOISE_STARTING:
    sound_play(SND_AIRCONDENT);
    airc_noise_state = NOISE_OPENING;
    break;
  case NOISE_OPENING:
    if (now >= airc_noise_due) {
      sound_play(SND_AIRCOND, true);
      airc_noise_due = 0;
      airc_noise_state = NOISE_STEADY;
    }
    break;
  default: break;
  }
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  marker_update();
  chime_update();
  airc_noise_update();
}

} // namespace

K7_GAUGE_HEADER(omi, face, mouse, callback);
