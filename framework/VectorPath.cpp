// Processor detection with cpuid and xgetbv: an instruction set is used only when the processor has it and
// the operating system has enabled saving its registers (XCR0), since a processor can offer AVX-512 to an
// operating system that never saves the wider registers.
#include "VectorPath.h"

#include <cpuid.h>

#include <cstdint>

namespace Orvane {

namespace {

constexpr unsigned kOsxsave = 1u << 27, kAvx = 1u << 28;                        // leaf 1, ecx
constexpr unsigned kAvx2 = 1u << 5;                                             // leaf 7, ebx
constexpr unsigned kAvx512 = (1u << 16) | (1u << 17) | (1u << 30) | (1u << 31); // F, DQ, BW, VL
constexpr std::uint64_t kSseAvxState = 0x6;                                     // XMM and YMM halves
constexpr std::uint64_t kAvx512State = 0xE0;                                    // opmasks, ZMM 0-15 upper, ZMM 16-31

std::uint64_t enabledRegisterState() {
    std::uint32_t low = 0, high = 0;
    __asm__ __volatile__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (std::uint64_t(high) << 32) | low;
}

} // namespace

VectorPath fastestVectorPath() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(0, &eax, &ebx, &ecx, &edx) == 0 || eax < 7) return VectorPath::Sse2;
    __cpuid(1, eax, ebx, ecx, edx);
    if ((ecx & (kOsxsave | kAvx)) != (kOsxsave | kAvx)) return VectorPath::Sse2;
    const std::uint64_t state = enabledRegisterState();
    if ((state & kSseAvxState) != kSseAvxState) return VectorPath::Sse2;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    if ((ebx & kAvx2) == 0) return VectorPath::Sse2;
    if ((ebx & kAvx512) == kAvx512 && (state & kAvx512State) == kAvx512State) return VectorPath::Avx512;
    return VectorPath::Avx2;
}

} // namespace Orvane
