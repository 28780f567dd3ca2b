// The value of a stream between two of its keyframes, as the host interpolates it: held, on a straight line
// (a segment whose two sides are linear, exactly as it always was), eased along the cubic Bezier in (time,
// value) channel by channel, or for a point along its path, eased by the distance travelled.
#pragma once

#include "ParamStreams.h"

namespace OrvaneHost {

// `share` is the part of the segment's duration that has passed at the time asked (0 to 1, exact but for
// its one rounding), `seconds` the segment's duration.
StreamValue segmentValue(PF_ParamType type, const Keyframe& from, const Keyframe& to, double share, double seconds);

} // namespace OrvaneHost
