// "kestovil thr_hpbp_left_k7" and "kestovil thr_hpbp_right_k7": the throttle quadrant of each
// engine. The throttle lever shows the simulator's throttle and moves it by key events; at the end
// of its travel below idle it closes the HP cock. The LP cock lever beside it can be closed only
// behind a closed HP cock. The cocks are the module's own: they raise or lower the simulator's fuel
// control lever of the engine. The left quadrant also repeats the start selector and start master
// switch; the right one carries the two starter lamps.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/runs.h"
#include "module/services.h"
#include "warnings/warnings.h"

namespace {

// Lever image offsets: 0 full throttle .. 100 idle; 110 is the cut-off (HP cock closed).
constexpr u32 LEVER_IDLE = 100;
constexpr u32 LEVER_CUT_OFF = 110;
constexpr double THROTTLE_AT_MIN = 0.02;
constexpr double FUEL_ON = 0.5; // the fuel control lever gives fuel from here up

// The lever image for a throttle reading. Readings outside 0..1 (reverse thrust below, nonsense
// above) are held to the lever's travel, so that only a closed HP cock shows the cut-off.
u32 lever_offset(double throttle) {
  const double t = k7::clamp(k7::finite_or(throttle, 0.0), 0.0, 1.0);
  return k7::sat_cast<u32>(100.0 - 100.0 * t);
}

struct Quadrant {
  u8& hp_cock;
  u8& lp_cock;
  u32& lever;
  u8& fire; // the engine's fire warning (1 while a fire is active)
  MODULE_VAR& throttle;
  MODULE_VAR& other_throttle;
  MODULE_VAR& fuel_lever;
  u32 throttle_up;
  u32 throttle_down;
  u32 throttle_min;
  u32 fuel_on;
  u32 fuel_off;
};

MODULE_VAR throttle1 = sim::token(0x22E);
MODULE_VAR throttle2 = sim::token(0x238);
MODULE_VAR fuel_lever1 = sim::token(0x230);
MODULE_VAR fuel_lever2 = sim::token(0x23A);

constexpr Quadrant left{eng1_hp_cock_open, eng1_lp_cock_open, thr_lever_lh_pos, eng1_fire_warn,
                        throttle1,         throttle2,         fuel_lever1,      0x101AC,
                        0x101AE,           0x101AF,           0x101BF,          0x101C3};
constexpr Quadrant right{eng2_hp_cock_open, eng2_lp_cock_open, thr_lever_rh_pos, eng2_fire,
                         throttle2,         throttle1,         fuel_lever2,      0x101B1,
                         0x101B3,           0x101B4,           0x101C4,          0x101C8};

void update(const Quadrant& q) {
  const double throttle = sim::read(q.throttle);
  const double fuel = sim::read(q.fuel_lever);
  if (q.hp_cock != 1) {
    if (fuel >= FUEL_ON) sim::key_event(q.fuel_off);
    q.lever = LEVER_CUT_OFF;
  } else {
    if (fuel < FUEL_ON && q.lp_cock == 1) sim::key_event(q.fuel_on);
    if (q.lp_cock == 1) {
      if (q.lever > LEVER_IDLE)
        q.lever = LEVER_IDLE; // out of cut-off for one update, on the throttle from the next
      else if (q.fire != 1)
        q.lever = lever_offset(throttle);
      else
        q.lever = throttle <= 0.0 ? 0 : lever_offset(sim::read(q.other_throttle));
    }
  }
  if (q.lp_cock != 1 && sim::read(q.fuel_lever) >= FUEL_ON) sim::key_event(q.fuel_off);
}

// ---- clicks
// -------------------------------------------------------------------------------------------

template <const Quadrant& Q> BOOL FSAPI on_throttle_up(PPIXPOINT, FLAGS32) {
  if (Q.hp_cock == 1) sim::key_event(Q.throttle_up);
  return FALSE_K7;
}
template <const Quadrant& Q> BOOL FSAPI on_throttle_down(PPIXPOINT, FLAGS32) {
  if (Q.hp_cock == 1) sim::key_event(Q.throttle_down);
  return FALSE_K7;
}
template <const Quadrant& Q> BOOL FSAPI on_hp_open(PPIXPOINT, FLAGS32) {
  Q.hp_cock = 1;
  return FALSE_K7;
}
// The HP cock closes once the throttle is at its minimum; a first click brings the throttle
// there. With a fire the throttle is pulled back and the cock closed at once.
template <const Quadrant& Q> BOOL FSAPI on_hp_close(PPIXPOINT, FLAGS32) {
  const double throttle = sim::read(Q.throttle);
  if (Q.fire == 1) {
    sim::key_event(Q.throttle_min);
    Q.hp_cock = 0;
  } else if (throttle <= THROTTLE_AT_MIN) {
    Q.hp_cock = 0;
  } else {
    sim::key_event(Q.throttle_min);
  }
  return FALSE_K7;
}
template <const Quadrant& Q> BOOL FSAPI on_lp_open(PPIXPOINT, FLAGS32) {
  Q.lp_cock = 1;
  return FALSE_K7;
}
template <const Quadrant& Q> BOOL FSAPI on_lp_close(PPIXPOINT, FLAGS32) {
  if (Q.hp_cock == 0) Q.lp_cock = 0;
  return FALSE_K7;
}

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;
constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse_left[] = {
    k7::mouse_parent(),
    k7::mouse_area({50, 64, 50, 86}, CURSOR_UPARROW, HELD, on_throttle_up<left>),
    k7::mouse_area({50, 150, 50, 86}, CURSOR_DOWNARROW, HELD, on_throttle_down<left>),
    k7::mouse_area({50, 236, 50, 37}, CURSOR_UPARROW, CLICK, on_hp_open<left>),
    k7::mouse_area({50, 273, 50, 37}, CURSOR_DOWNARROW, CLICK, on_hp_close<left>),
    k7::mouse_area({0, 236, 55, 51}, CURSOR_HAND, CLICK, on_lp_open<left>),
    k7::mouse_area({0, 0, 55, 51}, CURSOR_HAND, CLICK, on_lp_close<left>),
    K7_MOUSE_END,
};
MOUSERECT mouse_right[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 64, 50, 86}, CURSOR_UPARROW, HELD, on_throttle_up<right>),
    k7::mouse_area({0, 150, 50, 86}, CURSOR_DOWNARROW, HELD, on_throttle_down<right>),
    k7::mouse_area({0, 236, 50, 37}, CURSOR_UPARROW, CLICK, on_hp_open<right>),
    k7::mouse_area({0, 273, 50, 37}, CURSOR_DOWNARROW, CLICK, on_hp_close<right>),
    k7::mouse_area({50, 236, 55, 51}, CURSOR_HAND, CLICK, on_lp_open<right>),
    k7::mouse_area({45, 0, 55, 51}, CURSOR_HAND, CLICK, on_lp_close<right>),
    K7_MOUSE_END,
};

