#include "ImageFormat.h"

#include "ToolError.h"

#include <algorithm>
#include <cctype>

namespace OrvaneTools {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string lowerExtension(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    return lowered(path.substr(dot));
}

struct NamedFormat {
    ImageFormat format;
    const char* extension; // also the --format name, without the dot
};

const NamedFormat kFormats[] = {
    {ImageFormat::Png, "png"}, {ImageFormat::Exr, "exr"}, {ImageFormat::Pam, "pam"}, {ImageFormat::Pfm, "pfm"}};

std::optional<ImageFormat> formatNamed(const std::string& name) {
    for (const NamedFormat& f : kFormats)
        if (name == f.extension) return f.format;
    return std::nullopt;
}

const char* extensionOf(ImageFormat format) {
    for (const NamedFormat& f : kFormats)
        if (f.format == format) return f.extension;
    return "?";
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
    case ImageFormat::Pfm:
        return true;
    }
    return false;
}

const char* formatName(ImageFormat format) {
    switch (format) {
    case ImageFormat::Png: return "PNG";
    case ImageFormat::Exr: return "EXR";
    case ImageFormat::Pam: return "PAM";
    case ImageFormat::Pfm: return "PFM";
    }
    return "?";
}

ImageFormat parseImageFormat(const std::string& text, const std::string& what) {
    if (const auto format = formatNamed(lowered(text))) return *format;
    throw usageError(what + ": expected png, pam, pfm or exr, got '" + text + "'");
}

ImageFormat formatForOutput(const std::string& path, std::optional<ImageFormat> requested, int depth,
                            const std::string& what, const std::string& formatWhat) {
    ImageFormat format;
    if (isStandardOutputName(path)) {
        if (!requested)
            throw usageError(what + " -: give --format png, pam or pfm to say how the frames are written to "
                                    "standard output");
        format = *requested;
        if (format == ImageFormat::Exr)
            throw usageError(formatWhat + " exr: an EXR file cannot be written to standard output (its writer goes "
                                          "back to fill in an index of the rows); use pfm for float frames");
    } else {
        const std::string ext = lowerExtension(path);
        const auto named = ext.empty() ? std::nullopt : formatNamed(ext.substr(1));
        if (!named)
            throw usageError(what + " " + path + ": the file name must end in .png, .exr, .pam or .pfm" +
                             (ext.empty() ? std::string() : " (not " + ext + ")"));
        format = *named;
        if (requested && *requested != format)
            throw usageError(formatWhat + " " + extensionOf(*requested) + " and " + what + " " + path +
                             " disagree: a file's format is its extension (--format is for -o -)");
    }
    if (!formatAvailable(format))
        throw usageError(what + " " + path + ": this build of orvane-render writes no " + formatName(format) +
                         " files (its library was not found when it was built); write PFM for float frames, PAM "
                         "otherwise");
    if (format == ImageFormat::Pam && depth == 32)
        throw usageError(what + " " + path + ": PAM holds integer samples only, so it cannot keep depth 32; "
                         "use .pfm (or .exr) for float, or --depth 8 or 16");
    return format;
}

} // namespace OrvaneTools
