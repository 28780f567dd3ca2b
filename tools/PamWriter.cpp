#include "ImageWriters.h"

#include "SampleScaling.h"
#include "ToolError.h"

#include <fstream>
#include <vector>

namespace OrvaneTools {

void writePam(const FrameView& frame, const std::string& path) {
    checkFrameView(frame);
    if (frame.depth == 32) throw ToolError(ExitCode::OutputWrite, path + ": PAM cannot hold float samples");
    const bool wide = frame.depth == 16;
    const std::size_t width = static_cast<std::size_t>(frame.width);

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw ToolError(ExitCode::OutputWrite, "cannot create " + path);
    file << "P7\nWIDTH " << frame.width << "\nHEIGHT " << frame.height << "\nDEPTH 4\nMAXVAL "
         << (wide ? kHost16Max : 255u) << "\nTUPLTYPE RGB_ALPHA\nENDHDR\n";

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
        file.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
    }
    file.close();
    if (!file) throw ToolError(ExitCode::OutputWrite, "cannot write " + path);
}

} // namespace OrvaneTools
