// Monomials of the ring K[x_0, ..., x_n] and the monomial orderings.
//
// A monomial keeps its exponents in an inline array large enough for the
// largest accepted dimension, so copying, comparing and multiplying never
// touch the heap.  Only the first `dim` entries belong to the value: `dim` is
// either the global dim (an affine monomial in the n affine variables) or
// proj (a projective one, the last variable being the homogenizing one).
// The orderings look at the n affine exponents of every monomial whatever
// its `dim`; the projective orderings break affine ties by the exponent of
// the homogenizing variable.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "engine/globals.h"

class monom {
public:
    int16_t dim;                 // number of exponents that belong to the value
    int16_t exp[max_dim + 1];    // exponents; entries from proj on stay 0

    // The constant monomial with the global dim.
    monom() : dim(static_cast<int16_t>(::dim)), exp{} {}
    // All proj exponents set to x, dim := global dim.
    explicit monom(int x) : monom() { *this = x; }
    monom(const monom&) = default;
    monom& operator=(const monom&) = default;
    // Sets all proj exponents to x; dim is unchanged.
    monom& operator=(int x);

    // Number of variables that occur (exponent > 0 among the first dim).
    int vars() const;
    // Degree in the affine variables; the homogenizing exponent never counts.
    int tot_deg() const
    {
        int d = 0;
        for (int i = 0; i < proj - 1; ++i) d += exp[i];
        return d;
    }

    // Equal on the first min(dim, y.dim) exponents.
    bool operator==(const monom& y) const
    {
        const int n = dim < y.dim ? dim : y.dim;
        for (int i = 0; i < n; ++i)
            if (exp[i] != y.exp[i]) return false;
        return true;
    }
    bool operator!=(const monom& y) const { return !(*this == y); }

    // The projective ordering when both are projective, else the affine one.
    bool operator<(const monom& y) const;
    bool operator>(const monom& y) const;
    bool operator<=(const monom& y) const;
    bool operator>=(const monom& y) const;

    // Product and quotient: a monomial with the global dim whose first
    // min(dim, y.dim) exponents are the sums (differences), the rest 0.
    monom operator*(const monom& y) const;
    monom operator/(const monom& y) const;
    // In place on the first min(dim, y.dim) exponents; dim unchanged.
    monom& operator*=(const monom& y);
    monom& operator/=(const monom& y);

    // File form: like the screen form without "^" (X2YT3); "1" when constant.
    void put(std::ostream& s) const;
};

// 1 unless x is the constant monomial (looks at the first x.dim exponents).
int sign(const monom& x);
// 1 when the n affine exponents agree.
int aff_eq(const monom& x, const monom& y);
// A copy of x with dim min(x.dim, y.dim) and the componentwise max / min.
monom lcm(const monom& x, const monom& y);
monom gcd(const monom& x, const monom& y);
// Turns x into a projective monomial with homogenizing exponent 0.
void prj(monom& x);

// The orderings: 1 when x < y (lt) or x <= y (le), else 0.
int lex_lt(const monom& x, const monom& y);
int lex_le(const monom& x, const monom& y);
int revlex_lt(const monom& x, const monom& y);
int revlex_le(const monom& x, const monom& y);
int deglex_lt(const monom& x, const monom& y);
int deglex_le(const monom& x, const monom& y);
int degrevlex_lt(const monom& x, const monom& y);
int degrevlex_le(const monom& x, const monom& y);
int proj_deglex_lt(const monom& x, const monom& y);
int proj_deglex_le(const monom& x, const monom& y);
int proj_degrevlex_lt(const monom& x, const monom& y);
int proj_degrevlex_le(const monom& x, const monom& y);
// Divisibility on the first x.dim exponents: x properly divides y (lt),
// x divides y (le).
int Zn_order_lt(const monom& x, const monom& y);
int Zn_order_le(const monom& x, const monom& y);

// Makes deg-lex (0) or deg-rev-lex (1) the ordering in use: sets
// monom_ordering and the four comparison pointers.
void set_ordering(int ordering);

// Three-way forms of the affine orderings: -1, 0, 1 as x <, ==, > y on the
// affine exponents (cmp < 0 exactly when the lt function holds); the
// polynomial merge uses them to compare once per step.
inline int deglex_cmp(const monom& x, const monom& y)
{
    const int n = proj - 1;
    int diff = 0;  // tot_deg(x) - tot_deg(y) in one pass
    for (int i = 0; i < n; ++i) diff += x.exp[i] - y.exp[i];
    if (diff != 0) return diff < 0 ? -1 : 1;
    for (int i = 0; i < n; ++i)
        if (x.exp[i] != y.exp[i]) return x.exp[i] < y.exp[i] ? -1 : 1;
    return 0;
}

inline int degrevlex_cmp(const monom& x, const monom& y)
{
    const int n = proj - 1;
    int diff = 0;
    for (int i = 0; i < n; ++i) diff += x.exp[i] - y.exp[i];
    if (diff != 0) return diff < 0 ? -1 : 1;
    for (int i = n - 1; i >= 0; --i)
        if (x.exp[i] != y.exp[i]) return x.exp[i] > y.exp[i] ? -1 : 1;
    return 0;
}

// Screen form: X^2YT^3; "1" for the constant monomial.
std::ostream& operator<<(std::ostream& s, const monom& x);
// Width of the screen form, 0 for the constant monomial.
int len(const monom& m);
