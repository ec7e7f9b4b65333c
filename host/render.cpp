// Pictures of the panel: the draw list of a window and its painting with cairo.
#include "host/render.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

namespace k7host {

Affine operator*(const Affine& a, const Affine& b) {
  Affine r;
  r.xx = a.xx * b.xx + a.xy * b.yx;
  r.yx = a.yx * b.xx + a.yy * b.yx;
  r.xy = a.xx * b.xy + a.xy * b.yy;
  r.yy = a.yx * b.xy + a.yy * b.yy;
  r.x0 = a.xx * b.x0 + a.xy * b.y0 + a.x0;
  r.y0 = a.yx * b.x0 + a.yy * b.y0 + a.y0;
  return r;
}
Affine translation(double x, double y) {
  Affine r;
  r.x0 = x;
  r.y0 = y;
  return r;
}
Affine scaling(double sx, double sy) {
  Affine r;
  r.xx = sx;
  r.yy = sy;
  return r;
}
Affine rotation(double a) {
  Affine r;
  r.xx = std::cos(a);
  r.yx = std::sin(a);
  r.xy = -std::sin(a);
  r.yy = std::cos(a);
  return r;
}

namespace {

constexpr double kPi = 3.14159265358979323846;

using BitmapLookup = bool (*)(int, const unsigned char**, std::size_t*);

std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// A device-independent bitmap as a BITMAP resource holds it: an info header, an 8-bit palette or
// none (24-bit), bottom-up rows padded to 4 bytes, no compression.
struct Dib {
  int width = 0, height = 0, bits = 0;
  const unsigned char* palette = nullptr; // BGRx entries
  const unsigned char* pixels = nullptr;
  std::size_t stride = 0;
};

bool read_dib(const unsigned char* data, std::size_t size, Dib& d) {
  if (data == nullptr || size < 40) return false;
  const std::uint32_t header = le32(data);
  if (header < 40 || header > size) return false;
  const auto w = static_cast<std::int32_t>(le32(data + 4));
  const auto h = static_cast<std::int32_t>(le32(data + 8));
  d.bits = le16(data + 14);
  const std::uint32_t compression = le32(data + 16);
  std::uint32_t colours = le32(data + 32);
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192 || compression != 0) return false;
  if (d.bits != 8 && d.bits != 24) return false;
  if (d.bits == 8 && colours == 0) colours = 256;
  if (d.bits == 24) colours = 0;
  if (colours > 256) return false;
  d.width = w;
  d.height = h;
  d.palette = data + header;
  d.stride = ((static_cast<std::size_t>(w) * static_cast<std::size_t>(d.bits) + 31) / 32) * 4;
  const std::size_t offset = header + 4u * colours;
  if (offset + d.stride * static_cast<std::size_t>(h) > size) return false;
  d.pixels = data + offset;
  return true;
}

BitmapLookup lookup_of(const Sim& sim) {
  return reinterpret_cast<BitmapLookup>(sim.module_symbol("k7_dev_bitmap"));
}

bool find_dib(const Sim& sim, ID id, Dib& d) {
  BitmapLookup lookup = lookup_of(sim);
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  return lookup != nullptr && lookup(static_cast<int>(id), &data, &size) && read_dib(data, size, d);
}

const ELEMENT_HEADER* next_of(const ELEMENT_HEADER* e) {
  return e->next_element != nullptr ? e->next_element[0] : nullptr;
}

// The fraction of value along min..max, kept within 0..1.
double fraction(double value, double lo, double hi) {
  if (!(hi != lo) || !std::isfinite(value)) return 0.0;
  return std::clamp((value - lo) / (hi - lo), 0.0, 1.0);
}

double finite_or_zero(double v) {
  return std::isfinite(v) ? v : 0.0;
}

} // namespace

bool module_bitmap_size(const Sim& sim, ID id, BitmapInfo& info) {
  Dib d;
  if (!find_dib(sim, id, d)) return false;
  info.width = d.width;
  info.height = d.height;
  return true;
}

