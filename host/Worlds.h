// The host's pixel buffers: the effect's input layer, the output of the frame being rendered, and the
// worlds the effect allocates through "PF World Suite" 1 and 2. Every buffer is 8, 16 or 32 bits per
// channel (PF_Pixel8, PF_Pixel16, PF_PixelFloat), rows `rowbytes` apart, possibly with padding after each
// row. Worlds made through a suite are books entries of kind "world", keyed by their pixel address, and
// must be disposed of exactly once by the suite that made them.
#pragma once

#include "../sdk/host_sdk.h"

#include <cstddef>
#include <map>
#include <memory>
#include <optional>

namespace OrvaneHost {

class Host;

// 4, 8 or 16 bytes for 8, 16 or 32 bits per channel; 0 for any other depth.
int pixelSizeOfDepth(int depthBits);
// PF_PixelFormat_ARGB32 / ARGB64 / ARGB128 for 8 / 16 / 32 bits; PF_PixelFormat_INVALID otherwise.
PF_PixelFormat pixelFormatOfDepth(int depthBits);
// The inverse: 8, 16 or 32, or 0 for a format the host does not make.
int depthOfPixelFormat(PF_PixelFormat format);

struct WorldBuffer {
    PF_EffectWorld world{}; // the record as the host hands it out; `data` points into `storage`
    int depth = 8;          // bits per channel: 8, 16 or 32
    int suiteVersion = 0;   // "PF World Suite" version that made it; 0 for the host's own buffers
    std::unique_ptr<unsigned char[]> storage;
    std::size_t bytes = 0; // rowbytes * height (at least 1, so even an empty world has pixels to point at)

    WorldBuffer() = default;
    WorldBuffer(const WorldBuffer&) = delete;
    WorldBuffer& operator=(const WorldBuffer&) = delete;
};

// Why a buffer of this shape cannot be made, or 0: PF_Err_BAD_CALLBACK_PARAM for a negative size, an
// unknown depth or negative padding; PF_Err_OUT_OF_MEMORY when rows or the whole buffer would not fit.
PF_Err checkWorldShape(A_long width, A_long height, int depthBits, int rowPaddingBytes);

// A buffer of width x height pixels, each row followed by `rowPaddingBytes` bytes: any number, as a real
// host may pad, so a row need not start on a whole pixel or be aligned for the pixel type. Pixels (and
// padding) are zero when `clear`, otherwise a fixed pattern that no effect may rely on.
// Throws std::bad_alloc when storage cannot be had; call checkWorldShape first.
std::unique_ptr<WorldBuffer> makeWorldBuffer(A_long width, A_long height, int depthBits, int rowPaddingBytes,
                                             bool clear);
// The same with pixels and padding in the pattern of `seed` (fillPattern), written once.
std::unique_ptr<WorldBuffer> makePatternedWorldBuffer(A_long width, A_long height, int depthBits,
                                                      int rowPaddingBytes, unsigned seed);

// Fills every byte, padding included, with a pseudo-random pattern derived from `seed`. For 32-bit buffers
// the pattern is made of finite floats in -4..4, so content that leaks into an output stays recognisable.
void fillPattern(WorldBuffer& buffer, unsigned seed);
// Whether the buffer still holds that pattern: in every byte, or (`paddingOnly`) in every byte that lies after
// the width pixels of its row.
bool holdsPattern(const WorldBuffer& buffer, unsigned seed, bool paddingOnly);

// Address of pixel (x, y) of a world of the given depth (no bounds check: callers stay within the world).
unsigned char* pixelAddress(const PF_EffectWorld& world, A_long x, A_long y, int depthBits);

// What the host keeps about buffers (host.extension<HostWorlds>()). Each frame being rendered keeps its own
// input and output buffers (FrameState).
struct HostWorlds {
    std::unique_ptr<WorldBuffer> layer; // the effect's layer as parameter 0 checkouts hand it out, when set
    std::map<const void*, std::unique_ptr<WorldBuffer>> allocated; // made through a world suite, by pixels
    // When set, PF_GetPixelFormat reports this for every world (to present formats the effect cannot draw).
    std::optional<PF_PixelFormat> reportedFormat;
};

HostWorlds& hostWorlds(Host& host);

// Replaces the input layer's buffer (parameter 0 checkouts and smart-render checkout id 0 hand it out).
WorldBuffer& setLayerBuffer(Host& host, A_long width, A_long height, int depthBits, int rowPaddingBytes = 0);
void clearLayerBuffer(Host& host);

// The buffer whose pixels `world` points at, among every buffer the host holds (those of the frames being
// rendered included); null when it holds none.
const WorldBuffer* findWorld(Host& host, const PF_EffectWorld* world);

// Serves "PF World Suite" 1 and 2 (called by installRenderServices).
void installWorldSuites(Host& host);

} // namespace OrvaneHost
