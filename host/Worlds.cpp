#include "Worlds.h"

#include "FrameState.h"
#include "Host.h"

#include "../framework/PixelDepth.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace OrvaneHost {

namespace {
// The largest buffer the host makes: beyond it an allocation is answered with out-of-memory.
constexpr std::uint64_t kMaxWorldBytes = std::uint64_t(1) << 32;
} // namespace

int pixelSizeOfDepth(int depthBits) {
    const auto depth = Orvane::depthOfBits(depthBits);
    return depth ? Orvane::bytesPerPixel(*depth) : 0;
}

PF_PixelFormat pixelFormatOfDepth(int depthBits) {
    switch (Orvane::depthOfBits(depthBits).value_or(Orvane::PixelDepth(-1))) {
    case Orvane::Depth8:
        return PF_PixelFormat_ARGB32;
    case Orvane::Depth16:
        return PF_PixelFormat_ARGB64;
    case Orvane::Depth32:
        return PF_PixelFormat_ARGB128;
    default:
        return PF_PixelFormat_INVALID;
    }
}

int depthOfPixelFormat(PF_PixelFormat format) {
    switch (format) {
    case PF_PixelFormat_ARGB32:
        return 8;
    case PF_PixelFormat_ARGB64:
        return 16;
    case PF_PixelFormat_ARGB128:
        return 32;
    default:
        return 0;
    }
}

PF_Err checkWorldShape(A_long width, A_long height, int depthBits, int rowPaddingBytes) {
    const int pixelSize = pixelSizeOfDepth(depthBits);
    if (width < 0 || height < 0 || pixelSize == 0 || rowPaddingBytes < 0) return PF_Err_BAD_CALLBACK_PARAM;
    const std::int64_t rowbytes = std::int64_t(width) * pixelSize + rowPaddingBytes;
    if (rowbytes > std::numeric_limits<A_long>::max()) return PF_Err_OUT_OF_MEMORY;
    if (std::uint64_t(rowbytes) * std::uint64_t(height) > kMaxWorldBytes) return PF_Err_OUT_OF_MEMORY;
    return PF_Err_NONE;
}

namespace {

// The buffer with its storage not yet written.
std::unique_ptr<WorldBuffer> unwrittenWorldBuffer(A_long width, A_long height, int depthBits, int rowPaddingBytes) {
    const int pixelSize = pixelSizeOfDepth(depthBits);
    auto buffer = std::make_unique<WorldBuffer>();
    const A_long rowbytes =
        static_cast<A_long>(std::int64_t(width) * pixelSize + rowPaddingBytes);
    buffer->depth = depthBits;
    buffer->bytes = std::size_t(rowbytes) * std::size_t(height);
    if (buffer->bytes == 0) buffer->bytes = 1;
    buffer->storage.reset(new unsigned char[buffer->bytes]);

    PF_EffectWorld& w = buffer->world;
    w.data = reinterpret_cast<PF_PixelPtr>(buffer->storage.get());
    w.rowbytes = rowbytes;
    w.width = width;
    w.height = height;
    w.extent_hint = PF_UnionableRect{0, 0, width, height};
    w.pix_aspect_ratio = PF_RationalScale{1, 1};
    return buffer;
}

} // namespace

std::unique_ptr<WorldBuffer> makeWorldBuffer(A_long width, A_long height, int depthBits, int rowPaddingBytes,
                                             bool clear) {
    if (!clear) return makePatternedWorldBuffer(width, height, depthBits, rowPaddingBytes, 0xC0FFEEu);
    auto buffer = unwrittenWorldBuffer(width, height, depthBits, rowPaddingBytes);
    std::memset(buffer->storage.get(), 0, buffer->bytes);
    return buffer;
}

std::unique_ptr<WorldBuffer> makePatternedWorldBuffer(A_long width, A_long height, int depthBits,
                                                      int rowPaddingBytes, unsigned seed) {
    auto buffer = unwrittenWorldBuffer(width, height, depthBits, rowPaddingBytes);
    fillPattern(*buffer, seed);
    return buffer;
}

namespace {

// The pattern of a buffer, as runs of at most four bytes from its start: finite floats in -4..4 for 32-bit
// buffers, random words otherwise, and random bytes for a tail shorter than four.
template <class Visit> void walkPattern(std::size_t size, int depthBits, unsigned seed, Visit visit) {
    std::uint32_t state = seed ? seed : 1u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    unsigned char run[4];
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        if (depthBits == 32) {
            const float value = static_cast<float>(next() % 8001u) / 1000.0f - 4.0f;
            std::memcpy(run, &value, 4);
        } else {
            const std::uint32_t word = next();
            std::memcpy(run, &word, 4);
        }
        visit(i, run, 4);
    }
    for (; i < size; ++i) {
        run[0] = static_cast<unsigned char>(next());
        visit(i, run, 1);
    }
}

