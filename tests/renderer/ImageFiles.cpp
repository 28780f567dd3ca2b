#include "ImageFiles.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfInputFile.h>
#include <openexr.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace OrvaneToolsTest {

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

namespace {

// libpng longjmps on errors, so the decoding keeps no object with a destructor in its frame.
bool decodePng(std::FILE* file, PngImage* image, std::vector<unsigned char>* bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) return false;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    image->width = static_cast<int>(png_get_image_width(png, info));
    image->height = static_cast<int>(png_get_image_height(png, info));
    image->bitDepth = png_get_bit_depth(png, info);
    image->colorType = png_get_color_type(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    bytes->resize(rowBytes * static_cast<std::size_t>(image->height));
    for (int y = 0; y < image->height; ++y) png_read_row(png, bytes->data() + rowBytes * static_cast<std::size_t>(y), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

PngImage readPng(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error("cannot open " + path);
    PngImage image;
    std::vector<unsigned char> bytes;
    const bool ok = decodePng(file, &image, &bytes);
    std::fclose(file);
    if (!ok) throw std::runtime_error("not a readable PNG: " + path);
    if (image.colorType != PNG_COLOR_TYPE_RGB_ALPHA) return image;
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height * 4;
    image.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        image.samples[i] = image.bitDepth == 16 ? static_cast<std::uint16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]) : bytes[i];
    return image;
}

namespace {

// What the library's core reader finds in the file's header.
int rowsPerBlockOf(const std::string& path) {
    exr_context_t context = nullptr;
    int32_t rows = 0;
    if (exr_start_read(&context, path.c_str(), nullptr) != EXR_ERR_SUCCESS ||
        exr_get_scanlines_per_chunk(context, 0, &rows) != EXR_ERR_SUCCESS)
        rows = 0;
    exr_finish(&context);
    return rows;
}

} // namespace

ExrImage readExr(const std::string& path) {
    Imf::InputFile file(path.c_str());
    const Imath::Box2i window = file.header().dataWindow();
    ExrImage image;
    image.width = window.max.x - window.min.x + 1;
    image.height = window.max.y - window.min.y + 1;
    image.allChannelsFloat = true;
    image.allChannelsHalf = true;
    image.compression = static_cast<int>(file.header().compression());
    image.rowsPerBlock = rowsPerBlockOf(path);
    for (auto it = file.header().channels().begin(); it != file.header().channels().end(); ++it) {
        image.channels.push_back(it.name());
        if (it.channel().type != Imf::FLOAT) image.allChannelsFloat = false;
        if (it.channel().type != Imf::HALF) image.allChannelsHalf = false;
    }
    image.samples.assign(static_cast<std::size_t>(image.width) * image.height * 4, -1.0f);
    Imf::FrameBuffer buffer;
    char* base = reinterpret_cast<char*>(image.samples.data()) -
                 (static_cast<std::ptrdiff_t>(window.min.x) + static_cast<std::ptrdiff_t>(window.min.y) * image.width) * 16;
    const char* names[] = {"R", "G", "B", "A"};
    for (int c = 0; c < 4; ++c)
        buffer.insert(names[c], Imf::Slice(Imf::FLOAT, base + c * 4, 16, 16 * static_cast<std::size_t>(image.width)));
    file.setFrameBuffer(buffer);
    file.readPixels(window.min.y, window.max.y);
    return image;
}

PamImage readPam(const std::string& path) {
    const std::string bytes = fileBytes(path);
    const std::string end = "ENDHDR\n";
    const auto headerEnd = bytes.find(end);
    if (bytes.compare(0, 3, "P7\n") != 0 || headerEnd == std::string::npos) throw std::runtime_error("not a PAM: " + path);
    PamImage image;
    image.header = bytes.substr(0, headerEnd + end.size());
    std::istringstream lines(image.header);
    for (std::string key; lines >> key;) {
        if (key == "WIDTH") lines >> image.width;
        if (key == "HEIGHT") lines >> image.height;
        if (key == "DEPTH") lines >> image.depth;
        if (key == "MAXVAL") lines >> image.maxval;
        if (key == "TUPLTYPE") lines >> image.tupleType;
    }
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height * 4;
    const std::size_t sampleSize = image.maxval > 255 ? 2 : 1;
    if (bytes.size() - image.header.size() != count * sampleSize) throw std::runtime_error("PAM size mismatch: " + path);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data() + image.header.size());
    image.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        image.samples[i] = sampleSize == 2 ? static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]) : data[i];
    return image;
}

PfmImage readPfm(const std::string& path) {
    const std::string bytes = fileBytes(path);
    const auto malformed = [&](const std::string& why) { return std::runtime_error("not a PF4 file (" + why + "): " + path); };
    std::size_t at = 0;
    std::string lines[3];
    for (std::string& line : lines) {
        const auto end = bytes.find('\n', at);
        if (end == std::string::npos) throw malformed("the header ends early");
        line = bytes.substr(at, end - at);
        at = end + 1;
    }
    PfmImage image;
    image.header = bytes.substr(0, at);
    if (lines[0] != "PF4") throw malformed("magic '" + lines[0] + "'");
    std::istringstream size(lines[1]);
    std::string rest;
    if (!(size >> image.width >> image.height) || size >> rest || image.width < 1 || image.height < 1)
        throw malformed("size '" + lines[1] + "'");
    if (!(std::stod(lines[2]) < 0)) throw malformed("scale '" + lines[2] + "' is not little-endian");
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height * 4;
    if (bytes.size() - at != count * 4) throw malformed("the samples do not fill the file");
    image.samples.resize(count);
    const std::size_t rowSamples = static_cast<std::size_t>(image.width) * 4;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b) bits = bits << 8 | static_cast<unsigned char>(bytes[at + 4 * i + b]);
        const std::size_t fileRow = i / rowSamples;
        const std::size_t y = static_cast<std::size_t>(image.height) - 1 - fileRow;
        std::memcpy(&image.samples[y * rowSamples + i % rowSamples], &bits, sizeof(float));
    }
    return image;
}

} // namespace OrvaneToolsTest
