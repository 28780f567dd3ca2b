// The ramp's rows with AVX-512 F, BW, DQ and VL (compiled for them, run only where the processor has them):
// places sixteen pixels at a time (their doubles eight to a register), colours four pixels to a register,
// and saturating narrowing stores for the depths.
#include "RampRowLoop.h"

namespace Orvane {
namespace {

struct Avx512Painter {
    static constexpr int kGroup = 16; // pixels a round: one 64-byte line at 8 bits
    static constexpr bool kAdjacent = true;

    // The entry pairs (a | b) of pixels i and i + 1.
    static __m512 pairs(const PF_PixelFloat* table, const std::uint32_t* offset) {
        auto at = [&](int j) {
            return _mm256_loadu_ps(
                reinterpret_cast<const float*>(reinterpret_cast<const unsigned char*>(table) + offset[j]));
        };
        return _mm512_insertf32x8(_mm512_castps256_ps512(at(0)), at(1), 1);
    }
    // v[0] four times, then v[1], v[2] and v[3]
    static __m512 quadOf(const float* v) {
        const __m512i spread = _mm512_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3);
        return _mm512_permutexvar_ps(spread, _mm512_castps128_ps512(_mm_loadu_ps(v)));
    }

    static constexpr __mmask16 kAlphas = 0x1111;

    // Pixels i to i + 3 in float, alpha, red, green, blue each.
    template <bool Color, bool Opacity> static __m512 quad(const RampKernelData& k, const BlockPlaces& p, int i) {
        const __m512 low = pairs(k.entries, p.lo + i), high = pairs(k.entries, p.lo + i + 2);
        const __m512 a = _mm512_shuffle_f32x4(low, high, _MM_SHUFFLE(2, 0, 2, 0));
        const __m512 b = _mm512_shuffle_f32x4(low, high, _MM_SHUFFLE(3, 1, 3, 1));
        const __m512 w = quadOf(p.weight + i);
        const __m512 keep = _mm512_sub_ps(_mm512_set1_ps(1.0f), w);
        const __m512 blended = _mm512_add_ps(_mm512_mul_ps(a, keep), _mm512_mul_ps(b, w));
        const __m512 taken = _mm512_mask_blend_ps(_mm512_movepi32_mask(_mm512_castps_si512(w)), a, b);
        const __m512 c = _mm512_mask_blend_ps(_mm512_cmp_ps_mask(w, w, _CMP_ORD_Q), taken, blended);
        if constexpr (!Opacity) return _mm512_mask_blend_ps(kAlphas, c, _mm512_set1_ps(k.opacity));
        if constexpr (!Color) {
            const __m512 color = _mm512_broadcast_f32x4(_mm_setr_ps(0, k.color.red, k.color.green, k.color.blue));
            return _mm512_mask_blend_ps(__mmask16(~kAlphas), c, color);
        }
        return c;
    }

    // c * full + 0.5 truncated, held to 0..full: the maximum takes negatives and NaN to 0; at 8 bits the
    // narrowing's unsigned saturation holds the rest (an overflowing conversion reads as 2^31), at 16 bits
    // the minimum does, since full scale there is below the saturation's 65535.
    template <int Depth> static __m512i toIntegers(__m512 c) {
        constexpr float full = Depth == 0 ? 255.0f : 32768.0f;
        __m512 v = _mm512_add_ps(_mm512_mul_ps(c, _mm512_set1_ps(full)), _mm512_set1_ps(0.5f));
        v = _mm512_max_ps(v, _mm512_setzero_ps());
        if constexpr (Depth == 1) v = _mm512_min_ps(v, _mm512_set1_ps(full));
        return _mm512_cvttps_epi32(v);
    }
    // Alpha held to 0..1 (a NaN to 0, -0 kept), colours as they are.
    static __m512 heldAlpha(__m512 c) {
        const __m512 nonNegative = _mm512_maskz_mov_ps(_mm512_cmp_ps_mask(c, _mm512_setzero_ps(), _CMP_GE_OQ), c);
        return _mm512_mask_blend_ps(kAlphas, c, _mm512_min_ps(nonNegative, _mm512_set1_ps(1.0f)));
    }

    template <bool Color, bool Opacity, int Depth>
    static void group(const RampKernelData& k, const BlockPlaces& p, int i, unsigned char* to) {
        for (int j = 0; j < kGroup; j += 4) {
            const __m512 c = quad<Color, Opacity>(k, p, i + j);
            if constexpr (Depth == 0)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(to + j * 4), _mm512_cvtusepi32_epi8(toIntegers<0>(c)));
            else if constexpr (Depth == 1)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + j * 8), _mm512_cvtusepi32_epi16(toIntegers<1>(c)));
            else
                _mm512_storeu_ps(to + j * 16, heldAlpha(c));
        }
    }
};

} // namespace

void paintRampRowAvx512(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row) {
    paintRow<16, Avx512Painter>(ramp, depth, y, width, row);
}

} // namespace Orvane
