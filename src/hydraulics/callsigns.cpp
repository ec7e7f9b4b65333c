// "kestovil callsigns_k7": the cabin call switches A, HI and LO. HI and LO sound their chimes in
// the cabin (and the cockpit) when moved with the essential bus powered.
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "hydraulics/hydraulics.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_callsigns, n);
}

// Chain: 0 face, 1 night face; switch A at 0 and 1 (2-5, day and night of each); HI at 0, 1, 2
// (6-11); LO at 0 and 1 (12-15).
extern ELEMENT_ICON face_night;
extern ELEMENT_ICON a0_day, a0_night, a1_day, a1_night;
extern ELEMENT_ICON hi0_day, hi0_night, hi1_day, hi1_night, hi2_day, hi2_night;
extern ELEMENT_ICON lo0_day, lo0_night, lo1_day, lo1_night;

constexpr PGAUGEHDR g = &gauge_callsigns;
constexpr PIXPOINT SWITCH_A = {85, 10};
constexpr PIXPOINT SWITCH_HI = {16, 38};
constexpr PIXPOINT SWITCH_LO = {37, 92};

ELEMENT_STATIC_IMAGE face = k7::static_image(g, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
ELEMENT_ICON face_night = k7::icon(g, art(1), {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(a0_day));
ELEMENT_ICON a0_day = k7::icon(g, art(2), SWITCH_A, k7::ART_DAY, K7_NEXT(a0_night));
ELEMENT_ICON a0_night = k7::icon(g, art(3), SWITCH_A, k7::NIGHT_HIDDEN, K7_NEXT(a1_day));
ELEMENT_ICON a1_day = k7::icon(g, art(4), SWITCH_A, k7::DAY_HIDDEN, K7_NEXT(a1_night));
ELEMENT_ICON a1_night = k7::icon(g, art(5), SWITCH_A, k7::NIGHT_HIDDEN, K7_NEXT(hi0_day));
ELEMENT_ICON hi0_day = k7::icon(g, art(6), SWITCH_HI, k7::ART_DAY, K7_NEXT(hi0_night));
ELEMENT_ICON hi0_night = k7::icon(g, art(7), SWITCH_HI, k7::NIGHT_HIDDEN, K7_NEXT(hi1_day));
ELEMENT_ICON hi1_day = k7::icon(g, art(8), SWITCH_HI, k7::DAY_HIDDEN, K7_NEXT(hi1_night));
ELEMENT_ICON hi1_night = k7::icon(g, art(9), SWITCH_HI, k7::NIGHT_HIDDEN, K7_NEXT(hi2_day));
ELEMENT_ICON hi2_day = k7::icon(g, art(10), SWITCH_HI, k7::DAY_HIDDEN, K7_NEXT(hi2_night));
ELEMENT_ICON hi2_night = k7::icon(g, art(11), SWITCH_HI, k7::NIGHT_HIDDEN, K7_NEXT(lo0_day));
ELEMENT_ICON lo0_day = k7::icon(g, art(12), SWITCH_LO, k7::ART_DAY, K7_NEXT(lo0_night));
ELEMENT_ICON lo0_night = k7::icon(g, art(13), SWITCH_LO, k7::NIGHT_HIDDEN, K7_NEXT(lo1_day));
ELEMENT_ICON lo1_day = k7::icon(g, art(14), SWITCH_LO, k7::DAY_HIDDEN, K7_NEXT(lo1_night));
ELEMENT_ICON lo1_night = k7::icon(g, art(15), SWITCH_LO, k7::NIGHT_HIDDEN, K7_END);

const k7::DayNight face_art = {&face.header, &face_night.header};
const k7::DayNight a_art[2] = {{&a0_day.header, &a0_night.header},
                               {&a1_day.header, &a1_night.header}};
const k7::DayNight hi_art[3] = {{&hi0_day.header, &hi0_night.header},
                                {&hi1_day.header, &hi1_night.header},
                                {&hi2_day.header, &hi2_night.header}};
const k7::DayNight lo_art[2] = {{&lo0_day.header, &lo0_night.header},
                                {&lo1_day.header, &lo1_night.header}};

// A call switch moved with the essential bus powered chimes in the cabin.
template <u8& Switch, int Position, SoundId Chime> BOOL FSAPI on_call(PPIXPOINT, FLAGS32) {
  if (k7::switch_to(Switch, Position) && elec_bus_ess != 0) sound_play(Chime);
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({105, 10, 30, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<cabin_call_a, 1>),
    k7::mouse_area({85, 34, 30, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<cabin_call_a, 0>),
    k7::mouse_area({53, 38, 30, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_call<cabin_call_hi, 1, SND_HI>),
    k7::mouse_area({46, 62, 30, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_call<cabin_call_hi, 0, SND_HI>),
    k7::mouse_area({16, 69, 30, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<cabin_call_hi, 2>),
    k7::mouse_area({67, 92, 30, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_call<cabin_call_lo, 1, SND_LO>),
    k7::mouse_area({37, 103, 30, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_call<cabin_call_lo, 0, SND_LO>),
    K7_MOUSE_END,
};

void update() {
  k7::draw(face_art);
  k7::draw_position(a_art, cabin_call_a);
  k7::draw_position(hi_art, cabin_call_hi);
  k7::draw_position(lo_art, cabin_call_lo);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update();
}

} // namespace

K7_GAUGE_HEADER(callsigns, face, mouse, callback);
