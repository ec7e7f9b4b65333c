// Resources of the native module: the generated table, searched by name without regard to case
// as the Windows resource look-up does. The module handle is not needed here.
#include "platform/resource.h"

#include "platform/posix/embedded_resources.h"

namespace {

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool same_name(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (upper(*a) != upper(*b)) return false;
  }
  return *a == *b;
}

} // namespace

bool platform_find_resource(std::uintptr_t, const char* name, const void** data,
                            std::size_t* size) {
  if (name == nullptr || data == nullptr || size == nullptr) return false;
  for (std::size_t i = 0; i < k7_embedded_resource_count; ++i) {
    const EmbeddedResource& r = k7_embedded_resources[i];
    if (same_name(r.name, name)) {
      *data = r.data;
      *size = r.size;
      return true;
    }
  }
  return false;
}
