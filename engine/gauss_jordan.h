// The Gauss-Jordan elimination of matrix::solve for any arithmetic, so that
// a run modulo a prime makes its choices step for step as the run over the
// field does (engine/kernel_modular.cpp relies on it).
//
// at(i, j) is the entry in row r[i] and column c[j] (a reference).  Ops:
//   is_zero(x), is_one(x);
//   divisor(x) -> D, divide(x, D): x := x / the pivot x was made from;
//   sub_mul(x, y, f): x := x - y * f;  set(x, v): x := v (v = 0 or 1).
// Ops that keep whole rows in a form of their own (integers over a row
// denominator) declare row_ops and offer instead, on rows as stored:
//   make_monic(row, col): the row's entry in column col becomes 1;
//   eliminate(row, pivot_row, col): row := row - row[col] * pivot_row,
//     pivot_row being 1 at col.
// The elimination only ever combines rows that are 0 where the result must
// keep its values, so the whole-row steps give the entrywise results.
// step(i) is called at the top of every step, column(pivot) for every
// column examined (true: it is a pivot column).
#pragma once

#include <algorithm>
#include <type_traits>
#include <utility>

template <class Ops, class = void>
struct gauss_jordan_row_ops : std::false_type {};
template <class Ops>
struct gauss_jordan_row_ops<Ops, std::void_t<decltype(Ops::row_ops)>> : std::true_type {};

template <class At, class Ops, class Step, class Column>
int gauss_jordan(int rows, int cols, int* c, int* r, At at, const Ops& ops, Step step, Column column)
{
    const int m = std::min(cols, rows);
    int z = 0;  // columns moved to the back
    int d = cols;
    int i = 0;
    while (i < m) {
        step(i);
        if (ops.is_zero(at(i, i))) {
            int k = i + 1;
            while (k < rows && ops.is_zero(at(k, i))) ++k;
            if (k < rows) {
                std::swap(r[i], r[k]);
            } else {
                column(false);
                if (i + z >= cols - 1) break;  // no untreated column left
                ++z;
                std::swap(c[i], c[cols - z]);
                continue;
            }
        }
        column(true);
        if (--d == 0) return 0;  // every column is a pivot column
        if constexpr (gauss_jordan_row_ops<Ops>::value) {
            ops.make_monic(r[i], c[i]);
            for (int k = i + 1; k < rows; ++k)
                if (!ops.is_zero(at(k, i))) ops.eliminate(r[k], r[i], c[i]);
        } else {
            // A row already reduced has pivot 1: dividing by it changes nothing.
            if (!ops.is_one(at(i, i))) {
                const auto pivot = ops.divisor(at(i, i));
                for (int j = i + 1; j < cols; ++j) ops.divide(at(i, j), pivot);
                ops.set(at(i, i), 1);
            }
            for (int k = i + 1; k < rows; ++k) {
                if (ops.is_zero(at(k, i))) continue;
                const auto f = at(k, i);
                for (int j = i + 1; j < cols; ++j) ops.sub_mul(at(k, j), at(i, j), f);
                ops.set(at(k, i), 0);
            }
        }
        ++i;
    }
    // Clear the pivot block above the diagonal; only the free columns change.
    const int q = cols - d;
    for (int p = q - 2; p >= 0; --p) {
        for (int j = p + 1; j < q; ++j) {
            if (ops.is_zero(at(p, j))) continue;
            if constexpr (gauss_jordan_row_ops<Ops>::value) {
                ops.eliminate(r[p], r[j], c[j]);
            } else {
                for (int k = q; k < cols; ++k) ops.sub_mul(at(p, k), at(j, k), at(p, j));
                ops.set(at(p, j), 0);
            }
        }
    }
    return d;
}
