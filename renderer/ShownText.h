// Text from the user or from files, made safe to show on a terminal: control characters (a NUL, an escape
// sequence) and bytes that are not UTF-8 appear as \xNN instead of reaching the terminal raw.
#pragma once

#include <string>

namespace OrvaneTools {

// Printable UTF-8 is kept as it is (names in any script stay readable); everything else becomes \xNN.
std::string shownText(const std::string& text);

} // namespace OrvaneTools
