// The colour and opacity tables: "Color" and "Opacity" sampled at evenly spaced times from their first to
// their last keyframe, one sample per started pixel of ramp length. A parameter with fewer than two
// keyframes gives an empty table (the pixel function then uses its constant value).
#pragma once

#include "../sdk/host_sdk.h"
#include "../suites/SuiteTable.h"

#include <vector>

namespace Orvane {

using ColorTable = std::vector<PF_PixelFloat>; // alpha, red, green, blue
using OpacityTable = std::vector<float>;       // 0..1

// The most samples a table takes. Every sample is a host request, so a ramp longer than this many pixels
// (only a downsample factor far above 1 makes one) is sampled this many times and still spans its length.
constexpr A_long kMaxSampleCount = A_long(1) << 20;

// N from the host's ceiling of the ramp length: at least 2, at most kMaxSampleCount (also for a ceiling
// that is not a number), so the conversion to an integer is always defined.
A_long sampleCount(double ceiledRampLength);

// Keyframe times on a coarser scale than this many units per second are sampled on a finer base.
constexpr A_u_long kFineTimeScale = 120000;

// Sample i of n (n >= 2) between two keyframe times: first + ((last - first) * i) / (n - 1) in 64-bit
// integers, truncating toward zero, with the first time's scale. A scale coarser than kFineTimeScale (a
// host counting frames, say 24 per second) would put many samples on one instant and turn the ramp into
// bands, so there the same arithmetic runs on a base k times finer (value x k over scale x k: the same
// instants), k the smallest whole number that makes the scale at least kFineTimeScale, and smaller where a
// keyframe's time would no longer fit the host's 32-bit time. At kFineTimeScale or finer k is 1.
A_Time sampleTime(const A_Time& first, const A_Time& last, A_long i, A_long n);

// Each samples one parameter's stream into its table (left empty with fewer than two keyframes), giving
// back every stream value and the stream. Returns the first failure; on failure the table is not to be drawn.
PF_Err sampleColorTable(SuiteTable& suites, AEGP_PluginID pluginId, AEGP_EffectRefH effect, A_long samples,
                        ColorTable& table);
PF_Err sampleOpacityTable(SuiteTable& suites, AEGP_PluginID pluginId, AEGP_EffectRefH effect, A_long samples,
                          OpacityTable& table);

// Loop closure: a non-empty table gets a copy of its first entry at its end.
template <class Table> void closeLoop(Table& table) {
    if (!table.empty()) table.push_back(table.front());
}

} // namespace Orvane
