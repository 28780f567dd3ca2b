#include "SettingKeys.h"

#include "ImageFormat.h"

#include "ToolError.h"
#include "ValueParsing.h"

namespace OrvaneTools {

namespace {

using Texts = std::vector<std::string>;

// Every form but Entries gives exactly one text.
const std::string& single(const Texts& texts) { return texts.front(); }

template <class Entry, Entry (*Parse)(const std::string&, const std::string&)>
std::vector<Entry> entries(const Texts& texts, const std::string& what) {
    std::vector<Entry> parsed;
    parsed.reserve(texts.size());
    for (const std::string& text : texts) parsed.push_back(Parse(text, what));
    return parsed;
}

std::string fileName(const std::string& text, const std::string& what) {
    if (text.find('\0') != std::string::npos)
        throw usageError(what + ": a file name cannot hold a NUL character, got '" + text + "'");
    if (text.empty()) throw usageError(what + ": the file name is empty");
    return text;
}

const char* const kModuleNotInScene =
    "a scene cannot name the effect module, since loading a module runs its code; give --module or set "
    "ORVANE_MODULE";

} // namespace

const std::vector<SettingKey>& settingKeys() {
    using F = SettingForm;
    static const std::vector<SettingKey> keys = {
        {"output", F::Text, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.output = fileName(single(t), w); }},
        {"format", F::Text, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.format = parseImageFormat(single(t), w); }},
        {"module", F::Text, 0, kModuleNotInScene,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.module = fileName(single(t), w); }},
        {"size", F::Pair, 'x', nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.size = parseSize(single(t), w); }},
        {"depth", F::Number, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.depth = parseDepth(single(t), w); }},
        {"downsample", F::NumberOrPair, 'x', nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.downsample = parseDownsample(single(t), w); }},
        {"shape", F::Text, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.shape = parseShape(single(t), w); }},
        {"repeat", F::Text, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.repeat = parseRepeat(single(t), w); }},
        {"point1", F::Pair, ',', nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.point1 = parsePoint(single(t), w); }},
        {"point2", F::Pair, ',', nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.point2 = parsePoint(single(t), w); }},
        {"color", F::Entries, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) {
             s.colors = entries<ColorEntry, parseColorEntry>(t, w);
         }},
        {"opacity", F::Entries, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) {
             s.opacities = entries<OpacityEntry, parseOpacityEntry>(t, w);
         }},
        {"time", F::Number, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.seconds = parseSeconds(single(t), w); }},
        {"fps", F::Number, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.fps = parseFps(single(t), w); }},
        {"frames", F::Pair, '-', nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.frames = parseFrames(single(t), w); }},
        {"threads", F::Number, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.threads = parseThreads(single(t), w); }},
        {"time-scale", F::Number, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.timeScale = parseTimeScale(single(t), w); }},
        {"max-memory", F::Number, 0, nullptr,
         [](const Texts& t, const std::string& w, RenderSettings& s) { s.maxMemory = parseMemorySize(single(t), w); }},
        {"press-refresh", F::Flag, 0, nullptr,
         [](const Texts& t, const std::string&, RenderSettings& s) { s.pressRefresh = single(t) == "true"; }},
        {"force", F::Flag, 0, nullptr,
         [](const Texts& t, const std::string&, RenderSettings& s) { s.force = single(t) == "true"; }},
        {"skip-existing", F::Flag, 0, nullptr,
         [](const Texts& t, const std::string&, RenderSettings& s) { s.skipExisting = single(t) == "true"; }},
        {"verbose", F::Flag, 0, nullptr,
         [](const Texts& t, const std::string&, RenderSettings& s) { s.verbose = single(t) == "true"; }},
    };
    return keys;
}

const SettingKey* findSettingKey(const std::string& name) {
    for (const SettingKey& key : settingKeys())
        if (name == key.name) return &key;
    return nullptr;
}

void applySetting(const SettingKey& key, const std::vector<std::string>& texts, const std::string& what,
                  RenderSettings& into) {
    if (texts.empty()) throw usageError(what + ": give at least one value");
    if (key.form != SettingForm::Entries && texts.size() != 1) throw usageError(what + ": give one value");
    key.store(texts, what, into);
    into.sources[key.name] = what;
}

} // namespace OrvaneTools
