// Dense vector kernels for the point-set algorithms.
//
// The algorithms keep the polynomials and evaluation vectors they reduce as
// dense rows and combine them with axpy steps a[c] -= f * x[c].  Two
// arithmetic back ends do this:
//
//  - exact_rows: entries and accumulators are elements of K; every step is
//    exact field arithmetic (used for Q, Q(zeta) and as the reference path).
//  - lazy_rows: for the prime fields with p < 2^15.  Entries are residues in
//    16 bits; accumulators are 32-bit values kept below p^2 and reduced
//    modulo p only when a value is needed.  The inner loops are plain loops
//    compiled for several instruction sets and chosen at run time.
//    The same with 32-bit entries and 64-bit accumulators serves primes
//    below 2^31 (wide_prime_rows, used by the modular computation over Q).
//
// Both back ends offer the same members, so one algorithm text serves both.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "fields/field.h"

// Raw kernels on residues (dense_rows.cpp).
namespace dense_kernels {

// acc[c] := (acc[c] + g * x[c]) reduced below P2, for accumulators below P2
// and g, x[c] below p (so g * x[c] < P2 = p^2); p < 2^15 or p < 2^31.
void lazy_axpy(uint32_t* acc, uint32_t g, const uint16_t* x, int n, uint32_t P2);
// Sixteen vectors side by side (entry q of vector g at rows[16 q + g]):
// rows[16 pos[e] + g] := (that + f[g] * x[e]) reduced below P2, for e < n
// and every g, under the same bounds as lazy_axpy.
constexpr int lanes = 16;
void lanes_axpy(uint32_t* rows, const int* pos, const uint16_t* x, int n, const uint32_t* f, uint32_t P2);
void lazy_axpy(uint64_t* acc, uint64_t g, const uint32_t* x, int n, uint64_t P2);
// Several rows at once, p < 2^15: each word of x[m] packs column c of two
// rows (low and high 16 bits), each word g[m] their two coefficients, and
// acc[c] := (acc[c] + sum over m of both products) reduced below P2, for c
// in [begin, end), both multiples of 16.  A pair's sum is below 2 p^2 <
// 2^31, so the processor's multiply-add of 16-bit pairs forms it exactly.
// acc[c] < P2 on entry.
void add_pair_products(uint32_t* acc, const uint32_t* g, const uint32_t* const* x, int pairs, int begin, int end,
                       uint32_t P2);
// The versions of add_pair_products this processor runs, the fastest first
// and the plain one last (the tests try each).
using pair_products_fn = void (*)(uint32_t*, const uint32_t*, const uint32_t* const*, int, int, int, uint32_t);
std::vector<pair_products_fn> add_pair_products_versions();
// acc[c] := acc[c] mod p, for acc[c] < 2^31 (2^63).
void reduce(uint32_t* acc, int n, uint32_t p);
void reduce(uint64_t* acc, int n, uint32_t p);
// out[c] := a[c] * b[c] mod p.
void hadamard(uint16_t* out, const uint16_t* a, const uint16_t* b, int n, uint32_t p);
void hadamard(uint32_t* out, const uint32_t* a, const uint32_t* b, int n, uint32_t p);

}  // namespace dense_kernels

// Which coefficient fields are prime fields small enough for lazy_rows.
template <class F>
struct small_prime_field : std::false_type {};

#if defined(TARV_FIELD_FP)
template <>
struct small_prime_field<Fp> : std::true_type {
    static uint32_t modulus() { return static_cast<uint32_t>(Fp::prime); }
    static uint16_t residue(const Fp& x) { return static_cast<uint16_t>(x.q); }
    static Fp element(uint32_t v) { return Fp(static_cast<int>(v)); }
};
#endif
#if defined(TARV_FIELD_FP8)
template <>
struct small_prime_field<Fp8> : std::true_type {
    static uint32_t modulus() { return static_cast<uint32_t>(Fp8::prime); }
    static uint16_t residue(const Fp8& x) { return static_cast<uint16_t>(x.q); }
    static Fp8 element(uint32_t v) { return Fp8(static_cast<int>(v)); }
};
#endif

