#include "RenderSettings.h"

#include "ImageFormat.h"
#include "SettingOptions.h"

namespace OrvaneTools {

namespace {
// `a` given in `overrides` without `b`, which it excludes, drops the `b` of `base`.
template <class A, class B> void dropExcluded(const A& a, const B& b, B& mergedB) {
    if (a && !b) mergedB.reset();
}
} // namespace

RenderSettings mergeSettings(const RenderSettings& base, const RenderSettings& overrides) {
    RenderSettings merged = base;
    for (const SettingOption& option : settingOptions()) option.take(overrides, merged);
    for (const auto& [option, source] : overrides.sources) merged.sources[option] = source;
    dropExcluded(overrides.seconds, overrides.frames, merged.frames);
    dropExcluded(overrides.frames, overrides.seconds, merged.seconds);
    dropExcluded(overrides.force, overrides.skipExisting, merged.skipExisting);
    dropExcluded(overrides.skipExisting, overrides.force, merged.force);
    // A file's format is its extension: a file named in `overrides` drops a format `base` gave for -o -.
    if (overrides.output && !isStandardOutputName(*overrides.output) && !overrides.format) merged.format = nullptr;
    // Likewise the settings for another format: a scene's EXR settings do not stop a PNG preview of it.
    if (overrides.output && !isStandardOutputName(*overrides.output)) {
        const ImageFormat* format = formatOfFileName(*overrides.output);
        for (const SettingOption& option : settingOptions())
            if (option.format && !overrides.sources.count(option.name) &&
                (!format || format->name != std::string(option.format))) {
                option.drop(merged);
                merged.sources.erase(option.name);
            }
    }
    return merged;
}

std::string RenderSettings::nameOf(const std::string& option) const {
    const auto source = sources.find(option);
    return source != sources.end() ? source->second : "--" + option;
}

} // namespace OrvaneTools
