// The ramp's rows with AVX2 (compiled with -mavx2, run only where the processor has it): places eight pixels
// at a time (their doubles four to a register), colours two pixels to a register, and the conversions'
// clamps folded into saturating packs.
#include "RampRowLoop.h"

namespace Orvane {
namespace {

struct Avx2Painter {
    static constexpr int kGroup = 8; // pixels a round: one 32-byte store at 8 bits
    static constexpr bool kAdjacent = true;

    static const float* entry(const PF_PixelFloat* table, std::uint32_t offset) {
        return reinterpret_cast<const float*>(reinterpret_cast<const unsigned char*>(table) + offset);
    }
    // [v[0] four times | v[1] four times]
    static __m256 pairOf(const float* v) { return _mm256_set_m128(_mm_broadcast_ss(v + 1), _mm_broadcast_ss(v)); }

    // Pixels i and i + 1 in float, alpha, red, green, blue each.
    template <bool Color, bool Opacity> static __m256 pair(const RampKernelData& k, const BlockPlaces& p, int i) {
        const __m256 pair0 = _mm256_loadu_ps(entry(k.entries, p.lo[i]));     // entries a | b of pixel i
        const __m256 pair1 = _mm256_loadu_ps(entry(k.entries, p.lo[i + 1])); // and of pixel i + 1
        const __m256 a = _mm256_permute2f128_ps(pair0, pair1, 0x20);
        const __m256 b = _mm256_permute2f128_ps(pair0, pair1, 0x31);
        const __m256 w = pairOf(p.weight + i);
        const __m256 keep = _mm256_sub_ps(_mm256_set1_ps(1.0f), w);
        const __m256 blended = _mm256_add_ps(_mm256_mul_ps(a, keep), _mm256_mul_ps(b, w));
        const __m256 taken = _mm256_blendv_ps(a, b, w); // b where the sign is set: the last entry
        const __m256 c = _mm256_blendv_ps(taken, blended, _mm256_cmp_ps(w, w, _CMP_ORD_Q));
        if constexpr (!Opacity) return _mm256_blend_ps(c, _mm256_set1_ps(k.opacity), 0x11);
        if constexpr (!Color) {
            const __m256 color = _mm256_setr_ps(0, k.color.red, k.color.green, k.color.blue, 0, k.color.red,
                                                k.color.green, k.color.blue);
            return _mm256_blend_ps(c, color, 0xEE);
        }
        return c;
    }

    // c * full + 0.5 truncated, held to 0..full: the minimum (a NaN passes it) keeps large values from the
    // conversion's overflow; the unsigned saturation of the packs then takes negatives, NaN's overflow value
    // and anything above full at 8 bits to 0 or full, as the held conversion does.
    static __m256i toIntegers(__m256 c, float full) {
        const __m256 v = _mm256_add_ps(_mm256_mul_ps(c, _mm256_set1_ps(full)), _mm256_set1_ps(0.5f));
        return _mm256_cvttps_epi32(_mm256_min_ps(_mm256_set1_ps(full), v));
    }
    // Alpha held to 0..1 (a NaN to 0, -0 kept), colours as they are.
    static __m256 heldAlpha(__m256 c) {
        const __m256 nonNegative = _mm256_and_ps(_mm256_cmp_ps(c, _mm256_setzero_ps(), _CMP_GE_OQ), c);
        return _mm256_blend_ps(c, _mm256_min_ps(nonNegative, _mm256_set1_ps(1.0f)), 0x11);
    }

    template <bool Color, bool Opacity, int Depth>
    static void group(const RampKernelData& k, const BlockPlaces& p, int i, unsigned char* to) {
        auto at = [&](int j) { return pair<Color, Opacity>(k, p, i + j); };
        if constexpr (Depth == 0) {
            const __m256i low = _mm256_packs_epi32(toIntegers(at(0), 255.0f), toIntegers(at(2), 255.0f));
            const __m256i high = _mm256_packs_epi32(toIntegers(at(4), 255.0f), toIntegers(at(6), 255.0f));
            const __m256i bytes = _mm256_packus_epi16(low, high); // pixels 0 2 4 6 | 1 3 5 7
            const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), _mm256_permutevar8x32_epi32(bytes, order));
        } else if constexpr (Depth == 1) {
            for (int j = 0; j < kGroup; j += 4) {
                const __m256i words = _mm256_packus_epi32(toIntegers(at(j), 32768.0f), toIntegers(at(j + 2), 32768.0f));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + j * 8), _mm256_permute4x64_epi64(words, 0xD8));
            }
        } else {
            for (int j = 0; j < kGroup; j += 2)
                _mm256_storeu_ps(reinterpret_cast<float*>(to + j * 16), heldAlpha(at(j)));
        }
    }
};

} // namespace

void paintRampRowAvx2(const RampKernelData& ramp, int depth, A_long y, A_long width, unsigned char* row) {
    paintRow<8, Avx2Painter>(ramp, depth, y, width, row);
}

} // namespace Orvane
