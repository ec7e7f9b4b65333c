// "kestovil aircondtemp_ctrl_k7" with the four temperature indicators, the ventilation switches
// ("kestovil vent_indiv_k7", "kestovil vent_fog_k7") and the two lit placards: the temperature
// selectors and mode switches of the cockpit and the cabin, and the zones' and ducts' temperatures.
#include "electrical/electrical.h"
#include "environment/env_kit.h"

namespace {

using namespace env;

constexpr u8 MODE_AUTO = 100, MODE_ARRET = 0, MODE_MANUAL_MAX = 12;
constexpr u8 SELECTOR_MAX = 80;
constexpr double ZONE_STEP = 0.001, ZONE_SNAP = 0.1, ZONE_MANUAL_STEP = 0.0025;
constexpr double DUCT_STEP = 0.5, DUCT_SNAP = 1.0;
constexpr double DUCT_COLD = 15.0, DUCT_HOT = 55.0, DUCT_ABOVE_DEMAND = 35.0;
// The zone temperatures stay within the indicators' range, the ducts within theirs.
constexpr double ZONE_LOWEST = -20.0, ZONE_HIGHEST = 70.0;
constexpr double DUCT_LOWEST = -70.0, DUCT_HIGHEST = 150.0;

// One zone: its selector, mode switch and manual memory with the directions that belong to it.
struct Zone {
  u8& selector;
  u8& mode;
  u8& memory;
  u8 froid;
  u8 chaud;
  f64& target;
  f64& temp;
  f64& duct;
};
const Zone zones[2] = {
    {aircond_sel_ckpt, aircond_mode_ckpt, aircond_man_ckpt, 2, 3, aircond_target_ckpt,
     aircond_temp_ckpt, aircond_duct_ckpt},
    {aircond_sel_cabin, aircond_mode_cabin, aircond_man_cabin, 4, 5, aircond_target_cabin,
     aircond_temp_cabin, aircond_duct_cabin},
};

// ---- temperature control
// ------------------------------------------------------------------------------

FLOAT64 FSAPI ckpt_selector(ELEMENT_NEEDLE*) {
  return aircond_sel_ckpt;
}
FLOAT64 FSAPI cabin_selector(ELEMENT_NEEDLE*) {
  return aircond_sel_cabin;
}
constexpr NONLINEARITY ckpt_selector_table[] = {
    {{39, 96}, 0, 0}, {{15, 43}, 20, 0}, {{61, 7}, 40, 0}, {{139, 45}, 60, 0}, {{84, 98}, 80, 0}};
constexpr NONLINEARITY cabin_selector_table[] = {{{150, 97}, 0, 0},
                                                 {{127, 44}, 20, 0},
                                                 {{173, 6}, 40, 0},
                                                 {{223, 44}, 60, 0},
                                                 {{196, 99}, 80, 0}};

// Chain: 0 face, 1 cockpit selector needle, 2 cabin selector needle, then per zone (cockpit 3..6,
// cabin 7..10) the mode switch at ARRET, AUTO, FROID and CHAUD.
enum ModeImage { MODE_ARRET_IMG, MODE_AUTO_IMG, MODE_FROID_IMG, MODE_CHAUD_IMG, MODE_IMAGES };
constexpr k7::ImageEntry mode_images[] = {
    {SWITCH_CENTRE, {46, 118}, k7::HIDDEN},  {SWITCH_DOWN, {46, 118}, k7::TRANSPARENT},
    {SWITCH_FROID, {46, 118}, k7::HIDDEN},   {SWITCH_CHAUD, {46, 118}, k7::HIDDEN},
    {SWITCH_CENTRE, {155, 118}, k7::HIDDEN}, {SWITCH_DOWN, {155, 118}, k7::TRANSPARENT},
    {SWITCH_FROID, {155, 118}, k7::HIDDEN},  {SWITCH_CHAUD, {155, 118}, k7::HIDDEN},
};
using ModeImages = k7::Run<gauge_aircondtemp_ctrl, mode_images>;
constexpr PIXPOINT SELECTOR_NEEDLE_PIVOT{4, 4};
ELEMENT_NEEDLE cabin_needle =
    k7::needle(&gauge_aircondtemp_ctrl, 22848, {173, 54}, SELECTOR_NEEDLE_PIVOT, k7::NEEDLE_DAY,
               cabin_selector, cabin_selector_table, 0, ModeImages::head);
ELEMENT_NEEDLE ckpt_needle =
    k7::needle(&gauge_aircondtemp_ctrl, 22848, {61, 54}, SELECTOR_NEEDLE_PIVOT, k7::NEEDLE_DAY,
               ckpt_selector, ckpt_selector_table, 0, K7_NEXT(cabin_needle));
ELEMENT_STATIC_IMAGE ctrl_face =
    k7::static_image(&gauge_aircondtemp_ctrl, k7::bitmap_id(GAUGE_INDEX_aircondtemp_ctrl, 0),
                     {0, 0}, k7::TRANSPARENT, K7_NEXT(ckpt_needle));

template <int Z> BOOL FSAPI on_selector_down(PPIXPOINT, FLAGS32) {
  if (zones[Z].selector > 0) --zones[Z].selector;
  return FALSE_K7;
}
template <int Z> BOOL FSAPI on_selector_up(PPIXPOINT, FLAGS32) {
  if (zones[Z].selector < SELECTOR_MAX) ++zones[Z].selector;
  return FALSE_K7;
}
template <int Z> BOOL FSAPI on_mode_auto(PPIXPOINT, FLAGS32) {
  k7::switch_to(zones[Z].mode, MODE_AUTO);
  return FALSE_K7;
}
template <int Z> BOOL FSAPI on_mode_arret(PPIXPOINT, FLAGS32) {
  k7::switch_to(zones[Z].mode, MODE_ARRET);
  return FALSE_K7;
}
// A manual correction: the switch is held over to FROID or CHAUD and springs back to ARRET. The
// first click puts it at 10 (with the click) and, like every click of a held switch, adds 2.
template <int Z, bool Hot> BOOL FSAPI on_mode_manual(PPIXPOINT, FLAGS32) {
  const Zone& z = zones[Z];
  if (z.mode == MODE_ARRET || z.mode == MODE_AUTO) {
    sound_play(SND_CLICK);
    z.mode = 10;
  }
  if (z.mode <= 10) z.mode = static_cast<u8>(z.mode + 2);
  aircond_manual_dir = Hot ? z.chaud : z.froid;
  return FALSE_K7;
}

constexpr FLAGS32 KNOB = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
MOUSERECT ctrl_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({13, 9, 50, 87}, CURSOR_DOWNARROW, KNOB, on_selector_down<0>),
    k7::mouse_area({63, 9, 50, 87}, CURSOR_UPARROW, KNOB, on_selector_up<0>),
    k7::mouse_area({124, 9, 50, 87}, CURSOR_DOWNARROW, KNOB, on_selector_down<1>),
    k7::mouse_area({174, 9, 50, 87}, CURSOR_UPARROW, KNOB, on_selector_up<1>),
    k7::mouse_area({46, 153, 37, 20}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_mode_auto<0>),
    k7::mouse_area({46, 133, 37, 20}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_mode_arret<0>),
    k7::mouse_area({28, 113, 37, 20}, CURSOR_DOWNARROW, KNOB, on_mode_manual<0, false>),
    k7::mouse_area({65, 113, 37, 20}, CURSOR_UPARROW, KNOB, on_mode_manual<0, true>),
    k7::mouse_area({155, 153, 37, 20}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_mode_auto<1>),
    k7::mouse_area({155, 133, 37, 20}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_mode_arret<1>),
    k7::mouse_area({137, 113, 37, 20}, CURSOR_DOWNARROW, KNOB, on_mode_manual<1, false>),
    k7::mouse_area({174, 113, 37, 20}, CURSOR_UPARROW, KNOB, on_mode_manual<1, true>),
    K7_MOUSE_END,
};

