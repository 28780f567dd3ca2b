// The band loop's conversions at each depth, in both directions, and strides taken from padded rows.
#include "support/FrameworkFixture.h"

#include "framework/Filter.h"
#include "framework/PixelConvert.h"
#include "framework/PixelDepth.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using namespace OrvaneHost;
using namespace OrvaneTest;
using Orvane::Filter::PixelFunction;
using Orvane::Filter::SimpleFilter;

namespace {

struct FilterDepth : FrameworkFixture {
    std::vector<PF_PixelFloat> seen; // the band runs on this thread (renderBand), so a plain vector will do

    // One row of pixels through renderBand(0, 1): records what the function sees and returns `outputs`.
    void runRow(WorldBuffer& source, WorldBuffer& destination, int depth, const std::vector<PF_PixelFloat>& outputs) {
        seen.clear();
        const PixelFunction function = [&](const PF_PixelFloat& in, int x, int) {
            seen.push_back(in);
            return outputs[std::size_t(x)];
        };
        SimpleFilter filter(&in, depth);
        filter.setWorlds(&source.world, &destination.world);
        filter.setFunction(&function);
        ASSERT_EQ(filter.renderBand(0, 1), 0);
    }
};

TEST_F(FilterDepth, EightBitChannelsReadAsByteOver255AndWriteRoundedAndHeld) {
    auto source = buffer(4, 1, 8);
    auto destination = buffer(4, 1, 8);
    at<PF_Pixel8>(*source, 0, 0) = PF_Pixel8{255, 0, 128, 1};
    runRow(*source, *destination, Orvane::Depth8,
           {PF_PixelFloat{1.0f, 0.5f, -0.1f, 2.0f}, PF_PixelFloat{0.0019f, 0.002f, 0.998f, 0.9961f}, {}, {}});
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].alpha, 1.0f) << "255 reads as exactly 1.0";
    EXPECT_EQ(seen[0].red, 0.0f);
    EXPECT_EQ(seen[0].green, 128 / 255.0f);
    EXPECT_EQ(seen[0].blue, 1 / 255.0f);
    const PF_Pixel8 a = at<PF_Pixel8>(*destination, 0, 0);
    EXPECT_EQ(a.alpha, 255);
    EXPECT_EQ(a.red, 128) << "127.5 + 0.5 truncated";
    EXPECT_EQ(a.green, 0);
    EXPECT_EQ(a.blue, 255);
    const PF_Pixel8 b = at<PF_Pixel8>(*destination, 1, 0);
    EXPECT_EQ(b.alpha, 0) << "0.4845 + 0.5 = 0.9845 truncates to 0";
    EXPECT_EQ(b.red, 1) << "0.51 + 0.5 = 1.01 truncates to 1";
    EXPECT_EQ(b.green, 254) << "254.49 + 0.5";
    EXPECT_EQ(b.blue, 254) << "254.0055 + 0.5";
}

TEST_F(FilterDepth, SixteenBitChannelsUseFullScale32768) {
    auto source = buffer(3, 1, 16);
    auto destination = buffer(3, 1, 16);
    at<PF_Pixel16>(*source, 0, 0) = PF_Pixel16{32768, 16384, 1, 0};
    runRow(*source, *destination, Orvane::Depth16,
           {PF_PixelFloat{1.0f, 0.5f, 1.5f, -0.25f}, PF_PixelFloat{128 / 255.0f, 1 / 32768.0f, 0.99999f, 0.0f}, {}});
    EXPECT_EQ(seen[0].alpha, 1.0f);
    EXPECT_EQ(seen[0].red, 0.5f);
    EXPECT_EQ(seen[0].green, 0.000030517578125f);
    EXPECT_EQ(seen[0].blue, 0.0f);
    const PF_Pixel16 a = at<PF_Pixel16>(*destination, 0, 0);
    EXPECT_EQ(a.alpha, 32768);
    EXPECT_EQ(a.red, 16384);
    EXPECT_EQ(a.green, 32768) << "above 1 is held to full scale, not 65535";
    EXPECT_EQ(a.blue, 0);
    const PF_Pixel16 b = at<PF_Pixel16>(*destination, 1, 0);
    EXPECT_EQ(b.alpha, 16448) << "byte 128: 128 / 255 * 32768 + 0.5 = 16448.5";
    EXPECT_EQ(b.red, 1);
    EXPECT_EQ(b.green, 32768) << "32767.67 + 0.5";
}

