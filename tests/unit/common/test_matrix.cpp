// Matrices: minors, Gauss-Jordan elimination, display.
#include <algorithm>
#include <initializer_list>
#include <numeric>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "engine/matrix.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using test_support::k;
using test_support::xorshift64_high;

class MatrixTest : public test_support::engine_test {};

matrix make(int cols, std::initializer_list<std::initializer_list<int>> rows)
{
    matrix m(cols, static_cast<int>(rows.size()));
    int i = 0;
    for (auto& row : rows) {
        int j = 0;
        for (int v : row) m.a[i][j++] = k(v);
        ++i;
    }
    return m;
}

std::vector<int> identity(int n)
{
    std::vector<int> v(n);
    std::iota(v.begin(), v.end(), 0);
    return v;
}

// The determinant of a[rr[i]][col[j]] by expansion along the first row.
K cofactor_det(const matrix& m, const std::vector<int>& col, const std::vector<int>& rr)
{
    const int n = static_cast<int>(col.size());
    if (n == 1) return m.a[rr[0]][col[0]];
    std::vector<int> rest_rows(rr.begin() + 1, rr.end());
    K det(0);
    for (int j = 0; j < n; ++j) {
        std::vector<int> rest_cols;
        for (int l = 0; l < n; ++l)
            if (l != j) rest_cols.push_back(col[l]);
        K term = m.a[rr[0]][col[j]] * cofactor_det(m, rest_cols, rest_rows);
        if (j % 2)
            det -= term;
        else
            det += term;
    }
    return det;
}

// The largest size of a non-zero minor.
int rank_by_minors(const matrix& m)
{
    int best = 0;
    for (int rmask = 1; rmask < (1 << m.rows); ++rmask) {
        for (int cmask = 1; cmask < (1 << m.cols); ++cmask) {
            std::vector<int> rr, cc;
            for (int i = 0; i < m.rows; ++i)
                if (rmask >> i & 1) rr.push_back(i);
            for (int j = 0; j < m.cols; ++j)
                if (cmask >> j & 1) cc.push_back(j);
            if (rr.size() != cc.size() || static_cast<int>(rr.size()) <= best) continue;
            if (cofactor_det(m, cc, rr) != 0) best = static_cast<int>(rr.size());
        }
    }
    return best;
}

// Entries in -2..2, zero about half the time, so pivots are often missing.
matrix random_matrix(xorshift64_high& rng, int cols, int rows)
{
    matrix m(cols, rows);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            m.a[i][j] = rng.below(2) ? k(0) : k(rng.below(5) - 2);
    return m;
}

// The kernel basis the layout of solve describes, as vectors over the
// original column numbers.
std::vector<std::vector<K>> kernel_vectors(const matrix& m, const std::vector<int>& c,
                                           const std::vector<int>& r, int d)
{
    const int q = m.cols - d;
    std::vector<std::vector<K>> basis;
    for (int f = q; f < m.cols; ++f) {
        std::vector<K> x(m.cols, K(0));
        x[c[f]] = k(1);
        for (int i = 0; i < q; ++i) x[c[i]] = -m.a[r[i]][c[f]];
        basis.push_back(x);
    }
    return basis;
}

TEST_F(MatrixTest, MinorSmallCases)
{
    matrix m = make(3, {{5, 1, 2}, {3, 0, 1}, {4, 7, 1}});
    int c0[] = {0}, r2[] = {2};
    EXPECT_EQ(m.minor(1, c0, r2), k(4));
    // A zero top-left entry: the rows are swapped and the sign kept right.
    matrix z = make(2, {{0, 1}, {1, 0}});
    int c[] = {0, 1}, r[] = {0, 1};
    EXPECT_EQ(z.minor(2, c, r), k(-1));
    EXPECT_EQ(r[0], 0);  // the caller's arrays are left alone
    matrix z3 = make(3, {{0, 2, 1}, {1, 0, 0}, {0, 3, 1}});
    int c3[] = {0, 1, 2}, r3[] = {0, 1, 2};
    EXPECT_EQ(z3.minor(3, c3, r3), k(1));  // -1 * (2 * 1 - 1 * 3)
    // A zero pivot further down, found through the running sums.
    matrix p = make(3, {{1, 2, 3}, {2, 4, 5}, {1, 1, 1}});
    EXPECT_EQ(p.minor(3, c3, r3), k(-1));
    // Two equal rows.
    matrix e = make(3, {{1, 2, 3}, {1, 2, 3}, {4, 0, 1}});
    EXPECT_EQ(e.minor(3, c3, r3), K(0));
    // Permuted index lists pick the submatrix entry by entry.
    int cs[] = {2, 0}, rs[] = {1, 2};
    EXPECT_EQ(m.minor(2, cs, rs), k(1 * 4 - 3 * 1));
}