double needle_angle(const ELEMENT_NEEDLE& needle, double value) {
  value = finite_or_zero(value);
  const NONLINEARITY* table = needle.nonlinearity_table;
  const UINT32 n = needle.nonlinearity_table_size;
  // Without a table the image turns by the value in degrees, clockwise from the way it is drawn.
  if (table == nullptr || n == 0) return value * kPi / 180.0;
  const PIXPOINT pivot = needle.header.position;
  auto angle_of = [&](UINT32 i) {
    return std::atan2(static_cast<double>(table[i].pt.y - pivot.y),
                      static_cast<double>(table[i].pt.x - pivot.x));
  };
  if (n == 1) return angle_of(0);
  // Tables run up or down in value; outside them the needle rests on the end point.
  const bool rising = table[n - 1].value >= table[0].value;
  auto before = [&](double a, double b) { return rising ? a <= b : a >= b; };
  if (before(value, table[0].value)) return angle_of(0);
  for (UINT32 i = 0; i + 1 < n; ++i) {
    if (before(value, table[i + 1].value)) {
      const double span = table[i + 1].value - table[i].value;
      const double t = span != 0.0 ? (value - table[i].value) / span : 0.0;
      double step = angle_of(i + 1) - angle_of(i);
      while (step > kPi)
        step -= 2 * kPi;
      while (step <= -kPi)
        step += 2 * kPi;
      return angle_of(i) + t * step;
    }
  }
  return angle_of(n - 1);
}

WindowDrawing window_draw_list(Sim& sim, std::uint32_t ident) {
  WindowDrawing out;
  const PanelWindow* window = nullptr;
  for (const PanelWindow& w : sim.panel().windows)
    if (ident == 0 ? w.main_panel : (!w.main_panel && w.ident == ident)) window = &w;
  if (window == nullptr) {
    out.problems.push_back("no window " + std::to_string(ident) + " in the panel configuration");
    return out;
  }
  out.width = window->size_x;
  out.height = window->size_y;
  out.background = window->background_color;
  sim.ask_window_elements(ident);

  for (const PanelGauge& placed : window->gauges) {
    GAUGEHDR* h = sim.header(placed.name);
    if (h == nullptr || h->elements_list == nullptr || *h->elements_list == nullptr) {
      out.problems.push_back("no gauge " + placed.name);
      continue;
    }
    const ELEMENT_HEADER* root = *h->elements_list;
    BitmapInfo face;
    if (!module_bitmap_size(sim, root->resource_id, face)) {
      out.problems.push_back(placed.name + ": no bitmap " + std::to_string(root->resource_id));
      continue;
    }
    // The gauge keeps its artwork's aspect unless the panel gives its height too.
    const double sx = placed.w > 0 ? static_cast<double>(placed.w) / face.width : 1.0;
    const double sy = placed.h > 0 ? static_cast<double>(placed.h) / face.height : sx;
    const Affine gauge = translation(placed.x, placed.y) * scaling(sx, sy);
    if (window->size_x == 0) {
      out.width = std::max(out.width, placed.x + static_cast<int>(std::ceil(face.width * sx)));
      out.height = std::max(out.height, placed.y + static_cast<int>(std::ceil(face.height * sy)));
    }

    int n = 0;
    for (const ELEMENT_HEADER* e = root; e != nullptr && n < 4096; e = next_of(e), ++n) {
      if ((e->image_flags & IMAGE_HIDDEN) != 0) continue;
      const auto view = sim.element(placed.name, n);
      const double v = view ? finite_or_zero(view->value) : 0.0;
      const double vy = view ? finite_or_zero(view->value_y) : 0.0;
      const double vr = view ? finite_or_zero(view->value_r) : 0.0;
      DrawItem item;
      item.gauge = placed.name;
      item.element = n;
      item.bitmap = e->resource_id;
      item.transparent = (e->image_flags & IMAGE_USE_TRANSPARENCY) != 0;
      item.luminous = (e->image_flags & (IMAGE_USE_LUMINOUS | 0x8000)) != 0;
      const Affine at = gauge * translation(e->position.x, e->position.y);
      item.transform = at;
      switch (e->element_type) {
      case ELEMENT_TYPE_STATIC_IMAGE: break;
      case ELEMENT_TYPE_ICON: {
        const auto* icon = reinterpret_cast<const ELEMENT_ICON*>(e);
        const double image = std::floor(v + 1e-9);
        if (!(image >= 0 && image < std::max<SINT32>(icon->num_icons, 1))) continue;
        item.bitmap = e->resource_id + static_cast<ID>(image);
        break;
      }
      case ELEMENT_TYPE_NEEDLE: {
        const auto* needle = reinterpret_cast<const ELEMENT_NEEDLE*>(e);
        item.transform =
            at * rotation(needle_angle(*needle, v)) * translation(-e->ofs.x, -e->ofs.y);
        break;
      }
      case ELEMENT_TYPE_MOVING_IMAGE: {
        // The image slides behind its mask (id + 1, fixed at the element's place): at min the
        // image's top-left shows, at max its bottom-right.
        const auto* m = reinterpret_cast<const ELEMENT_MOVING_IMAGE*>(e);
        BitmapInfo image, window_mask;
        item.mask = e->resource_id + 1;
        if (!module_bitmap_size(sim, item.bitmap, image) ||
            !module_bitmap_size(sim, item.mask, window_mask)) {
          out.problems.push_back(placed.name + ": moving image " + std::to_string(n) +
                                 " without its bitmap or mask");
          continue;
        }
        const double dx = fraction(v, m->min_x, m->max_x) * (image.width - window_mask.width);
        const double dy = fraction(vy, m->min_y, m->max_y) * (image.height - window_mask.height);
        item.transform = at * translation(-dx, -dy);
        item.mask_transform = at;
        break;
      }
      case ELEMENT_TYPE_SPRITE: {
        // The texture's middle sits on the background point ofs and turns about it, by degrees,
        // counter-clockwise for positive values (a compass card turned by the heading brings
        // that heading to the top); the shifts move it along its own turned axes. Only what
        // lies under the mask (id + 1, fixed at the element's place) shows.
        const auto* s = reinterpret_cast<const ELEMENT_SPRITE*>(e);
        BitmapInfo texture, window_mask;
        item.mask = e->resource_id + 1;
        if (!module_bitmap_size(sim, item.bitmap, texture) ||
            !module_bitmap_size(sim, item.mask, window_mask)) {
          out.problems.push_back(placed.name + ": sprite " + std::to_string(n) +
                                 " without its texture or mask");
          continue;
        }
        const double turn = -finite_or_zero(vr * s->scale_0) * kPi / 180.0;
        // The texture scale is texture pixels per panel pixel: below 1 magnifies (a sphere).
        const double scale = s->texture_scale_x > 0 ? 1.0 / s->texture_scale_x : 1.0;
        item.transform =
            gauge * translation(e->ofs.x, e->ofs.y) * rotation(turn) *
            translation(v * finite_or_zero(s->scale_x), vy * finite_or_zero(s->scale_y)) *
            scaling(scale, scale) * translation(-texture.width / 2.0, -texture.height / 2.0);
        item.mask_transform = at;
        break;
      }
      case ELEMENT_TYPE_SLIDER: {
        const auto* s = reinterpret_cast<const ELEMENT_SLIDER*>(e);
        item.transform =
            at * translation(v * finite_or_zero(s->scale_x), vy * finite_or_zero(s->scale_y));
        break;
      }
      case ELEMENT_TYPE_STRING: {
        const auto* s = reinterpret_cast<const ELEMENT_STRING*>(e);
        item.kind = DrawItem::TEXT;
        item.bitmap = 0;
        item.transform = gauge;
        item.box_x = e->position.x;
        item.box_y = e->position.y;
        item.box_w = s->img_size.x;
        item.box_h = s->img_size.y;
        item.text = view ? view->text : std::string();
        item.fg = s->fg_color;
        item.bg = s->bg_color;
        break;
      }
      default: continue;
      }
      out.items.push_back(item);
    }
  }
  return out;
}

