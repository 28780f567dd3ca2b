// The filters' bands (the per-pixel filter's and the row filter's alike): which rows each band renders,
// empty bands, the abort checks, the single-thread path, refused buffers, and the host threads through run().
#include "support/FrameworkFixture.h"

#include "framework/Filter.h"
#include "framework/ParallelIterate.h"
#include "framework/PixelDepth.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

using namespace OrvaneHost;
using namespace OrvaneTest;
using Orvane::Filter::PixelFunction;
using Orvane::Filter::RowFilter;
using Orvane::Filter::RowFunction;
using Orvane::Filter::SimpleFilter;

namespace {

const PF_PixelFloat kWhite{1.0f, 1.0f, 1.0f, 1.0f};

enum class Kind { Pixels, Rows };

struct BandBuffers : FrameworkFixture {
    std::unique_ptr<WorldBuffer> source = buffer(3, 10, 8);
    std::unique_ptr<WorldBuffer> destination = makeWorldBuffer(3, 10, 8, 0, true); // zero: nothing painted
    std::vector<std::size_t> abortsBefore = std::vector<std::size_t>(10); // abort checks asked as row y began

    // Paint white, noting the abort checks asked so far as each row begins (rows of other bands go to other
    // entries, so threads never share one).
    const PixelFunction paintWhite = [this](const PF_PixelFloat&, int x, int y) {
        if (x == 0) abortsBefore[std::size_t(y)] = countOf("abort");
        return kWhite;
    };
    const RowFunction paintWhiteRows = [this](Orvane::PixelDepth depth, A_long y, A_long width, unsigned char* row) {
        abortsBefore[std::size_t(y)] = countOf("abort");
        std::memset(row, 255, std::size_t(width) * (depth == Orvane::Depth8 ? 4u : (depth == Orvane::Depth16 ? 8u : 16u)));
    };

