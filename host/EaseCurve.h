// The eased segment's curve: a cubic Bezier in (time, value). Its time coordinate is solved for the
// parameter at a given share of the segment's duration, and its value coordinate is read there.
#pragma once

namespace OrvaneHost {

// The cubic Bezier with control values p0 .. p3 at parameter s (0 to 1).
double cubicBezier(double p0, double p1, double p2, double p3, double s);

// The parameter s at which the time curve, normalised to the segment (control times 0, outInfluence,
// 1 - inInfluence, 1), reaches `share` (0 to 1). For influences within 0 to 1 the curve never falls, so s is
// unique where it rises; found to double precision by Newton's steps kept inside a bisected bracket, so a
// flat stretch or an odd influence never leaves the bracket. Terminates on any input, NaN included.
double easedParameter(double share, double outInfluence, double inInfluence);

} // namespace OrvaneHost
