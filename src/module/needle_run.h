// Needles as entries of a run (module/runs.h): the knobs and selector pointers of a control box
// written as one table of bitmaps, pivots and callbacks.
//
//   constexpr k7::NeedleEntry pointers[] = {
//       k7::needle_entry(22032, {68, 115}, {4, 4}, k7::NEEDLE_DAY, vordme_value, vordme_table)};
//   using Pointers = k7::Run<gauge_x, pointers, Drums::head>;
#pragma once

#include "module/daynight.h"
#include "module/gauge.h"

#include <cstddef>

namespace k7 {

struct NeedleEntry {
  ID bitmap;
  PIXPOINT pivot;        // gauge pixels
  PIXPOINT needle_pivot; // inside the needle bitmap
  FLAGS flags;
  PNEEDLE_UPDATE_CB callback;
  const NONLINEARITY* table; // null: the value is the angle in degrees
  UINT32 table_size;
  constexpr ELEMENT_NEEDLE make(PGAUGEHDR gauge, PELEMENT_HEADER* next) const {
    ELEMENT_NEEDLE e = needle_degrees(gauge, bitmap, pivot, needle_pivot, flags, callback, 0, next);
    e.nonlinearity_table = table;
    e.nonlinearity_table_size = table_size;
    return e;
  }
};

// A needle turned through a calibration table.
template <std::size_t N>
constexpr NeedleEntry needle_entry(ID bitmap, PIXPOINT pivot, PIXPOINT needle_pivot, FLAGS flags,
                                   PNEEDLE_UPDATE_CB callback, const NONLINEARITY (&table)[N]) {
  return {bitmap, pivot, needle_pivot, flags, callback, table, static_cast<UINT32>(N)};
}

// A needle turned by its value in degrees.
constexpr NeedleEntry needle_entry(ID bitmap, PIXPOINT pivot, PIXPOINT needle_pivot, FLAGS flags,
                                   PNEEDLE_UPDATE_CB callback) {
  return {bitmap, pivot, needle_pivot, flags, callback, nullptr, 0};
}

} // namespace k7
