// Each output format through the binary: its header and pixels of values computed by hand. A constant white
// "Color" at "Opacity" 50 gives the host buffer alpha 0.5 with full red, green and blue: 8-bit
// (128, 255, 255, 255), 16-bit (16384, 32768, 32768, 32768), float (0.5, 1, 1, 1).
#include "ImageFiles.h"
#include "ScratchFolder.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>

using namespace OrvaneToolsTest;

namespace {

ToolResult renderWhiteAtHalf(const std::string& out, const std::string& depth) {
    return runRender({"--size", "16x4", "--opacity", "50", "--depth", depth, "-o", out});
}

// Every pixel holds the same R, G, B, A samples.
template <class Image, class T> void expectEveryPixel(const Image& image, std::array<T, 4> rgba) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            for (int c = 0; c < 4; ++c) ASSERT_EQ(image.at(x, y, c), rgba[c]) << x << "," << y << " channel " << c;
}

TEST(PngOutput, EightBitAtDepthEight) {
    ScratchFolder folder;
    const ToolResult run = renderWhiteAtHalf(folder.path("a.png"), "8");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const PngImage png = readPng(folder.path("a.png"));
    EXPECT_EQ(png.width, 16);
    EXPECT_EQ(png.height, 4);
    EXPECT_EQ(png.bitDepth, 8);
    ASSERT_EQ(png.colorType, 6);
    expectEveryPixel(png, std::array<std::uint16_t, 4>{255, 255, 255, 128});
    EXPECT_EQ(folder.files(), std::vector<std::string>{"a.png"});
}

TEST(PngOutput, SixteenBitAtDepthsSixteenAndThirtyTwo) {
    ScratchFolder folder;
    ASSERT_EQ(renderWhiteAtHalf(folder.path("16.png"), "16").exitCode, 0);
    ASSERT_EQ(renderWhiteAtHalf(folder.path("32.png"), "32").exitCode, 0);
    for (const char* name : {"16.png", "32.png"}) {
        const PngImage png = readPng(folder.path(name));
        EXPECT_EQ(png.bitDepth, 16) << name;
        // 16384 of 32768 scaled to 65535 is 32767.5, rounded up; 0.5 x 65535 likewise.
        expectEveryPixel(png, std::array<std::uint16_t, 4>{65535, 65535, 65535, 32768});
    }
}

