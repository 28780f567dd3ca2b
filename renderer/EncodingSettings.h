// What the options ask of the encoders beyond the frame itself: EXR's compression and sample type, PNG's
// trade of time for size, and the threads an encoder may use. The choices are listed in ImageFormats.cpp,
// beside the formats they belong to.
#pragma once

#include <string>
#include <vector>

namespace OrvaneTools {

// EXR's compressions, in OpenEXR's order and by its names (ExrWriter.cpp maps them onto the library's).
enum class ExrCompression { None, Rle, Zips, Zip, Piz, Pxr24, B44, B44a, Dwaa, Dwab };

struct ExrCompressionChoice {
    ExrCompression value;
    const char* name;  // the value of --exr-compression: "zip"
    int rowsPerBlock;  // the rows compressed together
    bool keepsFloats;  // 32-bit float channels come back bit for bit
    bool keepsHalves;  // half channels (--half) come back bit for bit
    const char* help;  // what it does, for --help
};
const std::vector<ExrCompressionChoice>& exrCompressions();

// How PNG's rows are filtered and compressed: a trade of time for size.
enum class PngCompression { Fast, Default, Small };

struct PngCompressionChoice {
    PngCompression value;
    const char* name; // the value of --png-compression: "fast"
    const char* help;
};
const std::vector<PngCompressionChoice>& pngCompressions();

// What the options ask of an encoder, beyond the frame itself.
struct EncodingSettings {
    PngCompression pngCompression = PngCompression::Default;
    ExrCompression exrCompression = ExrCompression::Zip; // what existing files and their readers rely on
    bool half = false;                                   // EXR channels as 16-bit half floats
    int threads = 1;                                     // the threads an encoder may use for one frame
};

// A choice by its name; throws a usage ToolError naming `what` and the names there are.
ExrCompression parseExrCompression(const std::string& text, const std::string& what);
PngCompression parsePngCompression(const std::string& text, const std::string& what);

} // namespace OrvaneTools
