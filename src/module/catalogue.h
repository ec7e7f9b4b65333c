// The gauge catalogue: names, sizes and callback presence of the 224 gauges in table order, and
// the gauge headers that the table points to.
#pragma once

#include "module/panel_abi.h"
#include "module/types.h"

#define K7_CB    true
#define K7_NO_CB false

struct CatalogueEntry {
  const char* name;
  u32 size_mm;
  bool has_callback;
};

inline constexpr CatalogueEntry catalogue[K7_GAUGE_COUNT] = {
#define K7_GAUGE(index, ident, name, size_mm, callback, state) {name, size_mm, callback},
#include "module/catalogue.def"
#undef K7_GAUGE
};

enum GaugeIndex : int {
#define K7_GAUGE(index, ident, name, size_mm, callback, state) GAUGE_INDEX_##ident = index,
#include "module/catalogue.def"
#undef K7_GAUGE
};

#define K7_GAUGE(index, ident, name, size_mm, callback, state) extern GAUGEHDR gauge_##ident;
#include "module/catalogue.def"
#undef K7_GAUGE
