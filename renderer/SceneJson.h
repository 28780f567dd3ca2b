// JSON text read as a scene file is read: in time linear in its size, refusing a key given twice in any
// object (JSON leaves it open which one counts), values nested deeper than a limit, and numbers a double
// cannot hold; and values shown shortened in messages, walked no further than they are shown.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

namespace OrvaneTools {

// Throws a usage ToolError naming `source` and, where there is one, the key of the scene's object under
// which the fault lies, with the value shortened.
nlohmann::json readJson(const std::string& text, const std::string& source, std::size_t maxDepth);

// The value as JSON text of at most `width` characters; one that was cut ends in "...".
std::string shortJson(const nlohmann::json& value, std::size_t width = 60);

} // namespace OrvaneTools
