#include "MemoryBudget.h"

#include "framework/PixelDepth.h"

#include <cstdio>
#include <fstream>
#include <limits>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace OrvaneTools {

namespace {

constexpr std::uint64_t kMargin = std::uint64_t(32) << 20;
// The host's input layer and output buffer, and the frame copied out of the output.
constexpr std::uint64_t kFramesOfARender = 3;

void takeSmaller(MemoryLimit& limit, std::uint64_t bytes, const char* what) {
    if (bytes != 0 && (limit.bytes == 0 || bytes < limit.bytes)) limit = MemoryLimit{bytes, what};
}

} // namespace

FrameMemory frameMemory(int width, int height, int depth, std::uint64_t writerBytes) {
    const std::uint64_t w = width > 0 ? static_cast<std::uint64_t>(width) : 0;
    const std::uint64_t h = height > 0 ? static_cast<std::uint64_t>(height) : 0;
    const auto code = Orvane::depthOfBits(depth);
    const std::uint64_t pixel = static_cast<std::uint64_t>(Orvane::bytesPerPixel(code.value_or(Orvane::Depth32)));
    return FrameMemory{w * h * pixel, writerBytes};
}

std::uint64_t runMemoryBytes(const FrameMemory& memory, int framesInFlight) {
    const std::uint64_t inFlight = framesInFlight > 0 ? static_cast<std::uint64_t>(framesInFlight) : 0;
    const std::uint64_t writers = inFlight > 0 ? inFlight : 1;
    return (kFramesOfARender + inFlight) * memory.frame + writers * memory.writer + kMargin;
}

int framesInFlightWithin(const FrameMemory& memory, int wanted, std::uint64_t limit) {
    int frames = 0;
    while (frames < wanted && (limit == 0 || runMemoryBytes(memory, frames + 1) <= limit)) ++frames;
    return frames;
}

MemoryLimit availableMemory() {
    MemoryLimit limit;
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (GlobalMemoryStatusEx(&status)) takeSmaller(limit, status.ullTotalPhys, "this machine's memory");
#else
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        takeSmaller(limit, static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize),
                    "this machine's memory");
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        rlimit rl{};
        if (getrlimit(resource, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY)
            takeSmaller(limit, static_cast<std::uint64_t>(rl.rlim_cur), "the memory limit of this process (ulimit)");
    }
    // A container's limit, where the control group has one ("max" when it has none).
    std::ifstream group("/sys/fs/cgroup/memory.max");
    unsigned long long groupBytes = 0;
    if (group >> groupBytes) takeSmaller(limit, groupBytes, "the memory limit of this container");
#endif
    return limit;
}

void keepFreedMemoryForTheNextFrames() {
#if defined(__GLIBC__)
    // Blocks this large would each be mapped anew and handed back when freed.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
#endif
}

std::string memoryText(std::uint64_t bytes) {
    const char* const units[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
    double amount = static_cast<double>(bytes);
    int unit = 0;
    while (amount >= 1024.0 && unit < 4) amount /= 1024.0, ++unit;
    char text[32];
    std::snprintf(text, sizeof(text), unit == 0 ? "%.0f %s" : "%.1f %s", amount, units[unit]);
    return text;
}

} // namespace OrvaneTools
