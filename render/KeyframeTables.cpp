#include "KeyframeTables.h"

#include "FloatConversion.h"

#include "../framework/UnitRange.h"
#include "../params/ParamIndex.h"
#include "../suites/ScopedAegpObject.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Orvane {

A_long sampleCount(double ceiledRampLength) {
    if (!(ceiledRampLength >= 2.0)) return 2;
    if (ceiledRampLength >= static_cast<double>(kMaxSampleCount)) return kMaxSampleCount;
    return static_cast<A_long>(ceiledRampLength);
}

namespace {

std::int64_t magnitude(A_long value) { return value < 0 ? -std::int64_t(value) : std::int64_t(value); }

std::int64_t finerBase(const A_Time& first, const A_Time& last) {
    if (first.scale == 0 || first.scale >= kFineTimeScale) return 1;
    std::int64_t k = (std::int64_t(kFineTimeScale) + first.scale - 1) / first.scale;
    const std::int64_t largest = std::max(magnitude(first.value), magnitude(last.value));
    if (largest > 0) k = std::min(k, std::int64_t(std::numeric_limits<A_long>::max()) / largest);
    return std::max<std::int64_t>(k, 1);
}

} // namespace

A_Time sampleTime(const A_Time& first, const A_Time& last, A_long i, A_long n) {
    const std::int64_t k = finerBase(first, last);
    const std::int64_t start = std::int64_t(first.value) * k;
    const std::int64_t span = (std::int64_t(last.value) - std::int64_t(first.value)) * k;
    const std::int64_t offset = span * i / (std::int64_t(n) - 1);
    return A_Time{static_cast<A_long>(start + offset), static_cast<A_u_long>(first.scale * k)};
}

namespace {

PF_PixelFloat colorEntry(const AEGP_StreamVal2& value) {
    const AEGP_ColorVal& c = value.color;
    return PF_PixelFloat{toFloat(c.alphaF), toFloat(c.redF), toFloat(c.greenF), toFloat(c.blueF)};
}

// Percent to 0..1, held to the range.
float opacityEntry(const AEGP_StreamVal2& value) { return static_cast<float>(heldToUnit(value.one_d * 0.01)); }

template <class Table, class Convert>
PF_Err sampleParameter(SuiteTable& suites, AEGP_PluginID pluginId, AEGP_EffectRefH effect, PF_ParamIndex index,
                       A_long samples, Table& table, Convert convert) {
    AEGP_StreamSuite9& streams = *suites.aegpStreamSuite9();
    ScopedStreamRef stream(streams.AEGP_DisposeStream);
    PF_Err err = streams.AEGP_GetNewEffectStreamByIndex(pluginId, effect, index, stream.receive());
    if (!err) {
        AEGP_KeyframeSuite4& keys = *suites.aegpKeyframeSuite4();
        A_long keyframes = 0;
        err = keys.AEGP_GetStreamNumKFs(stream.get(), &keyframes);
        if (!err && keyframes > 1) {
            A_Time first{0, 0}, last{0, 0};
            err = keys.AEGP_GetKeyframeTime(stream.get(), 0, AEGP_LTimeMode_LayerTime, &first);
            if (!err) err = keys.AEGP_GetKeyframeTime(stream.get(), keyframes - 1, AEGP_LTimeMode_LayerTime, &last);
            if (!err) table.reserve(static_cast<std::size_t>(samples));
            for (A_long i = 0; !err && i < samples; ++i) {
                const A_Time time = sampleTime(first, last, i, samples);
                AEGP_StreamValue2 value{};
                err = streams.AEGP_GetNewStreamValue(pluginId, stream.get(), AEGP_LTimeMode_LayerTime, &time, FALSE,
                                                     &value);
                if (!err) table.push_back(convert(value.val)); // within the reserve: cannot throw
                if (value.streamH) keepFirstError(err, streams.AEGP_DisposeStreamValue(&value));
            }
        }
    }
    keepFirstError(err, stream.release());
    return err;
}

} // namespace

PF_Err sampleColorTable(SuiteTable& suites, AEGP_PluginID pluginId, AEGP_EffectRefH effect, A_long samples,
                        ColorTable& table) {
    return sampleParameter(suites, pluginId, effect, kParamColor, samples, table, colorEntry);
}

PF_Err sampleOpacityTable(SuiteTable& suites, AEGP_PluginID pluginId, AEGP_EffectRefH effect, A_long samples,
                          OpacityTable& table) {
    return sampleParameter(suites, pluginId, effect, kParamOpacity, samples, table, opacityEntry);
}

} // namespace Orvane
