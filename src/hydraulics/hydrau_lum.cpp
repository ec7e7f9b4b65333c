// "kestovil hydrau_lum1_k7" to "kestovil hydrau_lum5_k7": the five lit placards of the hydraulic
// panel, each one image drawn lit, without logic.
#include "module/gauge.h"

namespace {

template <GAUGEHDR& Gauge, ID Bitmap> struct Placard {
  static ELEMENT_STATIC_IMAGE image;
  static MOUSERECT mouse[3];
};
template <GAUGEHDR& Gauge, ID Bitmap>
ELEMENT_STATIC_IMAGE Placard<Gauge, Bitmap>::image =
    k7::static_image(&Gauge, Bitmap, {0, 0}, IMAGE_USE_LUMINOUS | IMAGE_USE_TRANSPARENCY, K7_END);
template <GAUGEHDR& Gauge, ID Bitmap>
MOUSERECT Placard<Gauge, Bitmap>::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

using Lum1 = Placard<gauge_hydrau_lum1, 1808>;
using Lum2 = Placard<gauge_hydrau_lum2, 1824>;
using Lum3 = Placard<gauge_hydrau_lum3, 1840>;
using Lum4 = Placard<gauge_hydrau_lum4, 1856>;
using Lum5 = Placard<gauge_hydrau_lum5, 1872>;

} // namespace

K7_GAUGE_HEADER(hydrau_lum1, Lum1::image, Lum1::mouse, nullptr);
K7_GAUGE_HEADER(hydrau_lum2, Lum2::image, Lum2::mouse, nullptr);
K7_GAUGE_HEADER(hydrau_lum3, Lum3::image, Lum3::mouse, nullptr);
K7_GAUGE_HEADER(hydrau_lum4, Lum4::image, Lum4::mouse, nullptr);
K7_GAUGE_HEADER(hydrau_lum5, Lum5::image, Lum5::mouse, nullptr);
