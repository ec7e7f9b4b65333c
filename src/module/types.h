// Basic value types of the aircraft state and safe conversions from simulator values.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

typedef std::uint8_t u8;
typedef std::int8_t i8;
typedef std::uint16_t u16;
typedef std::int16_t i16;
typedef std::uint32_t u32;
typedef std::int32_t i32;
typedef std::int64_t i64;
typedef double f64;

namespace k7 {

// Simulator values arrive as doubles and may be NaN or far out of range; converting such a value
// to an integer directly is undefined. These clamp into the target type, NaN giving 0.
template <typename T> constexpr T sat_cast(double v) {
  if (!(v == v)) return T{0};
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::lowest());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (v <= lo) return std::numeric_limits<T>::lowest();
  if (v >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(v);
}

// NaN reads as the given fallback; everything else passes unchanged.
constexpr double finite_or(double v, double fallback) {
  return (v == v && v != std::numeric_limits<double>::infinity() &&
          v != -std::numeric_limits<double>::infinity())
             ? v
             : fallback;
}

template <typename T> constexpr T clamp(T v, T lo, T hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace k7
