#include "ValueParsing.h"

#include "ToolError.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace OrvaneTools {

namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

[[noreturn]] void refuse(const std::string& what, const std::string& expected, const std::string& text) {
    throw usageError(what + ": expected " + expected + ", got " + quoted(text));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isDecimal(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    return digits > 0 && i == text.size();
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Splits "T:V" at the first colon; no colon means a plain value.
bool splitTimed(const std::string& text, std::string& time, std::string& value) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    time = text.substr(0, colon);
    value = text.substr(colon + 1);
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

double parseDecimal(const std::string& text, const std::string& what) {
    if (!isDecimal(text)) refuse(what, "a decimal number", text);
    // from_chars reads no leading '+' and is independent of the locale.
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    double value = 0;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        refuse(what, "a decimal number of sensible size", text);
    return value;
}

long parseWholeNumber(const std::string& text, const std::string& what) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) refuse(what, "a whole number", text);
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) refuse(what, "a whole number of sensible size", text);
    return value;
}

FrameSize parseSize(const std::string& text, const std::string& what) {
    const std::string expected = "WxH, two whole numbers from 1 to " + std::to_string(kMaxLayerSide);
    const auto x = lowered(text).find('x');
    if (x == std::string::npos) refuse(what, expected, text);
    long w = 0, h = 0;
    try {
        w = parseWholeNumber(text.substr(0, x), what);
        h = parseWholeNumber(text.substr(x + 1), what);
    } catch (const ToolError&) {
        refuse(what, expected, text);
    }
    if (w < 1 || h < 1 || w > kMaxLayerSide || h > kMaxLayerSide) refuse(what, expected, text);
    return FrameSize{static_cast<int>(w), static_cast<int>(h)};
}

int checkedDepth(long depth, const std::string& what) {
    if (depth != 8 && depth != 16 && depth != 32) refuse(what, "8, 16 or 32", std::to_string(depth));
    return static_cast<int>(depth);
}

int parseDepth(const std::string& text, const std::string& what) {
    if (text != "8" && text != "16" && text != "32") refuse(what, "8, 16 or 32", text);
    return static_cast<int>(parseWholeNumber(text, what));
}

Downsample parseDownsample(const std::string& text, const std::string& what) {
    const std::string expected = "N or NxM, whole numbers from 1 to " + std::to_string(kMaxLayerSide);
    const auto x = lowered(text).find('x');
    long n = 0, m = 0;
    try {
        n = parseWholeNumber(text.substr(0, x), what);
        m = x == std::string::npos ? n : parseWholeNumber(text.substr(x + 1), what);
    } catch (const ToolError&) {
        refuse(what, expected, text);
    }
    if (n < 1 || m < 1 || n > kMaxLayerSide || m > kMaxLayerSide) refuse(what, expected, text);
    return Downsample{static_cast<int>(n), static_cast<int>(m)};
}

Shape parseShape(const std::string& text, const std::string& what) {
    const std::string name = lowered(text);
    if (name == "linear") return Shape::Linear;
    if (name == "radial") return Shape::Radial;
    refuse(what, "linear or radial", text);
}

Repeat parseRepeat(const std::string& text, const std::string& what) {
    const std::string name = lowered(text);
    if (name == "none") return Repeat::None;
    if (name == "loop") return Repeat::Loop;
    if (name == "pingpong") return Repeat::Pingpong;
    refuse(what, "none, loop or pingpong", text);
}

LayerPoint checkedPoint(LayerPoint point, const std::string& what) {
    const auto inRange = [](double v) { return std::isfinite(v) && std::fabs(v) <= kMaxPointPixels; };
    if (!inRange(point.x) || !inRange(point.y)) {
        throw usageError(what + ": point coordinates must lie within -32767 to 32767 pixels");
    }
    return point;
}

LayerPoint parsePoint(const std::string& text, const std::string& what) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) refuse(what, "X,Y in layer pixels", text);
    LayerPoint point;
    try {
        point.x = parseDecimal(text.substr(0, comma), what);
        point.y = parseDecimal(text.substr(comma + 1), what);
    } catch (const ToolError&) {
        refuse(what, "X,Y in layer pixels (decimals allowed)", text);
    }
    return checkedPoint(point, what);
}

