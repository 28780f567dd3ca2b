// A popup's choices as the host reads them from the string its effect registers: names split at '|', the
// first one value 1.
#pragma once

#include "../sdk/host_sdk.h"

#include <optional>
#include <string>
#include <vector>

namespace OrvaneHost {

std::vector<std::string> popupChoiceNames(const std::string& choices);

// The name of the 1-based `value`, or "?" when the value names none.
std::string popupChoiceName(const std::string& choices, A_long value);

// The value whose name is `name` in any letter case, if one is.
std::optional<A_long> popupChoiceValue(const std::string& choices, const std::string& name);

} // namespace OrvaneHost
