// What orvane-render --help prints around its list of options: how the program is run, and the sections on
// values, output, the module, scene files and exit codes; the formats and exit codes come from their tables.
#pragma once

#include <string>

namespace OrvaneTools {

// Before the options: the ways to run orvane-render and what it does.
std::string helpDescription();
// After the options and commands.
std::string helpFooter();

} // namespace OrvaneTools
