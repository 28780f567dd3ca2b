// The writers that write rendered frames while the next renders: they never hold more frames than there are
// writers, one writer keeps the frames' order, and a write that fails ends the run with its own failure.
#include "Refusal.h"

#include "renderer/FrameWriters.h"
#include "renderer/ToolError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

using namespace OrvaneTools;
using namespace OrvaneToolsTest;

namespace {

constexpr long kFrames = 24;

RenderedFrame numbered(long number) {
    RenderedFrame rendered;
    rendered.target.number = number;
    rendered.frame.bytes.assign(64, static_cast<unsigned char>(number));
    return rendered;
}

std::vector<long> allFrames() {
    std::vector<long> numbers(kFrames);
    std::iota(numbers.begin(), numbers.end(), 0L);
    return numbers;
}

// Whatever a writer holds was handed over and is not written yet: never more than one a writer (or, with
// none, the one being written by the hand-over itself).
TEST(FrameWriters, HoldNoMoreFramesThanThereAreWriters) {
    for (const int count : {0, 1, 2, 3}) {
        std::atomic<long> finished{0};
        std::mutex lock;
        std::vector<long> written;
        long handed = 0, mostHeld = 0;
        {
            FrameWriters writers(count, [&](const RenderedFrame& rendered) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                EXPECT_EQ(rendered.frame.bytes.front(), static_cast<unsigned char>(rendered.target.number));
                {
                    std::lock_guard<std::mutex> hold(lock);
                    written.push_back(rendered.target.number);
                }
                ++finished;
            });
            for (long n = 0; n < kFrames; ++n) {
                writers.hand(numbered(n));
                mostHeld = std::max(mostHeld, ++handed - finished.load());
            }
            writers.finish();
        }
        EXPECT_LE(mostHeld, std::max(count, 1)) << count << " writers";
        std::sort(written.begin(), written.end());
        EXPECT_EQ(written, allFrames()) << count << " writers";
    }
}

TEST(FrameWriters, OneWriterKeepsTheOrderTheFramesCameIn) {
    std::vector<long> written;
    FrameWriters writers(1, [&](const RenderedFrame& rendered) {
        std::this_thread::sleep_for(std::chrono::microseconds((rendered.target.number * 7919) % 3000));
        written.push_back(rendered.target.number);
    });
    for (long n = 0; n < kFrames; ++n) writers.hand(numbered(n));
    writers.finish();
    EXPECT_EQ(written, allFrames());
}

// The failure of frame 5 reaches the caller with its code and words, from the next hand-over or from the
// wait for the end; later frames are not all written.
TEST(FrameWriters, AFailedWriteEndsTheRunWithItsFailure) {
    for (const int count : {0, 1, 2}) {
        std::atomic<long> written{0};
        FrameWriters writers(count, [&](const RenderedFrame& rendered) {
            if (rendered.target.number == 5) throw ToolError(ExitCode::OutputWrite, "cannot write frame 5: full");
            ++written;
        });
        const std::string message = refusal(
            [&] {
                for (long n = 0; n < kFrames; ++n) writers.hand(numbered(n));
                writers.finish();
            },
            ExitCode::OutputWrite);
        EXPECT_EQ(message, "cannot write frame 5: full") << count << " writers";
        EXPECT_LT(written.load(), kFrames - 1) << count << " writers";
    }
}

} // namespace
