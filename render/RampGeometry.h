// The ramp's geometry and the position function: a pixel's ramp position t, in pixels from Point 1 along
// the ramp ("Linear") or around Point 1 ("Radial"), after the repeat mode.
#pragma once

#include "RampRenderParams.h"

#include "../framework/World.h"

#include <cmath>
#include <variant>

namespace Orvane {

struct Vec2 {
    double x, y;
};

struct RampGeometry {
    Vec2 point1{0, 0};
    Vec2 direction{0, 0};   // unit vector from Point 1 to Point 2, (0, 0) when they coincide
    Vec2 worldOrigin{0, 0}; // the input world's origin
    double rampLength = 1e-6; // from Point 1 to Point 2, never below 1e-6
};

// From the record's points and the input world (null: origin 0, 0). A length that is not a number counts
// as the shortest ramp, and a direction that is not finite as none.
RampGeometry deriveGeometry(const RampRenderParams& record, const World* input);

struct LinearDistance {
    Vec2 point1, direction, origin;
    double operator()(int x, int y) const {
        const double dx = (static_cast<double>(x) + origin.x) - point1.x;
        const double dy = (static_cast<double>(y) + origin.y) - point1.y;
        return dx * direction.x + dy * direction.y;
    }
};

struct RadialDistance {
    Vec2 point1, origin;
    double operator()(int x, int y) const {
        const double dx = (static_cast<double>(x) + origin.x) - point1.x;
        const double dy = (static_cast<double>(y) + origin.y) - point1.y;
        return std::sqrt(dx * dx + dy * dy);
    }
};

// std::fmod(s, period), to the bit, without its cost where it can be avoided. fmod's remainder is exact, and
// for s in (-period, 2 * period) it is s itself or s - period, which is exact there too (period <= s < 2 *
// period: the difference of two doubles within a factor of two of each other); most pixels of a ramp fall
// there. Anything else (far repeats, infinities, NaN) goes to fmod.
inline double periodRemainder(double s, double period) {
    if (s >= 0 && s < period) return s; // -0 stays -0, as fmod keeps it
    if (s >= period && s < 2 * period) return s - period;
    if (s < 0 && s > -period) return s;
    return std::fmod(s, period);
}

template <class Distance> struct NoRepeat {
    Distance distance;
    double operator()(int x, int y) const { return distance(x, y); }
};

// [0, L): the ramp starts again after each length.
template <class Distance> struct LoopRepeat {
    Distance distance;
    double length;
    double operator()(int x, int y) const {
        double r = periodRemainder(distance(x, y), length);
        if (0 > r) r = r + length;
        return r;
    }
};

// [0, L]: forward over one length, backward over the next.
template <class Distance> struct PingpongRepeat {
    Distance distance;
    double length;
    double operator()(int x, int y) const {
        const double period = 2 * length;
        double r = periodRemainder(distance(x, y), period);
        if (0 > r) r = r + period;
        return length > r ? r : period - r;
    }
};

// One of the six (shape, repeat) variants, held as its concrete type so that callers can inline it.
class PositionFunction {
public:
    using Variant = std::variant<NoRepeat<LinearDistance>, LoopRepeat<LinearDistance>, PingpongRepeat<LinearDistance>,
                                 NoRepeat<RadialDistance>, LoopRepeat<RadialDistance>, PingpongRepeat<RadialDistance>>;

    explicit PositionFunction(Variant variant) : variant(std::move(variant)) {}

    double operator()(int x, int y) const {
        return std::visit([x, y](const auto& position) { return position(x, y); }, variant);
    }
    const Variant& get() const { return variant; }

private:
    Variant variant;
};

// A shape other than Radial (2) is drawn Linear and a repeat other than Loop (2) or Pingpong (3) as None,
// the popups' first choices: a damaged project still renders.
bool isRadial(A_long shape);
bool isLoop(A_long repeat);
bool isPingpong(A_long repeat);

PositionFunction makePositionFunction(A_long shape, A_long repeat, const RampGeometry& geometry);

} // namespace Orvane
