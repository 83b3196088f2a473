// A square matrix of relations whose rows are written one at a time and
// eliminated after each (omega's "eliminating syzygies"): only the choices
// of the elimination are wanted, its rank and the column order c that
// matrix::solve leaves, never the reduced entries.
//
// Those choices depend on which entries are zero, and scaling a row by a
// non-zero number changes none of them.  Over Q the rows are therefore kept
// as integer vectors up to a factor, without denominators: a pivot row is
// used as it is (its pivot need not be 1) and a row is reduced by
// row := pivot * row - row[col] * pivot_row, then divided by the gcd of its
// entries.  That is one gcd chain per row step instead of a gcd per entry.
// Over the other fields the rows are those of a matrix.
#pragma once

#include <vector>

#include "engine/matrix.h"
#include "fields/field.h"

#if defined(TARV_FIELD_Q)
#include <gmpxx.h>
#endif

class relation_matrix {
public:
    // n rows of n entries, all 0.
    explicit relation_matrix(int n);

    // Entry col of row row, for writing a row that is 0 since the last
    // solve (over Q the other rows are known only up to a factor).
    K& at(int row, int col);

    // As matrix::solve on the rows written so far: the kernel dimension,
    // c and r permuted the same way.
    int solve(int* c, int* r);

private:
#if defined(TARV_FIELD_Q)
    int n_;
    std::vector<std::vector<mpz_class>> rows_;  // integer rows, each up to a factor
    std::vector<std::vector<K>> written_;       // rows written since the last solve, as values
    std::vector<int> written_rows_;
#else
    matrix m_;
#endif
};
