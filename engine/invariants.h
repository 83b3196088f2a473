// Displays of the Buchberger-Moeller results: the invariants alpha, sigma
// and delta, the Hilbert function and its first difference, the
// Cayley-Bacharach and Gorenstein properties, the Groebner basis, the order
// ideal and the separators.  Each first computes what it shows when the
// scheme does not hold it yet, and ends with the separator line.
#pragma once

#include <iosfwd>

class scheme;

void alpha_X(std::ostream& s, scheme& X);
void sigma_X(std::ostream& s, scheme& X);
void delta_X(std::ostream& s, scheme& X);
// "delta H(n) = " and "H(n) = " up to the degree sigma + 1.
void delta_fct(std::ostream& s, scheme& X);
void hilb_fct(std::ostream& s, scheme& X);
void is_CB(std::ostream& s, scheme& X);
void is_ar_Go(std::ostream& s, scheme& X);
void order_ideal(std::ostream& s, scheme& X);
// These two always write to standard output.
void groebner(scheme& X);
void separators(scheme& X);
