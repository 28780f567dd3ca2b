// Worlds the plug-in allocates: the suite and flags for each depth, disposal by the suite of that depth when
// the last reference goes, and the ways allocation can fail.
#include "support/FrameworkFixture.h"

#include "framework/NewWorld.h"
#include "host/Worlds.h"

#include <cstring>

using namespace OrvaneHost;
using namespace Orvane;
using OrvaneTest::booksAreClean;
using OrvaneTest::kInjectedError;

namespace {

using NewWorldTest = OrvaneTest::FrameworkFixture;

const WorldBuffer& hostBufferOf(Host& host, const std::shared_ptr<NewWorld>& world) {
    const WorldBuffer* buffer = findWorld(host, world->get());
    if (!buffer) throw std::logic_error("not a world of this host");
    return *buffer;
}

bool allBytesZero(const WorldBuffer& buffer) {
    for (std::size_t i = 0; i < buffer.bytes; ++i)
        if (buffer.storage[i]) return false;
    return true;
}

// Each depth's allocation: the call and suite version that make it, and the call that disposes of it.
struct DepthAllocation {
    const char* name;
    int depth;
    A_long width, height;
    const char* allocation;
    std::string detail;
    int suiteVersion;
    const char* disposal;
};
void PrintTo(const DepthAllocation& row, std::ostream* out) { *out << row.name; }

const DepthAllocation kAllocations[] = {
    {"EightBit", Depth8, 5, 3, "new_world", "5x3 flags 1", 1, "dispose_world"},    // CLEAR_PIXELS
    {"SixteenBit", Depth16, 2, 7, "new_world", "2x7 flags 3", 1, "dispose_world"}, // CLEAR_PIXELS | DEEP_PIXELS
    {"Float", Depth32, 4, 4, "PF_NewWorld", "4x4 format " + std::to_string(PF_PixelFormat_ARGB128), 2,
     "PF_DisposeWorld"},
};

struct EachDepth : OrvaneTest::FrameworkFixture, ::testing::WithParamInterface<DepthAllocation> {};

// Float worlds come from a world suite 2 held only for the allocation, and again only for the disposal.
TEST_P(EachDepth, AClearedWorldFromItsOwnSuiteGoesBackToItWhenTheLastReferenceGoes) {
    const DepthAllocation& a = GetParam();
    const int otherVersion = 3 - a.suiteVersion;
    std::shared_ptr<NewWorld> world;
    ASSERT_EQ(createNewWorld(&in, &out, a.width, a.height, a.depth, world), PF_Err_NONE);
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->pixelDepth(), a.depth);
    EXPECT_EQ(world->width(), a.width);
    EXPECT_EQ(world->height(), a.height);
    const auto made = callsNamed(a.allocation);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].detail, a.detail);
    const WorldBuffer& buffer = hostBufferOf(host, world);
    EXPECT_EQ(buffer.depth, a.depth == Depth8 ? 8 : (a.depth == Depth16 ? 16 : 32));
    EXPECT_EQ(buffer.suiteVersion, a.suiteVersion);
    EXPECT_TRUE(allBytesZero(buffer));
    if (a.depth == Depth32) {
        EXPECT_EQ(host.releases("PF World Suite", 2), 1u) << "released as soon as the allocation is done";
    }

    std::shared_ptr<World> shared = world; // held as a plain World, as the services take it
    world.reset();
    EXPECT_EQ(countOf(a.disposal), 0u);
    shared.reset();
    EXPECT_EQ(countOf(a.disposal), 1u);
    EXPECT_EQ(countOf(a.suiteVersion == 1 ? "PF_DisposeWorld" : "dispose_world"), 0u);
    EXPECT_EQ(host.acquisitions("PF World Suite", a.suiteVersion), a.depth == Depth32 ? 2u : 1u);
    EXPECT_EQ(host.acquisitions("PF World Suite", otherVersion), 0u);
    EXPECT_EQ(out.out_flags, 0);
    EXPECT_TRUE(booksAreClean(host));
}

INSTANTIATE_TEST_SUITE_P(NewWorld, EachDepth, ::testing::ValuesIn(kAllocations),
                         [](const ::testing::TestParamInfo<DepthAllocation>& info) { return info.param.name; });

