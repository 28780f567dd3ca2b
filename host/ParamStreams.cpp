#include "ParamStreams.h"

#include "SegmentValue.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace OrvaneHost {

StreamValue valueOf(const PF_ParamDef& def) {
    StreamValue v{0, 0, 0, 0};
    switch (def.param_type) {
    case PF_Param_COLOR:
        v = {def.u.cd.value.alpha / 255.0, def.u.cd.value.red / 255.0, def.u.cd.value.green / 255.0,
             def.u.cd.value.blue / 255.0};
        break;
    case PF_Param_POINT:
        v = {def.u.td.x_value / 65536.0, def.u.td.y_value / 65536.0, 0, 0};
        break;
    case PF_Param_FLOAT_SLIDER:
        v[0] = def.u.fs_d.value;
        break;
    case PF_Param_POPUP:
        v[0] = def.u.pd.value;
        break;
    case PF_Param_SLIDER:
        v[0] = def.u.sd.value;
        break;
    default:
        break;
    }
    return v;
}

namespace {
// A NaN (a keyframe value no user can enter, but a script can) reads as 0 rather than reaching an integer
// conversion.
A_u_char colourByte(double channel) {
    if (std::isnan(channel)) return 0;
    const double byte = std::floor(channel * 255.0 + 0.5);
    return static_cast<A_u_char>(std::clamp(byte, 0.0, 255.0));
}
PF_Fixed fixedFromPixels(double pixels) {
    if (std::isnan(pixels)) return 0;
    const double fixed = std::round(pixels * 65536.0);
    return static_cast<PF_Fixed>(std::clamp(fixed, -2147483648.0, 2147483647.0));
}
A_long roundedLong(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<A_long>(std::clamp(std::round(value), -2147483648.0, 2147483647.0));
}
} // namespace

void storeValue(PF_ParamDef& def, const StreamValue& v) {
    switch (def.param_type) {
    case PF_Param_COLOR:
        def.u.cd.value = PF_Pixel8{colourByte(v[0]), colourByte(v[1]), colourByte(v[2]), colourByte(v[3])};
        break;
    case PF_Param_POINT:
        def.u.td.x_value = fixedFromPixels(v[0]);
        def.u.td.y_value = fixedFromPixels(v[1]);
        break;
    case PF_Param_FLOAT_SLIDER:
        def.u.fs_d.value = v[0];
        break;
    case PF_Param_POPUP:
        def.u.pd.value = roundedLong(v[0]);
        break;
    case PF_Param_SLIDER:
        def.u.sd.value = roundedLong(v[0]);
        break;
    default:
        break;
    }
}

namespace {

// Times are compared and divided as instants, value / scale, in integers wide enough for any two of them.
using Wide = __int128;

Wide scaleOf(const A_Time& t) { return Wide(t.scale ? t.scale : kTimeScale); }

// Negative, zero or positive as a lies before, at or after b.
int compareInstants(const A_Time& a, const A_Time& b) {
    const Wide left = Wide(a.value) * scaleOf(b);
    const Wide right = Wide(b.value) * scaleOf(a);
    return left < right ? -1 : (left > right ? 1 : 0);
}

// The seconds from a to b.
double secondsBetween(const A_Time& a, const A_Time& b) {
    const Wide units = Wide(b.value) * scaleOf(a) - Wide(a.value) * scaleOf(b);
    return double(units) / (double(scaleOf(a)) * double(scaleOf(b)));
}

Wide magnitude(Wide v) { return v < 0 ? -v : v; }

// (t - a) / (b - a) for a before b, exact until the one rounding of the division: both terms are brought to
// the common unit 1 / (a.scale b.scale t.scale) and reduced, so equal instants give equal quotients.
double fractionBetween(const A_Time& a, const A_Time& b, const A_Time& t) {
    Wide num = (Wide(t.value) * scaleOf(a) - Wide(a.value) * scaleOf(t)) * scaleOf(b);
    Wide den = (Wide(b.value) * scaleOf(a) - Wide(a.value) * scaleOf(b)) * scaleOf(t);
    Wide x = magnitude(num), y = magnitude(den);
    while (y != 0) {
        const Wide r = x % y;
        x = y;
        y = r;
    }
    if (x > 1) {
        num /= x;
        den /= x;
    }
    return double(num) / double(den);
}

} // namespace

void addKeyframe(ParamStream& stream, const A_Time& time, const StreamValue& value) {
    auto& keys = stream.keyframes;
    auto at = std::find_if(keys.begin(), keys.end(), [&](const Keyframe& k) { return compareInstants(k.time, time) >= 0; });
    if (at != keys.end() && compareInstants(at->time, time) == 0) {
        at->value = value;
        return;
    }
    keys.insert(at, Keyframe{time, value});
}

void setKeyframes(ParamStream& stream, std::vector<Keyframe> keyframes) {
    std::stable_sort(keyframes.begin(), keyframes.end(),
                     [](const Keyframe& a, const Keyframe& b) { return compareInstants(a.time, b.time) < 0; });
    std::vector<Keyframe> kept;
    kept.reserve(keyframes.size());
    for (const Keyframe& k : keyframes) {
        if (!kept.empty() && compareInstants(kept.back().time, k.time) == 0)
            kept.back() = k;
        else
            kept.push_back(k);
    }
    stream.keyframes = std::move(kept);
}

StreamValue valueAt(const ParamStream& stream, const A_Time& time) {
    const auto& keys = stream.keyframes;
    if (keys.empty()) return valueOf(stream.current);
    if (compareInstants(time, keys.front().time) <= 0) return keys.front().value;
    if (compareInstants(time, keys.back().time) >= 0) return keys.back().value;
    // The first keyframe after `time`: there is one, and one at or before it, since `time` lies strictly
    // between the first and the last.
    const auto after = std::upper_bound(keys.begin(), keys.end(), time, [](const A_Time& t, const Keyframe& k) {
        return compareInstants(t, k.time) < 0;
    });
    const Keyframe& ka = *(after - 1);
    const Keyframe& kb = *after;
    return segmentValue(stream.def.param_type, ka, kb, fractionBetween(ka.time, kb.time, time),
                        secondsBetween(ka.time, kb.time));
}

PF_ParamDef checkoutAt(const ParamStream& stream, const A_Time& time) {
    PF_ParamDef def = stream.current;
    if (!stream.keyframes.empty()) storeValue(def, valueAt(stream, time));
    return def;
}

A_long unitsFromSeconds(double seconds, A_u_long scale) { return roundedLong(seconds * double(scale)); }

A_long timeStepForFps(double fps, A_u_long scale) { return fps > 0 ? roundedLong(double(scale) / fps) : 0; }

} // namespace OrvaneHost
