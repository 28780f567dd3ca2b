// Processor detection with cpuid and xgetbv: an instruction set is used only when the processor has it and
// the operating system has enabled saving its registers (XCR0), since a processor can offer AVX-512 to an
// operating system that never saves the wider registers.
#include "VectorPath.h"

#include <cpuid.h>

namespace Orvane {

namespace {

constexpr std::uint32_t kLeafOfExtendedFeatures = 7;
constexpr std::uint32_t kOsxsave = 1u << 27, kAvx = 1u << 28;                        // leaf 1, ecx
constexpr std::uint32_t kAvx2 = 1u << 5;                                             // leaf 7, ebx
constexpr std::uint32_t kAvx512 = (1u << 16) | (1u << 17) | (1u << 30) | (1u << 31); // F, DQ, BW, VL
constexpr std::uint64_t kSseAvxState = 0x6;  // XMM and YMM halves
constexpr std::uint64_t kAvx512State = 0xE0; // opmasks, ZMM 0-15 upper, ZMM 16-31

bool hasAll(std::uint64_t word, std::uint64_t bits) { return (word & bits) == bits; }

// xgetbv faults where the operating system has not enabled it: only called once OSXSAVE says it has.
std::uint64_t savedRegisterState() {
    std::uint32_t low = 0, high = 0;
    __asm__ __volatile__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (std::uint64_t(high) << 32) | low;
}

ProcessorFeatures readProcessorFeatures() {
    ProcessorFeatures features{};
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(0, &eax, &ebx, &ecx, &edx) == 0) return features;
    features.highestLeaf = eax;
    __cpuid(1, eax, ebx, ecx, edx);
    features.leaf1Ecx = ecx;
    if (features.highestLeaf >= kLeafOfExtendedFeatures) {
        __cpuid_count(kLeafOfExtendedFeatures, 0, eax, ebx, ecx, edx);
        features.leaf7Ebx = ebx;
    }
    if (hasAll(features.leaf1Ecx, kOsxsave)) features.savedState = savedRegisterState();
    return features;
}

} // namespace

VectorPath choosePath(const ProcessorFeatures& features) {
    if (features.highestLeaf < kLeafOfExtendedFeatures) return VectorPath::Sse2;
    if (!hasAll(features.leaf1Ecx, kOsxsave | kAvx)) return VectorPath::Sse2;
    if (!hasAll(features.savedState, kSseAvxState)) return VectorPath::Sse2;
    if (!hasAll(features.leaf7Ebx, kAvx2)) return VectorPath::Sse2;
    if (hasAll(features.leaf7Ebx, kAvx512) && hasAll(features.savedState, kAvx512State)) return VectorPath::Avx512;
    return VectorPath::Avx2;
}

VectorPath fastestVectorPath() { return choosePath(readProcessorFeatures()); }

} // namespace Orvane