bool is_manual(u8 mode) {
  return mode >= 1 && mode <= MODE_MANUAL_MAX;
}

void run_zone(const Zone& z, bool air, double outside) {
  if (is_manual(z.mode)) {
    --z.mode;
    if (aircond_manual_dir == z.froid || aircond_manual_dir == z.chaud)
      z.memory = aircond_manual_dir;
  }
  z.target = 16.0 + 0.2 * z.selector;

  if (!air) {
    slew(z.temp, outside, ZONE_STEP, ZONE_STEP);
  } else if (z.mode == MODE_AUTO || z.memory == 0) {
    slew(z.temp, z.mode == MODE_AUTO ? z.target : outside, ZONE_STEP, ZONE_SNAP);
    slew(z.duct, (z.target - z.temp) + DUCT_ABOVE_DEMAND, DUCT_STEP, DUCT_SNAP);
  } else if (z.memory == z.chaud) {
    z.temp += ZONE_MANUAL_STEP;
    slew(z.duct, DUCT_HOT, DUCT_STEP, DUCT_SNAP);
  } else {
    z.temp -= ZONE_MANUAL_STEP;
    slew(z.duct, DUCT_COLD, DUCT_STEP, DUCT_SNAP);
  }
  z.temp = k7::clamp(z.temp, ZONE_LOWEST, ZONE_HIGHEST);
  z.duct = k7::clamp(z.duct, DUCT_LOWEST, DUCT_HIGHEST);
}

