#include "SegmentValue.h"

#include "BezierPath.h"
#include "EaseCurve.h"

namespace OrvaneHost {

namespace {

bool isLinear(const KeyframeSide& side) { return side.interpolation == Interpolation::Linear; }

bool isHeld(PF_ParamType type, const Keyframe& from, const Keyframe& to) {
    return type == PF_Param_POPUP || from.out.interpolation == Interpolation::Hold ||
           to.in.interpolation == Interpolation::Hold;
}

// A side's pull on the (time, value) curve: over what share of the segment's duration it reaches, and how
// far from its keyframe's value its handle lies (towards the other keyframe for a positive speed). A linear
// side has the segment's average speed over a third of it, so two linear sides make a straight line.
double influenceOf(const KeyframeSide& side) {
    return side.interpolation == Interpolation::Bezier ? side.ease.influence : kLinearInfluence;
}

double riseOf(const KeyframeSide& side, double change, double seconds, double speedScale) {
    if (side.interpolation != Interpolation::Bezier) return change * kLinearInfluence;
    return side.ease.speed * speedScale * side.ease.influence * seconds;
}

// The parameter of the segment's curve at `share`: the influences are the sides' own, so every channel
// shares the one time curve.
double curveParameter(const Keyframe& from, const Keyframe& to, double share) {
    return easedParameter(share, influenceOf(from.out), influenceOf(to.in));
}

// A colour's speed is given in levels 0-255 per second; its stream holds each channel in 0..1.
double speedScaleOf(PF_ParamType type) { return type == PF_Param_COLOR ? 1.0 / 255.0 : 1.0; }

// Every channel of a colour; the one value of every other non-point control.
std::size_t channelsOf(PF_ParamType type) { return type == PF_Param_COLOR ? 4 : 1; }

StreamValue easedChannels(PF_ParamType type, const Keyframe& from, const Keyframe& to, double share, double seconds) {
    const double speedScale = speedScaleOf(type);
    const double s = curveParameter(from, to, share);
    StreamValue out{0, 0, 0, 0};
    for (std::size_t c = 0; c < channelsOf(type); ++c) {
        const double va = from.value[c], vb = to.value[c];
        const double leaving = riseOf(from.out, vb - va, seconds, speedScale);
        const double arriving = riseOf(to.in, vb - va, seconds, speedScale);
        out[c] = cubicBezier(va, va + leaving, vb - arriving, vb, s);
    }
    return out;
}

PathPoint plus(PathPoint p, const Tangent& t) { return {p.x + t.dx, p.y + t.dy}; }

// The path from `from` to `to`: curved by their tangents, or straight (its handles at a third and two
// thirds, so that its parameter runs at constant speed).
BezierPath pathBetween(const Keyframe& from, const Keyframe& to) {
    const PathPoint a{from.value[0], from.value[1]}, b{to.value[0], to.value[1]};
    if (from.tangentOut.bends() || to.tangentIn.bends())
        return BezierPath(a, plus(a, from.tangentOut), plus(b, to.tangentIn), b);
    const Tangent third{(b.x - a.x) / 3, (b.y - a.y) / 3};
    return BezierPath(a, plus(a, third), plus(b, Tangent{-third.dx, -third.dy}), b);
}

// A point eases in one dimension, the distance along its path; linear sides move it at constant speed.
StreamValue pointAlongPath(const Keyframe& from, const Keyframe& to, double share, double seconds) {
    const BezierPath path = pathBetween(from, to);
    const double length = path.length();
    double distance = length * share;
    if (!isLinear(from.out) || !isLinear(to.in)) {
        const double s = curveParameter(from, to, share);
        const double leaving = riseOf(from.out, length, seconds, 1), arriving = riseOf(to.in, length, seconds, 1);
        distance = cubicBezier(0, leaving, length - arriving, length, s);
    }
    const PathPoint p = path.atDistance(distance);
    return {p.x, p.y, 0, 0};
}

bool isStraightLine(PF_ParamType type, const Keyframe& from, const Keyframe& to) {
    if (!isLinear(from.out) || !isLinear(to.in)) return false;
    return type != PF_Param_POINT || !(from.tangentOut.bends() || to.tangentIn.bends());
}

} // namespace

StreamValue segmentValue(PF_ParamType type, const Keyframe& from, const Keyframe& to, double share, double seconds) {
    if (isHeld(type, from, to)) return from.value;
    if (isStraightLine(type, from, to)) {
        StreamValue out{};
        for (std::size_t c = 0; c < out.size(); ++c) {
            const double va = from.value[c];
            const double vb = to.value[c];
            out[c] = va + (vb - va) * share;
        }
        return out;
    }
    if (type == PF_Param_POINT) return pointAlongPath(from, to, share, seconds);
    return easedChannels(type, from, to, share, seconds);
}

} // namespace OrvaneHost
