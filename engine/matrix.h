// Dense matrices over the coefficient field K, with the two exact routines
// the point-set algorithms need: the determinant of a square submatrix and
// Gauss-Jordan elimination returning the kernel dimension.
#pragma once

#include <iosfwd>

#include "fields/field.h"

class matrix {
public:
    int cols;
    int rows;
    K** a;  // a[i][j]: row i, column j; rows and row array owned

    // rows r of c entries, all 0.
    matrix(int c, int r);
    matrix(const matrix& m);
    matrix& operator=(const matrix& m);
    ~matrix();

    // Sets every entry to 0.
    void init();

    // The determinant of the n x n matrix with entries a[rr[i]][col[j]]
    // (Crout factorization with row pivoting); col and rr are not changed.
    K minor(int n, const int* col, const int* rr) const;

    // Gauss-Jordan elimination in place on a[r[i]][c[j]], permuting the
    // permutations c (of the columns) and r (of the rows).  Returns d, the
    // dimension of the kernel.  When d > 0, with q = cols - d: c[0..q-1] are
    // the pivot columns, c[q..cols-1] the free ones, r[0..q-1] the pivot rows,
    // and for each free position k the vector x with x[c[k]] = 1,
    // x[c[i]] = -a[r[i]][c[k]] (i < q) and 0 in the other free columns is a
    // kernel vector; these d vectors are a basis of the kernel.  When d = 0
    // the matrix is left partly reduced.
    int solve(int* c, int* r);

private:
    void allocate();
    void release();
};

// Every column centred in its width, a spacer line between rows.
std::ostream& operator<<(std::ostream& s, const matrix& m);
// Reads rows x cols entries row by row.
std::istream& operator>>(std::istream& s, matrix& m);
