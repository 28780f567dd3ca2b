// The host's parameter model: one stream per registered parameter, holding the definition as the effect
// registered it (a copy, with its strings owned here), its current value, its keyframes and its flags.
#pragma once

#include "HostBehaviour.h"
#include "KeyframeInterpolation.h"

#include "../sdk/host_sdk.h"

#include <array>
#include <string>
#include <vector>

namespace OrvaneHost {

// A stream's value as doubles: a colour as alpha, red, green, blue in 0..1; a point as x, y in layer pixels
// at full resolution; every one-dimensional value (slider percent, popup item, integer) in [0].
using StreamValue = std::array<double, 4>;

struct Keyframe {
    A_Time time;
    StreamValue value;
    KeyframeSide in{}, out{};        // how the value arrives at this keyframe and leaves it (linear unless set)
    Tangent tangentIn{}, tangentOut{}; // a point's path into this keyframe and out of it (straight unless set)
};

struct ParamStream {
    PF_ParamDef def{};         // as registered; namesptr fields point into `choices` / `label`
    std::string choices;       // popup choice string
    std::string label;         // button label
    PF_ParamDef current{};     // the value when there are no keyframes
    std::vector<Keyframe> keyframes; // sorted by time
    bool hidden = false;
    bool hiddenChangeUndoable = false;
    int flagChanges = 0;
};

// Adds a keyframe with linear sides, keeping the keyframes sorted by time (a keyframe at an existing instant
// takes the new value and keeps its sides).
// Keyframes may have any time scale (a zero scale reads as kTimeScale).
void addKeyframe(ParamStream& stream, const A_Time& time, const StreamValue& value);

// Replaces all of the stream's keyframes at once, in O(n log n) however many there are: sorted by time, and of
// keyframes at the same time the last one given is kept, as adding them one by one would.
void setKeyframes(ParamStream& stream, std::vector<Keyframe> keyframes);

// The value of a parameter definition as a StreamValue, and back (colour bytes / 255, points 16.16 / 65536).
StreamValue valueOf(const PF_ParamDef& def);
void storeValue(PF_ParamDef& def, const StreamValue& value);

// The stream's value at `time` (of any scale): held before the first and after the last keyframe, and in
// between as the segment's keyframes say (host/SegmentValue.h), from f = (t - ta) / (tb - ta) worked out
// exactly and rounded once, so one instant gives the same value whatever the scales of the time and the
// keyframes. A segment with two linear sides (and, for a point, a straight path) is per channel in double
// va + (vb - va) * f; a popup holds each keyframe's value until the next one's time. A checkout (16.16 for
// a point) and a stream value both come from here.
StreamValue valueAt(const ParamStream& stream, const A_Time& time);

// The stream's definition as a checkout at `time` delivers it.
PF_ParamDef checkoutAt(const ParamStream& stream, const A_Time& time);

// Host time helpers: round(T x scale) units, and round(scale / fps) per frame.
A_long unitsFromSeconds(double seconds, A_u_long scale = kTimeScale);
A_long timeStepForFps(double fps, A_u_long scale = kTimeScale);

} // namespace OrvaneHost
