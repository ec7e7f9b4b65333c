// Runs of like elements described by a table: a panel of switch images and lamps, or the five
// pieces of a throttle lever, is written as a table of bitmaps and positions instead of one
// element definition each.
//
//   constexpr k7::ImageEntry lamps[] = {{368, {0, 0}, k7::HIDDEN}, {384, {0, 78}, k7::HIDDEN}};
//   using Lamps = k7::Run<gauge_engstart_lights, lamps>;          // last run: ends the chain
//   using Levers = k7::Run<gauge_x, lever_parts, Lamps::head>;     // followed by the lamps
//   ELEMENT_STATIC_IMAGE face = k7::static_image(&gauge_x, 21008, {0, 0}, 0x3, Levers::head);
//
// Element i of a run is Run::element[i]; it follows element i - 1 in the gauge's chain, and the
// last one is followed by the run given as the tail (or by nothing). Runs are declared from the
// bottom of the chain up, because each names the one after it.
#pragma once

#include "module/daynight.h"
#include "module/gauge.h"

#include <cstddef>
#include <iterator>
#include <utility>

namespace k7 {

// A plain image, shown and hidden by its gauge's callback.
struct ImageEntry {
  ID bitmap;
  PIXPOINT position;
  FLAGS flags;
  constexpr ELEMENT_ICON make(PGAUGEHDR gauge, PELEMENT_HEADER* next) const {
    return icon(gauge, bitmap, position, flags, next);
  }
};

// An image moved along y (only) by a callback over min..max.
struct SlideEntry {
  ID bitmap;
  PIXPOINT position;
  FLAGS flags;
  PMOVING_UPDATE_CB x; // returns 0: the image keeps its column
  PMOVING_UPDATE_CB y;
  FLOAT64 min_y;
  FLOAT64 max_y;
  constexpr ELEMENT_MOVING_IMAGE make(PGAUGEHDR gauge, PELEMENT_HEADER* next) const {
    return moving_image(gauge, bitmap, position, flags, {x, 0.0, 0.0}, {y, min_y, max_y}, next);
  }
};

template <GAUGEHDR& Gauge, const auto& Table, PELEMENT_HEADER* Tail = nullptr,
          typename = std::make_index_sequence<std::size(Table)>>
struct Run;

template <GAUGEHDR& Gauge, const auto& Table, PELEMENT_HEADER* Tail, std::size_t... I>
struct Run<Gauge, Table, Tail, std::index_sequence<I...>> {
  static constexpr std::size_t size = sizeof...(I);
  static_assert(size > 0, "a run holds at least one element");
  using Element = decltype(Table[0].make(nullptr, nullptr));

  static Element element[size];
  // The next list that leads into the run: what the element before it points to.
  static PELEMENT_HEADER head[2];
  // links[i] leads from element i to element i + 1 (the last entry is unused).
  static PELEMENT_HEADER links[size][2];

private:
  static constexpr std::size_t after(std::size_t i) { return i + 1 < size ? i + 1 : i; }
};

template <GAUGEHDR& Gauge, const auto& Table, PELEMENT_HEADER* Tail, std::size_t... I>
PELEMENT_HEADER Run<Gauge, Table, Tail, std::index_sequence<I...>>::head[2] = {&element[0].header,
                                                                               nullptr};

template <GAUGEHDR& Gauge, const auto& Table, PELEMENT_HEADER* Tail, std::size_t... I>
PELEMENT_HEADER Run<Gauge, Table, Tail, std::index_sequence<I...>>::links[size][2] = {
    {&element[after(I)].header, nullptr}...};

template <GAUGEHDR& Gauge, const auto& Table, PELEMENT_HEADER* Tail, std::size_t... I>
typename Run<Gauge, Table, Tail, std::index_sequence<I...>>::Element
    Run<Gauge, Table, Tail, std::index_sequence<I...>>::element[size] = {
        Table[I].make(&Gauge, I + 1 < size ? links[I] : Tail)...};

// Runs of day/night artwork keep the day copies of a control's positions together and the night
// copies together: the position's image is drawn in the copy the panel lighting calls for.
template <typename Element>
inline void draw_position(Element* day, Element* night, std::size_t count, std::size_t position) {
  for (std::size_t i = 0; i < count; ++i)
    draw(DayNight{&day[i].header, &night[i].header}, i == position);
}

// One copy only: the image of the position shows, the others hide.
template <typename Element>
inline void show_position(Element* images, std::size_t count, std::size_t position) {
  for (std::size_t i = 0; i < count; ++i)
    show(images[i], i == position);
}

// A lamp with two bitmaps, `alt` standing in for `normal` while `use_alt`: neither shows unlit.
template <typename Element>
inline void show_lamp(Element& normal, Element& alt, bool lit, bool use_alt) {
  show(normal, lit && !use_alt);
  show(alt, lit && use_alt);
}

} // namespace k7
