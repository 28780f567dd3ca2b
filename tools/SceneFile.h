// A scene file: orvane-render's settings kept as JSON, so that a user can keep a ramp and render it again.
// Its keys are the long option names ("size", "color", "press-refresh", ...) plus "output" for -o, and
// each takes the option's text form or the natural JSON form:
//   { "size": "640x360", "shape": "radial", "repeat": "pingpong",
//     "point1": [320, 180], "color": ["0:#102040", "1:#f0a020", {"time": 2, "color": "#ffffff"}],
//     "opacity": 100, "frames": "0-24", "fps": 24, "output": "ramp-##.png" }
#pragma once

#include "RenderSettings.h"

#include <string>

namespace OrvaneTools {

// Reads the file; throws a usage ToolError naming the file and the offending key for anything malformed
// (unreadable file, bad JSON, unknown key, wrong type or value).
RenderSettings loadSceneFile(const std::string& path);

// The same from JSON text; `source` names it in messages.
RenderSettings parseScene(const std::string& json, const std::string& source);

} // namespace OrvaneTools