Rgba8 parseColor(const std::string& text, const std::string& what) {
    const std::string expected = "#RRGGBB or #RRGGBBAA in hexadecimal";
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#') refuse(what, expected, text);
    std::uint8_t bytes[4] = {0, 0, 0, 255};
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const int high = hexDigit(text[i + 1]);
        const int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0) refuse(what, expected, text);
        bytes[i / 2] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return Rgba8{bytes[0], bytes[1], bytes[2], bytes[3]};
}

ColorEntry parseColorEntry(const std::string& text, const std::string& what) {
    std::string time, value;
    if (!splitTimed(text, time, value)) return ColorEntry{std::nullopt, parseColor(text, what)};
    return ColorEntry{parseSeconds(time, what + " (keyframe time)"), parseColor(value, what)};
}

double checkedOpacityPercent(double percent, const std::string& what) {
    if (!std::isfinite(percent) || percent < kMinOpacityPercent || percent > kMaxOpacityPercent)
        throw usageError(what + ": opacity must lie within -100 to 200 percent");
    return percent;
}

double parseOpacityPercent(const std::string& text, const std::string& what) {
    return checkedOpacityPercent(parseDecimal(text, what), what);
}

OpacityEntry parseOpacityEntry(const std::string& text, const std::string& what) {
    std::string time, value;
    if (!splitTimed(text, time, value)) return OpacityEntry{std::nullopt, parseOpacityPercent(text, what)};
    return OpacityEntry{parseSeconds(time, what + " (keyframe time)"), parseOpacityPercent(value, what)};
}

double checkedSeconds(double seconds, const std::string& what) {
    if (!std::isfinite(seconds) || seconds < 0 || seconds > kMaxSeconds)
        throw usageError(what + ": times must lie within 0 to 17000 seconds");
    return seconds;
}

double parseSeconds(const std::string& text, const std::string& what) {
    return checkedSeconds(parseDecimal(text, what), what);
}

double checkedFps(double fps, const std::string& what) {
    // The time step round(120000 / fps) must be at least one time unit and fit the host's 32-bit field.
    if (!std::isfinite(fps) || fps < 0.001 || fps > 120000)
        throw usageError(what + ": frames per second must lie within 0.001 to 120000");
    return fps;
}

double parseFps(const std::string& text, const std::string& what) { return checkedFps(parseDecimal(text, what), what); }

FrameRange parseFrames(const std::string& text, const std::string& what) {
    const std::string expected = "A-B, two frame numbers with A no greater than B";
    const auto dash = text.find('-');
    if (dash == std::string::npos) refuse(what, expected, text);
    FrameRange range;
    try {
        range.first = parseWholeNumber(text.substr(0, dash), what);
        range.last = parseWholeNumber(text.substr(dash + 1), what);
    } catch (const ToolError&) {
        refuse(what, expected, text);
    }
    if (range.first > range.last) refuse(what, expected, text);
    return range;
}

int checkedThreads(long threads, const std::string& what) {
    if (threads < 1 || threads > kMaxThreads) refuse(what, "a thread count from 1 to 1024", std::to_string(threads));
    return static_cast<int>(threads);
}

int parseThreads(const std::string& text, const std::string& what) {
    long threads = 0;
    try {
        threads = parseWholeNumber(text, what);
    } catch (const ToolError&) {
        refuse(what, "a thread count from 1 to 1024", text);
    }
    return checkedThreads(threads, what);
}

std::uint32_t checkedTimeScale(long scale, const std::string& what) {
    if (scale < 1 || scale > kMaxTimeScale) refuse(what, "time units per second from 1 to 120000", std::to_string(scale));
    return static_cast<std::uint32_t>(scale);
}

std::uint32_t parseTimeScale(const std::string& text, const std::string& what) {
    long scale = 0;
    try {
        scale = parseWholeNumber(text, what);
    } catch (const ToolError&) {
        refuse(what, "time units per second from 1 to 120000", text);
    }
    return checkedTimeScale(scale, what);
}

} // namespace OrvaneTools
