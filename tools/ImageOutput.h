// Writes one frame as an image file in the format its name asks for, never leaving a partial file.
#pragma once

#include "FrameView.h"
#include "ImageFormat.h"

#include <string>

namespace OrvaneTools {

// Throws a ToolError (ExitCode::OutputWrite) when the file cannot be written; `path` is then untouched.
void writeImageFile(ImageFormat format, const FrameView& frame, const std::string& path);

} // namespace OrvaneTools
