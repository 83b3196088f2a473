// Beta matrix, uniformity tests, linear general position and the subset
// enumeration they share.
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/beta.h"
#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/monom.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "engine/uniformity.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

// The plane under deg-rev-lex, with a short separator line.
class BetaTest : public engine_test {
protected:
    void SetUp() override
    {
        std::strcpy(Line, "--\n");
        use(2, 1);
    }
};

// --- subset enumeration ---

TEST(Subset, VisitsEveryMSubsetOnceInColexOrder)
{
    for (int n = 1; n <= 7; ++n)
        for (int m = 1; m <= n; ++m) {
            subset S(m, n);
            std::vector<std::vector<int>> seen;
            bool more = true;
            while (more) {
                std::vector<int> cur(S.idx(), S.idx() + m);
                for (int i = 1; i < m; ++i) ASSERT_LT(cur[i - 1], cur[i]);
                ASSERT_LT(cur[m - 1], n);
                if (!seen.empty()) {
                    // Co-lexicographic: compare from the last index down.
                    const auto& prev = seen.back();
                    int i = m - 1;
                    while (prev[i] == cur[i]) --i;
                    ASSERT_LT(prev[i], cur[i]);
                }
                seen.push_back(cur);
                std::vector<int> before = cur;
                more = S.next();
                if (more) EXPECT_EQ(S.last_moved(), S[m - 1] != before[m - 1]);
                else EXPECT_TRUE(S.last_moved());
            }
            long binom = 1;
            for (int i = 0; i < m; ++i) binom = binom * (n - i) / (i + 1);
            EXPECT_EQ(static_cast<long>(seen.size()), binom) << m << " of " << n;
        }
}

TEST(Subset, StartsWithTheFirstIndicesAndKeepsTheSentinel)
{
    subset S(3, 5);
    EXPECT_EQ(S[0], 0);
    EXPECT_EQ(S[1], 1);
    EXPECT_EQ(S[2], 2);
    EXPECT_EQ(S[3], 5);
    ASSERT_TRUE(S.next());
    EXPECT_EQ(S[2], 3);  // {0,1,3}: the first two could not grow
    EXPECT_TRUE(S.last_moved());
    ASSERT_TRUE(S.next());  // {0,2,3}
    EXPECT_EQ(S[1], 2);
    EXPECT_FALSE(S.last_moved());
}

// --- beta matrix ---

// Lf(separator j) = sum_k beta[j][k] Lf(separator basis[k]) for every point
// of the top degree, a zero row for the others; the chosen rows are the unit
// vectors.
void check_beta(scheme& X)
{
    const int delta = X.delta;
    const int top = X.sigma + 1;
    ASSERT_NE(X.beta_matrix, nullptr);
    ASSERT_EQ(X.beta_matrix->cols, delta);
    ASSERT_EQ(X.beta_matrix->rows, X.s);
    const matrix& beta = *X.beta_matrix;
    std::set<int> chosen(X.basis, X.basis + delta);
    EXPECT_EQ(static_cast<int>(chosen.size()), delta);
    for (int b = 0; b < delta; ++b) {
        const int j = X.basis[b];
        ASSERT_GE(j, 0);
        ASSERT_LT(j, X.s);
        EXPECT_EQ(Lf(X.separator->gen[j]).term[0].tot_deg(), top);
        for (int k = 0; k < delta; ++k) EXPECT_TRUE(beta.a[j][k] == (k == b ? 1 : 0)) << j << "," << k;
    }
    for (int j = 0; j < X.s; ++j) {
        polynomial lf = Lf(X.separator->gen[j]);
        polynomial combination(0);
        for (int k = 0; k < delta; ++k)
            combination += Lf(X.separator->gen[X.basis[k]]) * beta.a[j][k];
        if (lf.term[0].tot_deg() == top) EXPECT_TRUE(combination == lf) << "point " << j;
        else EXPECT_EQ(sign(combination), 0) << "point " << j;
    }
}

TEST_F(BetaTest, ThreePlanePoints)
{
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    printed([&] { beta_matrix(*X); });
    ASSERT_EQ(X->delta, 2);
    check_beta(*X);
    // Lf of the separators: -X-Y, X, Y; X is the larger monomial.
    EXPECT_EQ(X->basis[0], 0);
    EXPECT_EQ(X->basis[1], 1);
    // Y = -(-X-Y) - X: the third row is (-1, -1).
    EXPECT_TRUE(X->beta_matrix->a[2][0] == -K(1));
    EXPECT_TRUE(X->beta_matrix->a[2][1] == -K(1));
}

TEST_F(BetaTest, LowerDegreeSeparatorHasZeroRow)
{
    // Three collinear points and one off the line: the last separator is
    // linear, the others quadratic; delta = 1.
    auto X = make_scheme({{0, 0}, {1, 0}, {2, 0}, {0, 1}});
    printed([&] { beta_matrix(*X); });
    ASSERT_EQ(X->delta, 1);
    check_beta(*X);
    EXPECT_TRUE(X->beta_matrix->a[3][0] == 0);
    EXPECT_EQ(X->basis[0], 0);
}

