// The reduced echelon form of a matrix over Q, as matrix::solve leaves it,
// computed modulo primes and proved exactly.  Rational elimination of a
// matrix with large entries (the socle's products of canonical forms)
// spends its time on the gcds of numbers that grow to the size of minors.
//
// matrix::solve takes the columns in turn: a column is a pivot column when
// it is independent of the pivot columns before it, otherwise it is moved
// to the back.  Modulo p a column can only become dependent, so among the
// runs modulo primes the one that, at the first difference, has a pivot
// where the other has none is the closer to the run over Q.  With the rows
// scaled to integers (B), the entries of the pivot rows in the free columns
// are lifted, and each free column's kernel vector y (scaled to integers)
// is proved: B y is divisible by every prime used and at most
// cols 2^(bits of B + bits of y), so it is 0 once the product of the primes
// exceeds that.  Then every free column depends over Q on the pivot columns
// before it, and the pivot columns, independent modulo p, are independent
// over Q: the run over Q makes the same choices, and the reduced entries,
// unique for those choices, are the lifted ones.
#pragma once

#include <vector>

#include "fields/field.h"

class matrix;

// The kernel dimension e of m over Q, with c the column order matrix::solve
// ends with (c holds 0..cols-1 on entry) and free[k - q][l] (q = cols - e,
// k = q..cols-1) the entry of pivot row l in column c[k] after solve; m is
// not changed.  -1 when the field is not Q or nothing was proved.
int solve_modular(const matrix& m, int* c, std::vector<std::vector<K>>& free);

// The kernel of m as matrix::solve leaves it: its dimension e, the column
// order c and, for each free position k, free[k - q][l] = the entry of pivot
// row l in column c[k].  Over Q from primes when that is proved (rational
// elimination of large entries is slow), by solve otherwise (m is then
// changed).  c has cols entries.
int reduced_kernel(matrix& m, std::vector<int>& c, std::vector<std::vector<K>>& free);
