#include "RenderSettings.h"

#include "ImageFormat.h"

namespace OrvaneTools {

namespace {
template <class T> void take(std::optional<T>& into, const std::optional<T>& from) {
    if (from) into = from;
}

// Takes `a` and `b` from `overrides`; one given there alone drops the other, which it excludes.
template <class A, class B>
void takeExclusive(std::optional<A>& mergedA, std::optional<B>& mergedB, const std::optional<A>& a,
                   const std::optional<B>& b) {
    if (a && !b) mergedB.reset();
    if (b && !a) mergedA.reset();
    take(mergedA, a);
    take(mergedB, b);
}
} // namespace

RenderSettings mergeSettings(const RenderSettings& base, const RenderSettings& overrides) {
    RenderSettings merged = base;
    take(merged.module, overrides.module);
    take(merged.output, overrides.output);
    // A file's format is its extension: a file named in `overrides` drops a format `base` gave for -o -.
    if (overrides.output && !isStandardOutputName(*overrides.output) && !overrides.format) merged.format = nullptr;
    if (overrides.format) merged.format = overrides.format;
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
    take(merged.maxMemory, overrides.maxMemory);
    for (const auto& [option, source] : overrides.sources) merged.sources[option] = source;
    takeExclusive(merged.seconds, merged.frames, overrides.seconds, overrides.frames);
    takeExclusive(merged.force, merged.skipExisting, overrides.force, overrides.skipExisting);
    return merged;
}

std::string RenderSettings::nameOf(const std::string& option) const {
    const auto source = sources.find(option);
    return source != sources.end() ? source->second : "--" + option;
}

} // namespace OrvaneTools
