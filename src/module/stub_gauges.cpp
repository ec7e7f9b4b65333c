// Gauges whose subsystem is not built yet: the background image and nothing else, so that every
// name the panel configuration uses resolves and draws.
#include "module/gauge.h"

namespace {

// Unused once every gauge with a callback is built.
[[maybe_unused]] void FSAPI stub_callback(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

template <GAUGEHDR& Gauge, int Index> struct StubGauge {
  static ELEMENT_STATIC_IMAGE background;
  static MOUSERECT mouse[3];
};
template <GAUGEHDR& Gauge, int Index>
ELEMENT_STATIC_IMAGE StubGauge<Gauge, Index>::background =
    k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, IMAGE_USE_TRANSPARENCY, K7_END);
template <GAUGEHDR& Gauge, int Index>
MOUSERECT StubGauge<Gauge, Index>::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

} // namespace

#define K7_STUB_K7_BUILT(index, ident, callback)
#define K7_STUB_K7_STUB(index, ident, callback)                                                    \
  using stub_##ident = StubGauge<gauge_##ident, index>;                                            \
  K7_GAUGE_HEADER_UNCHECKED(ident, stub_##ident::background, stub_##ident::mouse,                  \
                            (callback ? stub_callback : nullptr));
#define K7_GAUGE(index, ident, name, size_mm, callback, state)                                     \
  K7_STUB_##state(index, ident, callback)
#include "module/catalogue.def"
#undef K7_GAUGE
