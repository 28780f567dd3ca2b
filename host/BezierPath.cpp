#include "BezierPath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace OrvaneHost {

namespace {

// Five-point Gauss-Legendre on [a, b].
template <class F> double gaussLegendre(const F& f, double a, double b) {
    static constexpr double nodes[5] = {0.0, 0.5384693101056831, -0.5384693101056831, 0.9061798459386640,
                                        -0.9061798459386640};
    static constexpr double weights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                          0.2369268850561891, 0.2369268850561891};
    const double half = (b - a) / 2, middle = (a + b) / 2;
    double sum = 0;
    for (int i = 0; i < 5; ++i) sum += weights[i] * f(middle + half * nodes[i]);
    return sum * half;
}

// The arc length is wanted to well within 1e-6 px: each half of an interval is integrated again until the
// halves agree with the whole to this, or to rounding, after a few levels that every interval gets (so that
// a whole and its halves cannot agree by chance). The budget bounds the work on any input.
constexpr double kLengthTolerance = 1e-10;
constexpr int kDeepest = 40;
constexpr int kAlwaysSplit = 3;
constexpr int kIntervalBudget = 4000;

template <class F>
double adaptiveLength(const F& f, double a, double b, double whole, double tolerance, int depth, int& budget) {
    const double middle = (a + b) / 2;
    const double left = gaussLegendre(f, a, middle), right = gaussLegendre(f, middle, b);
    const double rounding = 64 * std::numeric_limits<double>::epsilon() * std::fabs(whole);
    const bool settled =
        depth < kDeepest - kAlwaysSplit && !(std::fabs(left + right - whole) > std::max(tolerance, rounding));
    if (depth == 0 || --budget <= 0 || settled) return left + right;
    return adaptiveLength(f, a, middle, left, tolerance / 2, depth - 1, budget) +
           adaptiveLength(f, middle, b, right, tolerance / 2, depth - 1, budget);
}

// The roots in (0, 1) of one coordinate's derivative, d0 (1-s)^2 + 2 d1 (1-s) s + d2 s^2 with d0, d1, d2 the
// differences of its control values: the quadratic a s^2 + b s + c below.
void addTurns(double d0, double d1, double d2, std::vector<double>& into) {
    const double a = d0 - 2 * d1 + d2, b = 2 * (d1 - d0), c = d0;
    const auto keep = [&](double s) {
        if (s > 0 && s < 1) into.push_back(s);
    };
    if (a == 0) {
        if (b != 0) keep(-c / b);
        return;
    }
    const double discriminant = b * b - 4 * a * c;
    if (!(discriminant >= 0)) return;
    // The root whose terms do not cancel, and the other from their product c / a.
    const double q = -(b + std::copysign(std::sqrt(discriminant), b)) / 2;
    keep(q / a);
    if (q != 0) keep(c / q);
}

// The distance solved for is met to this, or to the rounding of a very long path's length: far below the
// 1e-6 px promised.
constexpr double kDistanceTolerance = 1e-9;
constexpr double kDistanceRounding = 1e-13;
constexpr int kMostSteps = 200;

} // namespace

BezierPath::BezierPath(PathPoint start, PathPoint startHandle, PathPoint endHandle, PathPoint end)
    : p0(start), p1(startHandle), p2(endHandle), p3(end) {
    pieces = {0, 1};
    addTurns(p1.x - p0.x, p2.x - p1.x, p3.x - p2.x, pieces);
    addTurns(p1.y - p0.y, p2.y - p1.y, p3.y - p2.y, pieces);
    std::sort(pieces.begin(), pieces.end());
    total = distanceTo(1);
}

PathPoint BezierPath::at(double s) const {
    const double r = 1 - s;
    const double b0 = r * r * r, b1 = 3 * r * r * s, b2 = 3 * r * s * s, b3 = s * s * s;
    return {b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x, b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y};
}

double BezierPath::speed(double s) const {
    const double r = 1 - s;
    const double c0 = 3 * r * r, c1 = 6 * r * s, c2 = 3 * s * s;
    const double dx = c0 * (p1.x - p0.x) + c1 * (p2.x - p1.x) + c2 * (p3.x - p2.x);
    const double dy = c0 * (p1.y - p0.y) + c1 * (p2.y - p1.y) + c2 * (p3.y - p2.y);
    // sqrt rounds exactly everywhere (hypot need not), so every system's renderer puts a point on the same bits.
    return std::sqrt(dx * dx + dy * dy);
}

double BezierPath::distanceTo(double s) const {
    const auto f = [this](double t) { return speed(t); };
    int budget = kIntervalBudget;
    double length = 0;
    for (std::size_t i = 0; i + 1 < pieces.size() && pieces[i] < s; ++i) {
        const double from = pieces[i], to = std::min(pieces[i + 1], s);
        length += adaptiveLength(f, from, to, gaussLegendre(f, from, to), kLengthTolerance, kDeepest, budget);
    }
    return length;
}

PathPoint BezierPath::atDistance(double distance) const {
    if (!(distance > 0)) return p0;
    if (!(distance < total)) return p3;
    // Newton's steps on the arc length (whose slope is the speed), kept inside a bracket that bisection
    // narrows when a step would leave it, as at a cusp where the speed is 0.
    const double tolerance = std::max(kDistanceTolerance, total * kDistanceRounding);
    double low = 0, high = 1, s = distance / total;
    for (int step = 0; step < kMostSteps; ++step) {
        const double miss = distanceTo(s) - distance;
        if (!(std::fabs(miss) > tolerance)) break;
        (miss < 0 ? low : high) = s;
        double next = s - miss / speed(s);
        if (!(next > low && next < high)) {
            next = low + (high - low) / 2;
            if (!(next > low && next < high)) break;
        }
        s = next;
    }
    return at(s);
}

} // namespace OrvaneHost