TEST(PngOutput, ConstantColourKeepsItsBytes) {
    ScratchFolder folder;
    const ToolResult run = runRender({"--size", "3x2", "--color", "#804020", "-o", folder.path("c.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    expectEveryPixel(readPng(folder.path("c.png")), std::array<std::uint16_t, 4>{128, 64, 32, 255});
}

// Float RGBA from every depth: EXR premultiplied, PFM straight (at depth 32 the buffer's floats, at 8 and 16
// bits their unit values). 8-bit alpha 128 reads 128/255.
TEST(FloatOutput, ExrPremultipliedAndPfmStraightFromEveryDepth) {
    ScratchFolder folder;
    for (const std::string depth : {"8", "16", "32"}) {
        SCOPED_TRACE("depth " + depth);
        const float alpha = depth == "8" ? 128.0f / 255.0f : 0.5f;
        ASSERT_EQ(renderWhiteAtHalf(folder.path(depth + ".exr"), depth).exitCode, 0);
        const ExrImage exr = readExr(folder.path(depth + ".exr"));
        EXPECT_TRUE(exr.allChannelsFloat);
        EXPECT_EQ(exr.width, 16);
        EXPECT_EQ(exr.height, 4);
        expectEveryPixel(exr, std::array<float, 4>{alpha, alpha, alpha, alpha});
        ASSERT_EQ(renderWhiteAtHalf(folder.path(depth + ".pfm"), depth).exitCode, 0);
        const PfmImage pfm = readPfm(folder.path(depth + ".pfm"));
        EXPECT_EQ(pfm.header, "PF4\n16 4\n-1.0\n");
        expectEveryPixel(pfm, std::array<float, 4>{1.0f, 1.0f, 1.0f, alpha});
    }
}

// A keyframed float ramp: every sample of the PFM, premultiplied as EXR stores colour, is the EXR's sample
// bit for bit, so both hold the same buffer.
TEST(PfmOutput, HoldsTheSameFloatsAsExr) {
    ScratchFolder folder;
    for (const char* name : {"r.pfm", "r.exr"})
        ASSERT_EQ(runRender({"--size", "37x5", "--depth", "32", "--shape", "radial", "--point1", "3,2", "--point2",
                             "30,4", "--color", "0:#203060", "--color", "1:#f0c040", "--opacity", "0:90",
                             "--opacity", "1:15", "-o", folder.path(name)})
                      .exitCode,
                  0);
    const PfmImage pfm = readPfm(folder.path("r.pfm"));
    const ExrImage exr = readExr(folder.path("r.exr"));
    ASSERT_EQ(pfm.width, exr.width);
    ASSERT_EQ(pfm.height, exr.height);
    for (int y = 0; y < pfm.height; ++y)
        for (int x = 0; x < pfm.width; ++x) {
            const float alpha = pfm.at(x, y, 3);
            ASSERT_EQ(exr.at(x, y, 3), alpha) << x << "," << y;
            for (int c = 0; c < 3; ++c) ASSERT_EQ(exr.at(x, y, c), pfm.at(x, y, c) * alpha) << x << "," << y << " " << c;
        }
}

// However a PNG is compressed, a reader gets the buffer's values: at depth 8 the bytes of the PAM, at depth
// 16 the PAM's 0..32768 scaled to 0..65535 and rounded half up, at depth 32 the PFM's floats held to 0..1
// and rounded to 16 bits; on a keyframed radial ramp, whose rows differ.
TEST(PngOutput, EveryCompressionGivesTheBuffersValuesAtEveryDepth) {
    ScratchFolder folder;
    const std::vector<std::string> ramp = {"--size", "97x23", "--shape", "radial", "--repeat", "pingpong",
                                           "--point1", "30,11", "--point2", "52,20", "--color", "0:#203060",
                                           "--color", "1:#f0c040", "--opacity", "0:100", "--opacity", "1:35",
                                           "--time", "0.4"};
    const auto render = [&](const std::string& depth, std::initializer_list<std::string> more) {
        std::vector<std::string> args = ramp;
        args.insert(args.end(), {"--depth", depth});
        args.insert(args.end(), more);
        const ToolResult run = runRender(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
    };
    for (const std::string depth : {"8", "16", "32"}) {
        std::vector<std::uint16_t> expected;
        if (depth == "32") {
            render(depth, {"-o", folder.path("buffer.pfm")});
            for (const float v : readPfm(folder.path("buffer.pfm")).samples)
                expected.push_back(v >= 1.0f ? 65535 : !(v > 0.0f) ? 0 : std::uint16_t(std::floor(double(v) * 65535 + 0.5)));
        } else {
            render(depth, {"-o", folder.path("buffer.pam")});
            for (const std::uint16_t v : readPam(folder.path("buffer.pam")).samples)
                expected.push_back(depth == "8" ? v : std::uint16_t((std::uint32_t(v) * 65535 + 16384) / 32768));
        }
        for (const std::string compression : {"fast", "default", "small"}) {
            SCOPED_TRACE("depth " + depth + ", " + compression);
            render(depth, {"--png-compression", compression, "-o", folder.path("c.png")});
            const PngImage png = readPng(folder.path("c.png"));
            EXPECT_EQ(png.bitDepth, depth == "8" ? 8 : 16);
            EXPECT_EQ(png.samples, expected);
        }
    }
}

// What --exr-compression and --half ask is in the file's header: the compression, and half channels.
TEST(ExrOutput, TheHeaderSaysTheCompressionAndTheSampleType) {
    ScratchFolder folder;
    ASSERT_EQ(runRender({"--size", "16x40", "--depth", "32", "--exr-compression", "piz", "--half", "-o",
                         folder.path("a.exr")})
                  .exitCode,
              0);
    const ExrImage piz = readExr(folder.path("a.exr"));
    EXPECT_EQ(piz.compression, 4); // PIZ_COMPRESSION
    EXPECT_TRUE(piz.allChannelsHalf);
    ASSERT_EQ(runRender({"--size", "16x40", "-o", folder.path("b.exr")}).exitCode, 0);
    const ExrImage zip = readExr(folder.path("b.exr"));
    EXPECT_EQ(zip.compression, 3); // ZIP_COMPRESSION, what existing files and their readers rely on
    EXPECT_TRUE(zip.allChannelsFloat);
}

TEST(PamOutput, ExactBufferValuesAtEightAndSixteenBits) {
    ScratchFolder folder;
    ASSERT_EQ(renderWhiteAtHalf(folder.path("8.pam"), "8").exitCode, 0);
    const PamImage eight = readPam(folder.path("8.pam"));
    EXPECT_EQ(eight.header, "P7\nWIDTH 16\nHEIGHT 4\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n");
    expectEveryPixel(eight, std::array<std::uint16_t, 4>{255, 255, 255, 128});

    ASSERT_EQ(renderWhiteAtHalf(folder.path("16.pam"), "16").exitCode, 0);
    const PamImage sixteen = readPam(folder.path("16.pam"));
    EXPECT_EQ(sixteen.header, "P7\nWIDTH 16\nHEIGHT 4\nDEPTH 4\nMAXVAL 32768\nTUPLTYPE RGB_ALPHA\nENDHDR\n");
    expectEveryPixel(sixteen, std::array<std::uint16_t, 4>{32768, 32768, 32768, 16384});
}

TEST(PamOutput, ColourBytesAtSixteenBits) {
    ScratchFolder folder;
    const ToolResult run = runRender({"--size", "2x2", "--depth", "16", "--color", "#804020", "-o", folder.path("c.pam")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // trunc(b / 255 x 32768 + 0.5): 128 -> 16448, 64 -> 8224, 32 -> 4112
    expectEveryPixel(readPam(folder.path("c.pam")), std::array<std::uint16_t, 4>{16448, 8224, 4112, 32768});
}

TEST(Opacity, OutsideZeroToHundredIsHeldToFullOrNoAlpha) {
    ScratchFolder folder;
    ASSERT_EQ(runRender({"--size", "2x1", "--opacity", "150", "-o", folder.path("hi.pam")}).exitCode, 0);
    ASSERT_EQ(runRender({"--size", "2x1", "--opacity=-20", "-o", folder.path("lo.pam")}).exitCode, 0);
    expectEveryPixel(readPam(folder.path("hi.pam")), std::array<std::uint16_t, 4>{255, 255, 255, 255});
    expectEveryPixel(readPam(folder.path("lo.pam")), std::array<std::uint16_t, 4>{255, 255, 255, 0});
}

} // namespace
