// Doubles from the host to the floats the ramp is stored in. A double beyond the float range becomes an
// infinity of its sign instead of an undefined conversion; a NaN stays a NaN.
#pragma once

#include <limits>

namespace Orvane {

inline float toFloat(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax) return std::numeric_limits<float>::infinity();
    if (value < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace Orvane
