// Opacities and alphas held to 0..1, the range the host's conversions and blends take them in.
#pragma once

namespace Orvane {

// Above 1 is 1 and below 0 is 0; a NaN fails both comparisons and counts as 0; -0 stays -0.
template <class Value> constexpr Value heldToUnit(Value v) {
    return v > Value(1) ? Value(1) : (v >= Value(0) ? v : Value(0));
}

} // namespace Orvane
