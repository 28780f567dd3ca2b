#include "Worlds.h"

#include "Host.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace OrvaneHost {

namespace {
// The largest buffer the host makes: beyond it an allocation is answered with out-of-memory.
constexpr std::uint64_t kMaxWorldBytes = std::uint64_t(1) << 32;
} // namespace

int pixelSizeOfDepth(int depthBits) {
    switch (depthBits) {
    case 8:
        return static_cast<int>(sizeof(PF_Pixel8));
    case 16:
        return static_cast<int>(sizeof(PF_Pixel16));
    case 32:
        return static_cast<int>(sizeof(PF_PixelFloat));
    default:
        return 0;
    }
}

PF_PixelFormat pixelFormatOfDepth(int depthBits) {
    switch (depthBits) {
    case 8:
        return PF_PixelFormat_ARGB32;
    case 16:
        return PF_PixelFormat_ARGB64;
    case 32:
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

std::unique_ptr<WorldBuffer> makeWorldBuffer(A_long width, A_long height, int depthBits, int rowPaddingBytes,
                                             bool clear) {
    const int pixelSize = pixelSizeOfDepth(depthBits);
    auto buffer = std::make_unique<WorldBuffer>();
    const A_long rowbytes =
        static_cast<A_long>(std::int64_t(width) * pixelSize + rowPaddingBytes);
    buffer->depth = depthBits;
    buffer->bytes = std::size_t(rowbytes) * std::size_t(height);
    if (buffer->bytes == 0) buffer->bytes = 1;
    buffer->storage = std::make_unique<unsigned char[]>(buffer->bytes); // zeroed
    if (!clear) fillPattern(*buffer, 0xC0FFEEu);

    PF_EffectWorld& w = buffer->world;
    w.data = reinterpret_cast<PF_PixelPtr>(buffer->storage.get());
    w.rowbytes = rowbytes;
    w.width = width;
    w.height = height;
    w.extent_hint = PF_UnionableRect{0, 0, width, height};
    w.pix_aspect_ratio = PF_RationalScale{1, 1};
    return buffer;
}

void fillPattern(WorldBuffer& buffer, unsigned seed) {
    std::uint32_t state = seed ? seed : 1u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    if (buffer.depth == 32) {
        const std::size_t floats = buffer.bytes / sizeof(float);
        for (std::size_t i = 0; i < floats; ++i) {
            const float value = static_cast<float>(next() % 8001u) / 1000.0f - 4.0f;
            std::memcpy(buffer.storage.get() + i * sizeof(float), &value, sizeof value);
        }
        for (std::size_t i = floats * sizeof(float); i < buffer.bytes; ++i)
            buffer.storage[i] = static_cast<unsigned char>(next());
        return;
    }
    std::size_t i = 0;
    for (; i + 4 <= buffer.bytes; i += 4) {
        const std::uint32_t word = next();
        std::memcpy(buffer.storage.get() + i, &word, 4);
    }
    for (; i < buffer.bytes; ++i) buffer.storage[i] = static_cast<unsigned char>(next());
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
    if (worlds.output && worlds.output->world.data == world->data) return worlds.output.get();
    auto it = worlds.allocated.find(world->data);
    return it == worlds.allocated.end() ? nullptr : it->second.get();
}

} // namespace OrvaneHost
