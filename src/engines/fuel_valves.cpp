// "kestovil fuel_valves_lh_k7" and "kestovil fuel_valves_rh_k7": the two valve switches of each
// feed side, which always move together, their two lights, and the simulator's engine fuel valve
// kept in step with them. "kestovil fuel_crossfeed_k7": the cross-feed valve switch and light.
#include "engines/fuel_sides.h"
#include "module/kit.h"
#include "module/runs.h"
#include "module/services.h"

namespace {

constexpr ID SWITCH_DOWN = 14176, SWITCH_UP = 14192;
constexpr ID LIGHT_OPEN = 14208, LIGHT_SHUT = 14336;

// Element n + 1 of a valve panel's chain is image n: each switch down then up (by its value),
// then each light open then shut.
enum ValveImage : std::size_t { SWITCH_A = 0, SWITCH_B = 2, LIGHT_1 = 4, LIGHT_2 = 6 };

constexpr k7::ImageEntry images_lh[] = {
    {SWITCH_DOWN, {4, 66}, k7::HIDDEN},  {SWITCH_UP, {5, 45}, k7::TRANSPARENT},
    {SWITCH_DOWN, {40, 66}, k7::HIDDEN}, {SWITCH_UP, {41, 45}, k7::TRANSPARENT},
    {LIGHT_OPEN, {0, 0}, k7::HIDDEN},    {LIGHT_SHUT, {0, 0}, k7::HIDDEN},
    {LIGHT_OPEN, {38, 0}, k7::HIDDEN},   {LIGHT_SHUT, {38, 0}, k7::HIDDEN},
};
constexpr k7::ImageEntry images_rh[] = {
    {SWITCH_DOWN, {9, 66}, k7::HIDDEN},  {SWITCH_UP, {10, 45}, k7::TRANSPARENT},
    {SWITCH_DOWN, {45, 66}, k7::HIDDEN}, {SWITCH_UP, {45, 45}, k7::TRANSPARENT},
    {LIGHT_OPEN, {0, 0}, k7::HIDDEN},    {LIGHT_SHUT, {0, 0}, k7::HIDDEN},
    {LIGHT_OPEN, {38, 0}, k7::HIDDEN},   {LIGHT_SHUT, {38, 0}, k7::HIDDEN},
};
using ImagesLh = k7::Run<gauge_fuel_valves_lh, images_lh>;
using ImagesRh = k7::Run<gauge_fuel_valves_rh, images_rh>;

ELEMENT_STATIC_IMAGE face_lh =
    k7::static_image(&gauge_fuel_valves_lh, 14160, {0, 0}, k7::TRANSPARENT, ImagesLh::head);
ELEMENT_STATIC_IMAGE face_rh =
    k7::static_image(&gauge_fuel_valves_rh, 14160, {0, 0}, k7::TRANSPARENT, ImagesRh::head);

// A light of a valve: open or shut while the essential bus is powered, dark without it.
void show_light(ELEMENT_ICON* light, bool open) {
  const bool powered = elec_bus_ess == 1;
  k7::show(light[0], powered && open);
  k7::show(light[1], powered && !open);
}

// One update of a side: keeps the simulator's engine fuel valve with the panel valve (or open
// through the cross-feed while the other engine's valve is open), then draws.
void update(const FuelSide& s, MODULE_VAR& own_valve, MODULE_VAR& other_valve,
            ELEMENT_ICON* image) {
  const double own = sim::read(own_valve);
  if (elec_bus_ess == 1) {
    bool wanted_open = s.valve_b == 1;
    if (!wanted_open && fuel_crossfeed_open == 1 && sim::read(other_valve) == 1.0)
      wanted_open = true;
    if ((wanted_open && own == 0.0) || (!wanted_open && own == 1.0)) sim::key_event(s.valve_toggle);
  }

  k7::show_position(image + SWITCH_A, 2, s.valve_a);
  k7::show_position(image + SWITCH_B, 2, s.valve_b);
  const bool open = own == 1.0 && s.valve_b == 1;
  show_light(image + LIGHT_1, open);
  show_light(image + LIGHT_2, open);
}

MODULE_VAR valve_eng1_lh = sim::token(0x37F);
MODULE_VAR valve_eng2_lh = sim::token(0x380);
MODULE_VAR valve_eng1_rh = sim::token(0x37F);
MODULE_VAR valve_eng2_rh = sim::token(0x380);

void FSAPI callback_lh(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE)
    update(fuel_lh, valve_eng1_lh, valve_eng2_lh, ImagesLh::element);
}
void FSAPI callback_rh(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE)
    update(fuel_rh, valve_eng2_rh, valve_eng1_rh, ImagesRh::element);
}

