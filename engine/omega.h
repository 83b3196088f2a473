// The canonical module w_R of the coordinate ring R of a point set: a
// minimal homogeneous presentation
//
//     F_1 --A_d--> F_0 --> w_R --> 0
//
// whose generators are projections pr_(u) onto standard monomials u (the
// coefficient of u in the canonical form of a polynomial) and whose columns
// are the minimal relations among them.
#pragma once

#include <iosfwd>

class monom;
class polynomial;
class scheme;

// The index of the first term of f whose monomial equals t on the exponents
// both have (so a projective term matches its affine part), or -1.
int check(const polynomial& f, const monom& t);

// The canonical form of the affine monomial t computed from the Groebner
// basis: its normal form homogenized to the full degree deg(t), a projective
// polynomial whose terms are standard monomials times powers of the
// homogenizing variable (0 when t lies in the ideal).  omega uses it for a
// monomial that has no earlier canonical form to start from.
polynomial canonical_form(const scheme& X, const monom& t);

// Fills no_of_pr, pr, pr_deg, A_d_cols, A_d_maxdeg, A_d_coldeg and A_d of X;
// runs bu_mo first when its results are absent.  Prints the separator line
// on standard output and, while verbose is set, progress on standard error.
void omega(scheme& X);

// Command omega: the free modules of the presentation with their twists.
void disp_omega(std::ostream& s, scheme& X);
// Command omegamat: the columns of A_d and the generating projections.
void disp_omegamat(std::ostream& s, scheme& X);
