// The image formats orvane-render writes, chosen by the output file's extension. PNG and EXR need their
// libraries at build time; PAM is always there.
#pragma once

#include <string>

namespace OrvaneTools {

enum class ImageFormat { Png, Exr, Pam };

// ".png", ".exr" or ".pam" (any letter case). Throws a usage ToolError for any other extension, for a
// format this build lacks, and for PAM at depth 32 (PAM holds integers only); `what` names the setting.
ImageFormat formatForOutput(const std::string& path, int depth, const std::string& what);

bool formatAvailable(ImageFormat format);
const char* formatName(ImageFormat format);

} // namespace OrvaneTools