namespace {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// A bitmap as a cairo image; with transparency, pure black is left out.
Surface surface_of(const Dib& d, bool transparent) {
  Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, d.width, d.height));
  unsigned char* out = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  for (int y = 0; y < d.height; ++y) {
    const unsigned char* row = d.pixels + d.stride * static_cast<std::size_t>(d.height - 1 - y);
    auto* dst = reinterpret_cast<std::uint32_t*>(out + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < d.width; ++x) {
      const unsigned char* bgr =
          d.bits == 8 ? d.palette + 4u * row[x] : row + 3 * static_cast<std::size_t>(x);
      const std::uint32_t rgb = static_cast<std::uint32_t>(bgr[2]) << 16 |
                                static_cast<std::uint32_t>(bgr[1]) << 8 | bgr[0];
      dst[x] = (transparent && rgb == 0) ? 0u : (0xFF000000u | rgb);
    }
  }
  cairo_surface_mark_dirty(s.get());
  return s;
}

cairo_matrix_t matrix_of(const Affine& a) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, a.xx, a.yx, a.xy, a.yy, a.x0, a.y0);
  return m;
}

void set_rgb(cairo_t* cr, std::uint32_t colorref, double dim) {
  cairo_set_source_rgb(cr, dim * (colorref & 0xFF) / 255.0, dim * ((colorref >> 8) & 0xFF) / 255.0,
                       dim * ((colorref >> 16) & 0xFF) / 255.0);
}

} // namespace

