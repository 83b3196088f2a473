// Normal forms over Q of monomials modulo the vanishing ideal, computed
// modulo primes and proved exactly.
//
// The normal form of t is the one combination c of the elements of O that
// takes the values of t at the points: W c = t(P), W the (invertible)
// values of O at the points.  Modulo each prime W c = t(P) is solved
// directly, the coefficients are lifted (Chinese remaindering and rational
// reconstruction), and the lift is proved with the primes already used.
// With the points scaled to integers, point i = (1 : a_i / D_i), D the
// common denominator of the lifted c and y = D c, the value
//     Z_i = sum_k y_k a_i^(O_k) D_i^(E - deg O_k) - D a_i^t D_i^(E - deg t)
// (E the largest degree met) is an integer that every prime used divides,
// since modulo that prime y = D c with W c = t(P).  It is at most
// 2^(H E) (s + 1) max(|y|, D), H the bits of the largest a_i or D_i; when
// the product of the primes exceeds this bound Z_i = 0, so c takes the
// values of t at every point and is its normal form.
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

// forms[i] := the normal form of the affine part of ts[i] (only the first
// proj - 1 exponents are read, so a homogenizing exponent does no harm).  False, with forms unspecified, when the field is
// not Q or the primes ran out.  Needs the order ideal O of X.
bool normal_forms_modular(const scheme& X, const std::vector<monom>& ts, std::vector<normal_form>& forms);

// coefs[i][j] := the coefficient of O[rs[j]] in the normal form of ts[i].
// The coefficient of O[r] in the normal form of any f is row r of W^-1
// applied to the values of f at the points; those rows alone are computed
// modulo primes, lifted and proved (with the points and O made homogeneous
// of one degree E, at least every degree met, W' y = e_r exactly by the
// bound above), and the coefficients are then exact sums.  So few
// coefficients of many forms cost far less than the whole forms, and many
// whole forms less than lifting each (normal_forms_modular uses it when
// there are more forms than points).  False, with coefs unspecified, when
// the field is not Q or the primes ran out.
bool normal_form_coefficients(const scheme& X, const std::vector<int>& rs, const std::vector<monom>& ts,
                              std::vector<std::vector<K>>& coefs);
