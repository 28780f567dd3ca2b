#include "RowFill.h"

#include <cstddef>
#include <cstring>

namespace Orvane::Filter {

namespace {
constexpr std::size_t kChunk = 64; // one cache line a store round; a multiple of every pixel size
}

void fillRow(unsigned char* row, A_long width, const unsigned char* pixel, int pixelSize) {
    if (width <= 0 || pixelSize <= 0 || kChunk % std::size_t(pixelSize) != 0) return;
    unsigned char chunk[kChunk];
    for (std::size_t i = 0; i < kChunk; i += std::size_t(pixelSize))
        std::memcpy(chunk + i, pixel, std::size_t(pixelSize));
    const std::size_t bytes = std::size_t(width) * std::size_t(pixelSize);
    std::size_t done = 0;
    // Whole chunks with fixed-size copies, which compile to plain vector stores.
    for (; done + kChunk <= bytes; done += kChunk) std::memcpy(row + done, chunk, kChunk);
    std::memcpy(row + done, chunk, bytes - done); // the chunk starts on a pixel, so any prefix of it is whole pixels
}

} // namespace Orvane::Filter