bool render_window(Sim& sim, std::uint32_t ident, const std::string& png_path, bool night,
                   std::string& error) {
  const WindowDrawing drawing = window_draw_list(sim, ident);
  if (drawing.width <= 0 || drawing.height <= 0) {
    error = drawing.problems.empty() ? "nothing to draw" : drawing.problems.front();
    return false;
  }
  if (lookup_of(sim) == nullptr) {
    error = "the module carries no bitmaps (k7_dev_bitmap)";
    return false;
  }
  Surface target(cairo_image_surface_create(CAIRO_FORMAT_RGB24, drawing.width, drawing.height));
  cairo_t* cr = cairo_create(target.get());
  const std::uint32_t bg = drawing.background;
  cairo_set_source_rgb(cr, ((bg >> 16) & 0xFF) / 255.0, ((bg >> 8) & 0xFF) / 255.0,
                       (bg & 0xFF) / 255.0);
  cairo_paint(cr);

  std::map<std::pair<ID, bool>, Surface> cache;
  auto image = [&](ID id, bool transparent) -> cairo_surface_t* {
    auto key = std::make_pair(id, transparent);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second.get();
    Dib d;
    Surface s = find_dib(sim, id, d) ? surface_of(d, transparent) : Surface();
    return cache.emplace(key, std::move(s)).first->second.get();
  };
  // At night the cockpit is dark: only luminous artwork keeps its light.
  const double unlit = night ? 0.3 : 1.0;

  for (const DrawItem& item : drawing.items) {
    const double dim = item.luminous ? 1.0 : unlit;
    cairo_save(cr);
    if (item.kind == DrawItem::TEXT) {
      cairo_matrix_t m = matrix_of(item.transform);
      cairo_transform(cr, &m);
      set_rgb(cr, item.bg, dim);
      cairo_rectangle(cr, item.box_x, item.box_y, item.box_w, item.box_h);
      cairo_fill(cr);
      set_rgb(cr, item.fg, dim);
      cairo_select_font_face(cr, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL,
                             CAIRO_FONT_WEIGHT_BOLD);
      cairo_set_font_size(cr, item.box_h * 0.8);
      cairo_move_to(cr, item.box_x + 1, item.box_y + item.box_h * 0.8);
      cairo_show_text(cr, item.text.c_str());
      cairo_restore(cr);
      continue;
    }
    cairo_surface_t* src = image(item.bitmap, item.transparent);
    if (src == nullptr) {
      cairo_restore(cr);
      continue;
    }
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(src);
    cairo_matrix_t m = matrix_of(item.transform);
    cairo_matrix_invert(&m); // a pattern maps user space to the image
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_set_source(cr, pattern);
    if (item.mask != 0) {
      cairo_surface_t* mask = image(item.mask, true);
      if (mask != nullptr) {
        cairo_pattern_t* mp = cairo_pattern_create_for_surface(mask);
        cairo_matrix_t mm = matrix_of(item.mask_transform);
        cairo_matrix_invert(&mm);
        cairo_pattern_set_matrix(mp, &mm);
        cairo_mask(cr, mp);
        cairo_pattern_destroy(mp);
      }
    } else {
      cairo_paint(cr);
    }
    cairo_pattern_destroy(pattern);
    if (dim < 1.0) { // darken what was just drawn, within the same shape
      cairo_surface_t* shape = item.mask != 0 ? image(item.mask, true) : src;
      cairo_pattern_t* sp = cairo_pattern_create_for_surface(shape);
      cairo_matrix_t sm = matrix_of(item.mask != 0 ? item.mask_transform : item.transform);
      cairo_matrix_invert(&sm);
      cairo_pattern_set_matrix(sp, &sm);
      cairo_set_source_rgba(cr, 0, 0, 0, 1.0 - dim);
      cairo_mask(cr, sp);
      cairo_pattern_destroy(sp);
    }
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  cairo_surface_flush(target.get());
  if (cairo_surface_write_to_png(target.get(), png_path.c_str()) != CAIRO_STATUS_SUCCESS) {
    error = "cannot write " + png_path;
    return false;
  }
  return true;
}

bool bitmap_png(const Sim& sim, ID id, bool transparent, std::string& png) {
  Dib d;
  if (!find_dib(sim, id, d)) return false;
  Surface s = surface_of(d, transparent);
  png.clear();
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  return cairo_surface_write_to_png_stream(s.get(), append, &png) == CAIRO_STATUS_SUCCESS;
}

} // namespace k7host
