// The module's resources compiled into the native build (generated from resources/ by the build).
#pragma once

#include <cstddef>

struct EmbeddedResource {
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

extern const EmbeddedResource k7_embedded_resources[];
extern const std::size_t k7_embedded_resource_count;
