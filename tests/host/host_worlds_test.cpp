// The host's pixel buffers and its world suites: sizes, depths, padding, books, wrong-suite disposal, pixel
// formats, and the input layer through parameter 0.
#include "support/ModuleHost.h"

#include "entry/EntryPoint.h"
#include "host/CallingHost.h"
#include "host/Worlds.h"

#include <cstring>
#include <string>

using namespace OrvaneHost;
using OrvaneTest::booksAreClean;

namespace {

// Both world suites held for each test; every test leaves the books clean, host errors it expects cleared.
struct HostWorldsTest : ::testing::Test {
    Host host{&EntryPointFunc};
    CallingHost caller{host}; // the test calls the suites as the effect does during a command
    const PF_WorldSuite1* one = acquire<PF_WorldSuite1>(1);
    const PF_WorldSuite2* two = acquire<PF_WorldSuite2>(2);

    template <class Suite> const Suite* acquire(A_long version) {
        const void* suite = nullptr;
        EXPECT_EQ(host.basicSuite()->AcquireSuite("PF World Suite", version, &suite), 0);
        return static_cast<const Suite*>(suite);
    }
    void TearDown() override {
        host.basicSuite()->ReleaseSuite("PF World Suite", 1);
        host.basicSuite()->ReleaseSuite("PF World Suite", 2);
        EXPECT_TRUE(booksAreClean(host));
    }
};

TEST_F(HostWorldsTest, WorldSuiteOneMakesClearedEightAndSixteenBitWorlds) {
    ASSERT_NE(one, nullptr);
    PF_EffectWorld shallow{}, deep{};
    ASSERT_EQ(one->new_world(host.effectRef(), 5, 3, PF_NewWorldFlag_CLEAR_PIXELS, &shallow), 0);
    ASSERT_EQ(one->new_world(host.effectRef(), 5, 3, PF_NewWorldFlag_CLEAR_PIXELS | PF_NewWorldFlag_DEEP_PIXELS, &deep),
              0);
    EXPECT_EQ(shallow.width, 5);
    EXPECT_EQ(shallow.height, 3);
    EXPECT_EQ(shallow.rowbytes, 20);
    EXPECT_EQ(deep.rowbytes, 40);
    const auto* bytes = reinterpret_cast<const unsigned char*>(deep.data);
    for (int i = 0; i < 120; ++i) ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(host.books().live("world"), 2u);
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    EXPECT_EQ(two->PF_GetPixelFormat(&shallow, &format), 0);
    EXPECT_EQ(format, PF_PixelFormat_ARGB32);
    EXPECT_EQ(two->PF_GetPixelFormat(&deep, &format), 0);
    EXPECT_EQ(format, PF_PixelFormat_ARGB64);
    EXPECT_EQ(one->dispose_world(host.effectRef(), &shallow), 0);
    EXPECT_EQ(one->dispose_world(host.effectRef(), &deep), 0);
}

TEST_F(HostWorldsTest, WorldSuiteTwoMakesFloatWorldsAndRefusesUnknownFormats) {
    PF_EffectWorld world{};
    ASSERT_EQ(two->PF_NewWorld(host.effectRef(), 4, 2, TRUE, PF_PixelFormat_ARGB128, &world), 0);
    EXPECT_EQ(world.rowbytes, 64);
    PF_PixelFormat format = 0;
    EXPECT_EQ(two->PF_GetPixelFormat(&world, &format), 0);
    EXPECT_EQ(format, PF_PixelFormat_ARGB128);
    PF_EffectWorld refused{};
    EXPECT_EQ(two->PF_NewWorld(host.effectRef(), 4, 2, TRUE, 0x12345678, &refused), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(refused.data, nullptr);
    EXPECT_EQ(two->PF_DisposeWorld(host.effectRef(), &world), 0);
}

TEST_F(HostWorldsTest, DisposingWithTheOtherSuiteOrTwiceIsAHostError) {
    PF_EffectWorld world{};
    ASSERT_EQ(one->new_world(host.effectRef(), 2, 2, PF_NewWorldFlag_NONE, &world), 0);
    EXPECT_EQ(two->PF_DisposeWorld(host.effectRef(), &world), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.books().live("world"), 1u) << "a refused disposal leaves the world live";
    EXPECT_EQ(one->dispose_world(host.effectRef(), &world), 0);
    EXPECT_EQ(one->dispose_world(host.effectRef(), &world), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.books().errors().size(), 2u);
    host.books().clearErrors();
}

TEST_F(HostWorldsTest, AnEmptyWorldStillHasPixelsToDisposeOf) {
    PF_EffectWorld world{};
    ASSERT_EQ(one->new_world(host.effectRef(), 0, 0, PF_NewWorldFlag_CLEAR_PIXELS, &world), 0);
    EXPECT_NE(world.data, nullptr);
    EXPECT_EQ(one->dispose_world(host.effectRef(), &world), 0);
}

TEST_F(HostWorldsTest, NegativeOrOversizedWorldsAreRefused) {
    PF_EffectWorld world{};
    EXPECT_EQ(one->new_world(host.effectRef(), -1, 4, 0, &world), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(one->new_world(host.effectRef(), 0x7FFFFFFF, 4, 0, &world), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(one->new_world(host.effectRef(), 100000, 100000, PF_NewWorldFlag_DEEP_PIXELS, &world),
              PF_Err_OUT_OF_MEMORY);
}

TEST_F(HostWorldsTest, RowPaddingIsAnyNumberOfBytes) {
    auto buffer = makeWorldBuffer(3, 2, 32, 5, true);
    EXPECT_EQ(buffer->world.rowbytes, 3 * 16 + 5);
    EXPECT_EQ(buffer->bytes, std::size_t(53 * 2));
    EXPECT_EQ(pixelAddress(buffer->world, 2, 1, 32) - reinterpret_cast<unsigned char*>(buffer->world.data), 53 + 32);
    auto eight = makeWorldBuffer(3, 2, 8, 4, true);
    EXPECT_EQ(eight->world.rowbytes, 16);
    EXPECT_EQ(pixelAddress(eight->world, 1, 1, 8) - reinterpret_cast<unsigned char*>(eight->world.data), 20);
}

TEST_F(HostWorldsTest, AReportedFormatOverrideAnswersForEveryWorld) {
    setLayerBuffer(host, 2, 2, 16);
    hostWorlds(host).reportedFormat = PF_PixelFormat_INVALID;
    PF_PixelFormat format = 0;
    EXPECT_EQ(two->PF_GetPixelFormat(&hostWorlds(host).layer->world, &format), 0);
    EXPECT_EQ(format, PF_PixelFormat_INVALID);
    PF_EffectWorld stranger{};
    EXPECT_EQ(two->PF_GetPixelFormat(&stranger, &format), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.books().errors().size(), 1u) << "a world the host never made is a host error";
    host.books().clearErrors();
}

TEST_F(HostWorldsTest, ParameterZeroIsTheLayerBufferAndMustBeCheckedIn) {
    WorldBuffer& layer = setLayerBuffer(host, 6, 4, 8, 8);
    PF_ParamDef def{};
    PF_InData& in = host.inData();
    ASSERT_EQ(in.inter.checkout_param(host.effectRef(), 0, 0, 4000, kTimeScale, &def), 0);
    EXPECT_EQ(def.param_type, PF_Param_LAYER);
    EXPECT_EQ(def.u.ld.data, layer.world.data);
    EXPECT_EQ(def.u.ld.rowbytes, 32);
    EXPECT_EQ(host.books().live("param checkout"), 1u);
    EXPECT_EQ(in.inter.checkin_param(host.effectRef(), &def), 0);
    EXPECT_EQ(in.inter.checkin_param(host.effectRef(), &def), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.books().errors().size(), 1u) << "a second check-in is a host error";
    host.books().clearErrors();
}

TEST_F(HostWorldsTest, WithoutALayerParameterZeroHasNoPixels) {
    PF_ParamDef def{};
    ASSERT_EQ(host.inData().inter.checkout_param(host.effectRef(), 0, 0, 4000, kTimeScale, &def), 0);
    EXPECT_EQ(def.u.ld.data, nullptr);
    EXPECT_EQ(host.inData().inter.checkin_param(host.effectRef(), &def), 0);
}

TEST_F(HostWorldsTest, AnUnknownParameterIndexIsRefused) {
    PF_ParamDef def{};
    EXPECT_EQ(host.inData().inter.checkout_param(host.effectRef(), 42, 0, 4000, kTimeScale, &def),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.inData().inter.checkout_param(host.effectRef(), -1, 0, 4000, kTimeScale, &def),
              PF_Err_BAD_CALLBACK_PARAM);
}


// The host's pattern finds every byte an effect wrote where it should not have, in a buffer smaller than
// the pattern's period and in one many times larger (a 4K frame repeats it): a pixel left as it was, a pixel
// written, a padding byte written, at the first row and at the last. Floats stay finite and within -4..4.
TEST(HostPattern, FindsAnyByteWrittenInBuffersOfAnySize) {
    struct Shape {
        A_long width, height;
        int depth, padding;
    };
    for (const Shape shape : {Shape{7, 5, 8, 3}, Shape{640, 360, 8, 13}, Shape{301, 299, 32, 5}, Shape{333, 200, 16, 0}}) {
        SCOPED_TRACE(std::to_string(shape.width) + "x" + std::to_string(shape.height) + " at " +
                     std::to_string(shape.depth) + " bits, padding " + std::to_string(shape.padding));
        constexpr unsigned kSeed = 0x5EEDu;
        auto buffer = makePatternedWorldBuffer(shape.width, shape.height, shape.depth, shape.padding, kSeed);
        EXPECT_TRUE(holdsPattern(*buffer, kSeed, false));
        EXPECT_TRUE(holdsPattern(*buffer, kSeed, true));
        EXPECT_FALSE(holdsPattern(*buffer, kSeed + 1, false));
        unsigned char* bytes = buffer->storage.get();
        const std::size_t rowbytes = std::size_t(buffer->world.rowbytes);
        const std::size_t pixelBytes = rowbytes - std::size_t(shape.padding);
        if (shape.depth == 32) {
            for (std::size_t at = 0; at + 4 <= buffer->bytes; at += 4) {
                float value;
                std::memcpy(&value, bytes + at, 4);
                ASSERT_TRUE(value >= -4.0f && value <= 4.0f) << "at byte " << at;
            }
        }
        const std::size_t lastRow = std::size_t(shape.height - 1) * rowbytes;
        for (const std::size_t pixelByte : {std::size_t(0), lastRow + pixelBytes - 1}) {
            bytes[pixelByte] ^= 0x10;
            EXPECT_FALSE(holdsPattern(*buffer, kSeed, false)) << "pixel byte " << pixelByte;
            EXPECT_TRUE(holdsPattern(*buffer, kSeed, true)) << "pixel byte " << pixelByte;
            bytes[pixelByte] ^= 0x10;
        }
        if (shape.padding == 0) continue;
        for (const std::size_t paddingByte : {pixelBytes, lastRow + rowbytes - 1}) {
            bytes[paddingByte] ^= 0x01;
            EXPECT_FALSE(holdsPattern(*buffer, kSeed, false)) << "padding byte " << paddingByte;
            EXPECT_FALSE(holdsPattern(*buffer, kSeed, true)) << "padding byte " << paddingByte;
            bytes[paddingByte] ^= 0x01;
        }
        EXPECT_TRUE(holdsPattern(*buffer, kSeed, false));
    }
}

} // namespace
