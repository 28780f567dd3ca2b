#include "ImageWriters.h"

#include "SampleScaling.h"
#include "ToolError.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace OrvaneTools {

namespace {

struct PngFailure {
    char message[256];
};

void onPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof(failure->message), "%s", message ? message : "libpng error");
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp, so this function holds no object with a destructor: the rows and
// the file belong to the caller.
bool encodePng(std::FILE* file, png_uint_32 width, png_uint_32 height, int bitDepth, png_bytepp rows,
               PngFailure* failure) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, onPngError, onPngWarning);
    if (!png) {
        std::snprintf(failure->message, sizeof(failure->message), "libpng could not start");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        if (!info) std::snprintf(failure->message, sizeof(failure->message), "libpng could not start");
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, bitDepth, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Rows of RGBA samples; 16-bit samples big-endian as PNG stores them.
std::vector<unsigned char> pngSamples(const FrameView& frame, int bitDepth) {
    const std::size_t rowSize = static_cast<std::size_t>(frame.width) * 4 * (bitDepth / 8);
    std::vector<unsigned char> samples(rowSize * static_cast<std::size_t>(frame.height));
    unsigned char* out = samples.data();
    const auto put16 = [&out](std::uint16_t v) {
        *out++ = static_cast<unsigned char>(v >> 8);
        *out++ = static_cast<unsigned char>(v & 0xFF);
    };
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (frame.depth == 8) {
                const PF_Pixel8 p = pixelAt<PF_Pixel8>(frame, x, y);
                *out++ = p.red;
                *out++ = p.green;
                *out++ = p.blue;
                *out++ = p.alpha;
            } else if (frame.depth == 16) {
                const PF_Pixel16 p = pixelAt<PF_Pixel16>(frame, x, y);
                for (std::uint16_t v : {p.red, p.green, p.blue, p.alpha}) put16(sample16FromHost16(v));
            } else {
                const PF_PixelFloat p = pixelAt<PF_PixelFloat>(frame, x, y);
                for (float v : {p.red, p.green, p.blue, p.alpha}) put16(sample16FromFloat(v));
            }
        }
    }
    return samples;
}

} // namespace

void writePng(const FrameView& frame, const std::string& path) {
    checkFrameView(frame);
    const int bitDepth = frame.depth == 8 ? 8 : 16;
    std::vector<unsigned char> samples = pngSamples(frame, bitDepth);
    const std::size_t rowSize = samples.size() / static_cast<std::size_t>(frame.height);
    std::vector<png_bytep> rows(static_cast<std::size_t>(frame.height));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = samples.data() + y * rowSize;

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw ToolError(ExitCode::OutputWrite, "cannot create " + path + ": " + std::strerror(errno));
    PngFailure failure{};
    const bool encoded = encodePng(file, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height),
                                   bitDepth, rows.data(), &failure);
    const bool closed = std::fclose(file) == 0;
    if (!encoded) throw ToolError(ExitCode::OutputWrite, "cannot write " + path + ": " + failure.message);
    if (!closed) throw ToolError(ExitCode::OutputWrite, "cannot write " + path + ": " + std::strerror(errno));
}

} // namespace OrvaneTools
