// The PNG writer: RGBA with straight alpha, 8-bit samples at depth 8 and 16-bit at depths 16 and 32 (host
// 16-bit values scaled from 0..32768 to 0..65535 with rounding; floats held to 0..1), its rows filtered and
// compressed as --png-compression says.
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

// How each choice filters and compresses, measured on the effect's ramps (bench/README.md has the figures).
// At 8 bits a ramp's row repeats the row above it shifted, which zlib finds whole in unfiltered rows; at 16
// bits the low bytes differ from pixel to pixel and the difference from the row above compresses best. Level
// 7 at 8 bits costs what 6 costs on a linear ramp and a few per cent more on a radial one, for smaller files.
struct PngEncoding {
    int filters; // PNG_FILTER_* bits: libpng picks among them row by row
    int level;   // zlib's
};

PngEncoding encodingOf(PngCompression compression, int bitDepth) {
    switch (compression) {
    case PngCompression::Fast: return {PNG_FILTER_UP, 1};
    case PngCompression::Small: return {PNG_ALL_FILTERS, 9};
    case PngCompression::Default: break;
    }
    return bitDepth == 8 ? PngEncoding{PNG_FILTER_NONE, 7} : PngEncoding{PNG_FILTER_UP, 6};
}

unsigned char* put16(std::uint16_t v, unsigned char* out) {
    *out++ = static_cast<unsigned char>(v >> 8);
    *out++ = static_cast<unsigned char>(v & 0xFF);
    return out;
}

unsigned char* putSamples(const PF_Pixel8& p, unsigned char* out) {
    *out++ = p.red;
    *out++ = p.green;
    *out++ = p.blue;
    *out++ = p.alpha;
    return out;
}

unsigned char* putSamples(const PF_Pixel16& p, unsigned char* out) {
    for (std::uint16_t v : {p.red, p.green, p.blue, p.alpha}) out = put16(sample16FromHost16(v), out);
    return out;
}

unsigned char* putSamples(const PF_PixelFloat& p, unsigned char* out) {
    for (float v : {p.red, p.green, p.blue, p.alpha}) out = put16(sample16FromFloat(v), out);
    return out;
}

// Row y as RGBA samples; 16-bit samples big-endian as PNG stores them.
template <class Pixel> void fillRow(const FrameView& frame, int y, unsigned char* out) {
    for (int x = 0; x < frame.width; ++x) out = putSamples(pixelAt<Pixel>(frame, x, y), out);
}

void fillRow(const FrameView& frame, int y, unsigned char* out) {
    switch (frame.depth) {
    case 8: return fillRow<PF_Pixel8>(frame, y, out);
    case 16: return fillRow<PF_Pixel16>(frame, y, out);
    default: return fillRow<PF_PixelFloat>(frame, y, out);
    }
}

// libpng reports errors by longjmp, so this function holds no object with a destructor: the row buffer
// belongs to the caller.
bool encodePng(const FrameView& frame, int bitDepth, const PngEncoding& encoding, unsigned char* row,
               PngTarget* target) {
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
    png_set_filter(png, PNG_FILTER_TYPE_BASE, encoding.filters);
    png_set_compression_level(png, encoding.level);
    png_write_info(png, info);
    for (int y = 0; y < frame.height; ++y) {
        fillRow(frame, y, row);
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

// The row of samples, libpng's rows (the one above and one filtered for each filter it tries) and zlib's
// state (its window, hash tables and pending output, under a mebibyte at any level).
std::uint64_t pngWriterMemory(int width, int, const EncodingSettings&) {
    const std::uint64_t rowBytes = std::uint64_t(width) * 4 * 2;
    return 8 * rowBytes + (std::uint64_t(1) << 20);
}

void writePng(const FrameView& frame, std::FILE* file, const std::string&, const EncodingSettings& settings) {
    checkFrameView(frame);
    const int bitDepth = frame.depth == 8 ? 8 : 16;
    std::vector<unsigned char> row(static_cast<std::size_t>(frame.width) * 4 * static_cast<std::size_t>(bitDepth / 8));
    PngTarget target;
    target.file = file;
    if (encodePng(frame, bitDepth, encodingOf(settings.pngCompression, bitDepth), row.data(), &target)) return;
    if (target.writeError) throw WriteFailure(writeFailureReason(target.writeError));
    if (target.outOfMemory || isOutOfMemory(target.message)) throw std::bad_alloc();
    throw WriteFailure(target.message);
}

} // namespace OrvaneTools
