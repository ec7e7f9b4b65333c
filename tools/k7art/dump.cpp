// k7art-records: loads a build of the module through the simulator stand-in (without installing
// anything) and prints, as JSON, every gauge's element chain and click areas: what the artwork
// generator draws from.
//   k7art-records --module libk7gauges-bare.so > records.json
#include "host/k7host.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string quoted(const char* s) {
  std::string out = "\"";
  for (; s != nullptr && *s != '\0'; ++s) {
    const unsigned char c = static_cast<unsigned char>(*s);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string number(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

const char* kind_name(ENUM type) {
  switch (type) {
  case ELEMENT_TYPE_STATIC_IMAGE: return "static";
  case ELEMENT_TYPE_NEEDLE: return "needle";
  case ELEMENT_TYPE_STRING: return "string";
  case ELEMENT_TYPE_SLIDER: return "slider";
  case ELEMENT_TYPE_ICON: return "icon";
  case ELEMENT_TYPE_MOVING_IMAGE: return "moving";
  case ELEMENT_TYPE_SPRITE: return "sprite";
  default: return "unknown";
  }
}

void print_element(const ELEMENT_HEADER* e, int n) {
  std::printf("{\"n\":%d,\"kind\":\"%s\",\"id\":%d,\"x\":%d,\"y\":%d,\"ofs\":[%d,%d],\"flags\":%u",
              n, kind_name(e->element_type), static_cast<int>(e->resource_id), e->position.x,
              e->position.y, e->ofs.x, e->ofs.y, static_cast<unsigned>(e->image_flags));
  switch (e->element_type) {
  case ELEMENT_TYPE_ICON: {
    const auto* icon = reinterpret_cast<const ELEMENT_ICON*>(e);
    std::printf(",\"images\":%d", static_cast<int>(icon->num_icons));
    break;
  }
  case ELEMENT_TYPE_NEEDLE: {
    const auto* needle = reinterpret_cast<const ELEMENT_NEEDLE*>(e);
    std::printf(",\"table_size\":%u,\"table_null\":%s,\"table\":[",
                static_cast<unsigned>(needle->nonlinearity_table_size),
                needle->nonlinearity_table == nullptr ? "true" : "false");
    if (needle->nonlinearity_table != nullptr)
      for (UINT32 i = 0; i < needle->nonlinearity_table_size && i < 256; ++i) {
        const NONLINEARITY& p = needle->nonlinearity_table[i];
        std::printf("%s[%d,%d,%s]", i > 0 ? "," : "", p.pt.x, p.pt.y, number(p.value).c_str());
      }
    std::printf("]");
    break;
  }
  case ELEMENT_TYPE_MOVING_IMAGE: {
    const auto* m = reinterpret_cast<const ELEMENT_MOVING_IMAGE*>(e);
    std::printf(",\"range_x\":[%s,%s],\"range_y\":[%s,%s]", number(m->min_x).c_str(),
                number(m->max_x).c_str(), number(m->min_y).c_str(), number(m->max_y).c_str());
    break;
  }
  case ELEMENT_TYPE_SPRITE: {
    const auto* s = reinterpret_cast<const ELEMENT_SPRITE*>(e);
    std::printf(",\"texture_scale\":%s", number(s->texture_scale_x).c_str());
    break;
  }
  case ELEMENT_TYPE_STRING: {
    const auto* s = reinterpret_cast<const ELEMENT_STRING*>(e);
    std::printf(",\"size\":[%d,%d],\"fg\":%u,\"bg\":%u", s->img_size.x, s->img_size.y, s->fg_color,
                s->bg_color);
    break;
  }
  default: break;
  }
  std::printf("}");
}

} // namespace

int main(int argc, char** argv) {
  k7host::Options options;
  options.install = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc) {
      options.module_path = argv[++i];
    } else {
      std::fprintf(stderr, "usage: k7art-records [--module PATH]\n");
      return 2;
    }
  }
  try {
    k7host::Sim sim(options);
    std::printf("{\"gauges\":[\n");
    bool first_gauge = true;
    for (const k7host::GaugeInfo& g : sim.gauges()) {
      const GAUGEHDR* h = sim.header(g.name);
      std::printf("%s{\"index\":%d,\"name\":%s,\"size_mm\":%u,\"elements\":[",
                  first_gauge ? "" : ",\n", g.table_index, quoted(g.name.c_str()).c_str(),
                  g.size_mm);
      first_gauge = false;
      const ELEMENT_HEADER* e = h->elements_list != nullptr ? *h->elements_list : nullptr;
      for (int n = 0; e != nullptr && n < 4096; ++n) {
        if (n > 0) std::printf(",");
        print_element(e, n);
        e = e->next_element != nullptr ? e->next_element[0] : nullptr;
      }
      std::printf("],\"mouse\":[");
      bool first_area = true;
      if (h->mouse_rect != nullptr)
        for (const MOUSERECT* r = h->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r) {
          if (r->rect_type != MOUSE_RECT_CHILD) continue;
          const PIXBOX& b = r->relative_box;
          std::printf("%s[%d,%d,%d,%d]", first_area ? "" : ",", b.x, b.y, b.size_x, b.size_y);
          first_area = false;
        }
      std::printf("]}");
    }
    std::printf("\n]}\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "k7art-records: %s\n", e.what());
    return 1;
  }
  return 0;
}
