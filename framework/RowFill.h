// One pixel repeated along a row: what a constant colour costs when it is written at memory speed.
#pragma once

#include "../sdk/host_sdk.h"

namespace Orvane::Filter {

// Writes `width` copies of the `pixelSize` bytes at `pixel` (4, 8 or 16: one pixel of a depth) from `row` on,
// which may sit at any byte address; nothing beyond the last copy is touched.
void fillRow(unsigned char* row, A_long width, const unsigned char* pixel, int pixelSize);

} // namespace Orvane::Filter