TEST_F(NewWorldTest, AnUnknownDepthHandsOutAWorldWithoutPixels) {
    std::shared_ptr<NewWorld> world;
    ASSERT_EQ(createNewWorld(&in, &out, 8, 8, 5, world), PF_Err_NONE);
    ASSERT_NE(world, nullptr);
    ASSERT_NE(world->get(), nullptr); // the record exists, zero-filled
    EXPECT_EQ(world->get()->data, nullptr);
    EXPECT_EQ(world->width(), 0);
    EXPECT_FALSE(world->hasPixels());
    EXPECT_EQ(world->pixelDepth(), 5);
    world.reset();
    EXPECT_EQ(host.calls().count(), 0u) << "no suite, no allocation, no disposal";
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(NewWorldTest, ARefusedFloatSuiteLeavesItsMessageAndReturnsZeroWithoutPixels) {
    failEvery("AcquireSuite", "PF World Suite 2");
    out.out_flags = PF_OutFlag_DEEP_COLOR_AWARE;
    std::shared_ptr<NewWorld> world;
    ASSERT_EQ(createNewWorld(&in, &out, 4, 4, Depth32, world), PF_Err_NONE);
    ASSERT_NE(world, nullptr);
    EXPECT_FALSE(world->hasPixels());
    EXPECT_EQ(out.out_flags, PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_STREQ(out.return_msg, "Couldn't load suite.");
    EXPECT_EQ(countOf("PF_NewWorld"), 0u);
    world.reset();
    EXPECT_EQ(countOf("PF_DisposeWorld"), 0u);
    EXPECT_EQ(countOf("ReleaseSuite"), 0u) << "a suite never obtained is not released";
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(NewWorldTest, AFailedAllocationLeavesOutUntouchedAndDisposesNothing) {
    std::shared_ptr<NewWorld> held;
    ASSERT_EQ(createNewWorld(&in, &out, 1, 1, Depth8, held), PF_Err_NONE);
    NewWorld* const before = held.get();
    for (const char* call : {"new_world", "PF_NewWorld"}) failEvery(call);
    for (int depth : {Depth8, Depth16, Depth32}) {
        EXPECT_EQ(createNewWorld(&in, &out, 3, 3, depth, held), kInjectedError) << depth;
        EXPECT_EQ(held.get(), before);
    }
    EXPECT_EQ(countOf("dispose_world") + countOf("PF_DisposeWorld"), 0u);
    held.reset();
    EXPECT_EQ(countOf("dispose_world"), 1u);
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(NewWorldTest, ARefusedWorldSuiteOneThrowsBadCallbackParam) {
    failEvery("AcquireSuite", "PF World Suite 1");
    std::shared_ptr<NewWorld> world;
    for (int depth : {Depth8, Depth16}) {
        try {
            createNewWorld(&in, &out, 2, 2, depth, world);
            FAIL() << "no throw at depth " << depth;
        } catch (PF_Err err) {
            EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
        }
    }
    EXPECT_EQ(world, nullptr);
    EXPECT_EQ(out.out_flags, 0) << "the table reports nothing to the user";
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(NewWorldTest, WithoutABasicSuiteConstructionThrowsBadCallbackParam) {
    in.pica_basicP = nullptr;
    std::shared_ptr<NewWorld> world;
    try {
        createNewWorld(&in, &out, 2, 2, Depth8, world);
        FAIL() << "no throw";
    } catch (PF_Err err) {
        EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM);
    }
    EXPECT_TRUE(booksAreClean(host));
}

TEST_F(NewWorldTest, AllocatingAgainGivesTheEarlierPixelsBackToTheirOwnSuite) {
    {
        auto world = std::make_shared<NewWorld>(&in, &out);
        ASSERT_EQ(world->allocate(2, 2, Depth8), PF_Err_NONE);
        ASSERT_EQ(world->allocate(3, 3, Depth32), PF_Err_NONE);
        EXPECT_EQ(countOf("dispose_world"), 1u);
        EXPECT_EQ(world->width(), 3);
        EXPECT_EQ(host.books().live("world"), 1u);
        failEvery("PF_NewWorld");
        EXPECT_EQ(world->allocate(4, 4, Depth32), kInjectedError);
        EXPECT_EQ(countOf("PF_DisposeWorld"), 1u);
        EXPECT_FALSE(world->hasPixels());
    }
    EXPECT_EQ(countOf("PF_DisposeWorld"), 1u) << "pixels given back once only";
    EXPECT_TRUE(booksAreClean(host));
}

} // namespace
