// A point's path between two keyframes: a cubic Bezier in the plane, walked by arc length, so that a point
// eased along it covers the distance its ease gives, however its handles bunch the curve's parameter.
#pragma once

#include <vector>

namespace OrvaneHost {

struct PathPoint {
    double x = 0;
    double y = 0;
};

class BezierPath {
public:
    BezierPath(PathPoint start, PathPoint startHandle, PathPoint endHandle, PathPoint end);

    // The arc length from start to end, in pixels.
    double length() const { return total; }
    // The point at parameter s (0 to 1).
    PathPoint at(double s) const;
    // The point `distance` pixels along the path from its start, to within 1e-6 px; held at the ends.
    PathPoint atDistance(double distance) const;
    // The arc length from the start to parameter s.
    double distanceTo(double s) const;

private:
    double speed(double s) const; // |dB/ds|
    PathPoint p0, p1, p2, p3;
    // 0, the parameters where the path turns back in x or in y, and 1: the speed is smooth between them, and
    // a cusp (speed 0, where it kinks) is one of them.
    std::vector<double> pieces;
    double total = 0;
};

} // namespace OrvaneHost
