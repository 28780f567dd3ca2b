#include "ImageFormat.h"

#include "ToolError.h"

#include <algorithm>
#include <cctype>

namespace OrvaneTools {

namespace {
std::string lowerExtension(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}
} // namespace

bool formatAvailable(ImageFormat format) {
    switch (format) {
    case ImageFormat::Png:
#if ORVANE_HAVE_PNG
        return true;
#else
        return false;
#endif
    case ImageFormat::Exr:
#if ORVANE_HAVE_EXR
        return true;
#else
        return false;
#endif
    case ImageFormat::Pam:
        return true;
    }
    return false;
}

const char* formatName(ImageFormat format) {
    switch (format) {
    case ImageFormat::Png: return "PNG";
    case ImageFormat::Exr: return "EXR";
    case ImageFormat::Pam: return "PAM";
    }
    return "?";
}

ImageFormat formatForOutput(const std::string& path, int depth, const std::string& what) {
    const std::string ext = lowerExtension(path);
    ImageFormat format;
    if (ext == ".png") {
        format = ImageFormat::Png;
    } else if (ext == ".exr") {
        format = ImageFormat::Exr;
    } else if (ext == ".pam") {
        format = ImageFormat::Pam;
    } else {
        throw usageError(what + " " + path + ": the file name must end in .png, .exr or .pam" +
                         (ext.empty() ? std::string() : " (not " + ext + ")"));
    }
    if (!formatAvailable(format))
        throw usageError(what + " " + path + ": this build of orvane-render writes no " + formatName(format) +
                         " files (its library was not found when it was built); use .pam");
    if (format == ImageFormat::Pam && depth == 32)
        throw usageError(what + " " + path + ": PAM holds integer samples only, so it cannot keep depth 32; "
                         "use .exr for float, or --depth 8 or 16");
    return format;
}

} // namespace OrvaneTools
