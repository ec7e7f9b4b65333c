// What the hydraulic gauges read from the simulator and send to it.
#pragma once

#include "module/services.h"
#include "module/types.h"

namespace hyd {

// Tokens.
constexpr ENUM TOKEN_TICK = 0x001;
constexpr ENUM TOKEN_ON_GROUND = 0x03C;   // 1.0 on the ground
constexpr ENUM TOKEN_AIRSPEED = 0x03D;    // indicated airspeed, knots
constexpr ENUM TOKEN_BRAKE_LEFT = 0x140;  // 0 .. 16384 and beyond
constexpr ENUM TOKEN_BRAKE_RIGHT = 0x141; //
constexpr ENUM TOKEN_PARK_BRAKE = 0x143;  // 0 off
constexpr ENUM TOKEN_SPOILERS = 0x146;    //
constexpr ENUM TOKEN_FLAP_HANDLE = 0x148; // 0 .. 16384
constexpr ENUM TOKEN_GEAR = 0x14D;        // 0 up .. 16383 down
constexpr ENUM TOKEN_ENG1_N2 = 0x271;     // percent
constexpr ENUM TOKEN_ENG2_N2 = 0x284;     // percent
constexpr ENUM TOKEN_FLAP_ANGLE = 0x38B;  // degrees

// Key events.
constexpr u32 KEY_FLAPS_UP = 0x1003B;
constexpr u32 KEY_FLAPS_DOWN = 0x10043;
constexpr u32 KEY_GEAR_DOWN = 0x10220;

} // namespace hyd