// The two switches of a side move together; the area over a switch decides, by that switch's
// position, whether there is anything to move.
template <const FuelSide& S, bool OverA, u8 Position> BOOL FSAPI set_valve(PPIXPOINT, FLAGS32) {
  if ((OverA ? S.valve_a : S.valve_b) == Position) return FALSE_K7;
  sound_play(SND_CLICK);
  S.valve_a = Position;
  S.valve_b = Position;
  return FALSE_K7;
}

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;

MOUSERECT mouse_lh[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 26, 28, 41}, CURSOR_UPARROW, CLICK, set_valve<fuel_lh, true, 1>),
    k7::mouse_area({38, 26, 28, 41}, CURSOR_UPARROW, CLICK, set_valve<fuel_lh, false, 1>),
    k7::mouse_area({0, 67, 28, 41}, CURSOR_DOWNARROW, CLICK, set_valve<fuel_lh, true, 0>),
    k7::mouse_area({38, 67, 28, 41}, CURSOR_DOWNARROW, CLICK, set_valve<fuel_lh, false, 0>),
    K7_MOUSE_END,
};
MOUSERECT mouse_rh[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 26, 28, 41}, CURSOR_UPARROW, CLICK, set_valve<fuel_rh, true, 1>),
    k7::mouse_area({38, 26, 28, 41}, CURSOR_UPARROW, CLICK, set_valve<fuel_rh, false, 1>),
    k7::mouse_area({0, 67, 28, 41}, CURSOR_DOWNARROW, CLICK, set_valve<fuel_rh, true, 0>),
    k7::mouse_area({38, 67, 28, 41}, CURSOR_DOWNARROW, CLICK, set_valve<fuel_rh, false, 0>),
    K7_MOUSE_END,
};

// ---- cross-feed
// ---------------------------------------------------------------------------------------

constexpr k7::ImageEntry crossfeed_images[] = {
    {SWITCH_DOWN, {5, 39}, k7::TRANSPARENT},
    {SWITCH_UP, {6, 19}, k7::HIDDEN},
    {LIGHT_OPEN, {0, 79}, k7::HIDDEN},
    {LIGHT_SHUT, {0, 79}, k7::HIDDEN},
};
using CrossfeedImages = k7::Run<gauge_fuel_crossfeed, crossfeed_images>;

ELEMENT_STATIC_IMAGE crossfeed_face =
    k7::static_image(&gauge_fuel_crossfeed, 14144, {0, 0}, k7::TRANSPARENT, CrossfeedImages::head);

void FSAPI crossfeed_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  ELEMENT_ICON* image = CrossfeedImages::element;
  k7::show_position(image, 2, fuel_crossfeed_open);
  show_light(image + 2, fuel_crossfeed_open == 1);
}

MOUSERECT crossfeed_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 28, 41}, CURSOR_UPARROW, CLICK, k7::switch_area<fuel_crossfeed_open, 1>),
    k7::mouse_area({0, 41, 28, 41}, CURSOR_DOWNARROW, CLICK,
                   k7::switch_area<fuel_crossfeed_open, 0>),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(fuel_valves_lh, face_lh, mouse_lh, callback_lh);
K7_GAUGE_HEADER(fuel_valves_rh, face_rh, mouse_rh, callback_rh);
K7_GAUGE_HEADER(fuel_crossfeed, crossfeed_face, crossfeed_mouse, crossfeed_callback);
