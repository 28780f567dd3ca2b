#include "ValueParsing.h"

#include "ImageFormat.h"

#include "framework/PixelDepth.h"
#include "host/PopupChoices.h"
#include "params/ParamIndex.h"

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

std::size_t digitsFrom(const std::string& text, std::size_t& i) {
    const std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    return i - start;
}

bool isDecimal(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = digitsFrom(text, i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += digitsFrom(text, i);
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digitsFrom(text, i) == 0) return false;
    }
    return i == text.size();
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
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
    return value == 0 ? 0.0 : value; // -0 reads as 0
}

long parseWholeNumber(const std::string& text, const std::string& what) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) refuse(what, "a whole number", text);
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) refuse(what, "a whole number of sensible size", text);
    return value;
}

FrameSize parseSize(const std::string& text, const std::string& what) {
    const std::string expected = "WxH, two whole numbers from 1 to " + std::to_string(kMaxLayerSide) +
                                 " (a point, held in 16.16 fixed point, reaches at most " +
                                 std::to_string(kMaxLayerSide) + " pixels)";
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

int parseDepth(const std::string& text, const std::string& what) {
    std::vector<std::string> bits;
    for (const Orvane::DepthFacts& facts : Orvane::kDepthFacts) bits.push_back(std::to_string(facts.bitsPerChannel));
    if (std::find(bits.begin(), bits.end(), text) == bits.end()) refuse(what, spokenList(bits), text);
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

std::vector<std::string> choiceNames(const char* choices) {
    std::vector<std::string> names = OrvaneHost::popupChoiceNames(choices);
    for (std::string& name : names) name = lowered(name);
    return names;
}

namespace {
// The 1-based item of a popup named `text` in any letter case, as the control lists its choices.
A_long parseChoice(const char* choices, const std::string& text, const std::string& what) {
    if (const auto value = OrvaneHost::popupChoiceValue(choices, text)) return *value;
    refuse(what, spokenList(choiceNames(choices)), text);
}
} // namespace

Shape parseShape(const std::string& text, const std::string& what) {
    return Shape(parseChoice(Orvane::kShapeChoices, text, what));
}

Repeat parseRepeat(const std::string& text, const std::string& what) {
    return Repeat(parseChoice(Orvane::kRepeatChoices, text, what));
}

LayerPoint parsePoint(const std::string& text, const std::string& what) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) refuse(what, "X,Y in layer pixels", text);
    const std::string expected = "X,Y in layer pixels from -32767 to 32767 (decimals allowed)";
    LayerPoint point;
    try {
        point.x = parseDecimal(text.substr(0, comma), what);
        point.y = parseDecimal(text.substr(comma + 1), what);
    } catch (const ToolError&) {
        refuse(what, expected, text);
    }
    if (std::fabs(point.x) > kMaxPointPixels || std::fabs(point.y) > kMaxPointPixels) refuse(what, expected, text);
    return point;
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

double parseOpacityPercent(const std::string& text, const std::string& what) {
    const double percent = parseDecimal(text, what);
    if (percent < kMinOpacityPercent || percent > kMaxOpacityPercent)
        refuse(what, "an opacity from -100 to 200 percent", text);
    return percent;
}

double parseSeconds(const std::string& text, const std::string& what) {
    const double seconds = parseDecimal(text, what);
    if (seconds < 0 || seconds > kMaxSeconds) refuse(what, "a time from 0 to 17000 seconds", text);
    return seconds;
}

double parseFps(const std::string& text, const std::string& what) {
    // The time step round(120000 / fps) must be at least one time unit and fit the host's 32-bit field.
    const double fps = parseDecimal(text, what);
    if (fps < 0.001 || fps > 120000) refuse(what, "frames per second from 0.001 to 120000", text);
    return fps;
}

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

namespace {

// A whole number from 1 to `most`, written as any number whose value is whole (12, 1.2e1, 12.0), as a scene
// reads a JSON number; anything else is refused as not what `expected` says.
long wholeNumberFrom1(const std::string& text, const std::string& what, long most, const std::string& expected) {
    double value = 0;
    try {
        value = parseDecimal(text, what);
    } catch (const ToolError&) {
        refuse(what, expected, text);
    }
    if (value < 1 || value > double(most) || value != std::floor(value)) refuse(what, expected, text);
    return static_cast<long>(value);
}

} // namespace

int parseThreads(const std::string& text, const std::string& what) {
    const std::string expected = "a thread count from 1 to " + std::to_string(kMaxThreads);
    return static_cast<int>(wholeNumberFrom1(text, what, kMaxThreads, expected));
}

std::uint64_t parseMemorySize(const std::string& text, const std::string& what) {
    const std::string expected = "an amount of memory such as 512M or 4G (K, M, G, T: powers of 1024)";
    // The number, with its exponent if it has one (no unit begins with 'e').
    std::size_t unitStart = 0;
    while (unitStart < text.size() && (isDigit(text[unitStart]) || text[unitStart] == '.')) ++unitStart;
    if (unitStart < text.size() && (text[unitStart] == 'e' || text[unitStart] == 'E')) {
        std::size_t end = unitStart + 1;
        if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
        const std::size_t digits = end;
        while (end < text.size() && isDigit(text[end])) ++end;
        if (end > digits) unitStart = end;
    }
    const std::string unit = lowered(text.substr(unitStart));
    int power = 0;
    const char* const units[] = {"", "k", "m", "g", "t"};
    bool known = false;
    for (int p = 0; p < 5 && !known; ++p) {
        const std::string u = units[p];
        known = unit == u || (p > 0 && (unit == u + "b" || unit == u + "ib")) || (p == 0 && unit == "b");
        if (known) power = p;
    }
    if (!known || unitStart == 0) refuse(what, expected, text);
    double amount = 0;
    try {
        amount = parseDecimal(text.substr(0, unitStart), what);
    } catch (const ToolError&) {
        refuse(what, expected, text);
    }
    const double bytes = std::ldexp(amount, 10 * power);
    if (!(bytes >= 1) || bytes > std::ldexp(1.0, 62)) refuse(what, expected, text);
    return static_cast<std::uint64_t>(bytes);
}

std::uint32_t parseTimeScale(const std::string& text, const std::string& what) {
    const std::string expected = "time units per second from 1 to " + std::to_string(kMaxTimeScale);
    return static_cast<std::uint32_t>(wholeNumberFrom1(text, what, kMaxTimeScale, expected));
}

} // namespace OrvaneTools
