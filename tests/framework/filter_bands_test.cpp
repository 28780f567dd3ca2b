// The filters' bands (the per-pixel filter's and the row filter's alike): which rows each band renders,
// empty bands, the abort checks, the single-thread path, refused buffers, and the host threads through run().
#include "support/FrameworkFixture.h"

#include "framework/Filter.h"
#include "framework/ParallelIterate.h"
#include "framework/PixelDepth.h"

#include <cstring>
#include <new>
#include <stdexcept>

using namespace OrvaneHost;
using namespace OrvaneTest;
using Orvane::Filter::PixelFunction;
using Orvane::Filter::RowFilter;
using Orvane::Filter::RowFunction;
using Orvane::Filter::SimpleFilter;

namespace {

const PF_PixelFloat kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const PixelFunction kPaintWhite = [](const PF_PixelFloat&, int, int) { return kWhite; };
const RowFunction kPaintWhiteRows = [](Orvane::PixelDepth depth, A_long, A_long width, unsigned char* row) {
    std::memset(row, 255, std::size_t(width) * (depth == Orvane::Depth8 ? 4u : (depth == Orvane::Depth16 ? 8u : 16u)));
};

enum class Kind { Pixels, Rows };

// The filter under test, painting white: the per-pixel filter or the row filter.
class WhiteFilter {
public:
    WhiteFilter(PF_InData* in, int depth, Kind kind) {
        if (kind == Kind::Pixels) {
            pixels = std::make_unique<SimpleFilter>(in, depth);
            pixels->setFunction(&kPaintWhite);
        } else {
            rows = std::make_unique<RowFilter>(in, depth);
            rows->setFunction(&kPaintWhiteRows);
        }
    }
    void setWorlds(PF_EffectWorld* source, PF_EffectWorld* destination) { base().setWorlds(source, destination); }
    PF_Err run() { return base().run(); }
    PF_Err renderBand(int index, int count) {
        return pixels ? pixels->renderBand(index, count) : rows->renderBand(index, count);
    }
    // No function at all, or one that holds no target.
    void withoutFunction() { pixels ? pixels->setFunction(nullptr) : rows->setFunction(nullptr); }
    void withEmptyFunction() {
        static const PixelFunction noPixels;
        static const RowFunction noRows;
        pixels ? pixels->setFunction(&noPixels) : rows->setFunction(&noRows);
    }

private:
    Orvane::Filter::Filter& base() { return pixels ? static_cast<Orvane::Filter::Filter&>(*pixels) : *rows; }

    std::unique_ptr<SimpleFilter> pixels;
    std::unique_ptr<RowFilter> rows;
};

struct BandBuffers : FrameworkFixture {
    std::unique_ptr<WorldBuffer> source = buffer(3, 10, 8);
    std::unique_ptr<WorldBuffer> destination = makeWorldBuffer(3, 10, 8, 0, true); // zero: nothing painted

    void useHeight(A_long height) {
        source = buffer(3, height, 8);
        destination = makeWorldBuffer(3, height, 8, 0, true);
    }
    // Every pixel of row y is `pixel`.
    bool rowIs(A_long y, const PF_Pixel8& pixel) {
        for (A_long x = 0; x < destination->world.width; ++x)
            if (std::memcmp(&at<PF_Pixel8>(*destination, x, y), &pixel, sizeof pixel) != 0) return false;
        return true;
    }
    std::string paintedRows() {
        std::string rows;
        for (A_long y = 0; y < destination->world.height; ++y)
            rows += rowIs(y, PF_Pixel8{255, 255, 255, 255}) ? 'x' : (rowIs(y, PF_Pixel8{0, 0, 0, 0}) ? '.' : '?');
        return rows;
    }
};

struct FilterBands : BandBuffers, ::testing::WithParamInterface<Kind> {};

TEST_P(FilterBands, TenRowsOverFourBandsSplitTwoThreeTwoThree) {
    const char* expected[] = {"xx........", "..xxx.....", ".....xx...", ".......xxx"};
    for (int band = 0; band < 4; ++band) {
        SCOPED_TRACE(band);
        destination = makeWorldBuffer(3, 10, 8, 0, true);
        WhiteFilter filter(&in, Orvane::Depth8, GetParam());
        filter.setWorlds(&source->world, &destination->world);
        EXPECT_EQ(filter.renderBand(band, 4), 0);
        EXPECT_EQ(paintedRows(), expected[band]);
    }
    EXPECT_EQ(countOf("abort"), 2u) << "band 0 asks after each of its two rows, the others never";
}

TEST_P(FilterBands, MoreBandsThanRowsLeavesEmptyBandsThatAskNothing) {
    useHeight(2);
    const char* expected[] = {"..", "x.", "..", ".x"};
    for (int band = 0; band < 4; ++band) {
        SCOPED_TRACE(band);
        destination = makeWorldBuffer(3, 2, 8, 0, true);
        WhiteFilter filter(&in, Orvane::Depth8, GetParam());
        filter.setWorlds(&source->world, &destination->world);
        EXPECT_EQ(filter.renderBand(band, 4), 0);
        EXPECT_EQ(paintedRows(), expected[band]);
    }
    EXPECT_EQ(countOf("abort"), 0u) << "band 0 is empty here, and an empty band returns before asking";
}

TEST_P(FilterBands, ABandThatIsNotOneOfTheCountHasNoRows) {
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.renderBand(4, 4), 0);
    EXPECT_EQ(filter.renderBand(-1, 4), 0);
    EXPECT_EQ(filter.renderBand(0, 0), 0);
    EXPECT_EQ(paintedRows(), "..........");
}

