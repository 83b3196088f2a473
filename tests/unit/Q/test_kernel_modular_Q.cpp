// The reduced echelon form from primes must be the one exact elimination
// leaves: the same kernel dimension, column order and entries, for ranks of
// every kind, entries that need many primes, and primes that make a pivot
// column vanish.
#include <vector>

#include <gtest/gtest.h>
#include <gmpxx.h>

#include "engine/bumo_modular.h"
#include "engine/kernel_modular.h"
#include "engine/matrix.h"
#include "interpreter/random_points.h"

namespace {

using rows_t = std::vector<std::vector<mpq_class>>;

matrix make(const rows_t& rows)
{
    matrix m(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int i = 0; i < m.rows; ++i)
        for (int j = 0; j < m.cols; ++j) m.a[i][j] = Rational(rows[i][j]);
    return m;
}

void expect_as_solve(const rows_t& rows)
{
    const matrix m = make(rows);
    matrix exact(m);
    std::vector<int> c(m.cols), r(m.rows), cm(m.cols);
    for (int j = 0; j < m.cols; ++j) c[j] = cm[j] = j;
    for (int i = 0; i < m.rows; ++i) r[i] = i;
    const int e = exact.solve(c.data(), r.data());
    std::vector<std::vector<K>> free;
    ASSERT_EQ(solve_modular(m, cm.data(), free), e);
    if (e == 0) return;  // solve leaves no reduced form then
    EXPECT_EQ(cm, c);
    const int q = m.cols - e;
    ASSERT_EQ(free.size(), size_t(e));
    for (int k = q; k < m.cols; ++k)
        for (int l = 0; l < q; ++l) EXPECT_EQ(free[k - q][l], exact.a[r[l]][c[k]]) << k << " " << l;
}

// rows x cols with entries n / d, n of about bits bits; the columns listed
// in copies are combinations of the two before them.
rows_t random_rows(int rows, int cols, int bits, std::vector<int> copies, uint32_t seed)
{
    lagged_fibonacci gen(seed);
    rows_t a(rows, std::vector<mpq_class>(cols));
    for (auto& row : a)
        for (auto& x : row) {
            mpz_class n = 0;
            for (int b = 0; b < bits; b += 20) n = n * (1 << 20) + gen.uniform(0, (1 << 20) - 1);
            x = mpq_class(n - gen.uniform(0, 1000), gen.uniform(1, 50));
            x.canonicalize();
        }
    for (int j : copies)
        for (auto& row : a) row[j] = row[j - 1] * 3 - row[j - 2] / 7;
    return a;
}

TEST(KernelModular, AgreesWithExactEliminationOnEveryShape)
{
    expect_as_solve(random_rows(4, 7, 20, {}, 1));          // wide: rank 4
    expect_as_solve(random_rows(9, 6, 20, {}, 2));          // tall, full column rank
    expect_as_solve(random_rows(9, 6, 20, {3, 5}, 3));      // tall, two dependent columns
    expect_as_solve(random_rows(6, 10, 400, {2, 6, 9}, 4)); // large entries: many primes
    expect_as_solve(random_rows(1, 1, 20, {}, 5));
    expect_as_solve({{0, 0, 0}, {0, 0, 0}});                // every column free
    expect_as_solve({{0, 1, 2}, {0, 2, 4}, {0, 3, 7}});     // a zero column first
}

TEST(KernelModular, PrimesThatLosePivotsAreOutvoted)
{
    const std::vector<uint32_t>& primes = modular_primes();
    const mpq_class p0(primes[0]), p1(primes[1]);
    // Column 0 vanishes modulo p0, the second pivot modulo p1: those runs
    // move columns that are pivots over Q.
    expect_as_solve({{p0, 1, 2, 5}, {0, p1, 3, 1}, {2 * p0, 2 + p1, 7, 11}});
    expect_as_solve({{p0 * p1, 1, 1}, {0, 1, 1}, {p0, 2, 2}});
}

}  // namespace
