// Output names of a frame sequence: the run of '#' in the file name becomes the zero-padded frame number.
#pragma once

#include <string>

namespace OrvaneTools {

// Whether the file name (not the folder) holds a run of '#'. Throws a usage ToolError when it holds more
// than one run, since it would be unclear which one numbers the frames.
bool hasFrameNumberRun(const std::string& path);

// "out/ramp-###.png" and frame 7 give "out/ramp-007.png"; a number wider than the run is written in full.
std::string framePath(const std::string& path, long frame);

} // namespace OrvaneTools
