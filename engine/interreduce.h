// Row reduction of matrices of polynomials over K.  The rows are treated as
// vectors over K indexed by (column, monomial): two rows are reduced against
// each other only when their pivot entries have the same leading monomial,
// so this is Gaussian elimination in one degree, never division by proper
// multiples.
#pragma once

#include "engine/polynomial.h"

// The leading position of a row of c entries: the column of the non-zero
// entry with the greatest leading monomial (monom operator >), the first
// such column on ties; -1 for a zero row.
int lead_pos(const polynomial* row, int c);

// Brings the A_r rows of A (each of A_c entries) into echelon form in place:
// every non-zero row is monic at its pivot column and no two non-zero rows
// share pivot column and leading monomial there.  Lt[i] receives the pivot
// column of row i, -1 for a row that is (or became) zero.  Returns A_r.
int interreduce(polynomial** A, int A_r, int A_c, int* Lt);

// Multiplies row i by the inverse of the leading coefficient of A[i][jj].
void norm(polynomial** A, int A_c, int i, int jj);

// Row i -= c * row k, c the leading coefficient of A[i][jj] taken first.
void reduce_c(polynomial** A, int A_c, int k, int i, int jj);