void draw_mode(const Zone& z, ELEMENT_ICON* image) {
  std::size_t shown = MODE_ARRET_IMG;
  if (z.mode == MODE_AUTO)
    shown = MODE_AUTO_IMG;
  else if (is_manual(z.mode))
    shown = z.memory == z.chaud ? MODE_CHAUD_IMG : MODE_FROID_IMG;
  k7::show_position(image, MODE_IMAGES, shown);
}

void FSAPI ctrl_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool air = cabin_fed() && elec_bus_ess != 0 && elec_ac_main != 0;
  const double outside = outside_air();
  for (int i = 0; i < 2; ++i) {
    run_zone(zones[i], air, outside);
    draw_mode(zones[i], &ModeImages::element[i * MODE_IMAGES]);
  }
}

// ---- indicators
// ---------------------------------------------------------------------------------------

constexpr NONLINEARITY duct_table[] = {{{0, 45}, -70, 0}, {{9, 38}, -50, 0},  {{32, 26}, 0, 0},
                                       {{58, 23}, 50, 0}, {{83, 29}, 100, 0}, {{107, 46}, 150, 0}};
constexpr NONLINEARITY zone_table[] = {{{0, 48}, -20, 0}, {{6, 40}, -10, 0}, {{20, 32}, 0, 0},
                                       {{47, 24}, 20, 0}, {{75, 26}, 40, 0}, {{102, 39}, 60, 0},
                                       {{107, 49}, 70, 0}};
constexpr PIXPOINT INDICATOR_PIVOT{54, 60}, INDICATOR_NEEDLE_PIVOT{4, 4};

// The value an indicator shows: within its dial with the main bus, at its low stop without it.
template <auto& Value, int Lo, int Hi> FLOAT64 FSAPI indicated(ELEMENT_NEEDLE*) {
  return elec_bus_main != 0 ? k7::clamp<double>(Value, Lo, Hi) : Lo;
}

void FSAPI no_logic(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

// One indicator: a dial and its needle. Index is the gauge's place in the catalogue.
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table>
struct Indicator {
  static ELEMENT_STATIC_IMAGE dial;
  static ELEMENT_NEEDLE needle;
  static MOUSERECT mouse[3];
};
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table>
ELEMENT_NEEDLE Indicator<Gauge, Index, Value, Lo, Hi, Table>::needle =
    k7::needle(&Gauge, k7::bitmap_id(Index, 1), INDICATOR_PIVOT, INDICATOR_NEEDLE_PIVOT,
               k7::NEEDLE_DAY, indicated<Value, Lo, Hi>, Table, 0, K7_END);
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table>
ELEMENT_STATIC_IMAGE Indicator<Gauge, Index, Value, Lo, Hi, Table>::dial =
    k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, k7::TRANSPARENT, K7_NEXT(needle));
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table>
MOUSERECT Indicator<Gauge, Index, Value, Lo, Hi, Table>::mouse[3] = {k7::mouse_parent(),
                                                                     K7_MOUSE_END};

using DuctCkpt = Indicator<gauge_airductemp_cockpit, GAUGE_INDEX_airductemp_cockpit,
                           aircond_duct_ckpt, -70, 150, duct_table>;