TEST_F(FilterDepth, FloatAlphaIsHeldToOneAndZeroWhileColoursPassUnclamped) {
    auto source = buffer(2, 1, 32);
    auto destination = buffer(2, 1, 32);
    at<PF_PixelFloat>(*source, 0, 0) = PF_PixelFloat{-3.0f, 7.0f, 0.25f, 1e30f};
    runRow(*source, *destination, Orvane::Depth32,
           {PF_PixelFloat{-0.25f, 1.5f, -0.2f, 0.5f}, PF_PixelFloat{1.5f, 0.0f, 2.0f, -1.0f}});
    EXPECT_EQ(seen[0].alpha, -3.0f) << "taken as stored";
    EXPECT_EQ(seen[0].red, 7.0f);
    EXPECT_EQ(seen[0].blue, 1e30f);
    const PF_PixelFloat a = at<PF_PixelFloat>(*destination, 0, 0);
    EXPECT_EQ(a.alpha, 0.0f);
    EXPECT_EQ(a.red, 1.5f);
    EXPECT_EQ(a.green, -0.2f);
    EXPECT_EQ(a.blue, 0.5f);
    const PF_PixelFloat b = at<PF_PixelFloat>(*destination, 1, 0);
    EXPECT_EQ(b.alpha, 1.0f);
    EXPECT_EQ(b.green, 2.0f);
    EXPECT_EQ(b.blue, -1.0f);
}

TEST_F(FilterDepth, ANotANumberNeverReachesAnIntegerAndCountsAsZero) {
    const float nan = std::nanf("");
    EXPECT_EQ(Orvane::toPixel8(PF_PixelFloat{nan, nan, 1.0f, 0.0f}).alpha, 0);
    EXPECT_EQ(Orvane::toPixel16(PF_PixelFloat{nan, 0.0f, 0.0f, 0.0f}).alpha, 0);
    auto source = buffer(1, 1, 32);
    auto destination = buffer(1, 1, 32);
    runRow(*source, *destination, Orvane::Depth32, {PF_PixelFloat{nan, 0.0f, 0.0f, 0.0f}});
    EXPECT_EQ(at<PF_PixelFloat>(*destination, 0, 0).alpha, 0.0f);
}

// A host pads its rows by any number of bytes, so a row may start inside what would be a pixel of the row
// above, and need not be aligned for the pixel type. Every pixel must land at data + y * rowbytes + x * size
// with its channels in order, and no byte outside the source's width and height may change.
TEST_F(FilterDepth, RowsStartRowbytesApartWhateverThePaddingAndPaddingIsNeverWritten) {
    // Distinct channels that every depth stores exactly: a misplaced row shows as rotated channels.
    const PixelFunction ramp = [](const PF_PixelFloat&, int x, int y) {
        return PF_PixelFloat{(x + 1) / 8.0f, (y + 1) / 16.0f, 0.25f, 0.75f};
    };
    for (int depthBits : {8, 16, 32})
        for (int sourcePadding : {0, 3, 20, 24})
            for (int destinationPadding : {1, 20, 2 * pixelSizeOfDepth(depthBits)}) {
                SCOPED_TRACE(testing::Message() << depthBits << " bits, padding " << sourcePadding << " / "
                                                << destinationPadding);
                const int pixelSize = pixelSizeOfDepth(depthBits);
                auto source = buffer(5, 6, depthBits, sourcePadding);
                auto destination = buffer(7, 8, depthBits, destinationPadding);
                auto expected = buffer(7, 8, depthBits, destinationPadding);
                std::memcpy(expected->storage.get(), destination->storage.get(), destination->bytes);
                for (A_long y = 0; y < 6; ++y)
                    for (A_long x = 0; x < 5; ++x) {
                        const PF_PixelFloat p = ramp(PF_PixelFloat{}, x, y);
                        unsigned char* at = pixelAddress(expected->world, x, y, depthBits);
                        if (depthBits == 8) {
                            const PF_Pixel8 v = Orvane::toPixel8(p);
                            std::memcpy(at, &v, sizeof v);
                        } else if (depthBits == 16) {
                            const PF_Pixel16 v = Orvane::toPixel16(p);
                            std::memcpy(at, &v, sizeof v);
                        } else {
                            std::memcpy(at, &p, sizeof p);
                        }
                    }
                setHostThreads(host, 3);
                SimpleFilter filter(&in, depthBits == 8    ? Orvane::Depth8
                                         : depthBits == 16 ? Orvane::Depth16
                                                           : Orvane::Depth32);
                filter.setWorlds(&source->world, &destination->world);
                filter.setFunction(&ramp);
                ASSERT_EQ(filter.run(), 0);
                for (std::size_t offset = 0; offset < destination->bytes; offset += std::size_t(pixelSize)) {
                    const std::size_t n = std::min(std::size_t(pixelSize), destination->bytes - offset);
                    ASSERT_EQ(std::memcmp(expected->storage.get() + offset, destination->storage.get() + offset, n), 0)
                        << "bytes " << offset << " to " << offset + n << " (row " << offset / std::size_t(destination->world.rowbytes)
                        << ")";
                }
            }
}

} // namespace
