// The image formats orvane-render writes, one row each, which --format, the output's extension, --help and
// the writing read. A new format is one row here with its writer's declaration, one writer file and its line
// in CMakeLists.txt (a format whose library may be missing gets its writer from an #if, as PNG and EXR do).
#include "ImageFormat.h"

namespace OrvaneTools {

// The writers, each in its own file.
void writePng(const FrameView& frame, std::FILE* file, const std::string& name);
void writeExr(const FrameView& frame, std::FILE* file, const std::string& name);
void writePam(const FrameView& frame, std::FILE* file, const std::string& name);
void writePfm(const FrameView& frame, std::FILE* file, const std::string& name);

namespace {

using Orvane::Depth16;
using Orvane::Depth32;
using Orvane::Depth8;

// A format whose library was not found when this build was made is known, and refused by name, but has no
// writer.
#if ORVANE_HAVE_PNG
constexpr ImageWriter kPngWriter = writePng;
#else
constexpr ImageWriter kPngWriter = nullptr;
#endif
#if ORVANE_HAVE_EXR
constexpr ImageWriter kExrWriter = writeExr;
#else
constexpr ImageWriter kExrWriter = nullptr;
#endif

} // namespace

const std::vector<ImageFormat>& imageFormats() {
    static const std::vector<ImageFormat> formats = {
        {"png", "PNG", {Depth8, Depth16, Depth32}, nullptr, kPngWriter,
         "RGBA, straight alpha: 8-bit at depth 8, 16-bit at depths 16 and 32"},
        {"exr", "EXR", {Depth8, Depth16, Depth32}, "its writer goes back to fill in an index of the rows", kExrWriter,
         "32-bit float RGBA from any depth, colour premultiplied by alpha"},
        {"pam", "PAM", {Depth8, Depth16}, nullptr, writePam,
         "the buffer's exact values, TUPLTYPE RGB_ALPHA, MAXVAL 255 (depth 8) or 32768 (depth 16)"},
        {"pfm", "PFM", {Depth8, Depth16, Depth32}, nullptr, writePfm,
         "32-bit float RGBA, straight alpha: at depth 32 the buffer's exact values; header \"PF4\", width and "
         "height, -1.0 (little-endian), then the rows from the bottom up (docs/guide.md describes it)"},
    };
    return formats;
}

} // namespace OrvaneTools
