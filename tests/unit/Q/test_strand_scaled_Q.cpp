// The strand steps over Q reduce with integer numerators over a common
// denominator.  On points with fractional coordinates (generators with many
// different denominators, numerators rescaled and their content removed
// again and again), every row a step returns must be a syzygy of the rows
// it was computed from, every irreducible S-vector (a "." mark) must leave
// a zero row, and the interreduced rows must be monic at their pivots and
// still be syzygies.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/linid.h"
#include "engine/min_gens.h"
#include "engine/strand_rows.h"
#include "unit/Q/modular_fixture.h"

namespace {

class StrandScaledTest : public ModularFixture {};

// sum_k row[k] * target[k] for rows of forms (dim raised).
polynomial apply(const std::vector<polynomial>& row, const std::vector<std::vector<polynomial>>& target, int col)
{
    polynomial sum;
    for (size_t k = 0; k < row.size(); ++k)
        if (sign(row[k]) != 0) sum += row[k] * target[k][col];
    return sum;
}

int marks(const std::string& s)
{
    int n = 0;
    for (char c : s) n += c == '.';
    return n;
}

// Two steps of the strand of I_X from the generators of degree alpha,
// checked as above.
void check_two_steps(scheme& X, std::ostringstream& out)
{
    min_Ix(X);
    raised_dim raised;
    const ideal& M = *X.min_Ix;
    std::vector<std::vector<polynomial>> rows;
    for (int i = 0; i < M.no_of_gens && M.gen[i].term[0].tot_deg() == M.gen[0].term[0].tot_deg(); ++i)
        rows.push_back({M.gen[i]});
    strand_rows A;
    ASSERT_TRUE(to_strand_rows(rows, 1, A));
    std::vector<int> Lt(rows.size(), 0);
    bool generators = true;
    for (int step = 0; step < 2; ++step) {
        const long long number = strand_pairs(A, Lt, generators);
        out.str("");
        strand_rows B;
        ASSERT_TRUE(strand_syzygies(A, Lt, number, generators, B));
        ASSERT_EQ(B.rows(), number);
        int zero_rows = 0;
        std::vector<std::vector<polynomial>> syz;
        for (int r = 0; r < B.rows(); ++r) {
            if (B.zero_row(r)) {
                ++zero_rows;
                continue;
            }
            syz.push_back(row_polynomials(B, r));
            for (int col = 0; col < static_cast<int>(rows[0].size()); ++col)
                EXPECT_EQ(sign(apply(syz.back(), rows, col)), 0) << "step " << step << ", row " << r;
        }
        EXPECT_GE(zero_rows, marks(out.str()));
        if (syz.empty()) return;
        interreduce(B, Lt);
        std::vector<std::vector<polynomial>> next;
        for (int r = 0; r < B.rows(); ++r) {
            next.push_back(row_polynomials(B, r));
            if (Lt[r] < 0) continue;
            EXPECT_TRUE(next.back()[Lt[r]].coef[0] == 1);
            for (int col = 0; col < static_cast<int>(rows[0].size()); ++col)
                EXPECT_EQ(sign(apply(next.back(), rows, col)), 0);
        }
        EXPECT_LE(strand_count(Lt), static_cast<int>(syz.size()));
        rows = next;
        A = B;
        generators = false;
    }
}

TEST_F(StrandScaledTest, RowsAreSyzygiesOverFractionalPoints)
{
    lagged_fibonacci gen(4711);
    for (int n : {2, 3}) {
        use(n);
        for (int s : {6, 9, 14, 20, 28}) {
            points pts(s, std::vector<mpq_class>(n));
            for (auto& p : pts)
                for (auto& x : p) {
                    x = mpq_class(gen.uniform(-40, 40), gen.uniform(1, 12));
                    x.canonicalize();
                }
            std::unique_ptr<scheme> X(make_scheme(pts));
            SCOPED_TRACE("n = " + std::to_string(n) + ", s = " + std::to_string(s));
            check_two_steps(*X, out);
        }
    }
}

}  // namespace
