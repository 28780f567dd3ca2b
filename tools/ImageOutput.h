// Writes one frame as an image file in the format its name asks for, never leaving a partial file.
#pragma once

#include "FrameView.h"
#include "ImageFormat.h"

#include <string>

namespace OrvaneTools {

// Throws a ToolError (ExitCode::OutputWrite) naming `path` and the reason when the file cannot be written
// (AtomicFile.h says what is never replaced); `path` is then untouched. `replaceReadOnly` is --force.
void writeImageFile(ImageFormat format, const FrameView& frame, const std::string& path, bool replaceReadOnly = false);

} // namespace OrvaneTools
