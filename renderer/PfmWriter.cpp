// The PFM writer: 32-bit float R, G, B, A with straight alpha, at depth 32 the buffer's values bit for bit,
// from depths 8 and 16 converted as for EXR.
#include "ImageFormat.h"
#include "ImageWriters.h"

#include "SampleScaling.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace OrvaneTools {

namespace {

constexpr const char* kPfmMagic = "PF4";
constexpr std::size_t kPixelBytes = 4 * sizeof(float);

// The float's bits, least significant byte first, whatever the machine's own order.
unsigned char* putLittleEndian(float value, unsigned char* out) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    for (int shift = 0; shift < 32; shift += 8) *out++ = static_cast<unsigned char>(bits >> shift);
    return out;
}

template <class Pixel> void writeRows(const FrameView& frame, std::FILE* file) {
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * kPixelBytes;
    const int rows = rowsPerBand(rowBytes, frame.height);
    std::vector<unsigned char> band(rowBytes * static_cast<std::size_t>(rows));
    for (int last = frame.height - 1; last >= 0; last -= rows) {
        unsigned char* out = band.data();
        for (int y = last; y > last - rows && y >= 0; --y)
            for (int x = 0; x < frame.width; ++x) {
                const UnitRgba p = unitRgba(pixelAt<Pixel>(frame, x, y));
                for (float v : {p.red, p.green, p.blue, p.alpha}) out = putLittleEndian(v, out);
            }
        writeBytes(file, band.data(), static_cast<std::size_t>(out - band.data()));
    }
}

} // namespace

std::uint64_t pfmWriterMemory(int width, int height, const EncodingSettings&) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * kPixelBytes;
    return rowBytes * static_cast<std::size_t>(rowsPerBand(rowBytes, height));
}

// PFM's layout with a fourth channel: the text header "PF4\n<width> <height>\n-1.0\n" (a negative scale:
// little-endian samples), then the rows from the bottom of the image to its top, each pixel's four samples
// as little-endian IEEE 754 single-precision floats. Nothing follows the last row, so frames can follow one
// another in a stream.
void writePfm(const FrameView& frame, std::FILE* file, const std::string&, const EncodingSettings&) {
    checkFrameView(frame);
    const std::string header = std::string(kPfmMagic) + "\n" + std::to_string(frame.width) + " " +
                               std::to_string(frame.height) + "\n-1.0\n";
    writeBytes(file, header.data(), header.size());

    switch (frame.depth) {
    case 8: return writeRows<PF_Pixel8>(frame, file);
    case 16: return writeRows<PF_Pixel16>(frame, file);
    default: return writeRows<PF_PixelFloat>(frame, file);
    }
}

} // namespace OrvaneTools
