// The vector instruction sets a fast pixel pass can use, and which of them this processor and its operating
// system run. Asked once per render (it is a handful of instructions), so nothing is remembered between.
#pragma once

#include <cstdint>

namespace Orvane {

// Each path runs on every processor that runs the ones after it.
enum class VectorPath : int {
    Sse2 = 0,   // baseline x86-64: every such processor
    Avx2 = 1,   // 256-bit integer and float vectors
    Avx512 = 2, // 512-bit vectors with the F, BW, DQ and VL extensions
};

// What the processor says of itself (cpuid) and which register state the operating system saves (XCR0),
// as the raw words the choice reads. A word the machine could not give is 0.
struct ProcessorFeatures {
    std::uint32_t highestLeaf; // cpuid leaf 0, eax: the highest basic leaf there is
    std::uint32_t leaf1Ecx;    // cpuid leaf 1, ecx: OSXSAVE and AVX
    std::uint32_t leaf7Ebx;    // cpuid leaf 7 subleaf 0, ebx: AVX2 and AVX-512 F, DQ, BW, VL
    std::uint64_t savedState;  // XCR0, readable only where leaf 1 reports OSXSAVE
};

// The widest path that both the processor offers and the operating system saves the registers of. A word
// that the processor does not report (leaf 7 above the highest leaf, XCR0 without OSXSAVE) is not read.
VectorPath choosePath(const ProcessorFeatures& features);

// choosePath for this machine.
VectorPath fastestVectorPath();

// Whether this machine runs `path`.
inline bool runsVectorPath(VectorPath path) { return static_cast<int>(path) <= static_cast<int>(fastestVectorPath()); }

} // namespace Orvane
