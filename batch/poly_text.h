// Homogeneous polynomials of I_X as text for people and for other systems:
// variables x1..xn (the affine coordinates) and x0 (the first coordinate of
// the scheme file, the homogenizing variable), products written with "*"
// and powers with "^", e.g. "x1^2*x0 - 3/4*x2^3".  Elements of Q(zeta_N)
// are written as polynomials in z in parentheses.
#pragma once

#include <string>
#include <vector>

#include "fields/field.h"

class polynomial;

// The homogenization of the affine polynomial f (its degree is that of its
// leading term) written out.
std::string homogeneous_text(const polynomial& f);

// Variable names in ring order: x1, ..., xn, x0 (x0 last, the smallest).
std::vector<std::string> ring_variables();

// The field as people read it: Q, F31991, Q(zeta_7).
std::string field_name();

// The minimal polynomial of z over Q in the variable z ("" when the field is
// Q or F_p, or Q(zeta_N) of degree 1).
std::string minimal_polynomial_text();
