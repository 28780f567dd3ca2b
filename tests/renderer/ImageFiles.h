// Reading back the images orvane-render writes, to check headers and pixel values in tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace OrvaneToolsTest {

// Samples in the file's order R, G, B, A; `bitDepth` 8 or 16.
struct PngImage {
    int width = 0, height = 0, bitDepth = 0, colorType = -1;
    std::vector<std::uint16_t> samples;
    std::uint16_t at(int x, int y, int channel) const { return samples[(std::size_t(y) * width + x) * 4 + channel]; }
};
struct ExrImage {
    int width = 0, height = 0;
    bool allChannelsFloat = false;
    bool allChannelsHalf = false;
    int compression = -1;  // the header's, as OpenEXR numbers it
    int rowsPerBlock = 0;  // the rows the file's compression takes together
    std::vector<std::string> channels;
    std::vector<float> samples; // R, G, B, A per pixel (half channels read as floats)
    float at(int x, int y, int channel) const { return samples[(std::size_t(y) * width + x) * 4 + channel]; }
};
struct PamImage {
    std::string header; // everything up to and including "ENDHDR\n"
    int width = 0, height = 0, depth = 0, maxval = 0;
    std::string tupleType;
    std::vector<std::uint16_t> samples; // R, G, B, A per pixel
    std::uint16_t at(int x, int y, int channel) const { return samples[(std::size_t(y) * width + x) * 4 + channel]; }
    std::array<std::uint16_t, 4> pixel(int x, int y) const { return {at(x, y, 0), at(x, y, 1), at(x, y, 2), at(x, y, 3)}; }
};

// Float RGBA with straight alpha, rows from the top of the image down (the file stores them bottom up).
struct PfmImage {
    std::string header; // the three header lines
    int width = 0, height = 0;
    std::vector<float> samples; // R, G, B, A per pixel
    float at(int x, int y, int channel) const { return samples[(std::size_t(y) * width + x) * 4 + channel]; }
};

// Each throws std::runtime_error when the file is missing or malformed.
PngImage readPng(const std::string& path);
ExrImage readExr(const std::string& path);
PamImage readPam(const std::string& path);
// Checks the header ("PF4", the size, a negative scale for little-endian samples) and that the samples
// fill the rest of the file exactly.
PfmImage readPfm(const std::string& path);

std::string fileBytes(const std::string& path);

} // namespace OrvaneToolsTest
