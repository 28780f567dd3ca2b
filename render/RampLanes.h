// Vectors of W lanes for the ramp row painters, with the few operations the compiler's vector arithmetic
// lacks, at the widths the including file's instruction set has; wider vectors are worked in halves.
// Included only by the instruction-set files, each of which gets its own copy (unnamed namespace).
#pragma once

#include "../sdk/host_sdk.h"

#include <immintrin.h>

#include <cstring>

namespace Orvane {
namespace {

template <int W> struct Lanes {
    typedef double D __attribute__((vector_size(8 * W)));
    typedef long long M __attribute__((vector_size(8 * W))); // double comparisons
    typedef float F __attribute__((vector_size(4 * W)));
    typedef A_long I __attribute__((vector_size(4 * W))); // float comparisons and indices
};

// The widest vectors this file's instruction set has, in bytes; wider ones are worked in halves.
#if defined(__AVX512F__)
constexpr int kNativeBytes = 64;
#elif defined(__AVX__)
constexpr int kNativeBytes = 32;
#else
constexpr int kNativeBytes = 16;
#endif

// The lanes' square roots, and whether every lane lies strictly between two values (a NaN does not). Taken
// by reference: a vector wider than the instruction set's registers has no agreed way of being passed by
// value.
template <int W> void takeSquareRoot(typename Lanes<W>::D& v) {
    if constexpr (8 * W > kNativeBytes) {
        typename Lanes<W / 2>::D half[2];
        std::memcpy(half, &v, sizeof v);
        takeSquareRoot<W / 2>(half[0]);
        takeSquareRoot<W / 2>(half[1]);
        std::memcpy(&v, half, sizeof v);
    } else if constexpr (W == 8) {
        v = typename Lanes<W>::D(_mm512_sqrt_pd(__m512d(v)));
    } else if constexpr (W == 4) {
        v = typename Lanes<W>::D(_mm256_sqrt_pd(__m256d(v)));
    } else {
        v = typename Lanes<W>::D(_mm_sqrt_pd(__m128d(v)));
    }
}
template <int W> bool allWithin(const typename Lanes<W>::D& v, double low, double high) {
    if constexpr (8 * W > kNativeBytes) {
        typename Lanes<W / 2>::D half[2];
        std::memcpy(half, &v, sizeof v);
        return allWithin<W / 2>(half[0], low, high) && allWithin<W / 2>(half[1], low, high);
    } else if constexpr (W == 8) {
        const __m512d x = __m512d(v);
        return (_mm512_cmp_pd_mask(x, _mm512_set1_pd(low), _CMP_GT_OQ) &
                _mm512_cmp_pd_mask(x, _mm512_set1_pd(high), _CMP_LT_OQ)) == 0xFF;
    } else if constexpr (W == 4) {
        const __m256d x = __m256d(v);
        return _mm256_movemask_pd(_mm256_and_pd(_mm256_cmp_pd(x, _mm256_set1_pd(low), _CMP_GT_OQ),
                                                _mm256_cmp_pd(x, _mm256_set1_pd(high), _CMP_LT_OQ))) == 0xF;
    } else {
        const __m128d x = __m128d(v);
        return _mm_movemask_pd(_mm_and_pd(_mm_cmpgt_pd(x, _mm_set1_pd(low)), _mm_cmplt_pd(x, _mm_set1_pd(high)))) ==
               0x3;
    }
}

// Two halves side by side.
template <int W> typename Lanes<W>::F joined(const typename Lanes<W / 2>::F& a, const typename Lanes<W / 2>::F& b) {
    if constexpr (W == 4)
        return __builtin_shufflevector(a, b, 0, 1, 2, 3);
    else if constexpr (W == 8)
        return __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7);
    else
        return __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}

} // namespace
} // namespace Orvane
