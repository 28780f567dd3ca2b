// Finding a format by name or by a file's extension, and refusing an output the format cannot take, in
// messages whose lists of formats and depths come from the table.
#include "ImageFormat.h"

#include "FileNames.h"
#include "ToolError.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace OrvaneTools {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// ".png" of "a/b.PNG"; empty when the file name has no dot.
std::string lowerExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < fileNameStart(path)) return std::string();
    return lowered(path.substr(dot));
}

template <class Keep> std::vector<std::string> namesOf(Keep keep) {
    std::vector<std::string> names;
    for (const ImageFormat& format : imageFormats())
        if (format.written() && keep(format)) names.push_back(format.name);
    return names;
}

// "8 or 16": the depths in bits per channel.
std::string depthList(const std::vector<Orvane::PixelDepth>& depths) {
    std::vector<std::string> items;
    for (Orvane::PixelDepth depth : depths) items.push_back(std::to_string(Orvane::bitsPerChannel(depth)));
    return spokenList(items);
}

// Refuses what `format` cannot write: anything, in a build without its library, or frames of `depth`. The
// formats offered instead are files (".pfm") or, for standard output, names ("pfm") of those that go there.
void checkWritten(const ImageFormat& format, int depth, bool toStandardOutput, const std::string& named) {
    const std::string prefix = toStandardOutput ? "" : ".";
    const auto offered = [&](auto keep) {
        return spokenList(namesOf([&](const ImageFormat& f) { return keep(f) && (!toStandardOutput || f.streams()); }),
                          prefix);
    };
    if (!format.written())
        throw usageError(named + ": this build of orvane-render writes no " + format.title +
                         " files (its library was not found when it was built); it writes " +
                         offered([](const ImageFormat&) { return true; }));
    if (!format.takes(depth))
        throw usageError(named + ": " + format.title + " holds depth " + depthList(format.depths) + ", not " +
                         std::to_string(depth) + ": use --depth " + depthList(format.depths) + ", or " +
                         offered([depth](const ImageFormat& f) { return f.takes(depth); }));
}

} // namespace

bool ImageFormat::takes(int depth) const {
    const std::optional<Orvane::PixelDepth> code = Orvane::depthOfBits(depth);
    return code && std::find(depths.begin(), depths.end(), *code) != depths.end();
}

const ImageFormat* formatOfFileName(const std::string& path) {
    const std::string ext = lowerExtension(path);
    return ext.empty() ? nullptr : findImageFormat(ext.substr(1));
}

const ImageFormat* findImageFormat(const std::string& name) {
    const std::string wanted = lowered(name);
    for (const ImageFormat& format : imageFormats())
        if (wanted == format.name) return &format;
    return nullptr;
}

std::vector<std::string> writtenFormatNames() {
    return namesOf([](const ImageFormat&) { return true; });
}

std::vector<std::string> streamedFormatNames() {
    return namesOf([](const ImageFormat& format) { return format.streams(); });
}

std::string spokenList(const std::vector<std::string>& items, const std::string& prefix) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " or " : ", ") + prefix + items[i];
    return text;
}

const ImageFormat* parseImageFormat(const std::string& text, const std::string& what) {
    if (const ImageFormat* format = findImageFormat(text)) return format;
    throw usageError(what + ": expected " + spokenList(writtenFormatNames()) + ", got '" + text + "'");
}

const ImageFormat& formatForOutput(const std::string& path, const ImageFormat* requested, int depth,
                                   const std::string& what, const std::string& formatWhat) {
    if (isStandardOutputName(path)) {
        if (!requested)
            throw usageError(what + " -: give --format " + spokenList(streamedFormatNames()) +
                             " to say how the frames are written to standard output");
        if (!requested->streams())
            throw usageError(formatWhat + " " + requested->name + ": " + requested->title +
                             " cannot be written to standard output (" + requested->noStream + "); use " +
                             spokenList(streamedFormatNames()));
        checkWritten(*requested, depth, true, formatWhat + " " + requested->name);
        return *requested;
    }
    const std::string ext = lowerExtension(path);
    // A name without an extension (such as ./-, a file named "-") takes the format --format names.
    if (ext.empty() && requested) {
        checkWritten(*requested, depth, false, formatWhat + " " + requested->name);
        return *requested;
    }
    const ImageFormat* format = formatOfFileName(path);
    if (!format)
        throw usageError(what + " " + path + ": the file name must end in " + spokenList(writtenFormatNames(), ".") +
                         (ext.empty() ? std::string(", or --format must name the format of a name without an extension")
                                      : " (not " + ext + ")"));
    if (requested && requested != format)
        throw usageError(formatWhat + " " + requested->name + " and " + what + " " + path +
                         " disagree: a file's format is its extension (--format is for -o -)");
    checkWritten(*format, depth, false, what + " " + path);
    return *format;
}

} // namespace OrvaneTools
