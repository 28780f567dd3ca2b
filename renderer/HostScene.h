// The controls of a run as one scene (host/Scene.h), and putting it and the job's layer into the host, as a
// user setting the controls and keyframes in the host would.
#pragma once

#include "RenderJob.h"

#include "host/Host.h"

namespace OrvaneTools {

// The controls the settings give: a plain value sets a control, keyframes (at round(T x timeScale) host
// units, with their sides and tangents) replace its own. Throws a usage ToolError naming the option for a
// plain value given with another entry, and two keyframes at one host time with their places.
OrvaneHost::Scene controlScene(const RenderSettings& settings, A_u_long timeScale);

// The host's layer as the job describes it, before the effect is applied (parameter setup places the
// points' defaults at percentages of the layer) and before the first frame.
void prepareHostLayer(OrvaneHost::Host& host, const RenderJob& job);

// After the effect is applied: the job's scene. Throws std::invalid_argument when the effect registered no
// control that takes a value at an index the scene sets.
void applyJobToStreams(OrvaneHost::Host& host, const RenderJob& job);

} // namespace OrvaneTools
