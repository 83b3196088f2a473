// The two linear strands side by side: X.linres[0] (I_X) and X.linres[1]
// (w_R), entry j of both rows in column j.
#pragma once

#include <iosfwd>

class scheme;

// The combined table: the column numbers, the degrees alpha - j of I_X, its
// counts, then the counts of w_R (from its longest syzygies in column 0 to
// its generators in column n-1) over their degrees j - sigma - n + 1; each
// column as wide as its widest count, at least 3, plus one blank.  Computes
// nothing.
void disp_linres(std::ostream& s, scheme& X);
