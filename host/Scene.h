// A scene as a user sets it up in the host: the values of an applied effect's controls and their keyframes.
// The one way the renderer, the tests, the benchmarks and the fuzzer put values into a host.
#pragma once

#include "ParamStreams.h"

#include "../sdk/host_sdk.h"

#include <map>
#include <optional>
#include <vector>

namespace OrvaneHost {

class Host;

// What a scene does to one control.
struct ControlSetting {
    std::optional<StreamValue> value;  // the value the control has while it carries no keyframes
    bool replaceKeyframes = false;     // the keyframes below replace all of the control's own
    std::vector<Keyframe> keyframes;   // added (or, replacing, the whole set; none removes them all)
};

class Scene {
public:
    // The control's value (used where it has no keyframes).
    Scene& set(PF_ParamIndex index, const StreamValue& value);
    // A keyframe with linear sides added to the control's own (one at the same instant is replaced).
    Scene& key(PF_ParamIndex index, const A_Time& time, const StreamValue& value);
    // The same with its sides and tangents as given.
    Scene& key(PF_ParamIndex index, const Keyframe& keyframe);
    // The control's keyframes, all of them: its own go.
    Scene& keyframes(PF_ParamIndex index, std::vector<Keyframe> keys);

    const std::map<PF_ParamIndex, ControlSetting>& controls() const { return settings; }

private:
    std::map<PF_ParamIndex, ControlSetting> settings;
};

// Puts the scene into the host's streams of the applied effect: each value stored as a checkout hands it out
// (a colour to bytes, a point to 16.16, a popup or slider rounded), keyframes sorted by time, the last of
// several at one instant kept, each with its sides and tangents (a popup holds whatever they say, and only
// a point reads tangents). Throws std::invalid_argument naming the parameter when the effect registered
// none at an index, or one that takes no value (the layer, a button), and naming the keyframe when a
// bezier side's influence lies outside kMinInfluence to kMaxInfluence or its speed, or a tangent, is not a
// finite number. Nothing is changed then.
void applyScene(Host& host, const Scene& scene);

// Values for each kind of control, as StreamValue holds them.
StreamValue colorValue(const PF_Pixel8& argb);                   // each byte / 255
StreamValue colorValue(double alpha, double red, double green, double blue); // 0..1
StreamValue pointValue(double x, double y);                      // layer pixels at full resolution
StreamValue popupValue(A_long item);                             // 1-based
StreamValue sliderValue(double value);                           // a float slider's or a slider's number

// A time of `seconds` in units of `scale` per second, as the host rounds it.
A_Time timeAt(double seconds, A_u_long scale = kTimeScale);

} // namespace OrvaneHost
