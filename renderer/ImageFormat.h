// The image formats orvane-render writes, chosen by the output file's extension or, for standard output,
// by --format. PNG and EXR need their libraries at build time; PAM and PFM are always there.
#pragma once

#include <optional>
#include <string>

namespace OrvaneTools {

enum class ImageFormat { Png, Exr, Pam, Pfm };

// The output name that stands for standard output.
inline bool isStandardOutputName(const std::string& path) { return path == "-"; }

// "png", "exr", "pam" or "pfm", in any letter case (--format); throws a usage ToolError naming `what`.
ImageFormat parseImageFormat(const std::string& text, const std::string& what);

// The format of `path`: its extension (".png", ".exr", ".pam", ".pfm", any letter case), or `requested` when
// `path` is standard output ("-"). Throws a usage ToolError for any other extension, for standard output
// without a format and for EXR there (its writer seeks back in the file), for a `requested` format that the
// extension contradicts, for a format this build lacks, and for PAM at depth 32 (PAM holds integers only).
// `what` and `formatWhat` name the output and format settings in messages.
ImageFormat formatForOutput(const std::string& path, std::optional<ImageFormat> requested, int depth,
                            const std::string& what, const std::string& formatWhat);

bool formatAvailable(ImageFormat format);
const char* formatName(ImageFormat format);

} // namespace OrvaneTools