// Sums of products c * x accumulated in a vector.  In general exact in K; for
// the small prime fields the entries are residues accumulated without
// reduction (every product is below p^2 < 2^30, so 2^34 of them fit in 64
// bits) and reduced modulo p only when an entry is read.  add(a, prepare(c), x)
// makes a := a - c * x.
template <class F, bool small = small_prime_field<F>::value>
struct delayed_arith {
    using acc = F;
    using factor = F;  // -c, prepared once for a run of entries
    factor prepare(const F& c) const { return -c; }
    // The product goes through a scratch element that keeps its storage.
    void add(acc& a, const factor& f, const F& x) const
    {
        scratch = f;
        scratch *= x;
        a += scratch;
    }
    mutable F scratch;
    bool nonzero(acc& a) const { return sign(a) != 0; }
    F value(const acc& a) const { return a; }
};

template <class F>
struct delayed_arith<F, true> {
    using traits = small_prime_field<F>;
    using acc = uint64_t;
    using factor = uint64_t;
    uint64_t p = traits::modulus();
    factor prepare(const F& c) const { return p - traits::residue(c); }
    void add(acc& a, factor f, const F& x) const { a += f * traits::residue(x); }
    bool nonzero(acc& a) const
    {
        if (a == 0) return false;  // often so: a division saved
        a %= p;
        return a != 0;
    }
    F value(const acc& a) const { return traits::element(static_cast<uint32_t>(a % p)); }
};

// The same sums with the small prime fields' entries kept below p^2 in 32
// bits: each product is added and p^2 subtracted when the sum reaches it.
// Half the room of delayed_arith, for vectors that must stay in the nearer
// caches; in general as delayed_arith.
template <class F, bool small = small_prime_field<F>::value>
struct lazy_arith : delayed_arith<F> {};

template <class F>
struct lazy_arith<F, true> {
    using traits = small_prime_field<F>;
    using acc = uint32_t;
    using factor = uint32_t;
    uint32_t p = traits::modulus(), P2 = p * p;
    factor prepare(const F& c) const { return p - traits::residue(c); }
    // a + f * x < 2 p^2 < 2^31; subtracting p^2 wraps around exactly when
    // the sum is already below it, so the minimum is the reduced sum.
    void add(acc& a, factor f, const F& x) const
    {
        const uint32_t v = a + f * traits::residue(x);
        a = std::min(v, v - P2);
    }
    bool nonzero(acc& a) const
    {
        if (a == 0) return false;
        a %= p;
        return a != 0;
    }
    F value(const acc& a) const { return traits::element(a % p); }
};

// Exact arithmetic in K.
struct exact_rows {
    using elem = K;  // stored entries
    using acc = K;   // entries of a vector being reduced

    K scratch;  // product buffer of sub_mul, reused so big numbers keep their storage

    static void set(acc& a, const elem& x) { a = x; }
    static void set_zero(acc& a) { a = 0; }
    static void clear(elem& a) { a = 0; }
    static void set_one(elem& a) { a = 1; }
    // The exact value of an accumulator.
    static const elem& value(acc& a) { return a; }
    static bool is_zero(const elem& x) { return x == 0; }
    // After normalize.
    static bool is_zero_acc(const acc& a) { return a == 0; }
    static const K& to_K(const elem& x) { return x; }
    static const elem& from_K(const K& x) { return x; }
    // out := value(a); a is left unspecified.
    static void take(elem& out, acc& a) { std::swap(out, a); }
    // dst := x; x is left unspecified.
    static void move_out(K& dst, elem& x) { std::swap(dst, x); }

