// Development-only entry points of the native module (never part of the .gau): the state
// registry and, where the platform layer offers one, the stand-in sound device's record.
#pragma once

#if defined(K7_DEV_BUILD)
#define K7_DEV_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define K7_DEV_EXPORT extern "C"
#endif
