#include "platform/file_map.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool platform_map_file(const char* path, MappedFile* file) {
  if (file == nullptr) return false;
  *file = MappedFile{};
  if (path == nullptr || *path == '\0') return false;
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  void* view = MAP_FAILED;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    view = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  }
  close(fd);
  if (view == MAP_FAILED) return false;
  file->data = view;
  file->size = static_cast<std::size_t>(st.st_size);
  file->view = view;
  return true;
}

void platform_unmap_file(MappedFile* file) {
  if (file == nullptr || file->view == nullptr) return;
  munmap(file->view, file->size);
  *file = MappedFile{};
}
