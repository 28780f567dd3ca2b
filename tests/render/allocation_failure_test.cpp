// Memory that runs out while a frame renders: the effect answers with the host's out-of-memory code, never
// with an exception, and gives back everything it holds. This binary replaces the global allocation
// functions so that one chosen allocation fails.
#include "RenderFixture.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
// Fail the `failAt`-th allocation of exactly `failSize` bytes (0: none).
std::atomic<std::size_t> failSize{0};
std::atomic<int> failAt{0};
std::atomic<int> seen{0};

void* allocate(std::size_t size) {
    if (size != 0 && size == failSize.load() && ++seen == failAt.load()) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace OrvaneHost;
using namespace OrvaneTest;

namespace {

// Which allocation of 777 * 16 bytes fails (0: none), and what the frame then gives.
struct FailingAllocation {
    const char* name;
    int occurrence;
    PF_Err expected;
    std::uint64_t streamValues; // requested before the failure
};
void PrintTo(const FailingAllocation& f, std::ostream* out) { *out << f.name; }

struct AllocationFailure : RenderFixture, ::testing::WithParamInterface<FailingAllocation> {
    void SetUp() override {
        RenderFixture::SetUp();
        setPoint(kParamPoint1, 0, 0);
        setPoint(kParamPoint2, 777, 0); // 777 samples: the colour table is 777 * 16 bytes
        animate(kParamColor, kRed, kBlue);
    }
    void TearDown() override { failSize = 0; }
};

// Out of memory leaves the output untouched and the pixel pass unstarted; with enough memory the same
// frame renders.
TEST_P(AllocationFailure, IsOutOfMemoryWithEverythingGivenBack) {
#ifdef _WIN32
    // A Windows module keeps its own C++ runtime, which this program's allocation functions cannot reach.
    if (GetParam().occurrence != 0) GTEST_SKIP() << "no allocation of the Windows module can be made to fail";
#endif
    LayerSetup setup;
    setup.width = 40;
    setup.height = 8;
    FrameSession session(*host, setup, 0);
    ASSERT_EQ(session.preRender(), PF_Err_NONE);
    seen = 0;
    failAt = GetParam().occurrence;
    failSize = 777 * sizeof(PF_PixelFloat);
    EXPECT_EQ(session.smartRender(), GetParam().expected);
    failSize = 0;
    const bool failed = GetParam().expected != PF_Err_NONE;
    EXPECT_EQ(session.outputUntouched(), failed);
    EXPECT_EQ(host->calls().countOf("AEGP_GetNewStreamValue"), GetParam().streamValues);
    EXPECT_EQ(host->calls().countOf("iterate_generic") == 0, failed) << "the pixel pass runs only with the memory";
    EXPECT_TRUE(booksAreClean(*host));
}

INSTANTIATE_TEST_SUITE_P(
    Render, AllocationFailure,
    ::testing::Values(FailingAllocation{"NoRoomForTheColourTable", 1, PF_Err_OUT_OF_MEMORY, 0},
                      FailingAllocation{"NoRoomForThePixelFunctionsCopyAfterTheTables", 2, PF_Err_OUT_OF_MEMORY, 777},
                      FailingAllocation{"EnoughMemory", 0, PF_Err_NONE, 777}),
    [](const ::testing::TestParamInfo<FailingAllocation>& info) { return std::string(info.param.name); });

} // namespace
