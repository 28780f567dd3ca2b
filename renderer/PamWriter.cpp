// The PAM writer: the buffer's exact values, TUPLTYPE RGB_ALPHA, MAXVAL 255 at depth 8 and 32768 at depth
// 16 (16-bit samples big-endian). PAM holds integers only: its description takes no float depth.
#include "ImageFormat.h"
#include "ImageWriters.h"

#include "SampleScaling.h"

#include <string>
#include <vector>

namespace OrvaneTools {

void writePam(const FrameView& frame, std::FILE* file, const std::string&) {
    checkFrameView(frame);
    const bool wide = frame.depth == 16;
    const std::size_t width = static_cast<std::size_t>(frame.width);

    const std::string header = "P7\nWIDTH " + std::to_string(frame.width) + "\nHEIGHT " + std::to_string(frame.height) +
                               "\nDEPTH 4\nMAXVAL " + std::to_string(wide ? kHost16Max : 255u) +
                               "\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    writeBytes(file, header.data(), header.size());

    std::vector<unsigned char> row(width * 4 * (wide ? 2 : 1));
    for (int y = 0; y < frame.height; ++y) {
        unsigned char* out = row.data();
        for (int x = 0; x < frame.width; ++x) {
            if (wide) {
                const PF_Pixel16 p = pixelAt<PF_Pixel16>(frame, x, y);
                for (std::uint16_t v : {p.red, p.green, p.blue, p.alpha}) {
                    const std::uint16_t held = heldHost16(v);
                    *out++ = static_cast<unsigned char>(held >> 8);
                    *out++ = static_cast<unsigned char>(held & 0xFF);
                }
            } else {
                const PF_Pixel8 p = pixelAt<PF_Pixel8>(frame, x, y);
                *out++ = p.red;
                *out++ = p.green;
                *out++ = p.blue;
                *out++ = p.alpha;
            }
        }
        writeBytes(file, row.data(), row.size());
    }
}

} // namespace OrvaneTools
