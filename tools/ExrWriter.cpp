#include "ImageWriters.h"

#include "SampleScaling.h"
#include "ToolError.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfOutputFile.h>

#include <cstddef>
#include <exception>
#include <vector>

namespace OrvaneTools {

namespace {

struct UnitRgba {
    float red, green, blue, alpha;
};

UnitRgba unitPixel(const FrameView& frame, int x, int y) {
    switch (frame.depth) {
    case 8: {
        const PF_Pixel8 p = pixelAt<PF_Pixel8>(frame, x, y);
        return {unitFromHost8(p.red), unitFromHost8(p.green), unitFromHost8(p.blue), unitFromHost8(p.alpha)};
    }
    case 16: {
        const PF_Pixel16 p = pixelAt<PF_Pixel16>(frame, x, y);
        return {unitFromHost16(p.red), unitFromHost16(p.green), unitFromHost16(p.blue), unitFromHost16(p.alpha)};
    }
    default: {
        const PF_PixelFloat p = pixelAt<PF_PixelFloat>(frame, x, y);
        return {p.red, p.green, p.blue, p.alpha};
    }
    }
}

} // namespace

void writeExr(const FrameView& frame, const std::string& path) {
    checkFrameView(frame);
    const std::size_t width = static_cast<std::size_t>(frame.width);
    std::vector<UnitRgba> pixels(width * static_cast<std::size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            UnitRgba p = unitPixel(frame, x, y);
            // The host's colour is straight; EXR colour is premultiplied by alpha.
            p.red *= p.alpha;
            p.green *= p.alpha;
            p.blue *= p.alpha;
            pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] = p;
        }
    }
    try {
        Imf::Header header(frame.width, frame.height);
        header.compression() = Imf::ZIP_COMPRESSION;
        Imf::FrameBuffer buffer;
        char* base = reinterpret_cast<char*>(pixels.data());
        const std::size_t xStride = sizeof(UnitRgba);
        const std::size_t yStride = xStride * width;
        const struct {
            const char* name;
            std::size_t offset;
        } channels[] = {{"R", offsetof(UnitRgba, red)},
                        {"G", offsetof(UnitRgba, green)},
                        {"B", offsetof(UnitRgba, blue)},
                        {"A", offsetof(UnitRgba, alpha)}};
        for (const auto& channel : channels) {
            header.channels().insert(channel.name, Imf::Channel(Imf::FLOAT));
            buffer.insert(channel.name, Imf::Slice(Imf::FLOAT, base + channel.offset, xStride, yStride));
        }
        Imf::OutputFile file(path.c_str(), header);
        file.setFrameBuffer(buffer);
        file.writePixels(frame.height);
    } catch (const std::exception& e) {
        throw ToolError(ExitCode::OutputWrite, "cannot write " + path + ": " + e.what());
    }
}

} // namespace OrvaneTools
