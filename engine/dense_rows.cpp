#include "engine/dense_rows.h"

#include <algorithm>

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
void add_products(uint64_t* __restrict acc, uint32_t g, const uint16_t* __restrict x, int n)
{
    for (int c = 0; c < n; ++c) acc[c] += uint64_t(g) * x[c];
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

}  // namespace dense_kernels
