#include "SceneFile.h"

#include "KeyframeObjects.h"
#include "SceneJson.h"
#include "SettingOptions.h"
#include "ToolError.h"

#include "host/RegularFile.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>
#include <set>
#include <vector>

namespace OrvaneTools {

namespace {

using nlohmann::json;
using Texts = std::vector<std::string>;

std::string shownJson(const json& value) { return shortJson(value); }

[[noreturn]] void wrongForm(const std::string& what, const std::string& expected, const json& value) {
    throw usageError(what + ": expected " + expected + ", got " + shownJson(value));
}

// A JSON number as the command line would write it: a whole value without a fraction (16.0 is 16), any
// other exactly.
std::string numberText(const json& value) {
    if (value.is_number_unsigned()) return std::to_string(value.get<std::uint64_t>());
    if (value.is_number_integer()) return std::to_string(value.get<std::int64_t>());
    const double number = value.get<double>();
    if (std::floor(number) == number && std::fabs(number) < 9007199254740992.0)
        return std::to_string(static_cast<long long>(number));
    return value.dump();
}

std::string expectedForms(const SettingOption& key) {
    switch (key.form) {
    case SettingForm::Text: return "a string";
    case SettingForm::Number: return "a number or a string";
    case SettingForm::Pair: return "a string or two numbers [A, B]";
    case SettingForm::NumberOrPair: return "a number, a string or two numbers [A, B]";
    case SettingForm::Entries:
        return std::string("a string, a number, {\"time\": T, \"") + key.name + "\": V}, or a list of these";
    case SettingForm::PairEntries:
        return std::string("a string, two numbers [X, Y], {\"time\": T, \"") + key.name + "\": V}, or a list of these";
    case SettingForm::Flag: return "true or false";
    }
    return "a string";
}

bool isNumberPair(const json& value) {
    return value.is_array() && value.size() == 2 && value[0].is_number() && value[1].is_number();
}

// One entry of a repeatable setting: "T:V", V, [X, Y] where a value is a pair, or a keyframe object
// {"time": T, "<key>": V, ...} (KeyframeObjects.h); `place` is its place in the list.
std::string entryText(const SettingOption& key, const json& entry, std::size_t place, const std::string& what) {
    const std::function<std::string(const json&)> scalar = [&](const json& v) {
        if (v.is_string()) return v.get<std::string>();
        if (v.is_number()) return numberText(v);
        if (key.form == SettingForm::PairEntries && isNumberPair(v))
            return numberText(v[0]) + key.separator + numberText(v[1]);
        wrongForm(what, expectedForms(key), entry);
    };
    if (!entry.is_object()) return scalar(entry);
    return keyframeObjectText(entry, key.name, place, scalar, what);
}

// The option's text (or texts) that a JSON value stands for.
Texts textsOf(const SettingOption& key, const json& value, const std::string& what) {
    const SettingForm form = key.form;
    if (form == SettingForm::Flag) {
        if (!value.is_boolean()) wrongForm(what, expectedForms(key), value);
        return {value.get<bool>() ? "true" : "false"};
    }
    if (takesEntries(form)) {
        if (!value.is_array() || (form == SettingForm::PairEntries && isNumberPair(value)))
            return {entryText(key, value, 1, what)};
        Texts texts;
        for (const json& entry : value) texts.push_back(entryText(key, entry, texts.size() + 1, what));
        return texts;
    }
    if (value.is_string()) return {value.get<std::string>()};
    const bool numbers = form == SettingForm::Number || form == SettingForm::NumberOrPair;
    const bool pairs = form == SettingForm::Pair || form == SettingForm::NumberOrPair;
    if (numbers && value.is_number()) return {numberText(value)};
    if (pairs && value.is_array() && value.size() == 2 && value[0].is_number() && value[1].is_number())
        return {numberText(value[0]) + key.separator + numberText(value[1])};
    wrongForm(what, expectedForms(key), value);
}

std::string knownKeys() {
    std::string list;
    for (const SettingOption& key : settingOptions())
        if (key.notInScene.empty()) list += (list.empty() ? "" : ", ") + std::string(key.name);
    return list;
}

} // namespace

RenderSettings parseScene(const std::string& jsonText, const std::string& source) {
    const json scene = readJson(jsonText, source, kMaxSceneDepth);
    if (!scene.is_object()) throw usageError(source + ": a scene is a JSON object of settings");
    if (scene.contains("time") && scene.contains("frames"))
        throw usageError(source + ": \"time\" and \"frames\" exclude each other");
    RenderSettings settings;
    for (const auto& [name, value] : scene.items()) {
        const std::string what = source + ": \"" + name + "\"";
        if (name == "scene") throw usageError(what + ": a scene cannot read another scene");
        const SettingOption* key = findSettingOption(name);
        if (!key) throw usageError(source + ": unknown setting \"" + name + "\" (known: " + knownKeys() + ")");
        if (!key->notInScene.empty()) throw usageError(what + ": " + key->notInScene);
        applySetting(*key, textsOf(*key, value, what), what, settings);
    }
    return settings;
}

RenderSettings loadSceneFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = OrvaneHost::RegularFile(path, kMaxSceneBytes).readAll();
    } catch (const OrvaneHost::FileRefused& e) {
        throw usageError("--scene " + path + ": " + e.what());
    }
    return parseScene(std::string(bytes.begin(), bytes.end()), "scene " + path);
}

} // namespace OrvaneTools
