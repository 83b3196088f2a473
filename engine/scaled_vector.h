// Integer numerators of a vector over Q whose entries share one denominator,
// kept by the caller.  Adding a multiple of a row is then integer products
// only; a sum of reduced fractions needs gcds for every entry, which at the
// thousands of bits of the strands over Q cost twenty times a product.
//
// Blocks of 64 entries that may hold a non-zero numerator are flagged, as in
// the vectors of the other fields.
#pragma once

#if defined(TARV_FIELD_Q)

#include <gmpxx.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/flagged_blocks.h"
#include "fields/field.h"

// D := the least common multiple of the denominators of x[0 .. len-1].
inline void common_denominator(const K* x, std::size_t len, mpz_class& D)
{
    D = 1;
    for (std::size_t e = 0; e < len; ++e) mpz_lcm(D.get_mpz_t(), D.get_mpz_t(), x[e].v.get_den_mpz_t());
}

// out := x * D, an integer when D is a multiple of x's denominator.
inline void numerator_over(const K& x, const mpz_class& D, mpz_class& out)
{
    mpz_divexact(out.get_mpz_t(), D.get_mpz_t(), x.v.get_den_mpz_t());
    out *= x.v.get_num();
}

// n / d as a rational in lowest terms.
inline void set_quotient(K& out, const mpz_class& n, const mpz_class& d)
{
    out.v.get_num() = n;
    out.v.get_den() = d;
    out.v.canonicalize();
}

// Numerators over a common denominator d are left unreduced while they are
// summed; the common factor of d and all of them is removed once d has
// grown past twice its size after the last removal (removed_at, in bits).
// each(f) calls f on every numerator.
template <class Each>
void remove_content_when_grown(mpz_class& d, std::size_t& removed_at, Each each)
{
    if (mpz_sizeinbase(d.get_mpz_t(), 2) <= 2 * removed_at + 64) return;
    mpz_class g = d;
    each([&](mpz_class& x) {
        if (g != 1) mpz_gcd(g.get_mpz_t(), g.get_mpz_t(), x.get_mpz_t());
    });
    if (g != 1) {
        each([&](mpz_class& x) { mpz_divexact(x.get_mpz_t(), x.get_mpz_t(), g.get_mpz_t()); });
        mpz_divexact(d.get_mpz_t(), d.get_mpz_t(), g.get_mpz_t());
    }
    removed_at = mpz_sizeinbase(d.get_mpz_t(), 2);
}

class scaled_vector {
public:
    explicit scaled_vector(std::size_t n) : val_(n), flag_((n + 63) / 64 + 1, 0), n_(n) {}

    const mpz_class& operator[](int p) const { return val_[p]; }

    // entry p -= b * x
    void sub_mul(int p, const mpz_class& b, const mpz_class& x)
    {
        flag_[static_cast<std::size_t>(p) >> 6] = 1;
        mpz_submul(val_[p].get_mpz_t(), b.get_mpz_t(), x.get_mpz_t());
    }
    // entry pos[e] -= b * x[e] for e < len
    void sub_row(const int* pos, const mpz_class* x, int len, const mpz_class& b)
    {
        for (int e = 0; e < len; ++e) sub_mul(pos[e], b, x[e]);
    }

    // The first non-zero position from p on, -1 when there is none; entries
    // before p must be zero.
    int first_nonzero(int p)
    {
        return first_flagged_nonzero(flag_, n_, p, [&](std::size_t q) { return sgn(val_[q]) != 0; });
    }

    // As first_nonzero, for a vector whose entries before p need not be
    // zero: no block is unflagged.
    int scan(int p)
    {
        return first_flagged_nonzero(flag_, n_, p, [&](std::size_t q) { return sgn(val_[q]) != 0; }, false);
    }
    // The numerators at the positions ps, appended to out; every other entry
    // must be zero, and the vector is zero afterwards.
    void take_rest(const std::vector<int>& ps, std::vector<mpz_class>& out)
    {
        for (int q : ps) {
            out.emplace_back();  // 0, swapped into the vector
            mpz_swap(out.back().get_mpz_t(), val_[q].get_mpz_t());
        }
        std::fill(flag_.begin(), flag_.end(), 0);
    }

    // f(numerator) for every non-zero entry.
    template <class F>
    void for_each_nonzero(F f)
    {
        const std::size_t blocks = flag_.size() - 1;
        for (std::size_t b = 0; b < blocks; ++b) {
            if (!flag_[b]) continue;
            const std::size_t end = std::min(n_, (b + 1) * 64);
            for (std::size_t q = b * 64; q < end; ++q)
                if (sgn(val_[q]) != 0) f(val_[q]);
        }
    }
    void scale(const mpz_class& a)
    {
        for_each_nonzero([&](mpz_class& x) { x *= a; });
    }
    // g := gcd(g, every numerator); stops early once g is 1.
    void gcd_into(mpz_class& g)
    {
        for_each_nonzero([&](mpz_class& x) {
            if (g != 1) mpz_gcd(g.get_mpz_t(), g.get_mpz_t(), x.get_mpz_t());
        });
    }
    // put(position, numerator) for the non-zero entries, in order; the vector
    // is zero afterwards.
    template <class Put>
    void take(Put put)
    {
        for (int q = first_nonzero(0); q >= 0; q = first_nonzero(q + 1)) {
            put(q, val_[q]);
            val_[q] = 0;
        }
    }

private:
    std::vector<mpz_class> val_;
    std::vector<uint32_t> flag_;  // one per block, and a sentinel
    std::size_t n_;
};

#endif