TEST_P(FilterBands, AnAbortAfterBandZerosFirstRowLeavesItsRestUnwrittenWhileOtherBandsFinish) {
    setHostThreads(host, 4);
    // Host thread 0 asks before iteration 0 (call 1), then band 0 after its first row (call 2).
    abortFromCall(host, 2, 77);
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.run(), 77);
    EXPECT_EQ(paintedRows(), "x.xxxxxxxx");
    EXPECT_EQ(countOf("abort"), 2u);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, EveryRowIsRenderedOnceOverSevenThreads) {
    setHostThreads(host, 7);
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.run(), 0);
    EXPECT_EQ(paintedRows(), "xxxxxxxxxx");
    const auto records = host.calls().records();
    auto iterate = std::find_if(records.begin(), records.end(), [](const CallRecord& r) { return r.name == "iterate_generic"; });
    ASSERT_NE(iterate, records.end());
    EXPECT_EQ(iterate->detail, "7");
    // Thread 0 runs iteration 0 only: one check before it, one after each of band 0's single row.
    EXPECT_EQ(countOf("abort"), 2u);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, OneHostThreadRendersOneBandOnTheCallingThreadAndAsksOnceMore) {
    for (int threads : {1, 0}) {
        SCOPED_TRACE(threads);
        host.calls().reset();
        setHostThreads(host, threads);
        destination = makeWorldBuffer(3, 10, 8, 0, true);
        WhiteFilter filter(&in, Orvane::Depth8, GetParam());
        filter.setWorlds(&source->world, &destination->world);
        EXPECT_EQ(filter.run(), 0);
        EXPECT_EQ(paintedRows(), "xxxxxxxxxx");
        EXPECT_EQ(countOf("iterate_generic"), 0u);
        EXPECT_EQ(countOf("abort"), 11u) << "after each of the ten rows and once after the band";
    }
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, TheSingleBandReturnsTheLastAbortAnswer) {
    setHostThreads(host, 1);
    abortFromCall(host, 11, 5);
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.run(), 5);
    EXPECT_EQ(paintedRows(), "xxxxxxxxxx");
}

TEST_P(FilterBands, AZeroWidthSourceWritesNothingButBandZeroStillAsksPerRow) {
    source = buffer(0, 10, 8);
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.renderBand(0, 1), 0);
    EXPECT_EQ(paintedRows(), "..........");
    EXPECT_EQ(countOf("abort"), 10u);
}

TEST_P(FilterBands, WithoutBothBuffersOrAFunctionNothingHappens) {
    WhiteFilter noWorlds(&in, Orvane::Depth8, GetParam());
    EXPECT_EQ(noWorlds.run(), 0);
    WhiteFilter halfWorlds(&in, Orvane::Depth8, GetParam());
    halfWorlds.setWorlds(&source->world, nullptr);
    EXPECT_EQ(halfWorlds.run(), 0);
    WhiteFilter noFunction(&in, Orvane::Depth8, GetParam());
    noFunction.setWorlds(&source->world, &destination->world);
    noFunction.withoutFunction();
    EXPECT_EQ(noFunction.run(), 0);
    noFunction.withEmptyFunction();
    EXPECT_EQ(noFunction.run(), 0);
    EXPECT_EQ(host.calls().count(), 0u);
    EXPECT_EQ(paintedRows(), "..........");
}

