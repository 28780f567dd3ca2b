// The PFM writer: 32-bit float R, G, B, A with straight alpha, at depth 32 the buffer's values bit for bit,
// from depths 8 and 16 converted as for EXR.
#include "ImageFormat.h"
#include "ImageWriters.h"

#include "SampleScaling.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace OrvaneTools {

namespace {

constexpr const char* kPfmMagic = "PF4";

// The float's bits, least significant byte first, whatever the machine's own order.
unsigned char* putLittleEndian(float value, unsigned char* out) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    for (int shift = 0; shift < 32; shift += 8) *out++ = static_cast<unsigned char>(bits >> shift);
    return out;
}

} // namespace

// PFM's layout with a fourth channel: the text header "PF4\n<width> <height>\n-1.0\n" (a negative scale:
// little-endian samples), then the rows from the bottom of the image to its top, each pixel's four samples
// as little-endian IEEE 754 single-precision floats. Nothing follows the last row, so frames can follow one
// another in a stream.
void writePfm(const FrameView& frame, std::FILE* file, const std::string&) {
    checkFrameView(frame);
    const std::string header = std::string(kPfmMagic) + "\n" + std::to_string(frame.width) + " " +
                               std::to_string(frame.height) + "\n-1.0\n";
    writeBytes(file, header.data(), header.size());

    std::vector<unsigned char> row(static_cast<std::size_t>(frame.width) * 4 * sizeof(float));
    for (int y = frame.height - 1; y >= 0; --y) {
        unsigned char* out = row.data();
        for (int x = 0; x < frame.width; ++x) {
            const UnitRgba p = unitPixel(frame, x, y);
            for (float v : {p.red, p.green, p.blue, p.alpha}) out = putLittleEndian(v, out);
        }
        writeBytes(file, row.data(), row.size());
    }
}

} // namespace OrvaneTools
