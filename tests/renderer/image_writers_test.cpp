// The image writers on hand-made host buffers: headers, sample order and scaling, the memory they take, and
// how a file is written and replaced. This binary counts what is allocated, to see that no writer copies
// the whole frame.
#include "ImageFiles.h"
#include "Refusal.h"
#include "ScratchFolder.h"

#include "renderer/ImageOutput.h"
#include "renderer/ImageWriters.h"
#include "renderer/SampleScaling.h"

#include <gtest/gtest.h>
#if ORVANE_HAVE_EXR
#include <half.h>
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// Bytes allocated through operator new and not yet freed, and the most there were; each block keeps its
// size in a header in front of it.
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};
constexpr std::size_t kHeader = 16; // keeps the blocks aligned as malloc aligns them

void* allocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (!block) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    const std::size_t now = liveBytes += size;
    std::size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void release(void* p) noexcept {
    if (!p) return;
    char* block = static_cast<char*>(p) - kHeader;
    liveBytes -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

using namespace OrvaneTools;
using namespace OrvaneToolsTest;

namespace {

// A host buffer of `pixels` laid out in rows of `width`, with `padding` spare bytes after each row.
template <class Pixel> struct HostBuffer {
    HostBuffer(int w, const std::vector<Pixel>& pixels, int depth, std::size_t padding = 0) {
        const std::size_t rows = pixels.size() / static_cast<std::size_t>(w);
        view.width = w;
        view.height = static_cast<int>(rows);
        view.depth = depth;
        view.rowbytes = static_cast<std::size_t>(w) * sizeof(Pixel) + padding;
        bytes.assign(view.rowbytes * rows, 0xEE);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            std::memcpy(bytes.data() + (i / w) * view.rowbytes + (i % w) * sizeof(Pixel), &pixels[i], sizeof(Pixel));
        view.bytes = bytes.data();
        view.byteCount = bytes.size();
    }
    std::vector<unsigned char> bytes;
    FrameView view;
};

TEST(SampleScaling, Host16ToFile16RoundsHalfUp) {
    EXPECT_EQ(sample16FromHost16(0), 0);
    EXPECT_EQ(sample16FromHost16(1), 2);         // 1.99997
    EXPECT_EQ(sample16FromHost16(16384), 32768); // 32767.5 rounds up
    EXPECT_EQ(sample16FromHost16(32767), 65533); // 65533.0000
    EXPECT_EQ(sample16FromHost16(32768), 65535);
    EXPECT_EQ(sample16FromHost16(40000), 65535); // beyond full scale is held
}

TEST(SampleScaling, FloatToFile16IsHeldAndRounded) {
    EXPECT_EQ(sample16FromFloat(0.5f), 32768);
    EXPECT_EQ(sample16FromFloat(0.25f), 16384);
    EXPECT_EQ(sample16FromFloat(1.0f), 65535);
    EXPECT_EQ(sample16FromFloat(1.5f), 65535);
    EXPECT_EQ(sample16FromFloat(-0.2f), 0);
    EXPECT_EQ(sample16FromFloat(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(sample16FromFloat(std::numeric_limits<float>::infinity()), 65535);
}

TEST(FrameView, RowsMustFitTheBytes) {
    HostBuffer<PF_Pixel8> buffer(2, {{1, 2, 3, 4}, {5, 6, 7, 8}}, 8);
    EXPECT_NO_THROW(checkFrameView(buffer.view));
    FrameView tall = buffer.view;
    tall.height = 2;
    EXPECT_THROW(checkFrameView(tall), std::invalid_argument);
    FrameView narrow = buffer.view;
    narrow.rowbytes = 4;
    EXPECT_THROW(checkFrameView(narrow), std::invalid_argument);
    FrameView odd = buffer.view;
    odd.depth = 24;
    EXPECT_THROW(checkFrameView(odd), std::invalid_argument);
}

#if ORVANE_HAVE_PNG
TEST(PngWriter, EightBitRgbaFromAlphaRedGreenBlue) {
    ScratchFolder folder;
    // alpha, red, green, blue; padded rows so that rowbytes is honoured
    HostBuffer<PF_Pixel8> buffer(2, {{128, 255, 0, 10}, {255, 1, 2, 3}, {0, 9, 8, 7}, {64, 40, 50, 60}}, 8, 12);
    writeImageFile(*findImageFormat("png"), buffer.view, folder.path("a.png"));
    const PngImage png = readPng(folder.path("a.png"));
    EXPECT_EQ(png.width, 2);
    EXPECT_EQ(png.height, 2);
    EXPECT_EQ(png.bitDepth, 8);
    ASSERT_EQ(png.colorType, 6); // RGB + alpha
    const std::vector<std::uint16_t> expected = {255, 0, 10, 128, 1, 2, 3, 255, 9, 8, 7, 0, 40, 50, 60, 64};
    EXPECT_EQ(png.samples, expected);
}

TEST(PngWriter, SixteenBitFromHost16AndFloat) {
    ScratchFolder folder;
    HostBuffer<PF_Pixel16> deep(2, {{16384, 32768, 0, 1}, {32768, 8192, 24576, 32767}}, 16);
    writeImageFile(*findImageFormat("png"), deep.view, folder.path("deep.png"));
    const PngImage a = readPng(folder.path("deep.png"));
    EXPECT_EQ(a.bitDepth, 16);
    const std::vector<std::uint16_t> expectedDeep = {65535, 0, 2, 32768, 16384, 49151, 65533, 65535};
    EXPECT_EQ(a.samples, expectedDeep); // 8192 -> 16383.75, 24576 -> 49151.25

    HostBuffer<PF_PixelFloat> floats(2, {{0.5f, 1.0f, 0.25f, 0.0f}, {1.0f, 1.5f, -0.5f, 0.75f}}, 32);
    writeImageFile(*findImageFormat("png"), floats.view, folder.path("float.png"));
    const PngImage b = readPng(folder.path("float.png"));
    EXPECT_EQ(b.bitDepth, 16);
    const std::vector<std::uint16_t> expectedFloat = {65535, 16384, 0, 32768, 65535, 0, 49151, 65535};
    EXPECT_EQ(b.samples, expectedFloat); // 0.75 x 65535 = 49151.25
}
#endif

#if ORVANE_HAVE_EXR
TEST(ExrWriter, FloatRgbaPremultipliedFromEveryDepth) {
    ScratchFolder folder;
    HostBuffer<PF_Pixel8> eight(1, {{128, 255, 0, 51}}, 8);
    writeImageFile(*findImageFormat("exr"), eight.view, folder.path("8.exr"));
    const ExrImage a = readExr(folder.path("8.exr"));
    EXPECT_TRUE(a.allChannelsFloat);
    EXPECT_EQ(a.channels, (std::vector<std::string>{"A", "B", "G", "R"}));
    const float alpha = 128.0f / 255.0f;
    EXPECT_FLOAT_EQ(a.at(0, 0, 3), alpha);
    EXPECT_FLOAT_EQ(a.at(0, 0, 0), alpha);
    EXPECT_FLOAT_EQ(a.at(0, 0, 1), 0.0f);
    EXPECT_FLOAT_EQ(a.at(0, 0, 2), 0.2f * alpha);

    HostBuffer<PF_Pixel16> sixteen(2, {{16384, 32768, 32768, 32768}, {32768, 8192, 0, 32768}}, 16);
    writeImageFile(*findImageFormat("exr"), sixteen.view, folder.path("16.exr"));
    const ExrImage b = readExr(folder.path("16.exr"));
    EXPECT_EQ(b.width, 2);
    EXPECT_EQ(b.height, 1);
    EXPECT_FLOAT_EQ(b.at(0, 0, 0), 0.5f);
    EXPECT_FLOAT_EQ(b.at(0, 0, 3), 0.5f);
    EXPECT_FLOAT_EQ(b.at(1, 0, 0), 0.25f);
    EXPECT_FLOAT_EQ(b.at(1, 0, 2), 1.0f);

    HostBuffer<PF_PixelFloat> floats(1, {{0.25f, 2.0f, 0.5f, 0.0f}}, 32);
    writeImageFile(*findImageFormat("exr"), floats.view, folder.path("32.exr"));
    const ExrImage c = readExr(folder.path("32.exr"));
    EXPECT_FLOAT_EQ(c.at(0, 0, 0), 0.5f);
    EXPECT_FLOAT_EQ(c.at(0, 0, 1), 0.125f);
    EXPECT_FLOAT_EQ(c.at(0, 0, 3), 0.25f);
}
#endif

#if ORVANE_HAVE_EXR
std::uint32_t bitsOf(float value);

// Every compression OpenEXR offers, in 32-bit floats and in half floats (--half), on OpenEXR's thread pool:
// the header names it and its rows per block are the table's, the channels are of the type asked, and a
// reader gets the premultiplied floats (rounded to half floats) back bit for bit where the table says the
// compression keeps that type's bits, and near them, not exactly, where it says it does not. The frame is
// taller than the largest block and holds values from 0 to beyond 1.
TEST(ExrWriter, EveryCompressionInFloatsAndHalves) {
    ScratchFolder folder;
    constexpr int kWidth = 37, kHeight = 300;
    std::vector<PF_PixelFloat> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const float u = float(x) / (kWidth - 1), v = float(y) / (kHeight - 1);
            pixels.push_back(PF_PixelFloat{0.25f + 0.75f * v, u, 1.0f - u * v, 0.5f * u + 1.5f * v});
        }
    HostBuffer<PF_PixelFloat> frame(kWidth, pixels, 32);
    for (const ExrCompressionChoice& choice : exrCompressions())
        for (const bool half : {false, true}) {
            SCOPED_TRACE(std::string(choice.name) + (half ? " half" : " float"));
            EncodingSettings settings;
            settings.exrCompression = choice.value;
            settings.half = half;
            settings.threads = 2;
            const std::string path = folder.path(std::string(choice.name) + (half ? "-half.exr" : ".exr"));
            writeImageFile(*findImageFormat("exr"), frame.view, path, false, settings);
            const ExrImage exr = readExr(path);
            EXPECT_EQ(exr.compression, static_cast<int>(choice.value));
            EXPECT_EQ(exr.rowsPerBlock, choice.rowsPerBlock);
            EXPECT_TRUE(half ? exr.allChannelsHalf : exr.allChannelsFloat);
            const bool exact = half ? choice.keepsHalves : choice.keepsFloats;
            float furthest = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    const PF_PixelFloat& p = pixels[std::size_t(y) * kWidth + std::size_t(x)];
                    const float straight[4] = {p.red, p.green, p.blue, 1.0f};
                    for (int c = 0; c < 4; ++c) {
                        float expected = straight[c] * p.alpha;
                        if (half) expected = static_cast<float>(::half(expected));
                        if (exact) {
                            ASSERT_EQ(bitsOf(exr.at(x, y, c)), bitsOf(expected)) << x << "," << y << " channel " << c;
                        }
                        furthest = std::max(furthest, std::abs(exr.at(x, y, c) - expected));
                    }
                }
            if (!exact) {
                EXPECT_GT(furthest, 0.0f) << "lossy, says the table, but every sample came back";
                EXPECT_LT(furthest, 0.05f);
            }
        }
}
#endif

TEST(PamWriter, EightBitHeaderAndSamples) {
    ScratchFolder folder;
    HostBuffer<PF_Pixel8> buffer(3, {{128, 255, 254, 253}, {0, 1, 2, 3}, {255, 0, 0, 0}}, 8, 4);
    writeImageFile(*findImageFormat("pam"), buffer.view, folder.path("a.pam"));
    const std::string bytes = fileBytes(folder.path("a.pam"));
    const std::string header = "P7\nWIDTH 3\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    ASSERT_EQ(bytes.substr(0, header.size()), header);
    const std::string samples = bytes.substr(header.size());
    EXPECT_EQ(samples, std::string("\xFF\xFE\xFD\x80\x01\x02\x03\x00\x00\x00\x00\xFF", 12));
}

TEST(PamWriter, SixteenBitSamplesAreBigEndianUpToFullScale) {
    ScratchFolder folder;
    HostBuffer<PF_Pixel16> buffer(1, {{0x1234, 32768, 0x00FF, 40000}}, 16);
    writeImageFile(*findImageFormat("pam"), buffer.view, folder.path("a.pam"));
    const PamImage pam = readPam(folder.path("a.pam"));
    EXPECT_EQ(pam.maxval, 32768);
    EXPECT_EQ(pam.tupleType, "RGB_ALPHA");
    EXPECT_EQ(pam.depth, 4);
    const std::string bytes = fileBytes(folder.path("a.pam"));
    EXPECT_EQ(bytes.substr(pam.header.size()), std::string("\x80\x00\x00\xFF\x80\x00\x12\x34", 8));
}

TEST(PamWriter, RefusesFloat) {
    ScratchFolder folder;
    HostBuffer<PF_PixelFloat> buffer(1, {{1, 1, 1, 1}}, 32);
    EXPECT_NE(refusal([&] { writeImageFile(*findImageFormat("pam"), buffer.view, folder.path("a.pam")); },
                      ExitCode::OutputWrite),
              "")
        << "float written as PAM";
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// Every float the effect can leave in a buffer comes back bit for bit, straight (not premultiplied), in R, G,
// B, A order; the rows are stored from the bottom up and the samples little-endian.
TEST(PfmWriter, FloatBuffersBitForBit) {
    ScratchFolder folder;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float tiny = std::numeric_limits<float>::denorm_min();
    // alpha, red, green, blue; padded rows so that rowbytes is honoured
    HostBuffer<PF_PixelFloat> buffer(2, {{0.25f, 2.0f, -0.0f, 0.1f}, {nan, tiny, -1.5f, 1e30f},
                                         {1.0f, 0.0f, 0.5f, std::numeric_limits<float>::infinity()},
                                         {0.0f, 0.3f, 0.6f, 0.9f}},
                                     32, 16);
    writeImageFile(*findImageFormat("pfm"), buffer.view, folder.path("a.pfm"));
    const PfmImage pfm = readPfm(folder.path("a.pfm"));
    EXPECT_EQ(pfm.header, "PF4\n2 2\n-1.0\n");
    const std::vector<float> expected = {2.0f, -0.0f, 0.1f, 0.25f, tiny, -1.5f, 1e30f, nan,
                                         0.0f, 0.5f, std::numeric_limits<float>::infinity(), 1.0f,
                                         0.3f, 0.6f, 0.9f, 0.0f};
    ASSERT_EQ(pfm.samples.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(bitsOf(pfm.samples[i]), bitsOf(expected[i])) << i;
    // The bottom row first, least significant byte first: its second pixel's red, 0.3f, is 0x3E99999A.
    const std::string bytes = fileBytes(folder.path("a.pfm"));
    EXPECT_EQ(bytes.size(), pfm.header.size() + 4 * 4 * 4);
    EXPECT_EQ(bytes.substr(pfm.header.size() + 16, 4), std::string("\x9A\x99\x99\x3E", 4));
}

TEST(PfmWriter, EightAndSixteenBitsAsUnitFloats) {
    ScratchFolder folder;
    HostBuffer<PF_Pixel8> eight(1, {{128, 255, 0, 51}}, 8);
    writeImageFile(*findImageFormat("pfm"), eight.view, folder.path("8.pfm"));
    EXPECT_EQ(readPfm(folder.path("8.pfm")).samples, (std::vector<float>{1.0f, 0.0f, 51 / 255.0f, 128 / 255.0f}));
    HostBuffer<PF_Pixel16> sixteen(1, {{16384, 32768, 8192, 0}}, 16);
    writeImageFile(*findImageFormat("pfm"), sixteen.view, folder.path("16.pfm"));
    EXPECT_EQ(readPfm(folder.path("16.pfm")).samples, (std::vector<float>{1.0f, 0.25f, 0.0f, 0.5f}));
}

// What a failed write of a PAM reports: the user's file name and the reason, as exit code 5.
std::string writeRefusal(const FrameView& view, const std::string& path, bool force = false) {
    return refusal([&] { writeImageFile(*findImageFormat("pam"), view, path, force); }, ExitCode::OutputWrite);
}

TEST(ImageOutput, ReplacesTheTargetWhole) {
    ScratchFolder folder;
    folder.write("a.pam", std::string(5000, 'x'));
    HostBuffer<PF_Pixel8> buffer(1, {{255, 1, 2, 3}}, 8);
    writeImageFile(*findImageFormat("pam"), buffer.view, folder.path("a.pam"));
    EXPECT_EQ(readPam(folder.path("a.pam")).samples, (std::vector<std::uint16_t>{1, 2, 3, 255}));
    EXPECT_EQ(folder.files(), std::vector<std::string>{"a.pam"});
}

TEST(ImageOutput, AFailedWriteLeavesNothingBehind) {
    ScratchFolder folder;
    HostBuffer<PF_Pixel8> buffer(1, {{255, 1, 2, 3}}, 8);
    folder.write("keep", "");
    // A folder where the file should go.
    std::filesystem::create_directory(folder.path("taken.pam"));
    EXPECT_NE(writeRefusal(buffer.view, folder.path("taken.pam")), "") << "wrote over a folder";
    // Into a folder that does not exist: the temporary file cannot even be made.
    EXPECT_THROW(writeImageFile(*findImageFormat("pam"), buffer.view, folder.path("none/a.pam")), ToolError);
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"keep", "taken.pam"}));
}


mode_t modeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode;
}

