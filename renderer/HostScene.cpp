#include "HostScene.h"

#include "host/ParamStreams.h"

#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

namespace OrvaneTools {

namespace {

// The effect's parameter indices (index 0 is the input layer).
constexpr std::size_t kShape = 1, kPoint1 = 2, kPoint2 = 3, kRepeat = 4, kColor = 5, kOpacity = 6;

OrvaneHost::ParamStream& streamAt(OrvaneHost::Host& host, std::size_t index, PF_ParamType type) {
    auto& streams = host.streams();
    if (index >= streams.size() || streams[index].current.param_type != type)
        throw std::logic_error("the effect did not register the expected parameter at index " + std::to_string(index));
    return streams[index];
}

// Points are stored in 16.16 fixed point; the job keeps them within range.
void setPoint(OrvaneHost::ParamStream& stream, const LayerPoint& point) {
    stream.current.u.td.x_value = static_cast<PF_Fixed>(std::round(point.x * 65536.0));
    stream.current.u.td.y_value = static_cast<PF_Fixed>(std::round(point.y * 65536.0));
}

OrvaneHost::StreamValue colorValue(const Rgba8& c) {
    return {c.alpha / 255.0, c.red / 255.0, c.green / 255.0, c.blue / 255.0};
}

A_Time hostTime(A_long units, const RenderJob& job) { return A_Time{units, job.timeScale}; }

} // namespace

void prepareHostLayer(OrvaneHost::Host& host, const RenderJob& job) {
    OrvaneHost::HostBehaviour behaviour = host.behaviour();
    behaviour.timeScale = job.timeScale;
    host.setBehaviour(behaviour);
    PF_InData& in = host.inData();
    in.width = job.size.width;
    in.height = job.size.height;
    in.time_step = job.timeStep;
    in.current_time = job.frameAt(0).time;
}

void applyJobToStreams(OrvaneHost::Host& host, const RenderJob& job) {
    if (job.shape) streamAt(host, kShape, PF_Param_POPUP).current.u.pd.value = static_cast<A_long>(*job.shape);
    if (job.repeat) streamAt(host, kRepeat, PF_Param_POPUP).current.u.pd.value = static_cast<A_long>(*job.repeat);
    if (job.point1) setPoint(streamAt(host, kPoint1, PF_Param_POINT), *job.point1);
    if (job.point2) setPoint(streamAt(host, kPoint2, PF_Param_POINT), *job.point2);

    OrvaneHost::ParamStream& color = streamAt(host, kColor, PF_Param_COLOR);
    if (job.color) color.current.u.cd.value = PF_Pixel8{job.color->alpha, job.color->red, job.color->green, job.color->blue};
    std::vector<OrvaneHost::Keyframe> colorKeys;
    colorKeys.reserve(job.colorKeyframes.size());
    for (const ColorKeyframe& key : job.colorKeyframes) colorKeys.push_back({hostTime(key.time, job), colorValue(key.color)});
    if (!colorKeys.empty()) setKeyframes(color, std::move(colorKeys));

    OrvaneHost::ParamStream& opacity = streamAt(host, kOpacity, PF_Param_FLOAT_SLIDER);
    if (job.opacity) opacity.current.u.fs_d.value = *job.opacity;
    std::vector<OrvaneHost::Keyframe> opacityKeys;
    opacityKeys.reserve(job.opacityKeyframes.size());
    for (const OpacityKeyframe& key : job.opacityKeyframes)
        opacityKeys.push_back({hostTime(key.time, job), OrvaneHost::StreamValue{key.percent, 0, 0, 0}});
    if (!opacityKeys.empty()) setKeyframes(opacity, std::move(opacityKeys));
}

} // namespace OrvaneTools
