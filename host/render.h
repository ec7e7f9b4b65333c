// Pictures of the panel: a window drawn as the simulator draws it. Each placed gauge is scaled
// from its background bitmap to its panel.cfg width (and height, when given); its elements are
// drawn in chain order, hidden ones skipped; needles turn through their calibration tables about
// their pivots, moving images slide within their masks, sprites turn and scale, strings show
// their text. window_draw_list() computes what to draw and where (a list of bitmaps with the
// transform and clip of each); render_window() paints that list.
#pragma once

#include "host/k7host.h"

#include <cstdint>
#include <string>
#include <vector>

namespace k7host {

// An affine transform from source pixels to window pixels, as cairo orders it:
// x' = xx * x + xy * y + x0, y' = yx * x + yy * y + y0.
struct Affine {
  double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;
};
Affine operator*(const Affine& outer, const Affine& inner);
Affine translation(double x, double y);
Affine scaling(double sx, double sy);
Affine rotation(double radians);

struct DrawItem {
  enum Kind { BITMAP, TEXT } kind = BITMAP;
  std::string gauge;
  int element = 0;          // place in the gauge's chain
  ID bitmap = 0;            // BITMAP: the image drawn
  Affine transform;         // BITMAP: image pixels -> window; TEXT: gauge pixels -> window
  bool transparent = false; // pure black pixels are not drawn
  bool luminous = false;    // lit at night
  ID mask = 0;              // non-zero: drawn only where this bitmap is not black
  Affine mask_transform;
  // TEXT: the box in gauge pixels, the text and its colours (0x00BBGGRR)
  int box_x = 0, box_y = 0, box_w = 0, box_h = 0;
  std::string text;
  std::uint32_t fg = 0, bg = 0;
};

struct WindowDrawing {
  int width = 0, height = 0;    // the window in panel pixels
  std::uint32_t background = 0; // 0x00RRGGBB
  std::vector<DrawItem> items;
  std::vector<std::string> problems; // bitmaps missing from the module, unknown gauges
};

// The bitmaps of the loaded module (native build), by id; false when there is none.
struct BitmapInfo {
  int width = 0, height = 0;
};
bool module_bitmap_size(const Sim& sim, ID id, BitmapInfo& info);

// The angle (radians, growing clockwise) by which a needle's image is turned to show `value`:
// through its calibration table, the direction of the image's +x axis (0 along +x); without a
// table, its value in degrees, turning the image from the way it is drawn (pointers drawn up, as
// the HSI's, or to the right, as the RMIs').
double needle_angle(const ELEMENT_NEEDLE& needle, double value);

// What the simulator would draw for window `ident` (0: the main panel) now; night dims every
// element not drawn luminous.
WindowDrawing window_draw_list(Sim& sim, std::uint32_t ident);

// Draws the window into a PNG file. Returns false with a message in `error` when it cannot.
bool render_window(Sim& sim, std::uint32_t ident, const std::string& png_path, bool night,
                   std::string& error);

// One of the module's bitmaps as a PNG image (with `transparent`, pure black pixels are left
// clear), for a host that draws the draw list elsewhere. False when the module has no such bitmap.
bool bitmap_png(const Sim& sim, ID id, bool transparent, std::string& png);

} // namespace k7host