struct Replacing : ::testing::Test {
    ScratchFolder folder;
    HostBuffer<PF_Pixel8> frame{1, {{255, 1, 2, 3}}, 8};
    const std::vector<std::uint16_t> written{1, 2, 3, 255};
};

TEST_F(Replacing, KeepsTheReplacedFilesPermissionBits) {
    folder.write("private.pam", "old");
    chmod(folder.path("private.pam").c_str(), 0600);
    folder.write("shared.pam", "old");
    chmod(folder.path("shared.pam").c_str(), 0664);
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path("private.pam"));
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path("shared.pam"));
    EXPECT_EQ(modeOf(folder.path("private.pam")) & 07777, 0600u);
    EXPECT_EQ(modeOf(folder.path("shared.pam")) & 07777, 0664u);
    EXPECT_EQ(readPam(folder.path("private.pam")).samples, written);
    // A new file is made as any program makes one: 0666 less the umask.
    folder.write("plain", "");
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path("new.pam"));
    EXPECT_EQ(modeOf(folder.path("new.pam")) & 07777, modeOf(folder.path("plain")) & 07777);
}

TEST_F(Replacing, WritesThroughASymbolicLinkToItsTarget) {
    std::filesystem::create_directory(folder.path("real"));
    folder.write("real/target.pam", "old");
    std::filesystem::create_symlink("real/target.pam", folder.path("link.pam"));
    std::filesystem::create_symlink("real/later.pam", folder.path("dangling.pam"));
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path("link.pam"));
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path("dangling.pam"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("link.pam")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("dangling.pam")));
    EXPECT_EQ(readPam(folder.path("real/target.pam")).samples, written);
    EXPECT_EQ(readPam(folder.path("real/later.pam")).samples, written);
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"dangling.pam", "link.pam", "real"}));
}