    void useHeight(A_long height) {
        source = buffer(3, height, 8);
        destination = makeWorldBuffer(3, height, 8, 0, true);
        abortsBefore.assign(std::size_t(height), 0);
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
    // Band 0 asked the host whether to stop after each of rows first..end-1: before the next row began, and
    // after the last at least `afterLast` times.
    ::testing::AssertionResult askedAfterEachRow(A_long first, A_long end, std::size_t afterLast = 1) {
        for (A_long y = first; y < end; ++y) {
            const std::size_t asked = (y + 1 < end ? abortsBefore[std::size_t(y) + 1] : countOf("abort")) -
                                      abortsBefore[std::size_t(y)];
            if (asked < (y + 1 < end ? 1 : afterLast))
                return ::testing::AssertionFailure() << asked << " abort checks after row " << y;
        }
        return ::testing::AssertionSuccess();
    }
};

// The filter under test, painting white: the per-pixel filter or the row filter.
class WhiteFilter {
public:
    WhiteFilter(BandBuffers& buffers, Kind kind, int depth = Orvane::Depth8) {
        if (kind == Kind::Pixels) {
            pixels = std::make_unique<SimpleFilter>(&buffers.in, depth);
            pixels->setFunction(&buffers.paintWhite);
        } else {
            rows = std::make_unique<RowFilter>(&buffers.in, depth);
            rows->setFunction(&buffers.paintWhiteRows);
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

struct FilterBands : BandBuffers, ::testing::WithParamInterface<Kind> {
    // The filter under test, from source to destination on the host's threads.
    PF_Err runFilter(int depth = Orvane::Depth8) {
        WhiteFilter filter(*this, GetParam(), depth);
        filter.setWorlds(&source->world, &destination->world);
        return filter.run();
    }
};

// Ten rows split two, three, two, three over four bands; two rows over four leave bands 0 and 2 empty.
TEST_P(FilterBands, EachBandRendersItsShareAndOnlyBandZeroAsksAfterEachOfItsRows) {
    const struct {
        A_long height;
        const char* painted[4];
    } splits[] = {{10, {"xx........", "..xxx.....", ".....xx...", ".......xxx"}}, {2, {"..", "x.", "..", ".x"}}};
    for (const auto& split : splits) {
        useHeight(split.height);
        for (int band = 0; band < 4; ++band) {
            SCOPED_TRACE(testing::Message() << split.height << " rows, band " << band);
            host.calls().reset();
            destination = makeWorldBuffer(3, split.height, 8, 0, true);
            WhiteFilter filter(*this, GetParam());
            filter.setWorlds(&source->world, &destination->world);
            EXPECT_EQ(filter.renderBand(band, 4), 0);
            EXPECT_EQ(paintedRows(), split.painted[band]);
            const A_long bandZeroRows = split.height / 4;
            if (band == 0 && bandZeroRows > 0) EXPECT_TRUE(askedAfterEachRow(0, bandZeroRows));
            else EXPECT_EQ(countOf("abort"), 0u) << "only band 0 asks, and an empty band returns before asking";
        }
    }
}

TEST_P(FilterBands, ABandThatIsNotOneOfTheCountHasNoRows) {
    WhiteFilter filter(*this, GetParam());
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
    EXPECT_EQ(runFilter(), 77);
    EXPECT_EQ(paintedRows(), "x.xxxxxxxx");
    const auto aborts = callsNamed("abort");
    EXPECT_EQ(std::count_if(aborts.begin(), aborts.end(), [](const CallRecord& r) { return r.result == 77; }), 1)
        << "nothing asks again once told to stop";
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, EveryRowIsRenderedOnceOverSevenThreads) {
    setHostThreads(host, 7);
    EXPECT_EQ(runFilter(), 0);
    EXPECT_EQ(paintedRows(), "xxxxxxxxxx");
    const auto records = host.calls().records();
    auto iterate = std::find_if(records.begin(), records.end(), [](const CallRecord& r) { return r.name == "iterate_generic"; });
    ASSERT_NE(iterate, records.end());
    EXPECT_EQ(iterate->detail, "7");
    EXPECT_TRUE(askedAfterEachRow(0, 1)) << "band 0 has one row";
    EXPECT_GE(countOf("abort"), 2u) << "host thread 0 also asks before the iteration it runs";
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, OneHostThreadRendersOneBandOnTheCallingThreadAndAsksOnceMore) {
    for (int threads : {1, 0}) {
        SCOPED_TRACE(threads);
        host.calls().reset();
        setHostThreads(host, threads);
        destination = makeWorldBuffer(3, 10, 8, 0, true);
        EXPECT_EQ(runFilter(), 0);
        EXPECT_EQ(paintedRows(), "xxxxxxxxxx");
        EXPECT_EQ(countOf("iterate_generic"), 0u);
        EXPECT_TRUE(askedAfterEachRow(0, 10, 2)) << "after each of the ten rows and once more after the band";
    }
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, TheSingleBandReturnsTheLastAbortAnswer) {
    setHostThreads(host, 1);
    ASSERT_EQ(runFilter(), 0);
    abortFromCall(host, countOf("abort"), 5); // the render's last check
    destination = makeWorldBuffer(3, 10, 8, 0, true);
    EXPECT_EQ(runFilter(), 5);
    EXPECT_EQ(paintedRows(), "xxxxxxxxxx");
}

TEST_P(FilterBands, AZeroWidthSourceWritesNothingButBandZeroStillAsksPerRow) {
    source = buffer(0, 10, 8);
    WhiteFilter filter(*this, GetParam());
    filter.setWorlds(&source->world, &destination->world);
    EXPECT_EQ(filter.renderBand(0, 1), 0);
    EXPECT_EQ(paintedRows(), "..........");
    EXPECT_GE(countOf("abort"), 10u) << "after each of its ten rows, though it writes nothing";
}

TEST_P(FilterBands, WithoutBothBuffersOrAFunctionNothingHappens) {
    WhiteFilter noWorlds(*this, GetParam());
    EXPECT_EQ(noWorlds.run(), 0);
    WhiteFilter halfWorlds(*this, GetParam());
    halfWorlds.setWorlds(&source->world, nullptr);
    EXPECT_EQ(halfWorlds.run(), 0);
    WhiteFilter noFunction(*this, GetParam());
    noFunction.setWorlds(&source->world, &destination->world);
    noFunction.withoutFunction();
    EXPECT_EQ(noFunction.run(), 0);
    noFunction.withEmptyFunction();
    EXPECT_EQ(noFunction.run(), 0);
    EXPECT_EQ(host.calls().count(), 0u);
    EXPECT_EQ(paintedRows(), "..........");
}

TEST_P(FilterBands, AnUnknownDepthWritesNothingAndReturnsZero) {
    EXPECT_EQ(runFilter(5), 0);
    EXPECT_EQ(paintedRows(), "..........");
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, ADestinationSmallerThanTheSourceIsRefusedUntouched) {
    destination = makeWorldBuffer(3, 9, 8, 0, true);
    WhiteFilter filter(*this, GetParam());
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
    EXPECT_EQ(runFilter(), 31);
    EXPECT_EQ(paintedRows(), "..........");
    EXPECT_TRUE(booksAreClean(host));
}

TEST_P(FilterBands, ARefusedIterationSuiteThrowsBadCallbackParamWithTheOtherReleased) {
    host.calls().addRule({"AcquireSuite", "PF Iterate8 Suite 1", 0, false, {FaultMode::Null, 0}});
    try {
        runFilter();
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
