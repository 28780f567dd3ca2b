// The EXR writer: R, G, B, A as 32-bit floats or (--half) 16-bit half floats from any depth (8-bit / 255,
// 16-bit / 32768), colour premultiplied by alpha as EXR readers expect, compressed as asked. The rows go to
// the library in bands that fill every block it compresses at once on its thread pool.
#include "ImageFormat.h"
#include "ImageWriters.h"

#include "SampleScaling.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfOutputFile.h>
#include <ImfThreading.h>
#include <half.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <exception>
#include <mutex>
#include <new>
#include <vector>

namespace OrvaneTools {

namespace {

// The compressions are OpenEXR's, in its order.
static_assert(int(ExrCompression::None) == Imf::NO_COMPRESSION && int(ExrCompression::Rle) == Imf::RLE_COMPRESSION &&
              int(ExrCompression::Zips) == Imf::ZIPS_COMPRESSION && int(ExrCompression::Zip) == Imf::ZIP_COMPRESSION &&
              int(ExrCompression::Piz) == Imf::PIZ_COMPRESSION && int(ExrCompression::Pxr24) == Imf::PXR24_COMPRESSION &&
              int(ExrCompression::B44) == Imf::B44_COMPRESSION && int(ExrCompression::B44a) == Imf::B44A_COMPRESSION &&
              int(ExrCompression::Dwaa) == Imf::DWAA_COMPRESSION && int(ExrCompression::Dwab) == Imf::DWAB_COMPRESSION);

const ExrCompressionChoice& choiceOf(ExrCompression compression) {
    for (const ExrCompressionChoice& choice : exrCompressions())
        if (choice.value == compression) return choice;
    throw WriteFailure("EXR has no compression number " + std::to_string(int(compression)));
}

// The library's pool: none for one thread (the writer compresses), else one thread for each.
int poolThreads(const EncodingSettings& settings) { return settings.threads > 1 ? settings.threads : 0; }

void usePoolOf(int threads) {
    static std::mutex lock;
    std::lock_guard<std::mutex> hold(lock);
    if (Imf::globalThreadCount() != threads) Imf::setGlobalThreadCount(threads);
}

// Rows handed to the library at once: a block for each block it compresses at once (two a thread).
int bandRows(int height, const EncodingSettings& settings) {
    const int blocksAtOnce = std::max(1, 2 * poolThreads(settings));
    return std::min(height, choiceOf(settings.exrCompression).rowsPerBlock * blocksAtOnce);
}

// The library writes through this, so that the system's reason of a failed write is kept.
class FileStream : public Imf::OStream {
public:
    FileStream(std::FILE* f, const std::string& name) : Imf::OStream(name.c_str()), file(f) {}
    void write(const char data[], int count) override {
        errno = 0;
        if (count < 0 || std::fwrite(data, 1, static_cast<std::size_t>(count), file) != static_cast<std::size_t>(count))
            fail();
    }
    std::uint64_t tellp() override {
#if defined(_WIN32)
        const long long at = _ftelli64(file);
#else
        const off_t at = ftello(file);
#endif
        if (at < 0) fail();
        return static_cast<std::uint64_t>(at);
    }
    void seekp(std::uint64_t position) override {
#if defined(_WIN32)
        if (_fseeki64(file, static_cast<long long>(position), SEEK_SET) != 0) fail();
#else
        if (fseeko(file, static_cast<off_t>(position), SEEK_SET) != 0) fail();
#endif
    }
    int error() const { return failure; }

private:
    [[noreturn]] void fail() {
        failure = errno ? errno : EIO;
        throw WriteFailure(writeFailureReason(failure));
    }
    std::FILE* file;
    int failure = 0;
};

// Rows [first, first + count) as R, G, B, A samples of type Sample, colour premultiplied by alpha: the host's
// colour is straight, EXR colour is premultiplied.
template <class Pixel, class Sample> void fillBand(const FrameView& frame, int first, int count, std::vector<Sample>& band) {
    Sample* out = band.data();
    for (int y = first; y < first + count; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const UnitRgba p = unitRgba(pixelAt<Pixel>(frame, x, y));
            *out++ = Sample(p.red * p.alpha);
            *out++ = Sample(p.green * p.alpha);
            *out++ = Sample(p.blue * p.alpha);
            *out++ = Sample(p.alpha);
        }
}

template <class Pixel, class Sample>
void writeBands(const FrameView& frame, Imf::OutputFile& file, Imf::PixelType type, int rows) {
    const std::size_t width = static_cast<std::size_t>(frame.width);
    std::vector<Sample> band(width * static_cast<std::size_t>(rows) * 4);
    const std::size_t xStride = 4 * sizeof(Sample);
    const std::size_t yStride = xStride * width;
    const char* const names[] = {"R", "G", "B", "A"};
    for (int first = 0; first < frame.height; first += rows) {
        const int count = std::min(rows, frame.height - first);
        fillBand<Pixel>(frame, first, count, band);
        Imf::FrameBuffer buffer;
        const char* base = reinterpret_cast<const char*>(band.data());
        for (std::size_t c = 0; c < 4; ++c)
            buffer.insert(names[c], Imf::Slice::Make(type, base + c * sizeof(Sample), IMATH_NAMESPACE::V2i(0, first),
                                                     frame.width, count, xStride, yStride));
        file.setFrameBuffer(buffer);
        file.writePixels(count);
    }
}

// The pixel type is chosen once; the loops then run on the frame's own pixels.
template <class Sample> void writeFrame(const FrameView& frame, Imf::OutputFile& file, Imf::PixelType type, int rows) {
    switch (frame.depth) {
    case 8: return writeBands<PF_Pixel8, Sample>(frame, file, type, rows);
    case 16: return writeBands<PF_Pixel16, Sample>(frame, file, type, rows);
    default: return writeBands<PF_PixelFloat, Sample>(frame, file, type, rows);
    }
}

} // namespace

std::uint64_t exrWriterMemory(int width, int height, const EncodingSettings& settings) {
    const std::uint64_t sample = settings.half ? sizeof(half) : sizeof(float);
    const std::uint64_t band = std::uint64_t(width) * std::uint64_t(bandRows(height, settings)) * 4 * sample;
    // The band, and in the library each block's rows, its compressed bytes and the compressor's own.
    return 4 * band;
}

void writeExr(const FrameView& frame, std::FILE* output, const std::string& name, const EncodingSettings& settings) {
    checkFrameView(frame);
    FileStream stream(output, name);
    try {
        usePoolOf(poolThreads(settings));
        const Imf::PixelType type = settings.half ? Imf::HALF : Imf::FLOAT;
        Imf::Header header(frame.width, frame.height);
        header.compression() = static_cast<Imf::Compression>(choiceOf(settings.exrCompression).value);
        for (const char* channel : {"R", "G", "B", "A"}) header.channels().insert(channel, Imf::Channel(type));
        Imf::OutputFile file(stream, header, poolThreads(settings));
        const int rows = bandRows(frame.height, settings);
        if (settings.half)
            writeFrame<half>(frame, file, type, rows);
        else
            writeFrame<float>(frame, file, type, rows);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        // The library may wrap the stream's failure in its own message; the system's reason says more.
        if (stream.error()) throw WriteFailure(writeFailureReason(stream.error()));
        throw WriteFailure(e.what());
    }
    // The file's last bytes are written as it closes, where the library keeps failures to itself.
    if (stream.error()) throw WriteFailure(writeFailureReason(stream.error()));
}

} // namespace OrvaneTools
