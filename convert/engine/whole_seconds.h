// The range's times cross Convert as doubles and are used as whole seconds,
// truncated toward zero.
#pragma once

#include <cmath>
#include <cstdint>

// Truncates toward zero; values that are not finite or lie outside the
// signed 32-bit range are held to it instead of converting with undefined
// results.
inline int32_t WholeSeconds(double seconds) {
    if (!std::isfinite(seconds)) return 0;
    if (seconds >= 2147483647.0) return INT32_MAX;
    if (seconds <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(seconds);
}
