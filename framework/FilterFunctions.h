// The callables a filter runs: one per pixel, one per row, and one per band of rows.
#pragma once

#include "PixelDepth.h"

#include "../sdk/host_sdk.h"

#include <functional>

namespace Orvane::Filter {

// The destination pixel at column x, row y (from the source's top-left corner), from the source pixel there;
// both in float, channels alpha, red, green, blue. Called from every worker thread at once.
using PixelFunction = std::function<PF_PixelFloat(const PF_PixelFloat& in, int x, int y)>;

// Writes the `width` pixels of destination row y at `depth` (one of the three), starting at `row`, which
// may sit at any byte address; never touches a byte beyond them. For functions that produce whole rows
// without looking at the source. Called from every worker thread at once, each on its own rows.
using RowFunction = std::function<void(PixelDepth depth, A_long y, A_long width, unsigned char* row)>;

// Renders band `index` of `count`; returns a host error code.
using BandFunction = std::function<PF_Err(int index, int count)>;

} // namespace Orvane::Filter
