// Coefficients of normal forms over Q of monomials modulo the vanishing
// ideal, computed modulo primes and proved exactly.
//
// The normal form of t is the one combination c of the elements of O that
// takes the values of t at the points: W c = t(P), W the (invertible)
// values of O at the points.  So the coefficient of O[r] in the normal form
// of any f is row r of W^-1 applied to the values of f at the points.
//
// Only the rows wanted are computed.  With the points made integer, point
// c = (D_c : a_c), and O made homogeneous of one degree E (at least every
// degree met), W'[c][k] = a_c^(O_k) D_c^(E - deg O_k) = D_c^E W[c][k].
// Modulo each prime the rows of W'^-1 are solved, then lifted (Chinese
// remaindering and rational reconstruction), and a lifted row y / Delta
// (y integers, Delta their common denominator) is proved with the primes
// already used: the entries of y W' - Delta e_r are integers that every
// prime used divides, and they are at most (s + 1) 2^(H E) max(|y|, Delta),
// H the bits of the largest a_c or D_c; when the product of the primes
// exceeds this bound they are 0.  The coefficient of O[r] in the normal
// form of t is then the exact sum over c of y_c a_c^t D_c^(E - deg t), over
// Delta.
#pragma once

#include <vector>

#include "engine/monom.h"
#include "fields/field.h"

class scheme;

// A normal form: the indices in O of its terms, decreasing, and their
// (non-zero) coefficients.
struct normal_form {
    std::vector<int> at;
    std::vector<K> coef;
};

// coefs[i][j] := the coefficient of O[rs[j]] in the normal form of the
// affine part of ts[i] (only the first proj - 1 exponents are read, so a
// homogenizing exponent does no harm).  Few coefficients of many forms cost
// far less than the whole forms, and many whole forms (rs all of O) less
// than lifting each form.  False, with coefs unspecified, when the field is
// not Q or the primes ran out.  Needs the order ideal O of X.
bool normal_form_coefficients(const scheme& X, const std::vector<int>& rs, const std::vector<monom>& ts,
                              std::vector<std::vector<K>>& coefs);
