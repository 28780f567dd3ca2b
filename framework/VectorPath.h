// The vector instruction sets a fast pixel pass can use, and which of them this processor and its operating
// system run. Asked once per render (it is a handful of instructions), so nothing is remembered between.
#pragma once

namespace Orvane {

// Each path runs on every processor that runs the ones after it.
enum class VectorPath : int {
    Sse2 = 0,   // baseline x86-64: every such processor
    Avx2 = 1,   // 256-bit integer and float vectors
    Avx512 = 2, // 512-bit vectors with the F, BW, DQ and VL extensions
};

// The widest path that both the processor offers and the operating system saves the registers of.
VectorPath fastestVectorPath();

// Whether this machine runs `path`.
inline bool runsVectorPath(VectorPath path) { return static_cast<int>(path) <= static_cast<int>(fastestVectorPath()); }

} // namespace Orvane
