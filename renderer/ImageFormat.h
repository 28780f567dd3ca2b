// The image formats orvane-render writes, each one description in one table (ImageFormats.cpp), which the
// option parsing, the checks of the output, --help and the dispatch to the writers all read.
#pragma once

#include "EncodingSettings.h"
#include "FrameView.h"

#include "framework/PixelDepth.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace OrvaneTools {

// Writes the whole frame to `file` (open for writing at its start), converting a band of rows at a time,
// never a second copy of the frame; throws WriteFailure (ImageWriters.h) when the file cannot take the
// bytes. `name` names the file in a library's own messages.
using ImageWriter = void (*)(const FrameView& frame, std::FILE* file, const std::string& name,
                             const EncodingSettings& settings);

// The most memory a writer takes besides the frame it writes.
using WriterMemory = std::uint64_t (*)(int width, int height, const EncodingSettings& settings);

struct ImageFormat {
    const char* name;        // the file extension without its dot, and the value of --format: "png"
    const char* title;       // what messages call it: "PNG"
    std::vector<Orvane::PixelDepth> depths; // the depths a file can be written from
    const char* noStream;    // why it cannot go to standard output; nullptr when it can
    ImageWriter write;       // nullptr when this build was made without the format's library
    WriterMemory memory;     // nullptr when `write` is
    const char* help;        // what a file holds, for the "Output:" list of --help

    bool written() const { return write != nullptr; }
    bool streams() const { return noStream == nullptr; }
    bool takes(int depth) const; // `depth` in bits per channel, as --depth gives it
};

// Every format, in the order --help and messages list them.
const std::vector<ImageFormat>& imageFormats();

// The format named `name` ("png", ".png" is not a name), in any letter case; nullptr for none.
const ImageFormat* findImageFormat(const std::string& name);

// The format a file name's extension names, in any letter case; nullptr for none.
const ImageFormat* formatOfFileName(const std::string& path);

// The names of the formats this build writes, or of those of them that can go to standard output.
std::vector<std::string> writtenFormatNames();
std::vector<std::string> streamedFormatNames();

// "a, b or c", with `prefix` before every item (".png, .exr or .pam").
std::string spokenList(const std::vector<std::string>& items, const std::string& prefix = "");

// The output name that stands for standard output.
inline bool isStandardOutputName(const std::string& path) { return path == "-"; }

// A --format value: a format's name in any letter case; throws a usage ToolError naming `what`.
const ImageFormat* parseImageFormat(const std::string& text, const std::string& what);

// The format of `path`: its extension (any letter case), or `requested` when `path` is standard output
// ("-") or has no extension (./-, a file named "-"). Throws a usage ToolError for an extension of no format, for standard output without a format or
// with one that cannot go there, for a `requested` format that the extension contradicts, for a format this
// build does not write and for a depth the format cannot take. `what` and `formatWhat` name the output and
// format settings in messages.
const ImageFormat& formatForOutput(const std::string& path, const ImageFormat* requested, int depth,
                                   const std::string& what, const std::string& formatWhat);

} // namespace OrvaneTools