// ---- drawing
// ------------------------------------------------------------------------------------------

FLOAT64 FSAPI lever_column(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
FLOAT64 FSAPI lever_left(ELEMENT_MOVING_IMAGE*) {
  return thr_lever_lh_pos < LEVER_CUT_OFF ? thr_lever_lh_pos : LEVER_CUT_OFF;
}
FLOAT64 FSAPI lever_right(ELEMENT_MOVING_IMAGE*) {
  return thr_lever_rh_pos < LEVER_CUT_OFF ? thr_lever_rh_pos : LEVER_CUT_OFF;
}

// The lever: five pieces moving together, day copies then night copies (elements 1 to 10).
constexpr std::size_t LEVER_PARTS = 5;

constexpr k7::SlideEntry lever_part(ID bitmap, PIXPOINT at, bool day, PMOVING_UPDATE_CB y) {
  return {bitmap, at, day ? k7::ART_DAY : k7::NIGHT_HIDDEN, lever_column, y, 0.0, 110.0};
}

constexpr k7::SlideEntry levers_left[] = {
    lever_part(16688, {80, 125}, true, lever_left), lever_part(16640, {62, 88}, true, lever_left),
    lever_part(16496, {50, 76}, true, lever_left),  lever_part(16464, {50, 77}, true, lever_left),
    lever_part(16432, {50, 65}, true, lever_left),  lever_part(16704, {80, 125}, false, lever_left),
    lever_part(16672, {62, 88}, false, lever_left), lever_part(16512, {50, 76}, false, lever_left),
    lever_part(16480, {50, 77}, false, lever_left), lever_part(16448, {50, 65}, false, lever_left),
};
constexpr k7::SlideEntry levers_right[] = {
    lever_part(17024, {9, 125}, true, lever_right), lever_part(16992, {4, 88}, true, lever_right),
    lever_part(16960, {0, 76}, true, lever_right),  lever_part(16928, {0, 77}, true, lever_right),
    lever_part(16896, {0, 65}, true, lever_right),  lever_part(17152, {9, 125}, false, lever_right),
    lever_part(17008, {4, 88}, false, lever_right), lever_part(16976, {0, 76}, false, lever_right),
    lever_part(16944, {0, 77}, false, lever_right), lever_part(16912, {0, 65}, false, lever_right),
};

// After the lever (elements 11 on): the LP cock lever closed and open, day then night; on the
// left the start selector repeater (positions 0, 1, 2) and the start master switch (off, on),
// day then night; on the right the starter lamps of engines 1 and 2.
enum LeftExtra : std::size_t {
  LP_DAY = 0,
  LP_NIGHT = 2,
  SELECTOR_DAY = 4,
  SELECTOR_NIGHT = 7,
  MASTER_DAY = 10,
  MASTER_NIGHT = 12
};
enum RightExtra : std::size_t { STARTER_LAMP_1 = 4, STARTER_LAMP_2 = 5 };

constexpr FLAGS DAY = k7::ART_DAY, OTHER = k7::DAY_HIDDEN, NIGHT = k7::NIGHT_HIDDEN;
constexpr k7::ImageEntry extras_left[] = {
    {16720, {0, 234}, OTHER},  {16752, {0, 0}, DAY},     {16736, {0, 234}, NIGHT},
    {16768, {0, 0}, NIGHT},    {13680, {64, 49}, DAY},   {25168, {57, 51}, OTHER},
    {25184, {68, 51}, OTHER},  {29200, {64, 49}, NIGHT}, {29216, {57, 51}, NIGHT},
    {29232, {68, 51}, NIGHT},  {4976, {47, 106}, DAY},   {13680, {47, 91}, OTHER},
    {29184, {47, 106}, NIGHT}, {29200, {47, 91}, NIGHT},
};
constexpr k7::ImageEntry extras_right[] = {
    {17168, {44, 234}, OTHER}, {17200, {45, 0}, DAY},          {17184, {44, 234}, NIGHT},
    {17216, {45, 0}, NIGHT},   {29040, {37, 136}, k7::HIDDEN}, {29040, {84, 136}, k7::HIDDEN},
};

using ExtrasLeft = k7::Run<gauge_thr_hpbp_left, extras_left>;
using ExtrasRight = k7::Run<gauge_thr_hpbp_right, extras_right>;
using LeverLeft = k7::Run<gauge_thr_hpbp_left, levers_left, ExtrasLeft::head>;
using LeverRight = k7::Run<gauge_thr_hpbp_right, levers_right, ExtrasRight::head>;

ELEMENT_STATIC_IMAGE face_left =
    k7::static_image(&gauge_thr_hpbp_left, 16416, {0, 0}, k7::TRANSPARENT, LeverLeft::head);
ELEMENT_STATIC_IMAGE face_right =
    k7::static_image(&gauge_thr_hpbp_right, 16416, {0, 0}, k7::TRANSPARENT, LeverRight::head);

void draw_lever(const Quadrant& q, ELEMENT_MOVING_IMAGE* lever, ELEMENT_ICON* extra) {
  for (std::size_t i = 0; i < LEVER_PARTS; ++i)
    k7::draw({&lever[i].header, &lever[LEVER_PARTS + i].header});
  k7::draw_position(extra + LP_DAY, extra + LP_NIGHT, 2, q.lp_cock);
}

void FSAPI callback_left(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update(left);
  ELEMENT_ICON* extra = ExtrasLeft::element;
  draw_lever(left, LeverLeft::element, extra);
  k7::draw_position(extra + SELECTOR_DAY, extra + SELECTOR_NIGHT, 3, eng_start_sel);
  k7::draw_position(extra + MASTER_DAY, extra + MASTER_NIGHT, 2, eng_start_master);
}

void FSAPI callback_right(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update(right);
  ELEMENT_ICON* extra = ExtrasRight::element;
  draw_lever(right, LeverRight::element, extra);
  k7::show(extra[STARTER_LAMP_1], elec_bus_ess == 1 && eng1_starter_on == 1);
  k7::show(extra[STARTER_LAMP_2], elec_bus_ess == 1 && eng2_starter_on == 1);
}

} // namespace

K7_GAUGE_HEADER(thr_hpbp_left, face_left, mouse_left, callback_left);
K7_GAUGE_HEADER(thr_hpbp_right, face_right, mouse_right, callback_right);
