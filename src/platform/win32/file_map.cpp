#include "platform/file_map.h"

#include <windows.h>

bool platform_map_file(const char* path, MappedFile* file) {
  if (file == nullptr) return false;
  *file = MappedFile{};
  if (path == nullptr || *path == '\0') return false;
  HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER length{};
  void* view = nullptr;
  if (GetFileSizeEx(handle, &length) && length.QuadPart > 0 &&
      static_cast<unsigned long long>(length.QuadPart) <= static_cast<std::size_t>(-1)) {
    HANDLE mapping = CreateFileMappingA(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping != nullptr) {
      view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
      CloseHandle(mapping); // the view keeps the mapping alive
    }
  }
  CloseHandle(handle);
  if (view == nullptr) return false;
  file->data = view;
  file->size = static_cast<std::size_t>(length.QuadPart);
  file->view = view;
  return true;
}

void platform_unmap_file(MappedFile* file) {
  if (file == nullptr || file->view == nullptr) return;
  UnmapViewOfFile(file->view);
  *file = MappedFile{};
}
