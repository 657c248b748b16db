// Conversions from device values to integer device units that never leave
// the range of a 32-bit integer, whatever the drawing holds.
#pragma once

#include <cmath>
#include <cstdint>

namespace tolvani::display {

// Beyond this distance nothing can be seen on any device; coordinates are
// held there so that integer arithmetic on them cannot overflow.
inline constexpr double kDeviceLimit = 1.0e8;

// Conversion toward zero, held within ±kDeviceLimit; NaN gives 0.
inline int32_t Trunc(double v) {
    if (!(v == v)) return 0;
    if (v > kDeviceLimit) v = kDeviceLimit;
    if (v < -kDeviceLimit) v = -kDeviceLimit;
    return static_cast<int32_t>(v);
}

// trunc(v + 0.5): the rounding of every device value.
inline int32_t Round(double v) { return Trunc(v + 0.5); }

inline bool Finite(double v) { return std::isfinite(v); }

}  // namespace tolvani::display
