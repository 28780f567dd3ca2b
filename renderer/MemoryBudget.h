// How much memory a frame needs and how much there is, so that a frame too large for the machine is refused
// before it is made, instead of failing or driving the machine into swap half-way through.
#pragma once

#include <cstdint>
#include <string>

namespace OrvaneTools {

// The most one frame of `width` x `height` buffer pixels at `depth` bits needs at once: the host's input
// layer and output buffer, the frame copied out of the output, the rows an image writer converts at a time,
// and a margin for the program, the module and the effect's tables.
std::uint64_t frameMemoryBytes(int width, int height, int depth);

struct MemoryLimit {
    std::uint64_t bytes = 0; // 0 when nothing is known
    std::string what;        // "this machine's memory", ...
};

// The memory this process may use: the machine's physical memory, or less where a limit on the process or
// its control group says so.
MemoryLimit availableMemory();

// "640 KiB", "23.7 MiB", "3.0 GiB".
std::string memoryText(std::uint64_t bytes);

} // namespace OrvaneTools
