// A scene file: orvane-render's settings kept as JSON, so that a user can keep a ramp and render it again.
// Its keys are the long option names ("size", "color", "press-refresh", ...), each read from the option's
// text exactly as the command line reads it (SettingOptions.h), or from the natural JSON form:
//   { "size": "640x360", "shape": "radial", "repeat": "pingpong",
//     "point1": [320, 180], "color": ["0:#102040", "1:#f0a020", {"time": 2, "color": "#ffffff"}],
//     "opacity": 100, "frames": "0-24", "fps": 24, "output": "ramp-##.png" }
// A scene is data that people pass around: it cannot name the module to load, since that runs code.
#pragma once

#include "RenderSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace OrvaneTools {

constexpr std::uint64_t kMaxSceneBytes = std::uint64_t(64) << 20;
// How deep values may be nested: a scene's forms need a few levels; a deeper value is refused as it is read.
constexpr std::size_t kMaxSceneDepth = 32;

// Reads the file, which must be a regular file of at most kMaxSceneBytes; throws a usage ToolError naming
// the file and the offending key for anything malformed (unreadable file, bad JSON, a key given twice, values
// nested more than kMaxSceneDepth deep, an unknown key, a wrong type or value).
RenderSettings loadSceneFile(const std::string& path);

// The same from JSON text; `source` names it in messages.
RenderSettings parseScene(const std::string& json, const std::string& source);

} // namespace OrvaneTools