// A buffer repeats the first kPatternPeriod bytes of its pattern: drawing it word by word would be the largest
// part of the host's work on a large frame. A buffer of up to this size holds the pattern whole; in a larger
// one a pixel left unwritten or a byte written past a row still shows, since every byte is compared. A
// multiple of four, so that no run of the pattern is cut.
constexpr std::size_t kPatternPeriod = std::size_t(1) << 18;

std::size_t patternBlock(const WorldBuffer& buffer) { return std::min(buffer.bytes, kPatternPeriod); }

} // namespace

void fillPattern(WorldBuffer& buffer, unsigned seed) {
    unsigned char* bytes = buffer.storage.get();
    const std::size_t block = patternBlock(buffer);
    walkPattern(block, buffer.depth, seed,
                [bytes](std::size_t at, const unsigned char* run, std::size_t n) { std::memcpy(bytes + at, run, n); });
    for (std::size_t at = block; at < buffer.bytes; at += block)
        std::memcpy(bytes + at, bytes, std::min(block, buffer.bytes - at));
}

bool holdsPattern(const WorldBuffer& buffer, unsigned seed, bool paddingOnly) {
    const unsigned char* bytes = buffer.storage.get();
    const std::size_t block = patternBlock(buffer);
    if (!paddingOnly) {
        bool same = true;
        walkPattern(block, buffer.depth, seed, [&](std::size_t at, const unsigned char* run, std::size_t n) {
            same = same && std::memcmp(bytes + at, run, n) == 0;
        });
        // The first block holds the pattern; every later one repeats it.
        for (std::size_t at = block; same && at < buffer.bytes; at += block)
            same = std::memcmp(bytes + at, bytes, std::min(block, buffer.bytes - at)) == 0;
        return same;
    }
    const std::size_t rowbytes = std::size_t(buffer.world.rowbytes);
    const std::size_t pixels = std::size_t(buffer.world.width) * std::size_t(pixelSizeOfDepth(buffer.depth));
    // Rows without padding leave nothing outside them to check.
    if (rowbytes == pixels || rowbytes == 0) return true;
    std::vector<unsigned char> pattern(block);
    walkPattern(block, buffer.depth, seed, [&](std::size_t at, const unsigned char* run, std::size_t n) {
        std::memcpy(pattern.data() + at, run, n);
    });
    for (std::size_t row = 0; row * rowbytes < buffer.bytes; ++row) {
        const std::size_t end = std::min((row + 1) * rowbytes, buffer.bytes);
        for (std::size_t at = row * rowbytes + pixels; at < end; ++at)
            if (bytes[at] != pattern[at % block]) return false;
    }
    return true;
}

unsigned char* pixelAddress(const PF_EffectWorld& world, A_long x, A_long y, int depthBits) {
    return reinterpret_cast<unsigned char*>(world.data) + std::ptrdiff_t(y) * world.rowbytes +
           std::ptrdiff_t(x) * pixelSizeOfDepth(depthBits);
}

HostWorlds& hostWorlds(Host& host) { return host.extension<HostWorlds>(); }

WorldBuffer& setLayerBuffer(Host& host, A_long width, A_long height, int depthBits, int rowPaddingBytes) {
    HostWorlds& worlds = hostWorlds(host);
    worlds.layer = makeWorldBuffer(width, height, depthBits, rowPaddingBytes, false);
    return *worlds.layer;
}

void clearLayerBuffer(Host& host) { hostWorlds(host).layer.reset(); }

const WorldBuffer* findWorld(Host& host, const PF_EffectWorld* world) {
    if (!world || !world->data) return nullptr;
    HostWorlds& worlds = hostWorlds(host);
    if (worlds.layer && worlds.layer->world.data == world->data) return worlds.layer.get();
    const PF_PixelPtr pixels = world->data;
    const auto holds = [pixels](const WorldBuffer* b) { return b && b->world.data == pixels; };
    if (const FrameState* frame =
            host.findFrame([&](const FrameState& f) { return holds(f.layer) || holds(f.output); }))
        return holds(frame->layer) ? frame->layer : frame->output;
    auto it = worlds.allocated.find(world->data);
    return it == worlds.allocated.end() ? nullptr : it->second.get();
}

} // namespace OrvaneHost
