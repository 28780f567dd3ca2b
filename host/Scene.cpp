#include "Scene.h"

#include "Host.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

namespace OrvaneHost {

Scene& Scene::set(PF_ParamIndex index, const StreamValue& value) {
    settings[index].value = value;
    return *this;
}

Scene& Scene::key(PF_ParamIndex index, const A_Time& time, const StreamValue& value) {
    settings[index].keyframes.push_back(Keyframe{time, value});
    return *this;
}

Scene& Scene::key(PF_ParamIndex index, const Keyframe& keyframe) {
    settings[index].keyframes.push_back(keyframe);
    return *this;
}

Scene& Scene::keyframes(PF_ParamIndex index, std::vector<Keyframe> keys) {
    ControlSetting& setting = settings[index];
    setting.replaceKeyframes = true;
    setting.keyframes = std::move(keys);
    return *this;
}

namespace {

bool takesAValue(PF_ParamType type) {
    return type == PF_Param_POPUP || type == PF_Param_POINT || type == PF_Param_COLOR ||
           type == PF_Param_FLOAT_SLIDER || type == PF_Param_SLIDER;
}

ParamStream& controlAt(Host& host, PF_ParamIndex index) {
    auto& streams = host.streams();
    if (index < 0 || std::size_t(index) >= streams.size())
        throw std::invalid_argument("the scene sets parameter " + std::to_string(index) + ", but the effect registered " +
                                    std::to_string(streams.size()) + " parameters");
    ParamStream& stream = streams[std::size_t(index)];
    if (!takesAValue(stream.def.param_type))
        throw std::invalid_argument("the scene sets parameter " + std::to_string(index) + " (\"" + stream.def.name +
                                    "\"), which takes no value");
    return stream;
}

std::string timeText(const A_Time& time) {
    return std::to_string(time.value) + "/" + std::to_string(time.scale ? time.scale : kTimeScale);
}

// What the interpolation arithmetic relies on: a bezier side pulls over a share of the segment it can
// reach, at a finite speed, and a tangent is a finite offset.
void checkKeyframe(const ParamStream& stream, PF_ParamIndex index, const Keyframe& key) {
    const auto refuse = [&](const std::string& what) {
        throw std::invalid_argument("the scene's keyframe at " + timeText(key.time) + " of parameter " +
                                    std::to_string(index) + " (\"" + stream.def.name + "\") " + what);
    };
    for (const KeyframeSide* side : {&key.in, &key.out}) {
        if (side->interpolation != Interpolation::Bezier) continue;
        if (!(side->ease.influence >= kMinInfluence && side->ease.influence <= kMaxInfluence))
            refuse("has an influence of " + std::to_string(side->ease.influence) + ", outside " +
                   std::to_string(kMinInfluence) + " to " + std::to_string(kMaxInfluence));
        if (!std::isfinite(side->ease.speed)) refuse("has a speed that is not a finite number");
    }
    for (const Tangent* tangent : {&key.tangentIn, &key.tangentOut})
        if (!std::isfinite(tangent->dx) || !std::isfinite(tangent->dy)) refuse("has a tangent that is not finite");
}

} // namespace

void applyScene(Host& host, const Scene& scene) {
    // All checked before any change.
    for (const auto& [index, setting] : scene.controls()) {
        const ParamStream& stream = controlAt(host, index);
        for (const Keyframe& key : setting.keyframes) checkKeyframe(stream, index, key);
    }
    for (const auto& [index, setting] : scene.controls()) {
        ParamStream& stream = controlAt(host, index);
        if (setting.value) storeValue(stream.current, *setting.value);
        if (!setting.replaceKeyframes && setting.keyframes.empty()) continue;
        std::vector<Keyframe> keys = setting.replaceKeyframes ? std::vector<Keyframe>() : stream.keyframes;
        keys.insert(keys.end(), setting.keyframes.begin(), setting.keyframes.end());
        setKeyframes(stream, std::move(keys));
    }
}

StreamValue colorValue(const PF_Pixel8& argb) {
    return {argb.alpha / 255.0, argb.red / 255.0, argb.green / 255.0, argb.blue / 255.0};
}

StreamValue colorValue(double alpha, double red, double green, double blue) { return {alpha, red, green, blue}; }

StreamValue pointValue(double x, double y) { return {x, y, 0, 0}; }

StreamValue popupValue(A_long item) { return {double(item), 0, 0, 0}; }

StreamValue sliderValue(double value) { return {value, 0, 0, 0}; }

A_Time timeAt(double seconds, A_u_long scale) { return A_Time{unitsFromSeconds(seconds, scale), scale}; }

} // namespace OrvaneHost
