// The relation matrix over Q keeps its rows as integers up to a factor; the
// choices of its elimination must be those of matrix::solve on the same rows,
// written and eliminated one at a time as omega does: the rank after every
// row, the column order and the row order.
#include <vector>

#include <gtest/gtest.h>
#include <gmpxx.h>

#include "engine/matrix.h"
#include "engine/relation_matrix.h"
#include "unit/test_support.h"

namespace {

using test_support::xorshift64;
using row_t = std::vector<mpq_class>;

// A value with up to bits bits in numerator and denominator, often 0 or 1.
mpq_class draw_value(xorshift64& g, int bits)
{
    switch (g.below(6)) {
    case 0:
    case 1: return 0;
    case 2: return g.below(2) ? 1 : -1;
    default: break;
    }
    mpz_class num = 0, den = 0;
    for (int b = 0; b < bits; b += 30) num = (num << 30) + g.below(1 << 30);
    for (int b = 0; b < bits / 2; b += 30) den = (den << 30) + g.below(1 << 30);
    mpq_class x(g.below(2) ? num : mpz_class(-num), den + 1);
    x.canonicalize();
    return x;
}

// Rows written one at a time into row r[g], each followed by solve; some
// rows combine earlier ones (so the rank stays), some have one entry.
void expect_choices_of_solve(xorshift64& g, int n, int bits)
{
    matrix exact(n, n);
    relation_matrix T(n);
    std::vector<int> c1(n), r1(n), c2(n), r2(n);
    for (int i = 0; i < n; ++i) c1[i] = r1[i] = c2[i] = r2[i] = i;
    std::vector<row_t> written;
    int rank = 0;
    for (int step = 0; step < 2 * n && rank < n; ++step) {
        row_t row(static_cast<size_t>(n), 0);
        const int kind = g.below(4);
        if (kind == 0 && written.size() >= 2) {
            const row_t& a = written[g.below(static_cast<int>(written.size()))];
            const row_t& b = written[g.below(static_cast<int>(written.size()))];
            const mpq_class fa = draw_value(g, bits), fb = draw_value(g, bits);
            for (int j = 0; j < n; ++j) row[j] = fa * a[j] + fb * b[j];
        } else if (kind == 1) {
            row[g.below(n)] = draw_value(g, bits);
        } else {
            for (int j = 0; j < n; ++j) row[j] = draw_value(g, bits);
        }
        written.push_back(row);
        for (int j = 0; j < n; ++j) {
            if (row[j] == 0) continue;
            exact.a[r1[rank]][j] -= Rational(-row[j]);
            T.at(r2[rank], j) -= Rational(-row[j]);
        }
        const int d1 = exact.solve(c1.data(), r1.data());
        const int d2 = T.solve(c2.data(), r2.data());
        ASSERT_EQ(d2, d1) << "step " << step;
        ASSERT_EQ(c2, c1) << "step " << step;
        ASSERT_EQ(r2, r1) << "step " << step;
        rank = n - d1;
    }
}

TEST(RelationMatrixQ, ChoicesAreThoseOfSolveRowByRow)
{
    xorshift64 g;
    for (int n : {1, 2, 3, 5, 8, 13})
        for (int bits : {4, 90, 400})
            for (int round = 0; round < 4; ++round) {
                SCOPED_TRACE("n = " + std::to_string(n) + ", bits = " + std::to_string(bits));
                expect_choices_of_solve(g, n, bits);
            }
}

}  // namespace
