// How a keyframe's value is reached and left, as a user sets it in the host: the interpolation of each side
// (in and out), the ease of a bezier side, and for a point the spatial tangents that bend its path.
#pragma once

namespace OrvaneHost {

// A segment between two keyframes is held (the first value until the second keyframe's time) when the
// first keyframe's out side or the second's in side holds; otherwise both sides ease it, a linear side with
// the segment's average speed. Popups always hold, whatever their keyframes say.
enum class Interpolation { Linear, Hold, Bezier };

// Influence: the share of the segment's duration over which a side's speed pulls, 0.1 % to 100 %.
constexpr double kMinInfluence = 0.001;
constexpr double kMaxInfluence = 1.0;
// The usual "easy ease": speed 0 with an influence of 33.333 %.
constexpr double kEasyEaseInfluence = 0.33333;
// A linear side pulls over exactly a third of the segment, which with the average speed makes a straight line.
constexpr double kLinearInfluence = 1.0 / 3.0;

// The ease of a bezier side. Speed is in the control's units per second: percent for "Opacity", pixels
// along the path for a point, levels 0-255 for a colour (the same speed for each channel).
struct Ease {
    double speed = 0;
    double influence = kEasyEaseInfluence; // kMinInfluence to kMaxInfluence
};

struct KeyframeSide {
    Interpolation interpolation = Interpolation::Linear;
    Ease ease; // read only on a bezier side
};

// A point keyframe's spatial tangent: where its path's handle lies, in pixels from the keyframe's point.
// Zero on both sides of a segment leaves the path straight.
struct Tangent {
    double dx = 0;
    double dy = 0;
    bool bends() const { return dx != 0 || dy != 0; }
};

} // namespace OrvaneHost
