#include "SceneFile.h"

#include "ToolError.h"
#include "ValueParsing.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace OrvaneTools {

namespace {

using nlohmann::json;

struct Key {
    std::string source;
    std::string name;
    std::string what() const { return source + ": \"" + name + "\""; }
    [[noreturn]] void wrongType(const std::string& expected) const { throw usageError(what() + " must be " + expected); }
};

const std::string& text(const json& value, const Key& key, const std::string& expected) {
    if (!value.is_string()) key.wrongType(expected);
    return value.get_ref<const std::string&>();
}

long wholeNumber(const json& value, const Key& key, const std::string& expected) {
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= 0x7FFFFFFFu) return static_cast<long>(value.get<std::uint64_t>());
    if (value.is_number_integer() && value.get<std::int64_t>() >= -0x7FFFFFFF && value.get<std::int64_t>() <= 0x7FFFFFFF)
        return static_cast<long>(value.get<std::int64_t>());
    key.wrongType(expected);
}

double number(const json& value, const Key& key, const std::string& expected) {
    if (!value.is_number()) key.wrongType(expected);
    return value.get<double>();
}

// A pair of whole numbers given as [a, b].
std::pair<long, long> wholePair(const json& value, const Key& key, const std::string& expected) {
    if (!value.is_array() || value.size() != 2) key.wrongType(expected);
    return {wholeNumber(value[0], key, expected), wholeNumber(value[1], key, expected)};
}

FrameSize sizeOf(const json& value, const Key& key) {
    const std::string expected = "\"WxH\" or [W, H]";
    if (value.is_string()) return parseSize(text(value, key, expected), key.what());
    const auto [w, h] = wholePair(value, key, expected);
    return parseSize(std::to_string(w) + "x" + std::to_string(h), key.what());
}

Downsample downsampleOf(const json& value, const Key& key) {
    const std::string expected = "N, \"NxM\" or [N, M]";
    if (value.is_string()) return parseDownsample(text(value, key, expected), key.what());
    if (value.is_array()) {
        const auto [n, m] = wholePair(value, key, expected);
        return parseDownsample(std::to_string(n) + "x" + std::to_string(m), key.what());
    }
    return parseDownsample(std::to_string(wholeNumber(value, key, expected)), key.what());
}

LayerPoint pointOf(const json& value, const Key& key) {
    const std::string expected = "\"X,Y\" or [X, Y]";
    if (value.is_string()) return parsePoint(text(value, key, expected), key.what());
    if (!value.is_array() || value.size() != 2) key.wrongType(expected);
    return checkedPoint(LayerPoint{number(value[0], key, expected), number(value[1], key, expected)}, key.what());
}

double secondsOf(const json& value, const Key& key) {
    if (value.is_string()) return parseSeconds(value.get<std::string>(), key.what());
    return checkedSeconds(number(value, key, "a time in seconds"), key.what());
}

double percentOf(const json& value, const Key& key) {
    if (value.is_string()) return parseOpacityPercent(value.get<std::string>(), key.what());
    return checkedOpacityPercent(number(value, key, "a percentage"), key.what());
}

// An entry object {"time": T, "<valueKey>": V}; no other member is allowed.
const json& timedMember(const json& entry, const Key& key, const std::string& valueKey, double& seconds) {
    const std::string expected = "{\"time\": T, \"" + valueKey + "\": ...}";
    if (!entry.contains("time") || !entry.contains(valueKey) || entry.size() != 2) key.wrongType("entries like " + expected);
    seconds = secondsOf(entry.at("time"), key);
    return entry.at(valueKey);
}

std::vector<ColorEntry> colorsOf(const json& value, const Key& key) {
    const std::string expected = "\"#RRGGBB[AA]\", \"T:#RRGGBB[AA]\", or a list of these or of {\"time\": T, \"color\": C}";
    const auto entryOf = [&](const json& entry) {
        if (entry.is_string()) return parseColorEntry(entry.get<std::string>(), key.what());
        if (!entry.is_object()) key.wrongType(expected);
        double seconds = 0;
        const json& color = timedMember(entry, key, "color", seconds);
        return ColorEntry{seconds, parseColor(text(color, key, "a colour \"#RRGGBB[AA]\""), key.what())};
    };
    std::vector<ColorEntry> entries;
    if (value.is_array()) {
        for (const json& entry : value) entries.push_back(entryOf(entry));
    } else {
        entries.push_back(entryOf(value));
    }
    return entries;
}

std::vector<OpacityEntry> opacitiesOf(const json& value, const Key& key) {
    const std::string expected = "a percentage, \"T:P\", or a list of these or of {\"time\": T, \"opacity\": P}";
    const auto entryOf = [&](const json& entry) {
        if (entry.is_string()) return parseOpacityEntry(entry.get<std::string>(), key.what());
        if (entry.is_number()) return OpacityEntry{std::nullopt, percentOf(entry, key)};
        if (!entry.is_object()) key.wrongType(expected);
        double seconds = 0;
        const json& percent = timedMember(entry, key, "opacity", seconds);
        return OpacityEntry{seconds, percentOf(percent, key)};
    };
    std::vector<OpacityEntry> entries;
    if (value.is_array()) {
        for (const json& entry : value) entries.push_back(entryOf(entry));
    } else {
        entries.push_back(entryOf(value));
    }
    return entries;
}

