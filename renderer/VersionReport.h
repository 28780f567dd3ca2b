// `orvane-render --version`: the renderer's own version, and the effect module's as a host shows it.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace OrvaneTools {

// The renderer's version: the project's, which the effect module it is built with carries too.
const char* rendererVersion();

// Prints the renderer's version, then loads the module (`given`, else the one beside orvane-render), sends
// About, global setup and global setdown, and prints the About text and the version global setup reports;
// for a module with a Windows version resource, also its file and product versions. Throws a ToolError as a render does when
// the module cannot be loaded or the effect fails; the renderer's line is printed before that.
void printVersions(const std::optional<std::string>& given, std::ostream& out);

} // namespace OrvaneTools
