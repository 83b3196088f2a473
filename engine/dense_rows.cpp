#include "engine/dense_rows.h"

#include <cstring>

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TARV_PAIR_PRODUCTS_AVX512 1
#endif

// The loops below are written so that the compiler vectorises them; on x86-64
// each is built for AVX-512, AVX2 and the baseline, and the loader picks the
// best one the processor runs.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define TARV_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define TARV_VECTOR_CLONES
#endif

namespace dense_kernels {

TARV_VECTOR_CLONES
void lazy_axpy(uint32_t* __restrict acc, uint32_t g, const uint16_t* __restrict x, int n, uint32_t P2)
{
    // acc + g * x < 2 * P2 < 2^31; subtracting P2 wraps around exactly when
    // the sum is already below P2, so the minimum is the reduced sum.
    for (int c = 0; c < n; ++c) {
        uint32_t v = acc[c] + g * uint32_t(x[c]);
        acc[c] = std::min(v, v - P2);
    }
}

TARV_VECTOR_CLONES
void lanes_axpy(uint32_t* __restrict rows, const int* __restrict pos, const uint16_t* __restrict x, int n,
                const uint32_t* __restrict f, uint32_t P2)
{
    // One vector of the sixteen lanes (the compiler splits it as the
    // processor needs).
    typedef uint32_t lane_vector __attribute__((vector_size(lanes * sizeof(uint32_t))));
    lane_vector F;
    std::memcpy(&F, f, sizeof F);
    const lane_vector Q = lane_vector{} + P2;
    for (int e = 0; e < n; ++e) {
        uint32_t* r = rows + static_cast<std::size_t>(pos[e]) * lanes;
        lane_vector R;
        std::memcpy(&R, r, sizeof R);
        const lane_vector v = R + F * static_cast<uint32_t>(x[e]), w = v - Q;
        R = w < v ? w : v;
        std::memcpy(r, &R, sizeof R);
    }
}

TARV_VECTOR_CLONES
void reduce(uint32_t* __restrict acc, int n, uint32_t p)
{
    // The quotient from a double reciprocal is off by at most one either way.
    const double inv = 1.0 / double(p);
    const int32_t ip = int32_t(p);
    for (int c = 0; c < n; ++c) {
        int32_t v = int32_t(acc[c]);
        int32_t q = int32_t(double(v) * inv);
        int32_t r = v - q * ip;
        r += r < 0 ? ip : 0;
        r -= r >= ip ? ip : 0;
        acc[c] = uint32_t(r);
    }
}

TARV_VECTOR_CLONES
void hadamard(uint16_t* __restrict out, const uint16_t* __restrict a, const uint16_t* __restrict b, int n,
              uint32_t p)
{
    const double inv = 1.0 / double(p);
    const int32_t ip = int32_t(p);
    for (int c = 0; c < n; ++c) {
        int32_t v = int32_t(a[c]) * int32_t(b[c]);
        int32_t q = int32_t(double(v) * inv);
        int32_t r = v - q * ip;
        r += r < 0 ? ip : 0;
        r -= r >= ip ? ip : 0;
        out[c] = uint16_t(r);
    }
}

TARV_VECTOR_CLONES
void lazy_axpy(uint64_t* __restrict acc, uint64_t g, const uint32_t* __restrict x, int n, uint64_t P2)
{
    // acc + g * x < 2 * P2 < 2^63, reduced as above.
    for (int c = 0; c < n; ++c) {
        uint64_t v = acc[c] + g * uint64_t(x[c]);
        acc[c] = std::min(v, v - P2);
    }
}

TARV_VECTOR_CLONES
void reduce(uint64_t* __restrict acc, int n, uint32_t p)
{
    // v < 2^63 and v / p < 2^33: the rounding errors of the double quotient
    // stay far below one, so it is off by at most one either way.
    const double inv = 1.0 / double(p);
    const int64_t ip = int64_t(p);
    for (int c = 0; c < n; ++c) {
        int64_t v = int64_t(acc[c]);
        int64_t q = int64_t(double(v) * inv);
        int64_t r = v - q * ip;
        r += r < 0 ? ip : 0;
        r -= r >= ip ? ip : 0;
        acc[c] = uint64_t(r);
    }
}

TARV_VECTOR_CLONES
void hadamard(uint32_t* __restrict out, const uint32_t* __restrict a, const uint32_t* __restrict b, int n,
              uint32_t p)
{
    const double inv = 1.0 / double(p);
    const int64_t ip = int64_t(p);
    for (int c = 0; c < n; ++c) {
        int64_t v = int64_t(uint64_t(a[c]) * b[c]);
        int64_t q = int64_t(double(v) * inv);
        int64_t r = v - q * ip;
        r += r < 0 ? ip : 0;
        r -= r >= ip ? ip : 0;
        out[c] = uint32_t(r);
    }
}

namespace {

// acc[c] < P2 on entry.  A pair adds less than 2 P2, so the sum stays below
// 2 P2 + 2 P2 = 4 P2 < 2^32 (p < 2^15) and is brought below 2 P2 after each
// pair; at the end below P2.
TARV_VECTOR_CLONES
void add_pair_products_plain(uint32_t* __restrict acc, const uint32_t* g, const uint32_t* const* x, int pairs,
                             int begin, int end, uint32_t P2)
{
    for (int m = 0; m < pairs; ++m) {
        const uint32_t lo = g[m] & 0xffff, hi = g[m] >> 16;
        const uint32_t* __restrict row = x[m];
        for (int c = begin; c < end; ++c) {
            uint32_t v = acc[c] + lo * (row[c] & 0xffff) + hi * (row[c] >> 16);
            acc[c] = std::min(v, v - 2 * P2);
        }
    }
    for (int c = begin; c < end; ++c) acc[c] = std::min(acc[c], acc[c] - P2);
}

#if TARV_PAIR_PRODUCTS_AVX512
// The same with vpmaddwd: one instruction forms 16 pair sums, and the
// accumulators stay in registers over all the pairs.  Four blocks of 16
// columns go side by side, so that the dependent chain of one (add, reduce)
// does not hold the processor up.  STEP(v, x, g) adds the pair sums of the
// vectors x and g to v.  (A macro: the body is compiled once for each
// instruction set, which a template cannot inherit from its caller.)
// The masked minimum: GCC 12 warns on the plain one's undefined operand.
#define TARV_REDUCE(v, by) _mm512_maskz_min_epu32(all, v, _mm512_sub_epi32(v, by))
#define TARV_PAIR_BLOCKS(STEP)                                                                                         \
    const __mmask16 all = 0xffff;                                                                                      \
    const __m512i one = _mm512_set1_epi32(static_cast<int>(P2)), two = _mm512_set1_epi32(static_cast<int>(2 * P2));    \
    int c = begin;                                                                                                     \
    for (; c + 64 <= end; c += 64) {                                                                                   \
        __m512i v0 = _mm512_loadu_si512(acc + c), v1 = _mm512_loadu_si512(acc + c + 16);                               \
        __m512i v2 = _mm512_loadu_si512(acc + c + 32), v3 = _mm512_loadu_si512(acc + c + 48);                          \
        for (int m = 0; m < pairs; ++m) {                                                                              \
            const __m512i gm = _mm512_set1_epi32(static_cast<int>(g[m]));                                              \
            const uint32_t* xm = x[m] + c;                                                                             \
            v0 = TARV_REDUCE(STEP(v0, _mm512_loadu_si512(xm), gm), two);                                               \
            v1 = TARV_REDUCE(STEP(v1, _mm512_loadu_si512(xm + 16), gm), two);                                          \
            v2 = TARV_REDUCE(STEP(v2, _mm512_loadu_si512(xm + 32), gm), two);                                          \
            v3 = TARV_REDUCE(STEP(v3, _mm512_loadu_si512(xm + 48), gm), two);                                          \
        }                                                                                                              \
        _mm512_storeu_si512(acc + c, TARV_REDUCE(v0, one));                                                            \
        _mm512_storeu_si512(acc + c + 16, TARV_REDUCE(v1, one));                                                       \
        _mm512_storeu_si512(acc + c + 32, TARV_REDUCE(v2, one));                                                       \
        _mm512_storeu_si512(acc + c + 48, TARV_REDUCE(v3, one));                                                       \
    }                                                                                                                  \
    for (; c < end; c += 16) {                                                                                         \
        __m512i v = _mm512_loadu_si512(acc + c);                                                                       \
        for (int m = 0; m < pairs; ++m)                                                                                \
            v = TARV_REDUCE(STEP(v, _mm512_loadu_si512(x[m] + c), _mm512_set1_epi32(static_cast<int>(g[m]))), two);    \
        _mm512_storeu_si512(acc + c, TARV_REDUCE(v, one));                                                             \
    }

#define TARV_MADD_STEP(v, xm, gm) _mm512_add_epi32(v, _mm512_madd_epi16(xm, gm))
// With VNNI the multiply-add and the addition are one instruction.  It adds
// as signed 32-bit numbers, wrapping around; the bits are those of the
// unsigned sum, which stays below 2^32.
#define TARV_VNNI_STEP(v, xm, gm) _mm512_dpwssd_epi32(v, xm, gm)

__attribute__((target("avx512f,avx512bw"))) void add_pair_products_avx512(uint32_t* acc, const uint32_t* g,
                                                                          const uint32_t* const* x, int pairs,
                                                                          int begin, int end, uint32_t P2)
{
    TARV_PAIR_BLOCKS(TARV_MADD_STEP)
}

__attribute__((target("avx512f,avx512bw,avx512vnni"))) void add_pair_products_vnni(uint32_t* acc, const uint32_t* g,
                                                                                   const uint32_t* const* x,
                                                                                   int pairs, int begin, int end,
                                                                                   uint32_t P2)
{
    TARV_PAIR_BLOCKS(TARV_VNNI_STEP)
}
#endif

}  // namespace

std::vector<pair_products_fn> add_pair_products_versions()
{
    std::vector<pair_products_fn> versions;
#if TARV_PAIR_PRODUCTS_AVX512
    if (__builtin_cpu_supports("avx512bw")) {
        if (__builtin_cpu_supports("avx512vnni")) versions.push_back(add_pair_products_vnni);
        versions.push_back(add_pair_products_avx512);
    }
#endif
    versions.push_back(add_pair_products_plain);
    return versions;
}

void add_pair_products(uint32_t* acc, const uint32_t* g, const uint32_t* const* x, int pairs, int begin, int end,
                       uint32_t P2)
{
    static const pair_products_fn best = add_pair_products_versions().front();
    best(acc, g, x, pairs, begin, end, P2);
}

}  // namespace dense_kernels
