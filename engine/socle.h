// The socle of the Artinian reduction R/(X_0) of the coordinate ring and the
// type of the point set (the number of socle generators).
#pragma once

#include <iosfwd>

class scheme;

// The last element of O in degree deg (from position first on) that no
// degree-1 standard monomial O[1..n1] multiplies into O, or -1: a socle
// element of that degree has its leading monomial at or before it.
int socle_corner(const scheme& X, int deg, int first, int n1);

// Fills X.socle (once): the socle generators, each a combination of elements
// of X.O of one degree, sorted by increasing leading monomial.  Runs bu_mo
// first where it has not run; the canonical forms it needs come over Q from
// primes, otherwise (or when the Groebner basis is already there) from
// create_Lf_Ix and create_Can_Lf.
void socle(scheme& X);

// The number of socle generators (the type), from X.socle when it exists,
// otherwise from ranks modulo primes over Q (kept in X.socle_count) or else
// by socle(X).  Runs bu_mo first when it has not run.
int socle_size(scheme& X);

// Command socle: the socle generators.
void disp_socle(std::ostream& s, scheme& X);

// Command type: the number of socle generators, on standard output.
void typ(scheme& X);
