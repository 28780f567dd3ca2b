#include "HostScene.h"

#include "ToolError.h"

#include <map>
#include <utility>
#include <vector>

namespace OrvaneTools {

namespace {

// Two keyframes of one control that round to the same time unit, named as they were written.
[[noreturn]] void keyframesCollide(const std::string& what, const std::string& first, const std::string& second,
                                   A_long time, A_u_long scale) {
    throw usageError(what + ": the keyframes '" + first + "' and '" + second + "' both fall on time unit " +
                     std::to_string(time) + " at " + std::to_string(scale) +
                     " units per second; keyframes must lie at least one unit apart (--time-scale sets the units)");
}

void addControl(OrvaneHost::Scene& scene, const ControlForm& form, const std::vector<ControlEntry>& entries,
                const std::string& what, A_u_long timeScale) {
    std::vector<OrvaneHost::Keyframe> keys;
    std::map<A_long, const std::string*> writtenAt; // host time -> the entry as written
    for (const ControlEntry& entry : entries) {
        if (!entry.seconds) {
            if (entries.size() > 1)
                throw usageError(what + ": give one plain " + form.noun + ", or keyframes T:" + form.valueName +
                                 " only (a plain " + form.noun + " and keyframes cannot be combined)");
            scene.set(form.index, entry.value);
            continue;
        }
        const A_long time = OrvaneHost::unitsFromSeconds(*entry.seconds, timeScale);
        if (const auto [first, fresh] = writtenAt.emplace(time, &entry.written); !fresh)
            keyframesCollide(what, *first->second, entry.written, time, timeScale);
        keys.push_back(OrvaneHost::Keyframe{A_Time{time, timeScale}, entry.value, entry.in, entry.out, entry.tangentIn,
                                            entry.tangentOut});
    }
    if (!keys.empty()) scene.keyframes(form.index, std::move(keys));
}

} // namespace

OrvaneHost::Scene controlScene(const RenderSettings& settings, A_u_long timeScale) {
    OrvaneHost::Scene scene;
    for (const ControlForm* form : controlForms()) {
        const auto given = settings.controls.find(form->index);
        if (given != settings.controls.end())
            addControl(scene, *form, given->second, settings.nameOf(form->option), timeScale);
    }
    return scene;
}

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

void applyJobToStreams(OrvaneHost::Host& host, const RenderJob& job) { OrvaneHost::applyScene(host, job.scene); }

} // namespace OrvaneTools