TEST_P(FilterBands, AnUnknownDepthWritesNothingAndReturnsZero) {
    WhiteFilter filter(&in, 5, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.run(), 0);
    EXPECT_EQ(paintedRows(), "..........");
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, ADestinationSmallerThanTheSourceIsRefusedUntouched) {
    destination = makeWorldBuffer(3, 9, 8, 0, true);
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.run(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(paintedRows(), ".........");
    // Rows shorter than the width are refused the same way.
    destination = makeWorldBuffer(3, 10, 8, 0, true);
    destination->world.rowbytes = 8;
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.run(), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.calls().count(), 0u);
}

TEST_P(FilterBands, AThreadCountFailureIsReturnedWithNothingRendered) {
    host.calls().addRule({"AEGP_GetNumThreads", "", 0, false, {FaultMode::Error, 31}});
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.run(), 31);
    EXPECT_EQ(paintedRows(), "..........");
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, ARefusedIterationSuiteThrowsBadCallbackParamWithTheOtherReleased) {
    host.calls().addRule({"AcquireSuite", "PF Iterate8 Suite 1", 0, false, {FaultMode::Null, 0}});
    WhiteFilter filter(&in, Orvane::Depth8, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    try {
        filter.run();
        ADD_FAILURE() << "expected a thrown code";
    } catch (PF_Err err) {
        EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
    }
    EXPECT_EQ(paintedRows(), "..........");
    EXPECT_EQ(host.releases("AEGP Iterate Suite", 1), 1u);
    EXPECT_TRUE(booksAreClean(host));
}

// The iteration callback is a door from the host into the effect like the entry point: whatever a band
// throws on a worker thread comes back as the host code the entry point would give it, never as an exception.
TEST_F(BandBuffers, AFailureThrownInABandOnAWorkerIsTheEntryPointsHostCode) {
    setHostThreads(host, 3);
    const struct {
        const char* what;
        void (*raise)();
        PF_Err expected;
    } cases[] = {
        {"a host code", [] { throw PF_Err(37); }, 37},
        {"an allocation failure", [] { throw std::bad_alloc(); }, PF_Err_OUT_OF_MEMORY},
        {"anything else", [] { throw std::runtime_error("band"); }, PF_Err_INTERNAL_STRUCT_DAMAGED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Orvane::Filter::BandFunction band = [&c](int index, int) -> PF_Err {
            if (index == 2) c.raise();
            return PF_Err_NONE;
        };
        EXPECT_EQ(Orvane::Filter::parallelIterate(&in, band, 0), c.expected);
    }
    EXPECT_TRUE(booksAreClean(host)) << "an exception that reached the host is a host error in the books";
}

TEST_F(BandBuffers, ThePixelFunctionSeesColumnsAndRowsFromTheTopLeft) {
    useHeight(4);
    const PixelFunction coordinates = [](const PF_PixelFloat&, int x, int y) {
        return PF_PixelFloat{1.0f, x / 255.0f, y / 255.0f, 0.0f};
    };
    setHostThreads(host, 3);
    SimpleFilter filter(&in, Orvane::Depth8);
    filter.setWorlds(&source->world, &destination->world);
    filter.setFunction(&coordinates);
    ASSERT_EQ(filter.run(), 0);
    for (A_long y = 0; y < 4; ++y)
        for (A_long x = 0; x < 3; ++x) {
            const PF_Pixel8& p = at<PF_Pixel8>(*destination, x, y);
            EXPECT_EQ(p.red, x);
            EXPECT_EQ(p.green, y);
        }
}

std::string kindName(const ::testing::TestParamInfo<Kind>& info) {
    return info.param == Kind::Pixels ? "PixelFilter" : "RowFilter";
}

INSTANTIATE_TEST_SUITE_P(EachFilter, FilterBands, ::testing::Values(Kind::Pixels, Kind::Rows), kindName);

} // namespace
