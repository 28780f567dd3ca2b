// Standard output is part of the result: what --verbose, --help and inspect print must arrive. A closed pipe
// or a full disk behind it is an error with its own exit code (ExitCode::StandardOutput), never a silent loss.
#pragma once

#include <ostream>
#include <string>

namespace OrvaneTools {

// Writes `text` and flushes; throws a ToolError (ExitCode::StandardOutput) with the reason when it could not
// all be written.
void printReport(std::ostream& out, const std::string& text);

} // namespace OrvaneTools
