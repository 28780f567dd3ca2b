// The ramp's rows with SSE2, which every x86-64 processor runs: places four pixels at a time (their doubles
// two to a register), one pixel's colour to a register, and packs for the narrow depths.
#include "RampRowLoop.h"

namespace Orvane {
namespace {

struct Sse2Painter {
    static constexpr int kGroup = 4; // pixels a round: one 16-byte store at 8 bits
    static constexpr bool kAdjacent = false;

    static __m128 entry(const PF_PixelFloat* table, std::uint32_t offset) {
        return _mm_loadu_ps(reinterpret_cast<const float*>(reinterpret_cast<const unsigned char*>(table) + offset));
    }
    // Where the mask is set a, elsewhere b.
    static __m128 select(__m128 mask, __m128 a, __m128 b) {
        return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
    }

    // Pixel i in float, alpha, red, green, blue.
    template <bool Color, bool Opacity> static __m128 pixel(const RampKernelData& k, const BlockPlaces& p, int i) {
        const __m128 a = entry(k.entries, p.lo[i]);
        const __m128 b = entry(k.entries, p.hi[i]);
        const __m128 w = _mm_set1_ps(p.weight[i]);
        const __m128 keep = _mm_sub_ps(_mm_set1_ps(1.0f), w);
        const __m128 blended = _mm_add_ps(_mm_mul_ps(a, keep), _mm_mul_ps(b, w));
        const __m128 c = select(_mm_cmpord_ps(w, w), blended, a);
        if constexpr (!Opacity) return _mm_move_ss(c, _mm_set_ss(k.opacity));
        if constexpr (!Color) return _mm_move_ss(_mm_setr_ps(0, k.color.red, k.color.green, k.color.blue), c);
        return c;
    }

    // c * full + 0.5, held to 0..full (a NaN to 0), truncated.
    static __m128i toIntegers(__m128 c, float full) {
        __m128 v = _mm_add_ps(_mm_mul_ps(c, _mm_set1_ps(full)), _mm_set1_ps(0.5f));
        v = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(full));
        return _mm_cvttps_epi32(v);
    }
    // 0..32768 in 16 bits without SSE4.1's unsigned pack: shifted into the signed range and back.
    static __m128i toWords(__m128i a, __m128i b) {
        const __m128i half = _mm_set1_epi32(32768);
        const __m128i words = _mm_packs_epi32(_mm_sub_epi32(a, half), _mm_sub_epi32(b, half));
        return _mm_xor_si128(words, _mm_set1_epi16(-32768));
    }
    // Alpha held to 0..1 (a NaN to 0, -0 kept), colours as they are.
    static __m128 heldAlpha(__m128 c) {
        const __m128 nonNegative = _mm_and_ps(_mm_cmpge_ps(c, _mm_setzero_ps()), c);
        return _mm_move_ss(c, _mm_min_ps(nonNegative, _mm_set1_ps(1.0f)));
    }

    template <bool Color, bool Opacity, int Depth>
    static void group(const RampKernelData& k, const BlockPlaces& p, int i, unsigned char* to) {
        auto at = [&](int j) { return pixel<Color, Opacity>(k, p, i + j); };
        if constexpr (Depth == 0) {
            const __m128i low = _mm_packs_epi32(toIntegers(at(0), 255.0f), toIntegers(at(1), 255.0f));
            const __m128i high = _mm_packs_epi32(toIntegers(at(2), 255.0f), toIntegers(at(3), 255.0f));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_packus_epi16(low, high));
        } else if constexpr (Depth == 1) {
            for (int j = 0; j < kGroup; j += 2)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(to + j * 8),
                                 toWords(toIntegers(at(j), 32768.0f), toIntegers(at(j + 1), 32768.0f)));
        } else {
            for (int j = 0; j < kGroup; ++j) _mm_storeu_ps(reinterpret_cast<float*>(to + j * 16), heldAlpha(at(j)));
        }
    }
};

} // namespace

void paintRampRowSse2(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row) {
    paintRow<4, Sse2Painter>(ramp, depth, y, width, row);
}

} // namespace Orvane
