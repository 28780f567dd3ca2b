// A keyframe a scene writes as a JSON object, {"time": T, "<key>": V, "in": "hold", "ease_out": {"speed": S,
// "influence": I}, "tangent_in": [DX, DY], ...}, turned into the text form the command line takes
// (renderer/KeyframeEntries.h), so that one parser reads both and refuses the same values in the same words.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <functional>
#include <string>

namespace OrvaneTools {

// `valueText` gives the text of the time, of the value and of each number, as the scene reads any value;
// `place` is the entry's place in its list. Throws a usage ToolError naming `what`, the keyframe and the
// field for a missing time or value, an unknown field or a field of the wrong form.
std::string keyframeObjectText(const nlohmann::json& entry, const std::string& key, std::size_t place,
                               const std::function<std::string(const nlohmann::json&)>& valueText,
                               const std::string& what);

} // namespace OrvaneTools