using DuctCabin = Indicator<gauge_airductemp_cabin, GAUGE_INDEX_airductemp_cabin,
                            aircond_duct_cabin, -70, 150, duct_table>;
using TempCkpt = Indicator<gauge_aircondtemp_cockpit, GAUGE_INDEX_aircondtemp_cockpit,
                           aircond_temp_ckpt, -20, 70, zone_table>;
using TempCabin = Indicator<gauge_aircondtemp_cabin, GAUGE_INDEX_aircondtemp_cabin,
                            aircond_temp_cabin, -20, 70, zone_table>;

// ---- ventilation
// --------------------------------------------------------------------------------------

// Individual ventilation, chain: 0 face, 1 switch at A, 2 at M, 3 left lamp, 4 right lamp.
constexpr k7::ImageEntry indiv_images[] = {
    {SWITCH_UP, {102, 14}, k7::TRANSPARENT},
    {SWITCH_DOWN, {102, 14}, k7::HIDDEN},
    {LAMP_GREEN, {54, 36}, k7::HIDDEN},
    {LAMP_GREEN, {166, 36}, k7::HIDDEN},
};
using IndivImages = k7::Run<gauge_vent_indiv, indiv_images>;
ELEMENT_STATIC_IMAGE indiv_face =
    k7::static_image(&gauge_vent_indiv, k7::bitmap_id(GAUGE_INDEX_vent_indiv, 0), {0, 0},
                     k7::TRANSPARENT, IndivImages::head);
MOUSERECT indiv_mouse[] = {k7::mouse_parent(), ENV_SWITCH_AREAS(102, 14, 37, 29, vent_indiv_sw),
                           K7_MOUSE_END};

void FSAPI indiv_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show_position(IndivImages::element, 2, vent_indiv_sw);
  const bool on = vent_indiv_sw != 0 && elec_bus_gen_a != 0;
  k7::show(IndivImages::element[2], on && airc_valve_lh_pos != 255);
  k7::show(IndivImages::element[3], on && airc_valve_rh_pos != 255);
}

// Anti-fog ventilation, chain: 0 face, 1 switch at A, 2 at M.
constexpr k7::ImageEntry fog_images[] = {
    {SWITCH_UP, {37, 14}, k7::TRANSPARENT},
    {SWITCH_DOWN, {37, 14}, k7::HIDDEN},
};
using FogImages = k7::Run<gauge_vent_fog, fog_images>;
ELEMENT_STATIC_IMAGE fog_face =
    k7::static_image(&gauge_vent_fog, k7::bitmap_id(GAUGE_INDEX_vent_fog, 0), {0, 0},
                     k7::TRANSPARENT, FogImages::head);
MOUSERECT fog_mouse[] = {k7::mouse_parent(), ENV_SWITCH_AREAS(37, 14, 37, 29, vent_fog_sw),
                         K7_MOUSE_END};

void FSAPI fog_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) k7::show_position(FogImages::element, 2, vent_fog_sw);
}

using Placard1 = Placard<gauge_airc_temp_light1, 25360>;
using Placard2 = Placard<gauge_airc_temp_light2, 25376>;

} // namespace

K7_GAUGE_HEADER(aircondtemp_ctrl, ctrl_face, ctrl_mouse, ctrl_callback);
K7_GAUGE_HEADER(airductemp_cockpit, DuctCkpt::dial, DuctCkpt::mouse, no_logic);
K7_GAUGE_HEADER(airductemp_cabin, DuctCabin::dial, DuctCabin::mouse, no_logic);
K7_GAUGE_HEADER(aircondtemp_cockpit, TempCkpt::dial, TempCkpt::mouse, no_logic);
K7_GAUGE_HEADER(aircondtemp_cabin, TempCabin::dial, TempCabin::mouse, no_logic);
K7_GAUGE_HEADER(vent_indiv, indiv_face, indiv_mouse, indiv_callback);
K7_GAUGE_HEADER(vent_fog, fog_face, fog_mouse, fog_callback);
K7_GAUGE_HEADER(airc_temp_light1, Placard1::image, Placard1::mouse, nullptr);
K7_GAUGE_HEADER(airc_temp_light2, Placard2::image, Placard2::mouse, nullptr);
