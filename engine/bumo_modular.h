// The Buchberger-Moeller results and the separators over Q by modular
// computation: the dense-row runs are done modulo many primes p < 2^15, the
// results are lifted by Chinese remaindering and rational reconstruction, and
// a lift is accepted once two further primes confirm it.
//
// A prime is used only while its run makes the same decisions as the run
// over Q (the same pivots and the same candidates in O).  Modulo p a value
// can only turn zero, so a run that decides differently at its first
// difference has a later pivot, or misses an element of O: the run over Q is
// the one whose sequence of decisions is smallest, and only primes that
// repeat the smallest sequence seen are lifted.
#pragma once

class scheme;

// Whether the field is Q, for which the functions below do the work.
#if defined(TARV_FIELD_Q)
constexpr bool modular_field = true;
#else
constexpr bool modular_field = false;
#endif

// Fill the same fields as bu_mo and sep and write the countdown of their
// progress reports.  False when the primes ran out: the scheme is unchanged
// then, and the countdown complete.
bool bu_mo_modular(scheme& X);
bool sep_modular(scheme& X);
