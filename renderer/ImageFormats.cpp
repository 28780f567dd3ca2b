// The image formats orvane-render writes, one row each, which --format, the output's extension, --help and
// the writing read. A new format is one row here with its writer's declaration, one writer file and its line
// in CMakeLists.txt (a format whose library may be missing gets its writer from an #if, as PNG and EXR do).
#include "ImageFormat.h"

namespace OrvaneTools {

// The writers and the memory each takes besides the frame, each in its own file.
void writePng(const FrameView& frame, std::FILE* file, const std::string& name, const EncodingSettings& settings);
void writeExr(const FrameView& frame, std::FILE* file, const std::string& name, const EncodingSettings& settings);
void writePam(const FrameView& frame, std::FILE* file, const std::string& name, const EncodingSettings& settings);
void writePfm(const FrameView& frame, std::FILE* file, const std::string& name, const EncodingSettings& settings);
std::uint64_t pngWriterMemory(int width, int height, const EncodingSettings& settings);
std::uint64_t exrWriterMemory(int width, int height, const EncodingSettings& settings);
std::uint64_t pamWriterMemory(int width, int height, const EncodingSettings& settings);
std::uint64_t pfmWriterMemory(int width, int height, const EncodingSettings& settings);

namespace {

using Orvane::Depth16;
using Orvane::Depth32;
using Orvane::Depth8;

// A format whose library was not found when this build was made is known, and refused by name, but has no
// writer.
#if ORVANE_HAVE_PNG
constexpr ImageWriter kPngWriter = writePng;
constexpr WriterMemory kPngMemory = pngWriterMemory;
#else
constexpr ImageWriter kPngWriter = nullptr;
constexpr WriterMemory kPngMemory = nullptr;
#endif
#if ORVANE_HAVE_EXR
constexpr ImageWriter kExrWriter = writeExr;
constexpr WriterMemory kExrMemory = exrWriterMemory;
#else
constexpr ImageWriter kExrWriter = nullptr;
constexpr WriterMemory kExrMemory = nullptr;
#endif

} // namespace

const std::vector<ImageFormat>& imageFormats() {
    static const std::vector<ImageFormat> formats = {
        {"png", "PNG", {Depth8, Depth16, Depth32}, nullptr, kPngWriter, kPngMemory,
         "RGBA, straight alpha: 8-bit at depth 8, 16-bit at depths 16 and 32"},
        {"exr", "EXR", {Depth8, Depth16, Depth32}, "its writer goes back to fill in an index of the rows", kExrWriter,
         kExrMemory,
         "float RGBA from any depth (32-bit, or 16-bit half with --half), colour premultiplied by alpha; "
         "compressed as --exr-compression says, which the file's header records"},
        {"pam", "PAM", {Depth8, Depth16}, nullptr, writePam, pamWriterMemory,
         "the buffer's exact values, TUPLTYPE RGB_ALPHA, MAXVAL 255 (depth 8) or 32768 (depth 16)"},
        {"pfm", "PFM", {Depth8, Depth16, Depth32}, nullptr, writePfm, pfmWriterMemory,
         "32-bit float RGBA, straight alpha: at depth 32 the buffer's exact values; header \"PF4\", width and "
         "height, -1.0 (little-endian), then the rows from the bottom up (docs/guide.md describes it)"},
    };
    return formats;
}

// What each trades is measured on the effect's ramps (bench/README.md); PngWriter.cpp says how each is made.
const std::vector<PngCompressionChoice>& pngCompressions() {
    using C = PngCompression;
    static const std::vector<PngCompressionChoice> choices = {
        {C::Fast, "fast", "faster, larger files"},
        {C::Default, "default", "what a sequence wants: fast, and small on the effect's ramps"},
        {C::Small, "small", "the smallest files, many times slower"},
    };
    return choices;
}

// Rows per block and which pixel types keep every bit are OpenEXR's (a test reads them back).
const std::vector<ExrCompressionChoice>& exrCompressions() {
    using C = ExrCompression;
    static const std::vector<ExrCompressionChoice> choices = {
        {C::None, "none", 1, true, true, "stored as they are"},
        {C::Rle, "rle", 1, true, true, "runs of equal bytes, lossless"},
        {C::Zips, "zips", 1, true, true, "zlib a row at a time, lossless"},
        {C::Zip, "zip", 16, true, true, "zlib in blocks of 16 rows, lossless"},
        {C::Piz, "piz", 32, true, true, "wavelets in blocks of 32 rows, lossless"},
        {C::Pxr24, "pxr24", 16, false, true, "floats cut to 24 bits, then zlib: lossless for --half only"},
        {C::B44, "b44", 32, true, false, "4x4 blocks at a fixed rate, lossy, for --half channels only"},
        {C::B44a, "b44a", 32, true, false, "b44 with flat blocks smaller"},
        {C::Dwaa, "dwaa", 32, false, false, "DCT in blocks of 32 rows, lossy"},
        {C::Dwab, "dwab", 256, false, false, "DCT in blocks of 256 rows, lossy"},
    };
    return choices;
}

} // namespace OrvaneTools
