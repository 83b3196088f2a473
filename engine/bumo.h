// The Buchberger-Moeller algorithm: from the points of a scheme, the order
// ideal O, its border B, the reduced Groebner basis Ix of the vanishing ideal,
// the triangular sequence q with its values ev_q and pivots pi, and the
// Hilbert data; from the triangular sequence, the separators of the points
// and the Cayley-Bacharach and Gorenstein flags.
#pragma once

#include "engine/monom.h"

class scheme;

// One candidate monomial of the Buchberger-Moeller loop.
struct mmm {
    monom t;      // the candidate
    int n = -1;   // position in O of the element it is a multiple of; -1 for 1
    int k = -1;   // the variable that element was multiplied by; -1 for 1
    int ins = 0;  // how many elements of O have produced it so far
};

// Candidates compare by their monomials alone.
inline bool operator<(const mmm& x, const mmm& y) { return x.t < y.t; }
inline bool operator>(const mmm& x, const mmm& y) { return x.t > y.t; }
inline bool operator==(const mmm& x, const mmm& y) { return x.t == y.t; }

// Which arithmetic bu_mo and sep use: the fastest one for the field, or the
// exact field arithmetic that every field has (the results are the same).
enum class dense_path { fastest, exact };

// Fills O, B, Ix, q, ev_q, pi and the Hilbert data of X; ends with hilbert.
// After the separators were computed the triangular system is re-created
// first and the separators are marked as not computed.
void bu_mo(scheme& X, dense_path path = dense_path::fastest);
// Makes sure that Ix, q, ev_q and pi hold the Buchberger-Moeller results
// (over Q bu_mo may have found O and B alone); runs bu_mo first when it has
// not run, and otherwise adds them without any output.
void need_groebner(scheme& X);
// The separators from q, ev_q and pi (bu_mo must have run); releases those,
// sets X.sep and ends with hilbert2.
void sep(scheme& X, dense_path path = dense_path::fastest);
// delta_fct, hilb_fct, sigma, delta and alpha from O and Ix.
void hilbert(scheme& X);
// is_CB and is_ar_Go from the separators.
void hilbert2(scheme& X);
// is_ar_Go from is_CB and the Hilbert function: a Cayley-Bacharach scheme
// is arithmetically Gorenstein exactly when its h-vector is symmetric.
void gorenstein_by_symmetry(scheme& X);
// Over Q: when a computation modulo a prime proves the Cayley-Bacharach
// property, sets is_CB, is_ar_Go and sep (not the separator polynomials),
// writes what sep writes and returns true; false, changing nothing, when
// that proof fails or the field is not Q.
bool decide_cayley_bacharach(scheme& X);

// Positions (or -1): t in O by a full scan; t in O by its degree block;
// the Ix generator with leading monomial t; t in B.
int is_el_OO(const scheme& X, const monom& t);
int is_el_O(const scheme& X, const monom& t);
int is_el_G(const scheme& X, const monom& t);
int is_el_B(const scheme& X, const monom& t);
