// Building a gauge: its element chain, its click areas and its header, as static tables.
//
// A gauge's source file reads top to bottom: the element chain from the background down, the
// click handlers and click-area list, the callback, and the header:
//
//   namespace {
//   extern ELEMENT_ICON lamp;                                  // chain order: 0 background, 1 lamp
//   ELEMENT_STATIC_IMAGE background =
//       k7::static_image(&gauge_elec_ext_pwr, 32768 + ..., {0, 0}, 0x3, K7_NEXT(lamp));
//   ELEMENT_ICON lamp = k7::icon(&gauge_elec_ext_pwr, ..., {36, 0}, 0x3 | IMAGE_HIDDEN, K7_END);
//
//   BOOL FSAPI on_button(PPIXPOINT, FLAGS32) { ...; return FALSE; }
//   MOUSERECT mouse[] = {k7::mouse_parent(), k7::mouse_tooltip("..."),
//                        k7::mouse_area({36, 0, 48, 48}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_button),
//                        K7_MOUSE_END};
//
//   void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) { ... }
//   } // namespace
//   K7_GAUGE_HEADER(elec_ext_pwr, background, mouse, callback);
//
// and its catalogue line (module/catalogue.def) says K7_BUILT instead of K7_STUB.
#pragma once

#include <type_traits>

#include "module/catalogue.h"
#include "module/panel_abi.h"
#include "module/types.h"

constexpr BOOL FALSE_K7 = 0;

// The seven element routines shared by every gauge header (module/frame.cpp).
void FSAPI shared_query_routine();
void FSAPI shared_install_routine(PVOID resource_file_handle);
void FSAPI shared_initialize_routine();
void FSAPI shared_update_routine();
void FSAPI shared_generate_routine(UINT32 phase);
void FSAPI shared_draw_routine();
void FSAPI shared_kill_routine();

