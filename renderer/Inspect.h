// `orvane-render inspect MODULE`: what a host's effect list would show of a module, read from its file.
#pragma once

#include <ostream>
#include <string>

namespace OrvaneTools {

// Prints the module's registration; reports on `err` a file that is not a regular file of at most 512 MiB, a
// malformed module, or one a host could not list or load. Returns the process exit code: 0, or
// ExitCode::ModuleLoad for any of those.
int runInspect(const std::string& modulePath, std::ostream& out, std::ostream& err);

} // namespace OrvaneTools
