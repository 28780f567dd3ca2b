#include "RenderSettings.h"

namespace OrvaneTools {

namespace {
template <class T> void take(std::optional<T>& into, const std::optional<T>& from) {
    if (from) into = from;
}
} // namespace

RenderSettings mergeSettings(const RenderSettings& base, const RenderSettings& overrides) {
    RenderSettings merged = base;
    take(merged.module, overrides.module);
    take(merged.output, overrides.output);
    take(merged.size, overrides.size);
    take(merged.depth, overrides.depth);
    take(merged.downsample, overrides.downsample);
    take(merged.shape, overrides.shape);
    take(merged.repeat, overrides.repeat);
    take(merged.point1, overrides.point1);
    take(merged.point2, overrides.point2);
    take(merged.colors, overrides.colors);
    take(merged.opacities, overrides.opacities);
    take(merged.fps, overrides.fps);
    take(merged.threads, overrides.threads);
    take(merged.timeScale, overrides.timeScale);
    take(merged.pressRefresh, overrides.pressRefresh);
    take(merged.verbose, overrides.verbose);
    take(merged.force, overrides.force);
    take(merged.maxMemory, overrides.maxMemory);
    for (const auto& [option, source] : overrides.sources) merged.sources[option] = source;
    if (overrides.seconds) {
        merged.seconds = overrides.seconds;
        if (!overrides.frames) merged.frames.reset();
    }
    if (overrides.frames) {
        merged.frames = overrides.frames;
        if (!overrides.seconds) merged.seconds.reset();
    }
    return merged;
}

std::string RenderSettings::nameOf(const std::string& option) const {
    const auto source = sources.find(option);
    return source != sources.end() ? source->second : "--" + option;
}

} // namespace OrvaneTools