    // a -= f.
    static void sub(acc& a, const elem& f) { a -= f; }
    // a[c] -= f * x[c] for c < n.
    void sub_mul(acc* a, const elem& f, const elem* x, int n)
    {
        for (int c = 0; c < n; ++c) {
            if (x[c] == 0) continue;
            scratch = f;
            scratch *= x[c];
            a[c] -= scratch;
        }
    }
    // a[c] := exact values (nothing to do here).
    static void normalize(acc*, int) {}
    // out[c] := value(a[c]) * f.
    static void scale(elem* out, acc* a, const elem& f, int n)
    {
        for (int c = 0; c < n; ++c) {
            out[c] = a[c];
            out[c] *= f;
        }
    }
    static elem inverse(const elem& x)
    {
        K y(x);
        y.invert();
        return y;
    }
    // out[c] := a[c] * b[c].
    static void hadamard(elem* out, const elem* a, const elem* b, int n)
    {
        for (int c = 0; c < n; ++c) {
            out[c] = a[c];
            out[c] *= b[c];
        }
    }
};

// The inverse of x modulo m (x prime to m) by the extended Euclidean
// algorithm, in the signed type Wide, wide enough for m.
template <class Wide, class U, class V>
U inverse_by_euclid(U x, V m)
{
    Wide r0 = m, r1 = x, t0 = 0, t1 = 1;
    while (r1 != 0) {
        Wide q = r0 / r1;
        std::swap(r0, r1);
        r1 -= q * r0;
        std::swap(t0, t1);
        t1 -= q * t0;
    }
    return static_cast<U>(t0 < 0 ? t0 + m : t0);
}

// Residues modulo a prime p with delayed reduction: entries of Elem bits,
// accumulators of twice that width kept below p^2 and reduced modulo p only
// when a value is needed.
template <class Elem, class Acc>
struct residue_rows {
    using elem = Elem;
    using acc = Acc;

    uint32_t p;
    Acc P2;

    explicit residue_rows(uint32_t p) : p(p), P2(Acc(p) * p) {}

    static void set(acc& a, elem x) { a = x; }
    static void set_zero(acc& a) { a = 0; }
    static void clear(elem& a) { a = 0; }
    static void set_one(elem& a) { a = 1; }
    elem value(acc& a) const
    {
        a %= p;
        return static_cast<elem>(a);
    }
    static bool is_zero(elem x) { return x == 0; }
    // After normalize.
    static bool is_zero_acc(acc a) { return a == 0; }
    void take(elem& out, acc& a) const { out = value(a); }

    // a -= f, kept below P2.
    void sub(acc& a, elem f) const
    {
        const Acc v = a + (p - f);
        a = std::min(v, v - P2);
    }
    void sub_mul(acc* a, elem f, const elem* x, int n) const
    {
        if (n > 0) dense_kernels::lazy_axpy(a, Acc(p - f), x, n, P2);
    }
    void normalize(acc* a, int n) const
    {
        if (n > 0) dense_kernels::reduce(a, n, p);
    }
    void scale(elem* out, acc* a, elem f, int n) const
    {
        for (int c = 0; c < n; ++c) out[c] = static_cast<elem>(a[c] % p * f % p);
    }
    // The inverse of x != 0, by the extended Euclidean algorithm.
    elem inverse(elem x) const { return inverse_by_euclid<int64_t>(x, p); }
    void hadamard(elem* out, const elem* a, const elem* b, int n) const
    {
        if (n > 0) dense_kernels::hadamard(out, a, b, n, p);
    }
};

// Primes p < 2^15: 16-bit entries, 32-bit accumulators.
using prime_rows = residue_rows<uint16_t, uint32_t>;
// Primes p < 2^31: 32-bit entries, 64-bit accumulators.
using wide_prime_rows = residue_rows<uint32_t, uint64_t>;

// prime_rows for the field's own prime.
template <class F>
struct lazy_rows : prime_rows {
    using traits = small_prime_field<F>;

    lazy_rows() : prime_rows(traits::modulus()) {}

    static F to_K(elem x) { return traits::element(x); }
    static elem from_K(const F& x) { return traits::residue(x); }
    static void move_out(F& dst, elem x) { dst = to_K(x); }
};