TEST_F(MatrixTest, MinorAgreesWithCofactorExpansion)
{
    xorshift64_high rng(2024);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + rng.below(4);
        matrix m = random_matrix(rng, 5, 5);
        std::vector<int> cc = identity(5), rr = identity(5);
        for (int i = 4; i > 0; --i) {
            std::swap(cc[i], cc[rng.below(i + 1)]);
            std::swap(rr[i], rr[rng.below(i + 1)]);
        }
        cc.resize(n);
        rr.resize(n);
        ASSERT_EQ(m.minor(n, cc.data(), rr.data()), cofactor_det(m, cc, rr)) << "round " << round;
    }
}

TEST_F(MatrixTest, SolveOneRow)
{
    matrix m = make(3, {{1, 2, 3}});
    std::vector<int> c = identity(3), r = identity(1);
    ASSERT_EQ(m.solve(c.data(), r.data()), 2);
    EXPECT_EQ(c, (std::vector<int>{0, 1, 2}));
    auto basis = kernel_vectors(m, c, r, 2);
    EXPECT_EQ(basis[0], (std::vector<K>{k(-2), k(1), k(0)}));
    EXPECT_EQ(basis[1], (std::vector<K>{k(-3), k(0), k(1)}));
}

TEST_F(MatrixTest, SolveExtremes)
{
    matrix full = make(3, {{0, 2, 1}, {1, 0, 0}, {0, 3, 1}});
    std::vector<int> c = identity(3), r = identity(3);
    EXPECT_EQ(full.solve(c.data(), r.data()), 0);
    matrix zero(4, 3);
    c = identity(4);
    EXPECT_EQ(zero.solve(c.data(), r.data()), 4);
    // A zero first column moves to the back and is free.
    matrix m = make(3, {{0, 1, 2}, {0, 2, 5}});
    c = identity(3);
    r = identity(2);
    ASSERT_EQ(m.solve(c.data(), r.data()), 1);
    EXPECT_EQ(c[2], 0);
    auto basis = kernel_vectors(m, c, r, 1);
    EXPECT_EQ(basis[0], (std::vector<K>{k(1), k(0), k(0)}));
}

TEST_F(MatrixTest, SolveKernelIsTheKernel)
{
    xorshift64_high rng(77);
    for (int round = 0; round < 200; ++round) {
        const int cols = 1 + rng.below(5), rows = 1 + rng.below(4);
        matrix m = random_matrix(rng, cols, rows);
        matrix orig(m);
        std::vector<int> c = identity(cols), r = identity(rows);
        const int d = m.solve(c.data(), r.data());
        const int rank = rank_by_minors(orig);
        ASSERT_EQ(rank + d, cols) << "round " << round;
        std::vector<int> cs = c, rs = r;
        std::sort(cs.begin(), cs.end());
        std::sort(rs.begin(), rs.end());
        ASSERT_EQ(cs, identity(cols));
        ASSERT_EQ(rs, identity(rows));
        if (d == 0) continue;
        for (const auto& x : kernel_vectors(m, c, r, d)) {
            for (int i = 0; i < rows; ++i) {
                K s(0);
                for (int j = 0; j < cols; ++j) s += orig.a[i][j] * x[j];
                ASSERT_EQ(s, K(0)) << "round " << round << " row " << i;
            }
        }
    }
}

TEST_F(MatrixTest, DisplayCentresColumns)
{
    matrix m = make(2, {{1, 10}, {-12, 2}});
    std::ostringstream s;
    s << m;
    EXPECT_EQ(s.str(), "[  1   10 ]\n[         ]\n[ -12   2 ]\n");
    matrix one = make(1, {{-3}});
    std::ostringstream t;
    t << one;
    EXPECT_EQ(t.str(), "[ -3 ]\n");
}

TEST_F(MatrixTest, CopyAndInit)
{
    matrix m = make(2, {{1, 2}, {3, 4}});
    matrix c(m);
    m.init();
    EXPECT_EQ(m.a[1][1], K(0));
    EXPECT_EQ(c.a[1][1], k(4));
    m = c;
    EXPECT_EQ(m.a[0][1], k(2));
}

}  // namespace