namespace k7 {

// The empty failure list that almost every element points to.
extern FAILURE_RECORD no_failures[1];

// The one-entry list of following elements of an element: the element after it in the chain.
template <auto& Next> inline PELEMENT_HEADER next_list[2] = {&Next.header, nullptr};

// Bitmap ids chosen for artwork whose id the aircraft documentation leaves open: per gauge a block
// of 64 ids from 0x8000, the background first. The simulator looks for a high-resolution copy of
// every bitmap 500 ids above it, so the blocks fill only the first half of every thousand ids
// (seven gauges each) and nothing of ours ever sits 500 above another of ours.
constexpr ID bitmap_id(int gauge_index, int n) {
  return 0x8000 + 1000 * (gauge_index / 7) + 64 * (gauge_index % 7) + n;
}

constexpr ELEMENT_HEADER element_header(ENUM type, PGAUGEHDR gauge, ID bitmap, PIXPOINT position,
                                        PIXPOINT ofs, FLAGS image_flags, PELEMENT_HEADER* next,
                                        FAILURE_RECORD* failures = no_failures) {
  ELEMENT_HEADER h{};
  h.element_type = type;
  h.resource_id = bitmap;
  h.position = position;
  h.ofs = ofs;
  h.gauge_header = gauge;
  h.next_element = next;
  h.failure_systems = failures;
  h.image_flags = image_flags;
  return h;
}

constexpr ELEMENT_STATIC_IMAGE static_image(PGAUGEHDR gauge, ID bitmap, PIXPOINT position,
                                            FLAGS image_flags, PELEMENT_HEADER* next) {
  ELEMENT_STATIC_IMAGE e{};
  e.header =
      element_header(ELEMENT_TYPE_STATIC_IMAGE, gauge, bitmap, position, {0, 0}, image_flags, next);
  return e;
}

FLOAT64 FSAPI icon_first_image(ELEMENT_ICON*);

// An image, or a strip of num_images images chosen by the callback's value. Images without a
// callback are drawn or hidden by the gauge callback through the hidden bit.
constexpr ELEMENT_ICON icon(PGAUGEHDR gauge, ID bitmap, PIXPOINT position, FLAGS image_flags,
                            PELEMENT_HEADER* next, PICON_UPDATE_CB callback = icon_first_image,
                            SINT32 num_images = 1) {
  ELEMENT_ICON e{};
  e.header = element_header(ELEMENT_TYPE_ICON, gauge, bitmap, position, {0, 0}, image_flags, next);
  e.switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON;
  e.scale = 1.0;
  e.num_icons = num_images;
  e.update_cb = callback;
  return e;
}

// A needle turning about `pivot` (gauge pixels) by its callback's value through its calibration
// table; `needle_pivot` is the pivot inside the needle bitmap.
template <std::size_t N>
constexpr ELEMENT_NEEDLE needle(PGAUGEHDR gauge, ID bitmap, PIXPOINT pivot, PIXPOINT needle_pivot,
                                FLAGS image_flags, PNEEDLE_UPDATE_CB callback,
                                const NONLINEARITY (&table)[N], SINT32 max_degrees_per_second,
                                PELEMENT_HEADER* next) {
  ELEMENT_NEEDLE e{};
  e.header =
      element_header(ELEMENT_TYPE_NEEDLE, gauge, bitmap, pivot, needle_pivot, image_flags, next);
  e.update_cb = callback;
  e.nonlinearity_table = table;
  e.nonlinearity_table_size = static_cast<UINT32>(N);
  e.max_degrees_per_tick = max_degrees_per_second;
  return e;
}

// A needle without a calibration table: it turns by its value in degrees.
constexpr ELEMENT_NEEDLE needle_degrees(PGAUGEHDR gauge, ID bitmap, PIXPOINT pivot,
                                        PIXPOINT needle_pivot, FLAGS image_flags,
                                        PNEEDLE_UPDATE_CB callback, SINT32 max_degrees_per_second,
                                        PELEMENT_HEADER* next) {
  ELEMENT_NEEDLE e{};
  e.header =
      element_header(ELEMENT_TYPE_NEEDLE, gauge, bitmap, pivot, needle_pivot, image_flags, next);
  e.update_cb = callback;
  e.max_degrees_per_tick = max_degrees_per_second;
  return e;
}

struct Axis {
  PMOVING_UPDATE_CB callback;
  FLOAT64 min;
  FLOAT64 max;
};

// An image shifted within its window by the x and y callbacks' values over min..max.
constexpr ELEMENT_MOVING_IMAGE moving_image(PGAUGEHDR gauge, ID bitmap, PIXPOINT position,
                                            FLAGS image_flags, Axis x, Axis y,
                                            PELEMENT_HEADER* next) {
  ELEMENT_MOVING_IMAGE e{};
  e.header =
      element_header(ELEMENT_TYPE_MOVING_IMAGE, gauge, bitmap, position, {0, 0}, image_flags, next);
  e.update_x_cb = x.callback;
  e.min_x = x.min;
  e.max_x = x.max;
  e.update_y_cb = y.callback;
  e.min_y = y.min;
  e.max_y = y.max;
  e.scale_x = 1.0;
  e.scale_y = 1.0;
  return e;
}

struct SpriteAxis {
  PSPRITE_UPDATE_CB callback;
  FLOAT64 scale;
};

// A texture shifted and turned about its centre by the x, y and rotation callbacks.
constexpr ELEMENT_SPRITE sprite(PGAUGEHDR gauge, ID bitmap, PIXPOINT position,
                                PIXPOINT texture_centre, FLOAT32 texture_scale, FLAGS image_flags,
                                SpriteAxis x, SpriteAxis y, SpriteAxis rotation,
                                PELEMENT_HEADER* next) {
  ELEMENT_SPRITE e{};
  e.header = element_header(ELEMENT_TYPE_SPRITE, gauge, bitmap, position, texture_centre,
                            image_flags, next);
  e.update_x_cb = x.callback;
  e.scale_x = x.scale;
  e.update_y_cb = y.callback;
  e.scale_y = y.scale;
  e.update_0_cb = rotation.callback;
  e.scale_0 = rotation.scale;
  e.texture_scale_x = texture_scale;
  e.texture_scale_y = texture_scale;
  return e;
}

struct SliderAxis {
  PSLIDER_UPDATE_CB callback;
  FLOAT64 scale;
};

constexpr ELEMENT_SLIDER slider(PGAUGEHDR gauge, ID bitmap, PIXPOINT position, FLAGS image_flags,
                                SliderAxis x, SliderAxis y, PELEMENT_HEADER* next) {
  ELEMENT_SLIDER e{};
  e.header =
      element_header(ELEMENT_TYPE_SLIDER, gauge, bitmap, position, {0, 0}, image_flags, next);
  e.update_x_cb = x.callback;
  e.scale_x = x.scale;
  e.update_y_cb = y.callback;
  e.scale_y = y.scale;
  return e;
}

// A text drawn into a box of size.x by size.y pixels; the callback fills `buffer`.
constexpr ELEMENT_STRING string(PGAUGEHDR gauge, PIXPOINT position, PIXPOINT size, char* buffer,
                                UINT16 max_chars, PSTRING_UPDATE_CB callback, COLORREF_K7 fg,
                                COLORREF_K7 bg, FLAGS image_flags, PELEMENT_HEADER* next) {
  ELEMENT_STRING e{};
  e.header = element_header(ELEMENT_TYPE_STRING, gauge, -1, position, {0, 0}, image_flags, next);
  e.img_size = size;
  e.string = buffer;
  e.max_string_length = max_chars;
  e.update_cb = callback;
  e.fg_color = fg;
  e.bg_color = bg;
  e.char_height = size.y;
  return e;
}

// ---- click areas
// ----------------------------------------------------------------------------------

constexpr MOUSERECT mouse_parent() {
  MOUSERECT r{};
  r.rect_type = MOUSE_RECT_PARENT;
  r.cursor = CURSOR_NONE;
  return r;
}

constexpr MOUSERECT mouse_tooltip(const char* text) {
  MOUSERECT r{};
  r.rect_type = MOUSE_RECT_USER;
  r.cursor = CURSOR_NONE;
  r.tooltip_text = text;
  return r;
}

constexpr MOUSERECT mouse_area(PIXBOX box, ENUM cursor, FLAGS32 mouse_flags,
                               PMOUSE_FUNCTION handler) {
  MOUSERECT r{};
  r.rect_type = MOUSE_RECT_CHILD;
  r.relative_box = box;
  r.cursor = cursor;
  r.mouse_flags = static_cast<FLAGS>(mouse_flags);
  r.mouse_function = handler;
  return r;
}

constexpr MOUSERECT mouse_end(ENUM type) {
  MOUSERECT r{};
  r.rect_type = type;
  r.cursor = CURSOR_NONE;
  return r;
}

// ---- the gauge header
// -----------------------------------------------------------------------------

constexpr GAUGEHDR gauge_header(int index, PELEMENT_HEADER* elements, MOUSERECT* mouse,
                                PGAUGE_CALLBACK callback) {
  GAUGEHDR h{};
  h.gauge_header_version = GAUGE_HEADER_VERSION_FS800;
  h.gauge_name = catalogue[index].name;
  h.elements_list = elements;
  h.query_routine = shared_query_routine;
  h.install_routine = shared_install_routine;
  h.initialize_routine = shared_initialize_routine;
  h.update_routine = shared_update_routine;
  h.generate_routine = shared_generate_routine;
  h.draw_routine = shared_draw_routine;
  h.kill_routine = shared_kill_routine;
  h.size_x_mm = catalogue[index].size_mm;
  h.mouse_rect = mouse;
  h.gauge_callback = callback;
  return h;
}

// ---- drawing by the hidden bit
// ----------------------------------------------------------------------

inline void show(ELEMENT_HEADER& e, bool visible) {
  if (visible)
    e.image_flags &= ~IMAGE_HIDDEN;
  else
    e.image_flags |= IMAGE_HIDDEN;
}
template <typename Element> inline void show(Element& e, bool visible) {
  show(e.header, visible);
}

inline bool shown(const ELEMENT_HEADER& e) {
  return (e.image_flags & IMAGE_HIDDEN) == 0;
}
template <typename Element> inline bool shown(const Element& e) {
  return shown(e.header);
}

// Element n of a gauge's chain (0 is the background); null past the end.
ELEMENT_HEADER* chain_element(const GAUGEHDR& gauge, int n);

// Shows exactly one of a set of images (a switch's positions), the one at `position`.
template <typename Element, std::size_t N>
inline void show_position(Element* (&images)[N], std::size_t position) {
  for (std::size_t i = 0; i < N; ++i)
    show(*images[i], i == position);
}

} // namespace k7

