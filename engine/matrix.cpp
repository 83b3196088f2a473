#include "engine/matrix.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <utility>
#include <vector>

#include "engine/gauss_jordan.h"
#include "engine/interrupt.h"
#include "engine/progress.h"

void matrix::allocate()
{
    // Sizes are never negative; the clamp also tells the compiler so.
    a = new K*[std::max(rows, 0)];
    for (int i = 0; i < rows; ++i) {
        a[i] = new K[std::max(cols, 0)];
        for (int j = 0; j < cols; ++j) a[i][j] = 0;
    }
}

void matrix::release()
{
    for (int i = 0; i < rows; ++i) delete[] a[i];
    delete[] a;
}

matrix::matrix(int c, int r) : cols(c), rows(r)
{
    allocate();
}

matrix::matrix(const matrix& m) : cols(m.cols), rows(m.rows)
{
    allocate();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) a[i][j] = m.a[i][j];
}

matrix& matrix::operator=(const matrix& m)
{
    if (this == &m) return *this;
    release();
    cols = m.cols;
    rows = m.rows;
    allocate();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) a[i][j] = m.a[i][j];
    return *this;
}

matrix::~matrix()
{
    release();
}

void matrix::init()
{
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) a[i][j] = 0;
}

// Crout: L with general diagonal in the lower part of mm, U with unit
// diagonal in its strict upper part.  Pivoting takes the first usable row in
// the current order; exact arithmetic needs no size criterion.
K matrix::minor(int n, const int* col, const int* rr) const
{
    if (n <= 0) return K(1);
    std::vector<int> row(rr, rr + n);
    auto A = [&](int i, int j) -> const K& { return a[row[i]][col[j]]; };
    int s = 1;
    if (A(0, 0) == 0) {
        int k = 1;
        while (k < n && A(k, 0) == 0) ++k;
        if (k == n) return K(0);
        std::swap(row[k], row[0]);
        s = -s;
    }
    std::vector<std::vector<K>> mm(n, std::vector<K>(n, K(0)));
    for (int k = 0; k < n; ++k) mm[k][0] = A(k, 0);
    for (int j = 1; j < n; ++j) mm[0][j] = A(0, j) / mm[0][0];
    K t(0), sum(0);
    for (int i = 1; i < n; ++i) {
        // The pivot row is the first whose entry of L would be non-zero.
        int k = i;
        for (; k < n; ++k) {
            t = 0;
            for (int m = 0; m < i; ++m) t += mm[k][m] * mm[m][i];
            if (t != A(k, i)) break;
        }
        if (k == n) return K(0);
        if (k != i) {
            std::swap(row[k], row[i]);
            std::swap(mm[k], mm[i]);
            s = -s;
        }
        mm[i][i] = A(i, i) - t;
        for (int k2 = i + 1; k2 < n; ++k2) {
            sum = 0;
            for (int m = 0; m < i; ++m) sum += mm[k2][m] * mm[m][i];
            mm[k2][i] = A(k2, i) - sum;
        }
        for (int j = i + 1; j < n; ++j) {
            sum = 0;
            for (int m = 0; m < i; ++m) sum += mm[i][m] * mm[m][j];
            mm[i][j] = (A(i, j) - sum) / mm[i][i];
        }
    }
    K det = mm[0][0];
    for (int k = 1; k < n; ++k) det *= mm[k][k];
    if (s < 0) det = -det;
    return det;
}

namespace {

// The field's own arithmetic for gauss_jordan.
struct field_ops {
    static bool is_zero(const K& x) { return x == 0; }
    static bool is_one(const K& x) { return x == 1; }
    static K divisor(const K& x) { return x; }
    static void divide(K& x, const K& pivot) { x /= pivot; }
    static void sub_mul(K& x, const K& y, const K& f) { x -= y * f; }
    static void set(K& x, int v) { x = v; }
};

}  // namespace

int matrix::solve(int* c, int* r)
{
    progress_report report("row reduction", std::min(cols, rows));
    return gauss_jordan(
        rows, cols, c, r, [&](int i, int j) -> K& { return a[r[i]][c[j]]; }, field_ops(),
        [&](int i) {
            report.at(i);
            check_interrupt();
        },
        [](bool) {});
}

std::ostream& operator<<(std::ostream& s, const matrix& m)
{
    std::vector<int> w(m.cols, 0);
    for (int j = 0; j < m.cols; ++j)
        for (int i = 0; i < m.rows; ++i) w[j] = std::max(w[j], len(m.a[i][j]));
    for (int i = 0; i < m.rows; ++i) {
        if (i > 0) {
            s << "[ ";
            for (int j = 0; j < m.cols; ++j) {
                if (j > 0) s << "  ";
                for (int b = 0; b < w[j]; ++b) s << ' ';
            }
            s << " ]\n";
        }
        s << "[ ";
        for (int j = 0; j < m.cols; ++j) {
            if (j > 0) s << "  ";
            const int l = len(m.a[i][j]);
            for (int b = 0; b < (w[j] - l + 1) / 2; ++b) s << ' ';
            s << m.a[i][j];
            for (int b = 0; b < (w[j] - l) / 2; ++b) s << ' ';
        }
        s << " ]\n";
    }
    return s;
}

std::istream& operator>>(std::istream& s, matrix& m)
{
    for (int i = 0; i < m.rows; ++i)
        for (int j = 0; j < m.cols; ++j) s >> m.a[i][j];
    return s;
}
