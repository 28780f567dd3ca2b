// The EXR writer: 32-bit float R, G, B, A from any depth (8-bit / 255, 16-bit / 32768), colour
// premultiplied by alpha as EXR readers expect.
#include "ImageFormat.h"
#include "ImageWriters.h"

#include "SampleScaling.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfOutputFile.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <exception>
#include <new>
#include <vector>

namespace OrvaneTools {

namespace {

// Rows converted at a time: as many as the ZIP compression takes in one block.
constexpr int kStripRows = 16;

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

// Rows [first, first + count) of the frame, colour premultiplied by alpha: the host's colour is straight,
// EXR colour is premultiplied.
void fillStrip(const FrameView& frame, int first, int count, std::vector<UnitRgba>& strip) {
    const std::size_t width = static_cast<std::size_t>(frame.width);
    for (int row = 0; row < count; ++row) {
        for (int x = 0; x < frame.width; ++x) {
            UnitRgba p = unitPixel(frame, x, first + row);
            p.red *= p.alpha;
            p.green *= p.alpha;
            p.blue *= p.alpha;
            strip[static_cast<std::size_t>(row) * width + static_cast<std::size_t>(x)] = p;
        }
    }
}

void writeStrips(const FrameView& frame, Imf::OutputFile& file) {
    const std::size_t width = static_cast<std::size_t>(frame.width);
    std::vector<UnitRgba> strip(width * kStripRows);
    const std::size_t xStride = sizeof(UnitRgba);
    const std::size_t yStride = xStride * width;
    const struct {
        const char* name;
        std::size_t offset;
    } channels[] = {{"R", offsetof(UnitRgba, red)},
                    {"G", offsetof(UnitRgba, green)},
                    {"B", offsetof(UnitRgba, blue)},
                    {"A", offsetof(UnitRgba, alpha)}};
    for (int first = 0; first < frame.height; first += kStripRows) {
        const int count = std::min(kStripRows, frame.height - first);
        fillStrip(frame, first, count, strip);
        Imf::FrameBuffer buffer;
        const char* base = reinterpret_cast<const char*>(strip.data());
        for (const auto& channel : channels)
            buffer.insert(channel.name, Imf::Slice::Make(Imf::FLOAT, base + channel.offset, IMATH_NAMESPACE::V2i(0, first),
                                                         frame.width, count, xStride, yStride));
        file.setFrameBuffer(buffer);
        file.writePixels(count);
    }
}

} // namespace

void writeExr(const FrameView& frame, std::FILE* output, const std::string& name) {
    checkFrameView(frame);
    FileStream stream(output, name);
    try {
        Imf::Header header(frame.width, frame.height);
        header.compression() = Imf::ZIP_COMPRESSION;
        for (const char* channel : {"R", "G", "B", "A"}) header.channels().insert(channel, Imf::Channel(Imf::FLOAT));
        Imf::OutputFile file(stream, header);
        writeStrips(frame, file);
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
