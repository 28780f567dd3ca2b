// `orvane-render inspect MODULE`: what a host's effect list would show of a module, read from its file.
#pragma once

#include <ostream>
#include <string>

namespace OrvaneTools {

// Prints the module's registration; reports a malformed module on `err`. Returns the process exit code.
int runInspect(const std::string& modulePath, std::ostream& out, std::ostream& err);

} // namespace OrvaneTools
