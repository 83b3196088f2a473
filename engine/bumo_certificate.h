// Exact proofs, over Q, that Buchberger-Moeller results and separators
// belong to the points of a scheme; the modular computation accepts what it
// lifted only when they hold.
//
// bu_mo.  Let n = |O|.  Checked: O[0..n-1] increase, start with 1 and are
// closed under division; B is {x_k t : t in O} minus O; the leading
// monomials of Ix are the corners of O (the monomials outside O all of whose
// divisors by one variable lie in O), in increasing order, each with
// coefficient 1 and all further terms in O; every Ix generator vanishes at
// every point; q[j] has its terms in O[0..j] and takes the value 1 at point
// pi[j] and 0 at the earlier pivots and at every point before pi[j].
// Then the values of q at the pivots form a unit triangular matrix, so the
// points take at least n independent values: dim K[x]/I(X) >= n.  The
// leading monomials of ideal(Ix) contain the corners, so its standard
// monomials lie in O: dim K[x]/ideal(Ix) <= n, while ideal(Ix) lies in I(X).
// Hence ideal(Ix) = I(X), Ix is its reduced Groebner basis and O its order
// ideal; and q[j] is, step by step, the one polynomial the algorithm forms
// for O[j] (O[j] minus a combination of O[0..j-1] vanishing at the earlier
// pivots is unique, and pi[j] is its first point that is not a zero).
//
// Separators.  Separator i has its terms in O, the value 1 at point i and 0
// at the others; the values of the |O| = s elements of O at the points are
// then an invertible matrix, so the separators are unique.
//
// The values are exact integer sums: a polynomial f of degree d with integer
// coefficients c_t (f times the lcm of its denominators) at the point
// (1 : a/D), a integers and D the lcm of the denominators of the point, is 0
// iff sum c_t a^t D^(d - |t|) = 0.  The values a^t of the monomials come by
// one product each from a divisor.
#pragma once

#include <vector>

#include "engine/monom.h"
#include "engine/polynomial.h"

class scheme;

// Checks O[0..n-1], B, Ix and q, pi [0..n-1] of X as above; when they hold,
// rows 0..n-1 of ev_q are set to the exact values of q at the points (they
// are unspecified otherwise).
bool certify_bu_mo(scheme& X, int n);
// Checks the separators of X against O (all s elements).
bool certify_separators(const scheme& X);
// Checks that O[0..n-1] is an order ideal and that each f of gens is a
// corner t of it with coefficient 1 plus terms in O below t, vanishing at
// every point of X.
bool certify_corner_elements(const scheme& X, const monom* O, int n, const std::vector<polynomial>& gens);
