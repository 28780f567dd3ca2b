// How much memory a run needs and how much there is, so that a frame too large for the machine is refused
// before it is made, instead of failing or driving the machine into swap half-way through, and a sequence
// writes only as many frames at once as fit.
#pragma once

#include <cstdint>
#include <string>

namespace OrvaneTools {

struct FrameMemory {
    std::uint64_t frame = 0;  // a frame of the run's buffer size
    std::uint64_t writer = 0; // what writing one takes besides the frame
};

// For frames of `width` x `height` buffer pixels at `depth` bits, written by a writer that takes
// `writerBytes` besides the frame.
FrameMemory frameMemory(int width, int height, int depth, std::uint64_t writerBytes);

// The most a run needs at once that keeps `framesInFlight` rendered frames with their writers while the
// host renders the next one (with none, each frame is written before the next is rendered): the host's
// input layer and output buffer and the frame copied out of them, the frames in flight, the writers, and a
// margin for the program, the module and the effect's tables.
std::uint64_t runMemoryBytes(const FrameMemory& memory, int framesInFlight);

// The most frames in flight, up to `wanted`, that leave the run within `limit` bytes (0: no limit known).
int framesInFlightWithin(const FrameMemory& memory, int wanted, std::uint64_t limit);

struct MemoryLimit {
    std::uint64_t bytes = 0; // 0 when nothing is known
    std::string what;        // "this machine's memory", ...
};

// The memory this process may use: the machine's physical memory, or less where a limit on the process or
// its control group says so.
MemoryLimit availableMemory();

// A sequence makes and frees buffers of one size for every frame. From the call on, freed memory is kept for
// the next ones instead of going back to the system, which would give every frame fresh pages to fault in
// and clear (most of what a large frame cost). The estimate counts that memory all the same.
void keepFreedMemoryForTheNextFrames();

// "640 KiB", "23.7 MiB", "3.0 GiB".
std::string memoryText(std::uint64_t bytes);

} // namespace OrvaneTools
