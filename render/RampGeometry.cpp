#include "RampGeometry.h"

#include "../params/ParamIndex.h"

#include <limits>

namespace Orvane {

namespace {
constexpr double kShortestRamp = 1e-6;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon(); // 2^-52
} // namespace

RampGeometry deriveGeometry(const RampRenderParams& record, const World* input) {
    RampGeometry g;
    g.point1 = Vec2{record.point1[0], record.point1[1]};
    const Vec2 v{record.point2[0] - record.point1[0], record.point2[1] - record.point1[1]};
    const double length = std::sqrt(v.x * v.x + v.y * v.y);
    g.rampLength = length >= kShortestRamp ? length : kShortestRamp;
    if (length > kEpsilon && std::isfinite(length)) g.direction = Vec2{v.x / length, v.y / length};
    if (input) {
        const auto origin = input->origin();
        g.worldOrigin = Vec2{static_cast<double>(origin.first), static_cast<double>(origin.second)};
    }
    return g;
}

bool isRadial(A_long shape) { return shape == kShapeRadial; }
bool isLoop(A_long repeat) { return repeat == kRepeatLoop; }
bool isPingpong(A_long repeat) { return repeat == kRepeatPingpong; }

PositionFunction makePositionFunction(A_long shape, A_long repeat, const RampGeometry& g) {
    const double length = g.rampLength;
    if (isRadial(shape)) {
        const RadialDistance radial{g.point1, g.worldOrigin};
        if (isLoop(repeat)) return PositionFunction(LoopRepeat<RadialDistance>{radial, length});
        if (isPingpong(repeat)) return PositionFunction(PingpongRepeat<RadialDistance>{radial, length});
        return PositionFunction(NoRepeat<RadialDistance>{radial});
    }
    const LinearDistance linear{g.point1, g.direction, g.worldOrigin};
    if (isLoop(repeat)) return PositionFunction(LoopRepeat<LinearDistance>{linear, length});
    if (isPingpong(repeat)) return PositionFunction(PingpongRepeat<LinearDistance>{linear, length});
    return PositionFunction(NoRepeat<LinearDistance>{linear});
}

} // namespace Orvane
