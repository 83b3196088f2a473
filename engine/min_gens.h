// A minimal system of homogeneous generators of the projective vanishing
// ideal I_X, selected from the Groebner basis by linear algebra on the
// leading forms.
#pragma once

#include <iosfwd>
#include <vector>

class scheme;

// Fills X.Lf_Ix: generator i is the leading form of X.Ix generator i.
void create_Lf_Ix(scheme& X);

// Fills X.min_Ix with homogenised Groebner basis elements forming a minimal
// generating system of I_X, in non-decreasing degree.  Runs bu_mo,
// create_Lf_Ix and create_Can_Lf first where their results are absent.
void min_Ix(scheme& X);

// Command min: the minimal generators, one per line, on standard output.
void disp_min(scheme& X);

// counts[d]: the number of minimal generators of I_X of degree d, from
// X.min_Ix, or over Q from ranks modulo primes (kept in X.min_degs) when
// they prove it, or else from min_Ix.  Runs bu_mo first when it has not run.
std::vector<int> min_generator_counts(scheme& X);

// Command mindegs: the number of minimal generators of each degree.
void deg_min(std::ostream& s, scheme& X);
