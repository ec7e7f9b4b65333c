// Whole files mapped read-only into memory (the sound loader's fallback for names that are not
// resources).
#pragma once

#include <cstddef>

struct MappedFile {
  const void* data;
  std::size_t size;
  void* view; // platform bookkeeping for the unmap
};

// Opens an existing file for shared reading and maps all of it read-only. On failure nothing
// stays open and `file` is zeroed.
bool platform_map_file(const char* path, MappedFile* file);
// Unmaps a mapping made by platform_map_file; a zeroed record is ignored.
void platform_unmap_file(MappedFile* file);
