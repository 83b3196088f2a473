// Canonical forms of the border monomials modulo the ideal of leading forms
// of the vanishing ideal.
#pragma once

class scheme;

// Fills X.Can_Lf: generator i is the combination of elements of X.O of
// degree deg(B[i]) that B[i] equals modulo the ideal of leading forms (0
// when the leading form of the matching basis element is the bare
// monomial).  Needs the Buchberger-Moeller results and X.Lf_Ix.
void create_Can_Lf(scheme& X);
