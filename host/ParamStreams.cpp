#include "ParamStreams.h"

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

void addKeyframe(ParamStream& stream, const A_Time& time, const StreamValue& value) {
    auto& keys = stream.keyframes;
    auto at = std::find_if(keys.begin(), keys.end(), [&](const Keyframe& k) { return k.time.value >= time.value; });
    if (at != keys.end() && at->time.value == time.value) {
        at->value = value;
        return;
    }
    keys.insert(at, Keyframe{time, value});
}

void setKeyframes(ParamStream& stream, std::vector<Keyframe> keyframes) {
    std::stable_sort(keyframes.begin(), keyframes.end(),
                     [](const Keyframe& a, const Keyframe& b) { return a.time.value < b.time.value; });
    std::vector<Keyframe> kept;
    kept.reserve(keyframes.size());
    for (const Keyframe& k : keyframes) {
        if (!kept.empty() && kept.back().time.value == k.time.value)
            kept.back() = k;
        else
            kept.push_back(k);
    }
    stream.keyframes = std::move(kept);
}

StreamValue valueAt(const ParamStream& stream, const A_Time& time) {
    const auto& keys = stream.keyframes;
    if (keys.empty()) return valueOf(stream.current);
    // Times compared in the keyframes' own units.
    const double scale = keys.front().time.scale ? keys.front().time.scale : kTimeScale;
    const double t = time.scale == scale || time.scale == 0 ? double(time.value) : double(time.value) * scale / time.scale;
    if (t <= keys.front().time.value) return keys.front().value;
    if (t >= keys.back().time.value) return keys.back().value;
    std::size_t b = 1;
    while (b < keys.size() && keys[b].time.value <= t) ++b;
    if (b >= keys.size()) return keys.back().value;
    const Keyframe& ka = keys[b - 1];
    const Keyframe& kb = keys[b];
    const double ta = ka.time.value;
    const double tb = kb.time.value;
    if (tb == ta) return kb.value;
    StreamValue out{};
    for (std::size_t c = 0; c < out.size(); ++c) {
        const double va = ka.value[c];
        const double vb = kb.value[c];
        out[c] = va + (vb - va) * ((t - ta) / (tb - ta));
    }
    return out;
}

PF_ParamDef checkoutAt(const ParamStream& stream, const A_Time& time) {
    PF_ParamDef def = stream.current;
    if (!stream.keyframes.empty()) storeValue(def, valueAt(stream, time));
    return def;
}

A_long unitsFromSeconds(double seconds) { return roundedLong(seconds * kTimeScale); }

A_long timeStepForFps(double fps) { return fps > 0 ? roundedLong(kTimeScale / fps) : 0; }

} // namespace OrvaneHost
