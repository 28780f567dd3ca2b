// The four image writers. Each writes the whole frame to `file` (open for writing at its start), converting
// a few rows at a time straight from the frame, never a second copy of it. When the file cannot take the
// bytes each throws WriteFailure with the reason; the caller names the file (ImageOutput.h).
#pragma once

#include "FrameView.h"

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace OrvaneTools {

// Why a frame could not be written, in words that follow the file's name: "No space left on device".
class WriteFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes `count` bytes or throws WriteFailure with the system's reason.
void writeBytes(std::FILE* file, const void* bytes, std::size_t count);
// The system's reason for the last failed write (errno), or a general one when it gave none.
std::string writeFailureReason(int error);

// RGBA with straight alpha: 8-bit samples at depth 8, 16-bit at depths 16 and 32 (host 16-bit values
// scaled from 0..32768 to 0..65535 with rounding; floats held to 0..1).
void writePng(const FrameView& frame, std::FILE* file);

// 32-bit float R, G, B, A from any depth (8-bit / 255, 16-bit / 32768), colour premultiplied by alpha
// as EXR readers expect. `name` is the file's name in the library's own messages.
void writeExr(const FrameView& frame, std::FILE* file, const std::string& name);

// The buffer's exact values, TUPLTYPE RGB_ALPHA: MAXVAL 255 at depth 8, 32768 at depth 16 (16-bit samples
// big-endian). Depth 32 is refused.
void writePam(const FrameView& frame, std::FILE* file);

// 32-bit float R, G, B, A with straight alpha: at depth 32 the buffer's values bit for bit, from depths 8
// and 16 converted as for EXR. PFM's layout with a fourth channel: the text header "PF4\n<width>
// <height>\n-1.0\n" (a negative scale: little-endian samples), then the rows from the bottom of the image
// to its top, each pixel's four samples as little-endian IEEE 754 single-precision floats. Nothing follows
// the last row, so frames can follow one another in a stream.
constexpr const char* kPfmMagic = "PF4";
void writePfm(const FrameView& frame, std::FILE* file);

} // namespace OrvaneTools
