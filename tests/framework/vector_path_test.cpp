// The vector path choice from the processor's feature words and the operating system's saved register
// state: a path is chosen only where both allow it, and words the processor does not report are ignored.
#include "framework/VectorPath.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

using Orvane::ProcessorFeatures;
using Orvane::VectorPath;

namespace {

// The bits as the processor manuals number them, written out here rather than taken from the effect.
constexpr std::uint32_t bit(int n) { return std::uint32_t(1) << n; }
constexpr std::uint32_t kOsxsave = bit(27), kAvx = bit(28);                        // leaf 1, ecx
constexpr std::uint32_t kAvx2 = bit(5);                                            // leaf 7, ebx
constexpr std::uint32_t kF = bit(16), kDq = bit(17), kBw = bit(30), kVl = bit(31); // leaf 7, ebx: AVX-512
constexpr std::uint64_t kX87 = 1 << 0, kXmm = 1 << 1, kYmm = 1 << 2;               // XCR0
constexpr std::uint64_t kOpmask = 1 << 5, kZmmUpperHalves = 1 << 6, kZmm16To31 = 1 << 7;

constexpr std::uint32_t kLeaf1 = kOsxsave | kAvx;
constexpr std::uint32_t kLeaf7 = kAvx2 | kF | kDq | kBw | kVl;
constexpr std::uint64_t kAvx512State = kOpmask | kZmmUpperHalves | kZmm16To31;
constexpr std::uint64_t kFullState = kX87 | kXmm | kYmm | kAvx512State;
constexpr std::uint32_t kHighestLeafOfToday = 0x1F;

// A machine with everything the widest path needs, less what the row takes away.
struct Machine {
    const char* what;
    std::uint32_t highestLeaf;
    std::uint32_t leaf1Missing, leaf7Missing;
    std::uint64_t stateMissing;
    VectorPath expected;

    // Only the bits named above, or those and every other bit of each word as well: the unrelated bits
    // (other instruction sets, other register state) must not change the choice.
    ProcessorFeatures features(bool otherBitsSet) const {
        const std::uint32_t others32 = otherBitsSet ? ~std::uint32_t(0) : 0;
        const std::uint64_t others64 = otherBitsSet ? ~std::uint64_t(0) : 0;
        return ProcessorFeatures{highestLeaf, ((kLeaf1 | others32) & ~leaf1Missing),
                                 ((kLeaf7 | others32) & ~leaf7Missing), ((kFullState | others64) & ~stateMissing)};
    }
};

const Machine kMachines[] = {
    {"everything", kHighestLeafOfToday, 0, 0, 0, VectorPath::Avx512},
    {"leaf 7 the highest", 7, 0, 0, 0, VectorPath::Avx512},
    {"no AVX-512 state saved", kHighestLeafOfToday, 0, 0, kAvx512State, VectorPath::Avx2},
    {"no opmask state", kHighestLeafOfToday, 0, 0, kOpmask, VectorPath::Avx2},
    {"no upper halves of ZMM 0-15", kHighestLeafOfToday, 0, 0, kZmmUpperHalves, VectorPath::Avx2},
    {"no ZMM 16-31", kHighestLeafOfToday, 0, 0, kZmm16To31, VectorPath::Avx2},
    {"no AVX state saved", kHighestLeafOfToday, 0, 0, kYmm | kAvx512State, VectorPath::Sse2},
    {"AVX-512 state but no YMM state", kHighestLeafOfToday, 0, 0, kYmm, VectorPath::Sse2},
    {"no XMM state", kHighestLeafOfToday, 0, 0, kXmm, VectorPath::Sse2},
    {"no OSXSAVE (XCR0 not to be trusted)", kHighestLeafOfToday, kOsxsave, 0, 0, VectorPath::Sse2},
    {"no AVX", kHighestLeafOfToday, kAvx, 0, 0, VectorPath::Sse2},
    {"no AVX2", kHighestLeafOfToday, 0, kAvx2, 0, VectorPath::Sse2},
    {"no AVX-512 F", kHighestLeafOfToday, 0, kF, 0, VectorPath::Avx2},
    {"no AVX-512 BW", kHighestLeafOfToday, 0, kBw, 0, VectorPath::Avx2},
    {"no AVX-512 DQ", kHighestLeafOfToday, 0, kDq, 0, VectorPath::Avx2},
    {"no AVX-512 VL", kHighestLeafOfToday, 0, kVl, 0, VectorPath::Avx2},
    {"no AVX-512 at all", kHighestLeafOfToday, 0, kF | kBw | kDq | kVl, 0, VectorPath::Avx2},
    {"highest leaf 6 (leaf 7 words not to be trusted)", 6, 0, 0, 0, VectorPath::Sse2},
    {"highest leaf 1", 1, 0, 0, 0, VectorPath::Sse2},
    {"nothing reported", 0, kLeaf1, kLeaf7, kFullState, VectorPath::Sse2},
};

const char* nameOf(VectorPath path) {
    return path == VectorPath::Avx512 ? "AVX-512" : (path == VectorPath::Avx2 ? "AVX2" : "SSE2");
}

TEST(VectorPathTest, ThePathIsTheWidestThatTheProcessorOffersAndTheSystemSaves) {
    for (const Machine& machine : kMachines)
        for (bool otherBitsSet : {false, true})
            EXPECT_STREQ(nameOf(Orvane::choosePath(machine.features(otherBitsSet))), nameOf(machine.expected))
                << machine.what << (otherBitsSet ? ", every unrelated bit set" : "");
}

// The kernel lists an instruction set among a processor's flags only where it also saves its registers, so
// its list gives this machine's path independently of cpuid and xgetbv as the effect reads them.
TEST(VectorPathTest, ThisMachinesPathIsTheOneItsKernelReports) {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line) && line.rfind("flags", 0) != 0) {
    }
    if (line.rfind("flags", 0) != 0) GTEST_SKIP() << "no processor flags in /proc/cpuinfo";
    std::istringstream words(line.substr(line.find(':') + 1));
    const std::set<std::string> flags{std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
    auto has = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            if (flags.count(name) == 0) return false;
        return true;
    };
    const VectorPath expected = has({"avx2", "avx512f", "avx512bw", "avx512dq", "avx512vl"}) ? VectorPath::Avx512
                                : has({"avx", "avx2"})                                       ? VectorPath::Avx2
                                                                                              : VectorPath::Sse2;
    EXPECT_STREQ(nameOf(Orvane::fastestVectorPath()), nameOf(expected)) << line;
}

} // namespace
