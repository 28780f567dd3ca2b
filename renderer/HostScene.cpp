#include "HostScene.h"

#include "host/Scene.h"
#include "params/ParamIndex.h"

#include <utility>
#include <vector>

namespace OrvaneTools {

namespace {

OrvaneHost::StreamValue colorValue(const Rgba8& c) {
    return OrvaneHost::colorValue(PF_Pixel8{c.alpha, c.red, c.green, c.blue});
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
    using namespace Orvane;
    OrvaneHost::Scene scene;
    if (job.shape) scene.set(kParamShape, OrvaneHost::popupValue(*job.shape));
    if (job.repeat) scene.set(kParamRepeat, OrvaneHost::popupValue(*job.repeat));
    if (job.point1) scene.set(kParamPoint1, OrvaneHost::pointValue(job.point1->x, job.point1->y));
    if (job.point2) scene.set(kParamPoint2, OrvaneHost::pointValue(job.point2->x, job.point2->y));
    if (job.color) scene.set(kParamColor, colorValue(*job.color));
    if (job.opacity) scene.set(kParamOpacity, OrvaneHost::sliderValue(*job.opacity));

    std::vector<OrvaneHost::Keyframe> colorKeys, opacityKeys;
    colorKeys.reserve(job.colorKeyframes.size());
    for (const ColorKeyframe& key : job.colorKeyframes) colorKeys.push_back({hostTime(key.time, job), colorValue(key.color)});
    opacityKeys.reserve(job.opacityKeyframes.size());
    for (const OpacityKeyframe& key : job.opacityKeyframes)
        opacityKeys.push_back({hostTime(key.time, job), OrvaneHost::sliderValue(key.percent)});
    if (!colorKeys.empty()) scene.keyframes(kParamColor, std::move(colorKeys));
    if (!opacityKeys.empty()) scene.keyframes(kParamOpacity, std::move(opacityKeys));
    OrvaneHost::applyScene(host, scene);
}

} // namespace OrvaneTools
