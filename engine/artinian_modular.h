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

class scheme;

// The number of socle generators that socle(X) finds (the type of X), or
// 0 when no prime among the first few proves it (or the field is not Q).
// Needs the Buchberger-Moeller results (O, B and the Hilbert data).
int type_modular(const scheme& X);
