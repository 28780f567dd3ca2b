// The PAM writer: the buffer's exact values, TUPLTYPE RGB_ALPHA, MAXVAL 255 at depth 8 and 32768 at depth
// 16 (16-bit samples big-endian). PAM holds integers only: its description takes no float depth.
#include "ImageFormat.h"
#include "ImageWriters.h"

#include "SampleScaling.h"

#include <algorithm>
#include <string>
#include <vector>

namespace OrvaneTools {

namespace {

constexpr std::size_t kChannels = 4;

unsigned char* putSamples(const PF_Pixel8& p, unsigned char* out) {
    *out++ = p.red;
    *out++ = p.green;
    *out++ = p.blue;
    *out++ = p.alpha;
    return out;
}

unsigned char* putSamples(const PF_Pixel16& p, unsigned char* out) {
    for (std::uint16_t v : {p.red, p.green, p.blue, p.alpha}) {
        const std::uint16_t held = heldHost16(v);
        *out++ = static_cast<unsigned char>(held >> 8);
        *out++ = static_cast<unsigned char>(held & 0xFF);
    }
    return out;
}

template <class Pixel> void writeRows(const FrameView& frame, std::FILE* file) {
    // A file's row takes as many bytes as the buffer's.
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * sizeof(Pixel);
    const int rows = rowsPerBand(rowBytes, frame.height);
    std::vector<unsigned char> band(rowBytes * static_cast<std::size_t>(rows));
    for (int first = 0; first < frame.height; first += rows) {
        const int count = std::min(rows, frame.height - first);
        unsigned char* out = band.data();
        for (int y = first; y < first + count; ++y)
            for (int x = 0; x < frame.width; ++x) out = putSamples(pixelAt<Pixel>(frame, x, y), out);
        writeBytes(file, band.data(), static_cast<std::size_t>(out - band.data()));
    }
}

} // namespace

std::uint64_t pamWriterMemory(int width, int height, const EncodingSettings&) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(PF_Pixel16);
    return rowBytes * static_cast<std::size_t>(rowsPerBand(rowBytes, height));
}

void writePam(const FrameView& frame, std::FILE* file, const std::string&, const EncodingSettings&) {
    checkFrameView(frame);
    const bool wide = frame.depth == 16;
    const std::string header = "P7\nWIDTH " + std::to_string(frame.width) + "\nHEIGHT " + std::to_string(frame.height) +
                               "\nDEPTH " + std::to_string(kChannels) + "\nMAXVAL " +
                               std::to_string(wide ? kHost16Max : 255u) + "\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    writeBytes(file, header.data(), header.size());
    if (wide)
        writeRows<PF_Pixel16>(frame, file);
    else
        writeRows<PF_Pixel8>(frame, file);
}

} // namespace OrvaneTools
