// The callables a filter runs: one per pixel, and one per band of rows.
#pragma once

#include "../sdk/host_sdk.h"

#include <functional>

namespace Orvane::Filter {

// The destination pixel at column x, row y (from the source's top-left corner), from the source pixel there;
// both in float, channels alpha, red, green, blue. Called from every worker thread at once.
using PixelFunction = std::function<PF_PixelFloat(const PF_PixelFloat& in, int x, int y)>;

// Renders band `index` of `count`; returns a host error code.
using BandFunction = std::function<PF_Err(int index, int count)>;

} // namespace Orvane::Filter
