// Whether a loaded module is the effect orvane-render drives: a module may export the entry point and still
// register another effect. Its parameters are held against the effect's contract (params/ParamIndex.h) in
// count, kind and popup choices before anything is set or rendered.
#pragma once

#include "host/Host.h"

#include <string>

namespace OrvaneTools {

// After parameter setup. Throws a ToolError (ExitCode::ModuleLoad) saying "not this effect" and what
// differed, naming the module at `modulePath`.
void checkThisEffect(const OrvaneHost::Host& host, const std::string& modulePath);

} // namespace OrvaneTools
