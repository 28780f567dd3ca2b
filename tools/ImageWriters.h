// The three image writers. Each writes the whole frame to `path` (replacing it) or throws a ToolError with
// ExitCode::OutputWrite; callers write to a temporary file and rename it (see AtomicFile.h).
#pragma once

#include "FrameView.h"

#include <string>

namespace OrvaneTools {

// RGBA with straight alpha: 8-bit samples at depth 8, 16-bit at depths 16 and 32 (host 16-bit values
// scaled from 0..32768 to 0..65535 with rounding; floats held to 0..1).
void writePng(const FrameView& frame, const std::string& path);

// 32-bit float R, G, B, A from any depth (8-bit / 255, 16-bit / 32768), colour premultiplied by alpha
// as EXR readers expect.
void writeExr(const FrameView& frame, const std::string& path);

// The buffer's exact values, TUPLTYPE RGB_ALPHA: MAXVAL 255 at depth 8, 32768 at depth 16 (16-bit samples
// big-endian). Depth 32 is refused.
void writePam(const FrameView& frame, const std::string& path);

} // namespace OrvaneTools
