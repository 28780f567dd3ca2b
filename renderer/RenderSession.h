// Runs a resolved job: loads the module into the simulated host, applies the effect, sets its controls,
// renders every frame through smart pre-render and smart render, writes the images, and sends global
// setdown at the end, also when something failed.
#pragma once

#include "RenderJob.h"

#include <ostream>

namespace OrvaneTools {

struct SessionOutput {
    std::ostream& out;  // --verbose report
    std::ostream& err;  // progress
    bool progress = false; // show progress of sequences (stderr is a terminal)
};

// Throws a ToolError: ExitCode::ModuleLoad when the module cannot be loaded, ExitCode::EffectError when
// the effect returns an error code (named, with the effect's own message if it set one), ExitCode::OutOfMemory
// when the effect or the host ran out of memory, ExitCode::OutputWrite when an image cannot be written and
// ExitCode::StandardOutput when the --verbose report cannot be. Frames finished before a failure stay written.
void runRenderJob(const RenderJob& job, const SessionOutput& output);

} // namespace OrvaneTools
