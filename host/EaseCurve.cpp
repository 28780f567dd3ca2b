#include "EaseCurve.h"

namespace OrvaneHost {

double cubicBezier(double p0, double p1, double p2, double p3, double s) {
    const double r = 1 - s;
    return r * r * r * p0 + 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s * p3;
}

namespace {

// Enough for bisection alone to reach adjacent doubles from the bracket [0, 1].
constexpr int kMostSteps = 1100;

// The derivative of the time curve with respect to its parameter.
double timeSlope(double a, double b, double s) {
    const double r = 1 - s;
    return 3 * (r * r * a + 2 * r * s * (1 - b - a) + s * s * b);
}

} // namespace

double easedParameter(double share, double outInfluence, double inInfluence) {
    if (!(share > 0)) return 0;
    if (!(share < 1)) return 1;
    const double a = outInfluence, b = 1 - inInfluence;
    double low = 0, high = 1, s = share;
    for (int step = 0; step < kMostSteps; ++step) {
        const double miss = cubicBezier(0, a, b, 1, s) - share;
        if (miss == 0) return s;
        (miss < 0 ? low : high) = s;
        double next = s - miss / timeSlope(a, inInfluence, s);
        if (!(next > low && next < high)) {
            next = low + (high - low) / 2;
            if (!(next > low && next < high)) return s; // the bracket is down to two adjacent doubles
        }
        if (next == s) return s;
        s = next;
    }
    return s;
}

} // namespace OrvaneHost
