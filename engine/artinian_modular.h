// Invariants of the Artinian reduction R/(X_0) over Q from ranks modulo a
// prime.  R/(X_0) has the basis O; a border monomial b of degree d equals
// there the degree-d part of its normal form, the combination of O with the
// values of b at the points.  Modulo a prime p (that divides no denominator
// and keeps the values of O independent) every matrix below is the
// reduction of the matrix over Q, so its rank modulo p is at most the rank
// over Q; where it is the largest a matrix of its shape can have, the two
// ranks are equal.  A result is given only when every rank it uses is of
// that kind: it is then exact, never probable.
#pragma once

#include <vector>

class scheme;

// The number of socle generators that socle(X) finds (the type of X), or
// 0 when no prime among the first few proves it (or the field is not Q).
// Needs the Buchberger-Moeller results (O, B and the Hilbert data).
int type_modular(const scheme& X);

// counts[d]: the number of minimal generators of degree d of I_X, for d up
// to the regularity of I_X; false (counts unspecified) when no prime among
// the first few proves them, when the work would be too large, or when the
// field is not Q.  Needs the Buchberger-Moeller results.
//
// The graded Betti numbers of R over S are those of R/(X_0) = S'/J over
// S' = K[x_1..x_n], J the ideal of leading forms, since X_0 is a
// nonzerodivisor on R.  J_d has the basis m - can(m), m running over the
// monomials N_d of degree d outside O and can(m) the degree-d part of the
// normal form of m; an element of J_d is determined by its coefficients on
// N_d.  The generators in degree d are dim J_d - rank of the products
// x_k (m - can(m)), m in N_(d-1), written on N_d.
bool min_degrees_modular(const scheme& X, std::vector<int>& counts);
