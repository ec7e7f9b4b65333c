// Probe and window heating: "kestovil deice_pitotsw_k7" with its lamps "kestovil
// deice_pitotlights_k7" and "kestovil deice_stall_k7", the water-separator drain switch
// ("kestovil deice_watersep_k7") and the inner and outer window heat ("kestovil deice_win_in_k7",
// "kestovil deice_win_out_k7"). The pilot's probe switch drives the simulator's pitot heat.
#include "electrical/electrical.h"
#include "environment/env_kit.h"
#include "module/services.h"

namespace {

using namespace env;

// ---- probe heating switches
// ---------------------------------------------------------------------------

// Chain: 0 face, then per switch (1, 2, 3) its images at A and at M.
constexpr k7::ImageEntry pitotsw_images[] = {
    {SWITCH_UP, {36, 28}, k7::TRANSPARENT},  {SWITCH_DOWN, {36, 28}, k7::HIDDEN},
    {SWITCH_UP, {108, 28}, k7::TRANSPARENT}, {SWITCH_DOWN, {108, 28}, k7::HIDDEN},
    {SWITCH_UP, {149, 28}, k7::TRANSPARENT}, {SWITCH_DOWN, {149, 28}, k7::HIDDEN},
};
using PitotSwImages = k7::Run<gauge_deice_pitotsw, pitotsw_images>;
ELEMENT_STATIC_IMAGE pitotsw_face =
    k7::static_image(&gauge_deice_pitotsw, k7::bitmap_id(GAUGE_INDEX_deice_pitotsw, 0), {0, 0},
                     k7::TRANSPARENT, PitotSwImages::head);
MOUSERECT pitotsw_mouse[] = {k7::mouse_parent(), ENV_SWITCH_AREAS(36, 28, 37, 29, deice_pitot1_sw),
                             ENV_SWITCH_AREAS(108, 28, 37, 29, deice_pitot2_sw),
                             ENV_SWITCH_AREAS(149, 28, 37, 29, deice_probe3_sw), K7_MOUSE_END};

void FSAPI pitotsw_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show_position(PitotSwImages::element, 2, deice_pitot1_sw);
  k7::show_position(PitotSwImages::element + 2, 2, deice_pitot2_sw);
  k7::show_position(PitotSwImages::element + 4, 2, deice_probe3_sw);
}

// ---- probe lamps and the simulator's pitot heat
// -------------------------------------------------------

constexpr u32 KEY_PITOT_HEAT_ON = 0x10218, KEY_PITOT_HEAT_OFF = 0x10219;
MODULE_VAR pitot_heat = sim::token(0xD);
MODULE_VAR pitot_failure = sim::token(0x11E);

// Chain: 0 face, 1 and 2 the pilot's lamps, 3 and 4 the copilot's.
constexpr k7::ImageEntry pitot_lamps[] = {
    {LAMP_AMBER, {18, 20}, k7::HIDDEN},
    {LAMP_AMBER, {57, 20}, k7::HIDDEN},
    {LAMP_AMBER, {111, 20}, k7::HIDDEN},
    {LAMP_AMBER, {152, 20}, k7::HIDDEN},
};
using PitotLamps = k7::Run<gauge_deice_pitotlights, pitot_lamps>;
ELEMENT_STATIC_IMAGE pitotlights_face =
    k7::static_image(&gauge_deice_pitotlights, k7::bitmap_id(GAUGE_INDEX_deice_pitotlights, 0),
                     {0, 0}, k7::TRANSPARENT, PitotLamps::head);
MOUSERECT pitotlights_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// The pilot's probe switch and the simulator's pitot heat are brought into agreement by events
// sent only while they disagree; a failed pitot takes no events.
void FSAPI pitotlights_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double heat = sim::read(pitot_heat);
  const bool failed = sim::read(pitot_failure) != 0.0;
  bool pilot_lit = false;
  if (deice_pitot1_sw != 0 && elec_bus_ess != 0 && !failed) {
    if (heat == 0.0)
      sim::key_event(KEY_PITOT_HEAT_ON, 0);
    else if (heat == 1.0)
      pilot_lit = true;
  } else if (heat == 1.0 && !failed) {
    sim::key_event(KEY_PITOT_HEAT_OFF, 0);
  }
  k7::show(PitotLamps::element[0], pilot_lit);
  k7::show(PitotLamps::element[1], pilot_lit);
  const bool copilot_lit = deice_pitot2_sw != 0 && elec_bus_gen_c != 0;
  k7::show(PitotLamps::element[2], copilot_lit);
  k7::show(PitotLamps::element[3], copilot_lit);
}