#define K7_NEXT(element) (k7::next_list<element>)
#define K7_END           nullptr
#define K7_MOUSE_END     k7::mouse_end(MOUSE_RECT_END_PARENT), k7::mouse_end(MOUSE_RECT_EOL)

// Defines the gauge's header (named gauge_<ident>, as the gauge table expects) from its background
// element, its click-area list and its callback (nullptr for a gauge driven by its elements).
// Whether the gauge has a callback is told by the argument's type (nullptr for none): the
// sanitizers' null checks keep a template function's address from being compared in a constant
// expression.
#define K7_GAUGE_HEADER(ident, background, mouse, callback)                                        \
  static_assert(catalogue[GAUGE_INDEX_##ident].has_callback !=                                     \
                    std::is_null_pointer_v<decltype(callback)>,                                    \
                "the catalogue says whether this gauge has a callback");                           \
  K7_GAUGE_HEADER_UNCHECKED(ident, (background), (mouse), (callback))
// The same without the check, for a gauge whose callback the catalogue itself chooses.
#define K7_GAUGE_HEADER_UNCHECKED(ident, background, mouse, callback)                              \
  static PELEMENT_HEADER gauge_elements_##ident = &(background).header;                            \
  GAUGEHDR gauge_##ident =                                                                         \
      k7::gauge_header(GAUGE_INDEX_##ident, &gauge_elements_##ident, mouse, callback)
