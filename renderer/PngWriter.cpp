// The PNG writer: RGBA with straight alpha, 8-bit samples at depth 8 and 16-bit at depths 16 and 32 (host
// 16-bit values scaled from 0..32768 to 0..65535 with rounding; floats held to 0..1).
#include "ImageFormat.h"
#include "ImageWriters.h"

#include "SampleScaling.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace OrvaneTools {

namespace {

// What the library's callbacks leave for the writer: the file, and why writing stopped.
struct PngTarget {
    std::FILE* file = nullptr;
    int writeError = 0; // errno of a failed write
    bool outOfMemory = false;
    char message[256] = {};
};

void onPngError(png_structp png, png_const_charp message) {
    auto* target = static_cast<PngTarget*>(png_get_error_ptr(png));
    std::snprintf(target->message, sizeof(target->message), "%s", message ? message : "the PNG library failed");
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// The library's own writer drops the system's reason; this one keeps it.
void onPngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* target = static_cast<PngTarget*>(png_get_io_ptr(png));
    errno = 0;
    if (std::fwrite(data, 1, length, target->file) != length) {
        target->writeError = errno ? errno : EIO;
        png_error(png, "write failed");
    }
}

void onPngFlush(png_structp) {} // the file is flushed once, when it is complete

// Row y as RGBA samples; 16-bit samples big-endian as PNG stores them.
void fillRow(const FrameView& frame, int y, int bitDepth, unsigned char* out) {
    const auto put16 = [&out](std::uint16_t v) {
        *out++ = static_cast<unsigned char>(v >> 8);
        *out++ = static_cast<unsigned char>(v & 0xFF);
    };
    for (int x = 0; x < frame.width; ++x) {
        if (bitDepth == 8) {
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

// libpng reports errors by longjmp, so this function holds no object with a destructor: the row buffer
// belongs to the caller.
bool encodePng(const FrameView& frame, int bitDepth, unsigned char* row, PngTarget* target) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, target, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        target->outOfMemory = true;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, target, onPngWrite, onPngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height), bitDepth,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < frame.height; ++y) {
        fillRow(frame, y, bitDepth, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool isOutOfMemory(const char* message) {
    const char prefix[] = "out of memory";
    for (std::size_t i = 0; i + 1 < sizeof(prefix); ++i)
        if (message[i] == '\0' || (message[i] | 0x20) != prefix[i]) return false;
    return true;
}

} // namespace

void writePng(const FrameView& frame, std::FILE* file, const std::string&) {
    checkFrameView(frame);
    const int bitDepth = frame.depth == 8 ? 8 : 16;
    std::vector<unsigned char> row(static_cast<std::size_t>(frame.width) * 4 * static_cast<std::size_t>(bitDepth / 8));
    PngTarget target;
    target.file = file;
    if (encodePng(frame, bitDepth, row.data(), &target)) return;
    if (target.writeError) throw WriteFailure(writeFailureReason(target.writeError));
    if (target.outOfMemory || isOutOfMemory(target.message)) throw std::bad_alloc();
    throw WriteFailure(target.message);
}

} // namespace OrvaneTools