TEST_F(Replacing, AReadOnlyFileOnlyWhenForced) {
    folder.write("locked.pam", "old");
    chmod(folder.path("locked.pam").c_str(), 0444);
    const std::string message = writeRefusal(frame.view, folder.path("locked.pam"));
    EXPECT_NE(message.find("locked.pam: it is read-only (give --force to replace it)"), std::string::npos) << message;
    EXPECT_EQ(fileBytes(folder.path("locked.pam")), "old");
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path("locked.pam"), true);
    EXPECT_EQ(readPam(folder.path("locked.pam")).samples, written);
    EXPECT_EQ(modeOf(folder.path("locked.pam")) & 07777, 0444u);
    EXPECT_EQ(folder.files(), std::vector<std::string>{"locked.pam"});
}

TEST_F(Replacing, NeverWhatIsNotARegularFile) {
    ASSERT_EQ(mkfifo(folder.path("pipe.pam").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/null", folder.path("null.pam"));
    EXPECT_NE(writeRefusal(frame.view, folder.path("pipe.pam")).find("not a regular file"), std::string::npos);
    EXPECT_NE(writeRefusal(frame.view, folder.path("null.pam")).find("not a regular file"), std::string::npos);
    EXPECT_TRUE(S_ISFIFO(modeOf(folder.path("pipe.pam"))));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("null.pam")));
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"null.pam", "pipe.pam"}));
}

