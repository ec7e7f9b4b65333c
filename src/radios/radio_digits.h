// What the radio boxes' drums show: the digits of a frequency or a code as the simulator gives it.
// The simulator's values are not trusted: whatever arrives, every digit fits its drum.
#pragma once

#include "module/types.h"

#include <cmath>

namespace k7 {

// The four 4-bit digits of a packed value (frequencies, the transponder code), first digit first.
// Only a finite value in 0..0xFFFF is taken (anything else reads as 0); each digit is held to
// 0..top (9 for decimal frequencies, 7 for the octal transponder code).
inline void packed_digits(double value, u8 (&digits)[4], u8 top) {
  const u32 packed = (value >= 0.0 && value <= 65535.0) ? static_cast<u32>(value) : 0u;
  for (int i = 0; i < 4; ++i) {
    const u8 digit = static_cast<u8>((packed >> (12 - 4 * i)) & 0xF);
    digits[i] = digit > top ? top : digit;
  }
}

// The five drums of an ADF frequency in kilohertz: thousands (0 or 1), hundreds, tens, units and
// tenths. The frequency is taken to the nearest tenth (1020.49999 shows 1020.5) and held to
// 0..1999.9; a value that is not finite shows 0.
inline void adf_digits(double khz, u8 (&digits)[5]) {
  const double f = std::isfinite(khz) ? khz : 0.0;
  const double tenths_raw = std::round((f < 0.0 ? 0.0 : (f > 1999.9 ? 1999.9 : f)) * 10.0);
  const u32 tenths = static_cast<u32>(tenths_raw);
  digits[0] = static_cast<u8>(tenths / 10000);
  digits[1] = static_cast<u8>(tenths / 1000 % 10);
  digits[2] = static_cast<u8>(tenths / 100 % 10);
  digits[3] = static_cast<u8>(tenths / 10 % 10);
  digits[4] = static_cast<u8>(tenths % 10);
}

} // namespace k7
