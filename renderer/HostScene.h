// Puts a job's parameter values and keyframes into the host's streams of the applied effect, as a user
// setting the controls and keyframes in the host would.
#pragma once

#include "RenderJob.h"

#include "host/Host.h"

namespace OrvaneTools {

// The host's layer as the job describes it, before the effect is applied (parameter setup places the
// points' defaults at percentages of the layer) and before the first frame.
void prepareHostLayer(OrvaneHost::Host& host, const RenderJob& job);

// After the effect is applied: one scene (host/Scene.h). Throws std::invalid_argument when the effect
// registered no control that takes a value at an index the job sets.
void applyJobToStreams(OrvaneHost::Host& host, const RenderJob& job);

} // namespace OrvaneTools
