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

struct AllocationFailure : RenderFixture {
    void SetUp() override {
        RenderFixture::SetUp();
        setPoint(kPoint1, 0, 0);
        setPoint(kPoint2, 777, 0); // 777 samples: the colour table is 777 * 16 bytes
        animate(kColor, kRed, kBlue);
    }
    void TearDown() override { failSize = 0; }

    PF_Err renderFailing(int occurrence, bool& untouched) {
        LayerSetup setup;
        setup.width = 40;
        setup.height = 8;
        FrameSession session(*host, setup, 0);
        PF_Err err = session.preRender();
        if (err) return err;
        seen = 0;
        failAt = occurrence;
        failSize = 777 * sizeof(PF_PixelFloat);
        err = session.smartRender();
        failSize = 0;
        untouched = session.outputUntouched();
        return err;
    }
};

TEST_F(AllocationFailure, NoRoomForTheColourTableIsOutOfMemoryWithTheStreamGivenBack) {
    bool untouched = false;
    EXPECT_EQ(renderFailing(1, untouched), PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(untouched);
    EXPECT_EQ(host->calls().countOf("AEGP_GetNewStreamValue"), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(AllocationFailure, NoRoomForThePixelFunctionsCopyIsOutOfMemoryAfterTheTablesAreDone) {
    bool untouched = false;
    EXPECT_EQ(renderFailing(2, untouched), PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(untouched);
    EXPECT_EQ(host->calls().countOf("AEGP_GetNewStreamValue"), 777u);
    EXPECT_EQ(host->calls().countOf("iterate_generic"), 0u);
    EXPECT_TRUE(booksAreClean(*host));
}

TEST_F(AllocationFailure, WithEnoughMemoryTheSameFrameRenders) {
    bool untouched = true;
    EXPECT_EQ(renderFailing(0, untouched), PF_Err_NONE);
    EXPECT_FALSE(untouched);
    EXPECT_TRUE(booksAreClean(*host));
}

} // namespace
