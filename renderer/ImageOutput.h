// Writes one frame as an image in the format asked for: to a file, never leaving a partial one, or to
// standard output, where the frames of a sequence follow one another.
#pragma once

#include "FrameView.h"
#include "ImageFormat.h"

#include <string>

namespace OrvaneTools {

// Throws a ToolError (ExitCode::OutputWrite) naming `path` and the reason when the file cannot be written
// (AtomicFile.h says what is never replaced); `path` is then untouched. `replaceReadOnly` is --force. Frames
// may be written on several threads at once.
void writeImageFile(const ImageFormat& format, const FrameView& frame, const std::string& path,
                    bool replaceReadOnly = false, const EncodingSettings& settings = {});

// Writes the frame to standard output (prepared with prepareStandardOutputForImages) and flushes it, so that
// a reader has each frame as soon as it is made, and counts it as a frame written. Throws a ToolError
// (ExitCode::StandardOutput) with the reason when standard output is closed or full; `number` names the frame.
void writeImageToStandardOutput(const ImageFormat& format, const FrameView& frame, long number,
                                const EncodingSettings& settings = {});

} // namespace OrvaneTools
