// "kestovil radar_set_k7": the weather radar control box. Its range selector, antenna tilt and
// two switches are only drawn; each tilt step also moves the sixteen values the panel windows
// keep for the radar picture. The box also carries the cockpit's sound volume control.
#include "module/kit.h"
#include "module/needle_run.h"
#include "module/runs.h"
#include "radios/radios.h"
#include "sound/sound.h"

namespace {

constexpr int TILT_LIMIT = 15;
constexpr int TILT_VALUE_STEP = 100;
constexpr int TILT_VALUES_LIMIT = TILT_LIMIT * TILT_VALUE_STEP;

// ---- clicks
// -------------------------------------------------------------------------------------------

template <int Step> BOOL FSAPI on_range(PPIXPOINT, FLAGS32) {
  k7::switch_to(radio_radar_range, k7::clamp(radio_radar_range + Step, 0, 4));
  return FALSE_K7;
}
// A step at the limit moves nothing, neither the pointer nor the values.
template <int Step> BOOL FSAPI on_tilt(PPIXPOINT, FLAGS32) {
  const int tilt = radio_radar_tilt + Step;
  if (tilt < -TILT_LIMIT || tilt > TILT_LIMIT) return FALSE_K7;
  radio_radar_tilt = static_cast<i8>(tilt);
  for (i16& value : radio_radar_tilt_values)
    value = static_cast<i16>(
        k7::clamp(value + Step * TILT_VALUE_STEP, -TILT_VALUES_LIMIT, TILT_VALUES_LIMIT));
  return FALSE_K7;
}
template <int Direction> BOOL FSAPI on_volume(PPIXPOINT, FLAGS32) {
  sound_volume_step(Direction);
  return FALSE_K7;
}

constexpr FLAGS32 TURNED = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
constexpr FLAGS32 PRESSED = MOUSE_LEFTSINGLE;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({27, 20, 29, 47}, CURSOR_DOWNARROW, PRESSED, on_range<-1>),
    k7::mouse_area({56, 20, 29, 47}, CURSOR_UPARROW, PRESSED, on_range<+1>),
    k7::mouse_area({154, 20, 29, 47}, CURSOR_DOWNARROW, TURNED, on_tilt<-1>),
    k7::mouse_area({183, 20, 29, 47}, CURSOR_UPARROW, TURNED, on_tilt<+1>),
    k7::mouse_area({85, 59, 30, 22}, CURSOR_HAND, PRESSED, k7::switch_area<radio_radar_sw1, 1>),
    k7::mouse_area({85, 81, 30, 22}, CURSOR_HAND, PRESSED, k7::switch_area<radio_radar_sw1, 0>),
    k7::mouse_area({124, 59, 30, 22}, CURSOR_HAND, PRESSED, k7::switch_area<radio_radar_sw2, 1>),
    k7::mouse_area({124, 81, 30, 22}, CURSOR_HAND, PRESSED, k7::switch_area<radio_radar_sw2, 0>),
    // The sound volume, quieter / louder: below the range selector, left of the switches.
    k7::mouse_area({20, 72, 29, 29}, CURSOR_DOWNARROW, PRESSED, on_volume<-1>),
    k7::mouse_area({49, 72, 29, 29}, CURSOR_UPARROW, PRESSED, on_volume<+1>),
    K7_MOUSE_END,
};

// ---- drawing
// ------------------------------------------------------------------------------------------

FLOAT64 FSAPI range_value(ELEMENT_NEEDLE*) {
  return radio_radar_range;
}
FLOAT64 FSAPI tilt_value(ELEMENT_NEEDLE*) {
  return radio_radar_tilt;
}
constexpr NONLINEARITY range_scale[] = {
    {{29, 65}, 0, 0}, {{26, 36}, 1, 0}, {{37, 22}, 2, 0}, {{56, 18}, 3, 0}, {{75, 23}, 4, 0}};
constexpr NONLINEARITY tilt_scale[] = {{{158, 39}, -15, 0}, {{162, 27}, -10, 0}, {{171, 20}, -5, 0},
                                       {{183, 17}, 0, 0},   {{196, 21}, 5, 0},   {{206, 26}, 10, 0},
                                       {{210, 39}, 15, 0}};

// Elements 1 and 2: the range and tilt pointers; 3 to 6: each switch up (1) then down (0).
constexpr k7::NeedleEntry pointers[] = {
    k7::needle_entry(21776, {57, 44}, {4, 4}, k7::NEEDLE_DAY, range_value, range_scale),
    k7::needle_entry(21792, {184, 44}, {4, 4}, k7::NEEDLE_DAY, tilt_value, tilt_scale),
};
constexpr k7::ImageEntry switch_images[] = {
    {22384, {94, 63}, k7::ART_DAY},
    {22336, {94, 79}, k7::DAY_HIDDEN},
    {22384, {133, 63}, k7::ART_DAY},
    {22336, {133, 79}, k7::DAY_HIDDEN},
};

using Switches = k7::Run<gauge_radar_set, switch_images>;
using Pointers = k7::Run<gauge_radar_set, pointers, Switches::head>;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_radar_set, k7::bitmap_id(GAUGE_INDEX_radar_set, 0), {0, 0},
                     k7::TRANSPARENT, Pointers::head);

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show_position(Switches::element + 0, 2, radio_radar_sw1 != 0 ? 0 : 1);
  k7::show_position(Switches::element + 2, 2, radio_radar_sw2 != 0 ? 0 : 1);
}

} // namespace

K7_GAUGE_HEADER(radar_set, background, mouse, callback);
