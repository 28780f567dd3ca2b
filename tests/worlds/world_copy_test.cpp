// Copy, fill and composite through the host: the exact arguments the framework passes, and the pixels
// the host then changes.
#include "support/PixelBuffer.h"
#include "support/FrameworkFixture.h"

#include "framework/NewWorld.h"
#include "framework/WorldCopy.h"
#include "host/WorldServices.h"

#include <cstring>
#include <limits>

using namespace OrvaneHost;
using namespace Orvane;
using OrvaneTest::booksAreClean;
using OrvaneTest::kInjectedError;

namespace {

template <class Pixel> Pixel pixelOf(const std::shared_ptr<NewWorld>& world, A_long x, A_long y) {
    Pixel p;
    std::memcpy(&p, reinterpret_cast<const unsigned char*>(world->get()->data) + y * world->get()->rowbytes +
                        x * A_long(sizeof(Pixel)),
                sizeof p);
    return p;
}
template <class Pixel> void setPixel(const std::shared_ptr<NewWorld>& world, A_long x, A_long y, const Pixel& p) {
    std::memcpy(reinterpret_cast<unsigned char*>(world->get()->data) + y * world->get()->rowbytes +
                    x * A_long(sizeof(Pixel)),
                &p, sizeof p);
}

bool sameRect(const PF_Rect& a, const PF_Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct WorldCopyTest : OrvaneTest::FrameworkFixture {
    std::shared_ptr<NewWorld> make(A_long width, A_long height, int depth) {
        std::shared_ptr<NewWorld> world;
        if (createNewWorld(&in, &out, width, height, depth, world) != PF_Err_NONE || !world->hasPixels())
            throw std::logic_error("no world");
        return world;
    }
    WorldServiceLog& log() { return host.extension<WorldServiceLog>(); }

    void TearDown() override {
        // Every test drops its worlds before this, so what is left is what the services leaked.
        EXPECT_TRUE(booksAreClean(host));
    }
};

const PF_Pixel8 kRed8{255, 255, 0, 0};
const PF_Pixel8 kBlue8{255, 0, 0, 255};
const PF_Pixel8 kClear8{0, 0, 0, 0};

TEST_F(WorldCopyTest, CopyingWholeWorldsPassesNoRectangles) {
    auto source = make(3, 2, Depth8), destination = make(3, 2, Depth8);
    setPixel(source, 2, 1, kRed8);
    EXPECT_EQ(copyWorld(&in, source, destination), PF_Err_NONE);
    ASSERT_EQ(log().copies.size(), 1u);
    const CopyRequest& request = log().copies[0];
    EXPECT_EQ(request.source, source->get());
    EXPECT_EQ(request.destination, destination->get());
    EXPECT_FALSE(request.sourceRect);
    EXPECT_FALSE(request.destRect);
    EXPECT_EQ(pixelOf<PF_Pixel8>(destination, 2, 1), kRed8);
    EXPECT_EQ(pixelOf<PF_Pixel8>(destination, 1, 1), kClear8);
}

TEST_F(WorldCopyTest, CopyingRectanglesPassesTheSourceRectangleFirst) {
    auto source = make(4, 4, Depth16), destination = make(4, 4, Depth16);
    const PF_Pixel16 mark{32768, 100, 200, 300};
    setPixel(source, 1, 2, mark);
    EXPECT_EQ(copyWorld(&in, source, destination, PF_Rect{1, 2, 2, 3}, PF_Rect{3, 0, 4, 1}), PF_Err_NONE);
    ASSERT_EQ(log().copies.size(), 1u);
    ASSERT_TRUE(log().copies[0].sourceRect && log().copies[0].destRect);
    EXPECT_TRUE(sameRect(*log().copies[0].sourceRect, PF_Rect{1, 2, 2, 3}));
    EXPECT_TRUE(sameRect(*log().copies[0].destRect, PF_Rect{3, 0, 4, 1}));
    EXPECT_EQ(pixelOf<PF_Pixel16>(destination, 3, 0), mark);
    EXPECT_EQ(pixelOf<PF_Pixel16>(destination, 1, 2), (PF_Pixel16{0, 0, 0, 0}));
}

TEST_F(WorldCopyTest, TheHostsCopyResultIsReturnedUnchanged) {
    auto source = make(1, 1, Depth8), destination = make(1, 1, Depth32);
    EXPECT_EQ(copyWorld(&in, source, destination), PF_Err_BAD_CALLBACK_PARAM) << "depths differ";
    failEvery("copy", "", 42);
    auto same = make(1, 1, Depth8);
    EXPECT_EQ(copyWorld(&in, source, same), 42);
    EXPECT_EQ(copyWorld(&in, source, same, PF_Rect{0, 0, 1, 1}, PF_Rect{0, 0, 1, 1}), 42);
}

TEST_F(WorldCopyTest, FillingHandsTheHostTheColourAsEightBitPixels) {
    auto world = make(2, 2, Depth8);
    // 1.0 -> 255, 0.5 -> 127.5 + 0.5 = 128, 0.0 -> 0, -0.2 -> 0.
    EXPECT_EQ(fillWorld(&in, world, PF_PixelFloat{1.0f, 0.5f, 0.0f, -0.2f}), PF_Err_NONE);
    ASSERT_EQ(log().fills.size(), 1u);
    ASSERT_TRUE(log().fills[0].colour);
    EXPECT_EQ(*log().fills[0].colour, (PF_Pixel8{255, 128, 0, 0}));
    EXPECT_FALSE(log().fills[0].rect);
    EXPECT_EQ(log().fills[0].world, world->get());
    for (A_long y = 0; y < 2; ++y)
        for (A_long x = 0; x < 2; ++x) EXPECT_EQ(pixelOf<PF_Pixel8>(world, x, y), (PF_Pixel8{255, 128, 0, 0}));
}

TEST_F(WorldCopyTest, FillingARectangleChangesOnlyThatRectangle) {
    auto world = make(3, 3, Depth16);
    EXPECT_EQ(fillWorld(&in, world, PF_Rect{1, 0, 3, 1}, PF_PixelFloat{1.0f, 0.0f, 1.0f, 0.0f}), PF_Err_NONE);
    ASSERT_TRUE(log().fills.at(0).rect);
    EXPECT_TRUE(sameRect(*log().fills[0].rect, PF_Rect{1, 0, 3, 1}));
    const PF_Pixel16 green{32768, 0, 32768, 0};
    EXPECT_EQ(pixelOf<PF_Pixel16>(world, 1, 0), green);
    EXPECT_EQ(pixelOf<PF_Pixel16>(world, 2, 0), green);
    EXPECT_EQ(pixelOf<PF_Pixel16>(world, 0, 0), (PF_Pixel16{0, 0, 0, 0}));
    EXPECT_EQ(pixelOf<PF_Pixel16>(world, 1, 1), (PF_Pixel16{0, 0, 0, 0}));
    failEvery("fill", "", 43);
    EXPECT_EQ(fillWorld(&in, world, PF_PixelFloat{}), 43);
}

TEST_F(WorldCopyTest, TheWholeTransferCompositesTheSourceOpaquelyAtTheCorner) {
    auto source = make(2, 1, Depth8), destination = make(3, 2, Depth8);
    setPixel(source, 0, 0, kRed8);
    setPixel(destination, 0, 0, kBlue8);
    setPixel(destination, 1, 0, kBlue8);
    EXPECT_EQ(transferWorld(&in, source, destination, BlendNormal), PF_Err_NONE);
    ASSERT_EQ(log().transfers.size(), 1u);
    const TransferRequest& request = log().transfers[0];
    EXPECT_EQ(request.quality, PF_Quality_HI);
    EXPECT_EQ(request.modeFlags, PF_MF_Alpha_STRAIGHT);
    EXPECT_EQ(request.field, PF_Field_FRAME);
    ASSERT_TRUE(request.sourceRect);
    EXPECT_TRUE(sameRect(*request.sourceRect, PF_Rect{0, 0, 2, 1}));
    EXPECT_EQ(request.source, source->get());
    EXPECT_EQ(request.destination, destination->get());
    EXPECT_FALSE(request.masked);
    EXPECT_EQ(request.destX, 0);
    EXPECT_EQ(request.destY, 0);
    ASSERT_TRUE(request.composite);
    EXPECT_EQ(request.composite->xfer, 2);
    EXPECT_EQ(request.composite->rand_seed, 0);
    EXPECT_EQ(request.composite->opacity, 255);
    EXPECT_EQ(request.composite->rgb_only, 0);
    EXPECT_EQ(request.composite->opacitySu, 32768);
    EXPECT_TRUE(request.composited);
    EXPECT_EQ(pixelOf<PF_Pixel8>(destination, 0, 0), kRed8);
    EXPECT_EQ(pixelOf<PF_Pixel8>(destination, 1, 0), kBlue8) << "a clear source pixel leaves it be";
    EXPECT_EQ(pixelOf<PF_Pixel8>(destination, 2, 0), kClear8);
}

TEST_F(WorldCopyTest, ThePartialTransferPassesItsRectanglePointOpacityAndFlag) {
    auto source = make(4, 4, Depth16), destination = make(4, 4, Depth16);
    setPixel(source, 1, 1, PF_Pixel16{32768, 32768, 0, 0});
    setPixel(destination, 2, 3, PF_Pixel16{32768, 0, 0, 32768});
    EXPECT_EQ(transferWorld(&in, source, destination, PF_Rect{1, 1, 2, 2}, PF_Point{2, 3}, BlendNormal, 0.5, false),
              PF_Err_NONE);
    const TransferRequest& request = log().transfers.at(0);
    EXPECT_TRUE(sameRect(*request.sourceRect, PF_Rect{1, 1, 2, 2}));
    EXPECT_EQ(request.destX, 2);
    EXPECT_EQ(request.destY, 3);
    EXPECT_EQ(request.composite->opacity, 127);      // 127.5 truncated
    EXPECT_EQ(request.composite->opacitySu, 16384); // 0.5 x 32768
    EXPECT_EQ(request.composite->rgb_only, 0);
    // 16-bit worlds composite with the 0..32768 opacity: red over blue half and half.
    EXPECT_EQ(pixelOf<PF_Pixel16>(destination, 2, 3), (PF_Pixel16{32768, 16384, 0, 16384}));
    EXPECT_EQ(pixelOf<PF_Pixel16>(destination, 1, 1), (PF_Pixel16{0, 0, 0, 0}));
}

TEST_F(WorldCopyTest, OpacityIsTruncatedAndHeldToItsRange) {
    auto source = make(1, 1, Depth8), destination = make(1, 1, Depth8);
    struct Case {
        double opacity;
        int byte;
        int deep;
    };
    const Case cases[] = {{0.3, 76, 9830}, // 76.5 and 9830.4 truncated
                          {1.0, 255, 32768},
                          {0.0, 0, 0},
                          {1.5, 255, 32768},
                          {-0.5, 0, 0},
                          {std::numeric_limits<double>::quiet_NaN(), 0, 0},
                          {std::numeric_limits<double>::infinity(), 255, 32768}};
    for (const Case& c : cases) {
        log().transfers.clear();
        ASSERT_EQ(transferWorld(&in, source, destination, PF_Rect{0, 0, 1, 1}, PF_Point{0, 0}, BlendNormal, c.opacity,
                                true),
                  PF_Err_NONE);
        EXPECT_EQ(log().transfers.at(0).composite->opacity, c.byte) << c.opacity;
        EXPECT_EQ(log().transfers.at(0).composite->opacitySu, c.deep) << c.opacity;
        EXPECT_EQ(log().transfers.at(0).composite->rgb_only, 1);
    }
}

TEST_F(WorldCopyTest, OtherModesReachTheHostTranslatedAndAreOnlyRecorded) {
    auto source = make(1, 1, Depth8), destination = make(1, 1, Depth8);
    setPixel(source, 0, 0, kRed8);
    setPixel(destination, 0, 0, kBlue8);
    EXPECT_EQ(transferWorld(&in, source, destination, static_cast<BlendMode>(3)), PF_Err_NONE);
    EXPECT_EQ(transferWorld(&in, source, destination, PF_Rect{0, 0, 1, 1}, PF_Point{0, 0}, static_cast<BlendMode>(8),
                            1.0, false),
              PF_Err_NONE);
    EXPECT_EQ(transferWorld(&in, source, destination, BlendNone), PF_Err_NONE);
    ASSERT_EQ(log().transfers.size(), 3u);
    EXPECT_EQ(log().transfers[0].composite->xfer, 5);
    EXPECT_EQ(log().transfers[1].composite->xfer, 27);
    EXPECT_EQ(log().transfers[2].composite->xfer, -1);
    for (const auto& request : log().transfers) EXPECT_FALSE(request.composited);
    EXPECT_EQ(pixelOf<PF_Pixel8>(destination, 0, 0), kBlue8);
}

TEST_F(WorldCopyTest, TheHostsTransferResultIsReturnedUnchanged) {
    auto source = make(1, 1, Depth16), destination = make(1, 1, Depth8);
    EXPECT_EQ(transferWorld(&in, source, destination, BlendNormal), PF_Err_BAD_CALLBACK_PARAM) << "depths differ";
    failEvery("transfer_rect", "", 44);
    EXPECT_EQ(transferWorld(&in, source, source, BlendNormal), 44);
}

TEST_F(WorldCopyTest, DuplicatingAllocatesTheSourcesSizeAndCopiesIt) {
    auto source = make(3, 2, Depth32);
    const PF_PixelFloat mark{0.5f, 1.25f, -0.5f, 0.0f};
    setPixel(source, 2, 1, mark);
    std::shared_ptr<NewWorld> copy;
    EXPECT_EQ(duplicateWorld(&in, &out, source, copy, Depth32), PF_Err_NONE);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->width(), 3);
    EXPECT_EQ(copy->height(), 2);
    EXPECT_NE(copy->get()->data, source->get()->data);
    EXPECT_EQ(pixelOf<PF_PixelFloat>(copy, 2, 1), mark);
    ASSERT_EQ(log().copies.size(), 1u);
    EXPECT_EQ(log().copies[0].source, source->get());
    EXPECT_EQ(log().copies[0].destination, copy->get());
    EXPECT_FALSE(log().copies[0].sourceRect);
    EXPECT_FALSE(log().copies[0].destRect);
}

TEST_F(WorldCopyTest, DuplicatingANullWorldAllocatesZeroByZeroAndTheHostRefusesTheCopy) {
    for (const std::shared_ptr<World>& source : {std::shared_ptr<World>(), std::make_shared<World>(nullptr)}) {
        host.calls().reset();
        log().copies.clear();
        std::shared_ptr<NewWorld> copy;
        EXPECT_EQ(duplicateWorld(&in, &out, source, copy, Depth8), PF_Err_BAD_CALLBACK_PARAM);
        ASSERT_NE(copy, nullptr) << "the allocation succeeded, so the world is handed out";
        EXPECT_EQ(copy->width(), 0);
        EXPECT_EQ(copy->height(), 0);
        ASSERT_EQ(callsNamed("new_world").size(), 1u);
        EXPECT_EQ(callsNamed("new_world")[0].detail, "0x0 flags 1");
        ASSERT_EQ(log().copies.size(), 1u);
        EXPECT_EQ(log().copies[0].source, nullptr);
        copy.reset();
        EXPECT_EQ(countOf("dispose_world"), 1u);
    }
}

TEST_F(WorldCopyTest, AFailedDuplicateAllocationCopiesNothingAndLeavesOutUntouched) {
    auto source = make(2, 2, Depth8);
    failEvery("new_world");
    std::shared_ptr<NewWorld> copy;
    EXPECT_EQ(duplicateWorld(&in, &out, source, copy, Depth16), kInjectedError);
    EXPECT_EQ(copy, nullptr);
    EXPECT_TRUE(log().copies.empty());
}

TEST_F(WorldCopyTest, AWorldTheHostNeverMadeIsRefusedAndReported) {
    auto real = make(1, 1, Depth8);
    OrvaneTest::PixelBuffer foreign(1, 1, 0);
    auto stranger = std::make_shared<World>(foreign.get());
    EXPECT_EQ(copyWorld(&in, stranger, real), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(fillWorld(&in, stranger, PF_PixelFloat{}), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(transferWorld(&in, real, stranger, BlendNormal), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.books().errors().size(), 3u);
    host.books().clearErrors();
}

} // namespace