// The temporary file has a short name of its own, so any name the file system takes can be written.
TEST_F(Replacing, TheLongestFileNameTheFileSystemTakes) {
    const std::string name = std::string(251, 'n') + ".pam";
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path(name));
    EXPECT_EQ(readPam(folder.path(name)).samples, written);
    EXPECT_EQ(folder.files(), std::vector<std::string>{name});
}

// Leftovers of killed runs whose process had this one's number (in a container every render is process 1)
// take every name this process would try in turn, far more than a hundred: the file is written all the same,
// under a name of its own, and the leftovers are left alone.
TEST_F(Replacing, LeftoverTemporaryNamesNeverBlockAWrite) {
    const std::string prefix = ".orvane-" + std::to_string(getpid()) + "-";
    constexpr int kLeftovers = 5000;
    for (int n = 0; n < kLeftovers; ++n) folder.write(prefix + std::to_string(n) + ".tmp", "left by a killed run");
    writeImageFile(*findImageFormat("pam"), frame.view, folder.path("a.pam"));
    EXPECT_EQ(readPam(folder.path("a.pam")).samples, written);
    EXPECT_EQ(folder.files().size(), std::size_t(kLeftovers) + 1);
    EXPECT_EQ(fileBytes(folder.path(prefix + "0.tmp")), "left by a killed run");
}

// Every format converts a few rows at a time: what a write allocates stays far below the frame itself
// (a second copy of the frame would be all of it, or four times it as EXR's or PFM's floats).
TEST(ImageWriters, WriteRowsFromTheFrameWithoutASecondCopy) {
    ScratchFolder folder;
    constexpr int kWidth = 512, kHeight = 2048;
    HostBuffer<PF_Pixel8> frame(kWidth, std::vector<PF_Pixel8>(std::size_t(kWidth) * kHeight, PF_Pixel8{255, 9, 99, 199}), 8);
    const std::size_t frameBytes = frame.bytes.size();
    for (const ImageFormat& format : imageFormats()) {
        const std::size_t before = liveBytes.load();
        peakBytes = before;
        writeImageFile(format, frame.view, folder.path(std::string("f.") + format.name));
        EXPECT_LT(peakBytes.load() - before, frameBytes / 4) << format.name;
    }
}

} // namespace