TEST_F(BetaTest, RandomPointSetsBothOrderings)
{
    xorshift32 g(2463534242u);
    for (int ordering = 0; ordering <= 1; ++ordering) {
        use_ordering(ordering);
        for (int n = 2; n <= 3; ++n) {
            set_dim(n);
            for (int trial = 0; trial < 12; ++trial) {
                int s = 1 + g.below(11);
                auto X = make_scheme(distinct_points(s, [&] { return g.below(4); }));
                printed([&] { beta_matrix(*X); });
                SCOPED_TRACE("ordering " + std::to_string(ordering) + " dim " + std::to_string(n) +
                             " points " + std::to_string(s));
                check_beta(*X);
            }
        }
    }
}

TEST_F(BetaTest, DisplayListsTheChosenSeparators)
{
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    std::string out = printed([&] { disp_beta_matrix(*X); });
    const std::string head = "the beta_matrix with respect to the following separators :\nf1, f2, \n";
    ASSERT_NE(out.find(head), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - 3), "--\n");
    // A second display reuses the matrix: no Buchberger-Moeller separator lines.
    std::string again = printed([&] { disp_beta_matrix(*X); });
    EXPECT_EQ(again.substr(0, head.size()), head);
}

// --- uniformity ---

TEST_F(BetaTest, DeltaOneFollowsCayleyBacharach)
{
    auto CB = make_scheme({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    std::string out = printed([&] { is_delta_uf(*CB); });
    EXPECT_NE(out.find("scheme has Cayley-Bacharach property\nsince delta = 1, scheme has also "
                       "delta uniform property\nand is even 2-uniform\n--\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(CB->beta_matrix, nullptr);

    auto not_CB = make_scheme({{0, 0}, {1, 0}, {2, 0}, {0, 1}});
    out = printed([&] { is_delta_uf(*not_CB); });
    EXPECT_NE(out.find("scheme has NOT Cayley-Bacharach property\nhence it cannot have delta "
                       "uniform property\n--\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(not_CB->beta_matrix, nullptr);
}

TEST_F(BetaTest, UniformThreePoints)
{
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    std::string out = printed([&] { is_delta_uf(*X); });
    EXPECT_EQ(out.substr(out.size() - 37), "scheme has delta uniform property\n--\n") << out;
    EXPECT_EQ(printed([&] { is_n_uf(*X, 1); }), "\nscheme has 1-uniform property\n--\n");
    // n = delta runs the delta test itself.
    EXPECT_EQ(printed([&] { is_n_uf(*X, 2); }), printed([&] { is_delta_uf(*X); }));
}

TEST_F(BetaTest, RefusedN)
{
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    const std::string refusal = "n-unifomity only defined for n > 0 !!!\n--\n";
    EXPECT_EQ(printed([&] { is_n_uf(*X, 0); }), refusal);
    EXPECT_EQ(printed([&] { is_n_uf(*X, -3); }), refusal);
    EXPECT_EQ(X->delta, 0);  // nothing computed
    std::string out = printed([&] { is_n_uf(*X, 3); });
    EXPECT_EQ(out.substr(out.size() - 70),
              "sorry, but checking n-unifomity for n > delta is not supported yet\n--\n");
    EXPECT_EQ(X->beta_matrix, nullptr);
}

TEST_F(BetaTest, DependentSeparatorsAreReported)
{
    // Two separators with proportional leading forms: the rows of points 4
    // and 5 of the beta matrix are dependent.
    auto X = make_scheme({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}});
    std::string out = printed([&] { is_delta_uf(*X); });
    ASSERT_EQ(X->delta, 2);
    EXPECT_NE(out.find("\nlinear dependence between f"), std::string::npos) << out;
    EXPECT_NE(out.find(", \ntherefore scheme has NOT delta uniform property\n--\n"), std::string::npos)
        << out;
    out = printed([&] { is_n_uf(*X, 1); });
    EXPECT_EQ(out.substr(out.size() - 34), "\nscheme has 1-uniform property\n--\n") << out;
}

// --- linear general position ---

std::string verdict(bool general)
{
    return general ? "scheme is in linearly general position\n--\n"
                   : "scheme is not in linearly general position\n--\n";
}

TEST_F(BetaTest, LinGenPosAtMostNPlusOnePoints)
{
    auto three = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    EXPECT_EQ(printed([&] { lingenpos(*three); }), verdict(true));
    auto collinear = make_scheme({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(printed([&] { lingenpos(*collinear); }), verdict(false));
    auto two = make_scheme({{3, 4}, {1, 2}});
    EXPECT_EQ(printed([&] { lingenpos(*two); }), verdict(true));
    // A single point is always in general position.
    auto one = make_scheme({{0, 0}});
    EXPECT_EQ(printed([&] { lingenpos(*one); }), verdict(true));
    EXPECT_EQ(one->delta, 0);  // the points alone decide
}

TEST_F(BetaTest, LinGenPosMorePointsNeedsEveryMinor)
{
    auto general = make_scheme({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    EXPECT_EQ(printed([&] { lingenpos(*general); }), verdict(true));
    auto first_collinear = make_scheme({{0, 0}, {1, 0}, {2, 0}, {0, 1}});
    EXPECT_EQ(printed([&] { lingenpos(*first_collinear); }), verdict(false));
    // The first triple is independent, the last one collinear: a single
    // vanishing minor decides.
    auto last_collinear = make_scheme({{0, 1}, {0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(printed([&] { lingenpos(*last_collinear); }), verdict(false));
    set_dim(3);
    auto space = make_scheme({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}});
    EXPECT_EQ(printed([&] { lingenpos(*space); }), verdict(true));
    auto coplanar = make_scheme({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}});
    EXPECT_EQ(printed([&] { lingenpos(*coplanar); }), verdict(false));
}

}  // namespace