FrameRange framesOf(const json& value, const Key& key) {
    const std::string expected = "\"A-B\" or [A, B]";
    if (value.is_string()) return parseFrames(text(value, key, expected), key.what());
    const auto [a, b] = wholePair(value, key, expected);
    if (a < 0 || b < 0) key.wrongType("frame numbers of 0 or more");
    return parseFrames(std::to_string(a) + "-" + std::to_string(b), key.what());
}

using Reader = std::function<void(const json&, const Key&, RenderSettings&)>;

const std::map<std::string, Reader>& readers() {
    static const std::map<std::string, Reader> table = {
        {"module", [](const json& v, const Key& k, RenderSettings& s) { s.module = text(v, k, "a file path"); }},
        {"output", [](const json& v, const Key& k, RenderSettings& s) { s.output = text(v, k, "a file path"); }},
        {"size", [](const json& v, const Key& k, RenderSettings& s) { s.size = sizeOf(v, k); }},
        {"depth",
         [](const json& v, const Key& k, RenderSettings& s) {
             s.depth = v.is_string() ? parseDepth(v.get<std::string>(), k.what())
                                     : checkedDepth(wholeNumber(v, k, "8, 16 or 32"), k.what());
         }},
        {"downsample", [](const json& v, const Key& k, RenderSettings& s) { s.downsample = downsampleOf(v, k); }},
        {"shape",
         [](const json& v, const Key& k, RenderSettings& s) { s.shape = parseShape(text(v, k, "\"linear\" or \"radial\""), k.what()); }},
        {"repeat",
         [](const json& v, const Key& k, RenderSettings& s) {
             s.repeat = parseRepeat(text(v, k, "\"none\", \"loop\" or \"pingpong\""), k.what());
         }},
        {"point1", [](const json& v, const Key& k, RenderSettings& s) { s.point1 = pointOf(v, k); }},
        {"point2", [](const json& v, const Key& k, RenderSettings& s) { s.point2 = pointOf(v, k); }},
        {"color", [](const json& v, const Key& k, RenderSettings& s) { s.colors = colorsOf(v, k); }},
        {"opacity", [](const json& v, const Key& k, RenderSettings& s) { s.opacities = opacitiesOf(v, k); }},
        {"time", [](const json& v, const Key& k, RenderSettings& s) { s.seconds = secondsOf(v, k); }},
        {"fps",
         [](const json& v, const Key& k, RenderSettings& s) {
             s.fps = v.is_string() ? parseFps(v.get<std::string>(), k.what())
                                   : checkedFps(number(v, k, "frames per second"), k.what());
         }},
        {"frames", [](const json& v, const Key& k, RenderSettings& s) { s.frames = framesOf(v, k); }},
        {"threads",
         [](const json& v, const Key& k, RenderSettings& s) {
             s.threads = checkedThreads(wholeNumber(v, k, "a thread count"), k.what());
         }},
        {"time-scale",
         [](const json& v, const Key& k, RenderSettings& s) {
             s.timeScale = v.is_string() ? parseTimeScale(v.get<std::string>(), k.what())
                                         : checkedTimeScale(wholeNumber(v, k, "time units per second"), k.what());
         }},
        {"press-refresh",
         [](const json& v, const Key& k, RenderSettings& s) {
             if (!v.is_boolean()) k.wrongType("true or false");
             s.pressRefresh = v.get<bool>();
         }},
    };
    return table;
}

std::string knownKeys() {
    std::string list;
    for (const auto& [name, reader] : readers()) list += (list.empty() ? "" : ", ") + name;
    return list;
}

} // namespace

RenderSettings parseScene(const std::string& jsonText, const std::string& source) {
    json scene;
    try {
        scene = json::parse(jsonText);
    } catch (const json::parse_error& e) {
        throw usageError(source + ": not valid JSON: " + e.what());
    }
    if (!scene.is_object()) throw usageError(source + ": a scene is a JSON object of settings");
    if (scene.contains("time") && scene.contains("frames"))
        throw usageError(source + ": \"time\" and \"frames\" exclude each other");
    RenderSettings settings;
    for (const auto& [name, value] : scene.items()) {
        const auto reader = readers().find(name);
        if (reader == readers().end())
            throw usageError(source + ": unknown setting \"" + name + "\" (known: " + knownKeys() + ")");
        reader->second(value, Key{source, name}, settings);
    }
    return settings;
}

RenderSettings loadSceneFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::u8path(path), ec))
        throw usageError("--scene " + path + ": is a folder, not a scene file");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw usageError("--scene " + path + ": cannot read the file");
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) throw usageError("--scene " + path + ": cannot read the file");
    return parseScene(content.str(), "scene " + path);
}

} // namespace OrvaneTools
