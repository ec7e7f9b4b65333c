// Read-only resources of the module, found by name: RCDATA resources of the .gau on Windows,
// the table compiled into the native module elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>

// Looks up the RCDATA resource `name` in the module `module_handle`. On success `data` and
// `size` describe the resource's bytes, valid for the life of the module.
bool platform_find_resource(std::uintptr_t module_handle, const char* name, const void** data,
                            std::size_t* size);
