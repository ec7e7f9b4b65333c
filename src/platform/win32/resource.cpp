#include "platform/resource.h"

#include <windows.h>

bool platform_find_resource(std::uintptr_t module_handle, const char* name, const void** data,
                            std::size_t* size) {
  if (name == nullptr || data == nullptr || size == nullptr) return false;
  HMODULE module = reinterpret_cast<HMODULE>(module_handle);
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
  if (found == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return false;
  *data = bytes;
  *size = SizeofResource(module, found);
  return true;
}
