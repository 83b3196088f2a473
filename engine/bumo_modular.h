// The Buchberger-Moeller results and the separators over Q by modular
// computation: the dense-row runs are done modulo many primes p < 2^31, the
// results are lifted by Chinese remaindering and rational reconstruction, and
// a lift that two further primes confirm is accepted once the exact check of
// engine/bumo_certificate.h proves it; a lift the check refuses is taken up
// again with more primes.
//
// A prime is used only while its run makes the same decisions as the run
// over Q (the same pivots and the same candidates in O).  Modulo p a value
// can only turn zero, so a run that decides differently at its first
// difference has a later pivot, or misses an element of O: the run over Q is
// the one whose sequence of decisions is smallest, and only primes that
// repeat the smallest sequence seen are lifted.
#pragma once

#include <cstdint>
#include <vector>

class scheme;

// Whether the field is Q, for which the functions below do the work.
#if defined(TARV_FIELD_Q)
constexpr bool modular_field = true;
#else
constexpr bool modular_field = false;
#endif

// How a modular computation goes; the defaults are those of bu_mo and sep.
struct modular_control {
    int confirmations = 2;  // further primes that must agree with a lift before the exact check
    int max_primes = 0;     // primes tried at most; 0: all there are
    int refused = 0;        // out: lifts the exact check refused
    bool progress = true;   // write the countdown (when verbose)
    int countdown_at = -1;  // a countdown begun elsewhere: it has reached s - countdown_at
};

// The primes the computation uses, in the order it tries them (empty but
// over Q).
const std::vector<uint32_t>& modular_primes();

// The coordinates of the points modulo p, n rows of s (n = X.P->cols) (coordinate k of
// point c at k * s + c); false when p divides the denominator of one.
bool reduce_points(const scheme& X, uint32_t p, std::vector<uint32_t>& coord);

// Fill the same fields as bu_mo and sep and write the countdown of their
// progress reports.  False when the primes ran out: the results are then
// incomplete and must be computed otherwise; the countdown is complete.
bool bu_mo_modular(scheme& X);
bool bu_mo_modular(scheme& X, modular_control& control);
bool sep_modular(scheme& X);
bool sep_modular(scheme& X, modular_control& control);

// The order ideal O and the border B of X alone (not Ix, q, ev_q, pi),
// modulo one prime in general.  The values of O at the points are
// independent modulo p, hence over Q; the run over Q differs from the run
// modulo p only where a candidate that is independent over Q became
// dependent modulo p, so O is the order ideal over Q when every corner of
// O below its last element has a Groebner basis element over Q: those few
// are lifted and checked exactly.  False (nothing stored) when the first
// prime gives fewer than s independent values (points that meet modulo p,
// or are not distinct); control.countdown_at then tells how far the
// countdown went.
bool order_ideal_modular(scheme& X, modular_control& control);

// 1 when the separators modulo a prime (one of the first few whose order
// ideal is X.O) all have the top degree: the separators over Q, whose
// reductions they are, have it too and X is Cayley-Bacharach.  0 when no
// such proof was found (X may or may not be Cayley-Bacharach).
int cayley_bacharach_modular(const scheme& X);