// Stall probe lamp, chain: 0 face, 1 lamp.
ELEMENT_ICON stall_lamp = k7::icon(&gauge_deice_stall, LAMP_AMBER, {0, 0}, k7::HIDDEN, K7_END);
ELEMENT_STATIC_IMAGE stall_face =
    k7::static_image(&gauge_deice_stall, k7::bitmap_id(GAUGE_INDEX_deice_stall, 0), {0, 0},
                     k7::TRANSPARENT, K7_NEXT(stall_lamp));
MOUSERECT stall_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};
void FSAPI stall_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE)
    k7::show(stall_lamp, deice_probe3_sw != 0 && elec_bus_gen != 0);
}

// ---- water separator
// ----------------------------------------------------------------------------------

constexpr k7::ImageEntry watersep_images[] = {
    {SWITCH_UP, {23, 18}, k7::TRANSPARENT},
    {SWITCH_DOWN, {23, 18}, k7::HIDDEN},
};
using WaterSepImages = k7::Run<gauge_deice_watersep, watersep_images>;
ELEMENT_STATIC_IMAGE watersep_face =
    k7::static_image(&gauge_deice_watersep, k7::bitmap_id(GAUGE_INDEX_deice_watersep, 0), {0, 0},
                     k7::TRANSPARENT, WaterSepImages::head);
MOUSERECT watersep_mouse[] = {k7::mouse_parent(),
                              ENV_SWITCH_AREAS(23, 18, 37, 29, deice_watersep_sw), K7_MOUSE_END};
void FSAPI watersep_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE)
    k7::show_position(WaterSepImages::element, 2, deice_watersep_sw);
}

// ---- window heat
// --------------------------------------------------------------------------------------

enum WindowHeat : u8 { HEAT_OFF = 0, HEAT_NORMAL = 1, HEAT_FORT = 2 };

// Chain: 0 face, 1 switch off, 2 NORMAL, 3 FORT, 4 and 5 the lamps.
template <GAUGEHDR& Gauge, int Index, u8& Switch, int SwitchX, int Lamp1X, int Lamp2X>
struct WindowHeatPanel {
  static constexpr k7::ImageEntry images[] = {
      {SWITCH_CENTRE, {SwitchX, 28}, k7::TRANSPARENT}, {SWITCH_DOWN, {SwitchX, 28}, k7::HIDDEN},
      {SWITCH_UP, {SwitchX, 28}, k7::HIDDEN},          {LAMP_GREEN, {Lamp1X, 42}, k7::HIDDEN},
      {LAMP_GREEN, {Lamp2X, 42}, k7::HIDDEN},
  };
  using Images = k7::Run<Gauge, images>;
  static inline ELEMENT_STATIC_IMAGE face =
      k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, k7::TRANSPARENT, Images::head);
  static inline MOUSERECT mouse[] = {
      k7::mouse_parent(),
      k7::mouse_area({SwitchX, 8, 37, 20}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                     k7::switch_area<Switch, HEAT_FORT>),
      k7::mouse_area({SwitchX, 28, 37, 20}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE,
                     k7::switch_area<Switch, HEAT_OFF>),
      k7::mouse_area({SwitchX, 48, 37, 20}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                     k7::switch_area<Switch, HEAT_NORMAL>),
      K7_MOUSE_END,
  };
  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    k7::show_position(Images::element, 3, Switch);
    const bool lit = Switch != HEAT_OFF && elec_bus_gen != 0 && elec_ac_main_b != 0;
    k7::show(Images::element[3], lit);
    k7::show(Images::element[4], lit);
  }
};
using WinIn =
    WindowHeatPanel<gauge_deice_win_in, GAUGE_INDEX_deice_win_in, deice_win_in_sw, 100, 39, 73>;
using WinOut =
    WindowHeatPanel<gauge_deice_win_out, GAUGE_INDEX_deice_win_out, deice_win_out_sw, 2, 52, 87>;

} // namespace

K7_GAUGE_HEADER(deice_pitotsw, pitotsw_face, pitotsw_mouse, pitotsw_callback);
K7_GAUGE_HEADER(deice_pitotlights, pitotlights_face, pitotlights_mouse, pitotlights_callback);
K7_GAUGE_HEADER(deice_stall, stall_face, stall_mouse, stall_callback);
K7_GAUGE_HEADER(deice_watersep, watersep_face, watersep_mouse, watersep_callback);
K7_GAUGE_HEADER(deice_win_in, WinIn::face, WinIn::mouse, WinIn::callback);
K7_GAUGE_HEADER(deice_win_out, WinOut::face, WinOut::mouse, WinOut::callback);
