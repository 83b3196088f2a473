// The Buchberger-Moeller computation, the separators and the Hilbert data,
// checked against their defining properties on random point sets.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/invariants.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "interpreter/random_points.h"
#include "unit/bumo_checks.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

// Dimension 2 and deg-rev-lex unless a test says otherwise; progress reports
// and separator lines stay out of the test output.
class BuMoTest : public quiet_test {
protected:
    void SetUp() override { use(2, 1); }
};

bool same(const polynomial& f, const polynomial& g)
{
    return f == g;
}

// Two runs agree in every result.
void expect_same_results(const scheme& X, const scheme& Y)
{
    ASSERT_EQ(X.s, Y.s);
    for (int i = 0; i < X.s; ++i) {
        EXPECT_TRUE(X.O[i] == Y.O[i]);
        EXPECT_EQ(X.pi[i], Y.pi[i]);
        EXPECT_TRUE(same(X.q[i], Y.q[i])) << i;
        for (int p = 0; p < X.s; ++p) EXPECT_TRUE(X.ev_q->a[i][p] == Y.ev_q->a[i][p]);
    }
    ASSERT_EQ(X.no_of_border, Y.no_of_border);
    for (int b = 0; b < X.no_of_border; ++b) EXPECT_TRUE(X.B[b] == Y.B[b]);
    ASSERT_EQ(X.Ix->no_of_gens, Y.Ix->no_of_gens);
    for (int g = 0; g < X.Ix->no_of_gens; ++g) EXPECT_TRUE(same(X.Ix->gen[g], Y.Ix->gen[g])) << g;
}

struct Case {
    int n, ordering, s, low, high;
};

TEST_F(BuMoTest, RandomPointSetsSatisfyTheDefiningProperties)
{
    const Case cases[] = {{2, 1, 12, 0, 9}, {2, 0, 12, 0, 9}, {3, 1, 25, 0, 6},
                          {3, 0, 25, 0, 6}, {4, 1, 30, 0, 3}, {4, 0, 30, 0, 3}};
    uint32_t seed = 7;
    for (const Case& c : cases) {
        use(c.n, c.ordering);
        SCOPED_TRACE("ordering " + std::to_string(c.ordering));
        auto X = make_scheme(lagged_points(c.s, c.low, c.high, ++seed));
        bu_mo(*X);
        need_groebner(*X);
        check_bu_mo(*X);
        auto Y = make_scheme(lagged_points(c.s, c.low, c.high, seed));
        bu_mo(*Y, dense_path::exact);
        expect_same_results(*X, *Y);
        sep(*X);
        EXPECT_EQ(X->sep, 1);
        EXPECT_EQ(X->q, nullptr);
        check_hilbert_and_separators(*X);
        sep(*Y, dense_path::exact);
        for (int i = 0; i < X->s; ++i) EXPECT_TRUE(same(X->separator->gen[i], Y->separator->gen[i]));
    }
}

TEST_F(BuMoTest, PointsOnALineAndInSpecialPosition)
{
    // Points on a line, including a grid with repeated coordinates: the
    // triangular system meets zero factors.
    use(3, 1);
    std::vector<std::vector<int>> line;
    for (int i = 0; i < 6; ++i) line.push_back({i, 2 * i, 0});
    auto X = make_scheme(line);
    bu_mo(*X);
    need_groebner(*X);
    check_bu_mo(*X);
    EXPECT_EQ(X->sigma, 4);
    EXPECT_EQ(X->delta, 1);
    EXPECT_EQ(X->alpha, 1);
    for (int d = 0; d < 6; ++d) EXPECT_EQ(X->delta_fct[d], 1);
    sep(*X);
    check_hilbert_and_separators(*X);
    EXPECT_EQ(X->is_CB, 1);
    EXPECT_EQ(X->is_ar_Go, 1);  // a complete intersection

    std::vector<std::vector<int>> grid;
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            for (int c = 0; c < 2; ++c) grid.push_back({a, b, c});
    for (int ordering = 0; ordering < 2; ++ordering) {
        use(3, ordering);
        X = make_scheme(grid);
        bu_mo(*X);
        need_groebner(*X);
        check_bu_mo(*X);
        sep(*X);
        check_hilbert_and_separators(*X);
        EXPECT_EQ(X->is_CB, 1);
        EXPECT_EQ(X->is_ar_Go, 1);  // a complete intersection of type (3, 3, 2)
    }
}

TEST_F(BuMoTest, SinglePointAndThreePlanePoints)
{
    use(3, 1);
    auto X = make_scheme({{2, 3, 5}});
    bu_mo(*X);
    need_groebner(*X);
    check_bu_mo(*X);
    EXPECT_EQ(X->sigma, -1);
    EXPECT_EQ(X->delta, 1);
    EXPECT_EQ(X->alpha, 1);
    EXPECT_EQ(X->hilb_fct[0], 1);
    ASSERT_EQ(X->Ix->no_of_gens, 3);
    ASSERT_EQ(X->no_of_border, 3);
    // x_k - c_k in increasing order of the variable: Z - 5, Y - 3, X - 2.
    const int values[] = {5, 3, 2};
    for (int g = 0; g < 3; ++g) {
        const polynomial& f = X->Ix->gen[g];
        ASSERT_EQ(f.no_of_monoms, 2);
        EXPECT_EQ(f.term[0].exp[2 - g], 1);
        EXPECT_TRUE(f.coef[1] == k(-values[g]));
    }
    sep(*X);
    EXPECT_EQ(X->is_CB, 1);
    EXPECT_EQ(X->is_ar_Go, 1);

    use(2, 1);
    X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    bu_mo(*X);
    need_groebner(*X);
    check_bu_mo(*X);
    // O = {1, v, u} with u the first variable; three quadrics.
    EXPECT_EQ(X->O[1].exp[1], 1);
    EXPECT_EQ(X->O[2].exp[0], 1);
    EXPECT_EQ(X->Ix->no_of_gens, 3);
    EXPECT_EQ(X->alpha, 2);
    EXPECT_EQ(X->sigma, 0);
    EXPECT_EQ(X->delta, 2);
    sep(*X);
    EXPECT_EQ(X->is_CB, 1);
    EXPECT_EQ(X->is_ar_Go, 0);
}

TEST_F(BuMoTest, ThreeCollinearOfFourAreNotCayleyBacharach)
{
    use(2, 1);
    auto X = make_scheme({{0, 0}, {1, 0}, {2, 0}, {0, 1}});
    std::ostringstream text;
    is_CB(text, *X);
    is_ar_Go(text, *X);
    EXPECT_EQ(X->is_CB, 0);
    EXPECT_EQ(X->is_ar_Go, 0);
    need_groebner(*X);
    check_hilbert_and_separators(*X);
    std::string s = text.str();
    EXPECT_NE(s.find("scheme has NOT Cayley-Bacharach property\n"), std::string::npos);
    EXPECT_NE(s.find("scheme is NOT arithmetically Gorenstein\n"), std::string::npos);
}

TEST_F(BuMoTest, RepeatedRunAfterSeparatorsRebuildsTheTriangularSystem)
{
    use(3, 1);
    auto X = make_scheme(lagged_points(20, 0, 5, 99));
    bu_mo(*X);
    need_groebner(*X);
    auto Y = make_scheme(lagged_points(20, 0, 5, 99));
    bu_mo(*Y);
    need_groebner(*Y);
    sep(*X);
    ASSERT_EQ(X->q, nullptr);
    bu_mo(*X);
    need_groebner(*X);
    EXPECT_EQ(X->sep, 0);
    ASSERT_NE(X->q, nullptr);
    expect_same_results(*X, *Y);
    sep(*X);
    check_hilbert_and_separators(*X);
}

TEST_F(BuMoTest, RepeatedPointsStillEndTheLoop)
{
    use(2, 1);
    auto X = make_scheme({{1, 2}, {3, 4}, {1, 2}});
    bu_mo(*X);
    need_groebner(*X);
    // Two distinct points: O fills two places, the third stays 1.
    EXPECT_EQ(X->O[1].tot_deg(), 1);
    EXPECT_EQ(X->O[2].tot_deg(), 0);
    for (int g = 0; g < X->Ix->no_of_gens; ++g)
        for (int p = 0; p < 3; ++p) EXPECT_TRUE(value_at(X->Ix->gen[g], *X, p) == 0);
}

TEST_F(BuMoTest, ProgressReportsAndSeparatorLines)
{
    use(2, 1);
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    verbose = 1;
    bu_mo(*X);
    need_groebner(*X);
    sep(*X);
    verbose = 0;
    bu_mo(*X);
    need_groebner(*X);
    EXPECT_EQ(err.str(),
              "calculating triangular sequence ...\n[3][2][1]\n"
              "calculating biorthogonal sequence ...\n[3][2][1]\n");
    EXPECT_EQ(out.str(), std::string(Line) + Line + Line);
}

TEST_F(BuMoTest, DisplaysPrintTheStoredResults)
{
    use(2, 1);
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    std::ostringstream text;
    alpha_X(text, *X);
    sigma_X(text, *X);
    delta_X(text, *X);
    hilb_fct(text, *X);
    delta_fct(text, *X);
    const std::string line(Line);
    EXPECT_EQ(text.str(), "alpha = 2\n" + line + "sigma = 0\n" + line + "delta = 2\n" + line + "H(n) = 1 3 \n" +
                              line + "delta H(n) = 1 2 \n" + line);
    // The computation itself printed one separator line, on standard output.
    EXPECT_EQ(out.str(), line);
}

TEST(RepeatFinder, NamesTheFirstEqualPairLikeAFullScan)
{
    lagged_fibonacci gen(5);
    std::vector<repeat_finder::point> pts(40, repeat_finder::point(2));
    for (auto& p : pts)
        for (int& x : p) x = gen.uniform(0, 4);
    repeat_finder repeats(pts);
    int steps = 0, i, k2;
    while (repeats.first_pair(i, k2)) {
        int bi = -1, bk = -1;
        for (int a = 0; a < 40 && bi < 0; ++a)
            for (int b = a + 1; b < 40; ++b)
                if (pts[a] == pts[b]) {
                    bi = a;
                    bk = b;
                    break;
                }
        ASSERT_EQ(i, bi);
        ASSERT_EQ(k2, bk);
        for (int& x : pts[k2]) x = gen.uniform(0, 9);
        repeats.replace(k2, pts[k2]);
        ++steps;
    }
    EXPECT_GT(steps, 5);
    for (int a = 0; a < 40; ++a)
        for (int b = a + 1; b < 40; ++b) EXPECT_NE(pts[a], pts[b]);
}

TEST(LaggedFibonacci, IsSeededDeterministicAndStaysInRange)
{
    lagged_fibonacci a(1234), b(1234), c(1235);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        uint32_t x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
    int counts[7] = {};
    for (int i = 0; i < 7000; ++i) {
        int v = a.uniform(-3, 3);
        ASSERT_TRUE(v >= -3 && v <= 3);
        ++counts[v + 3];
    }
    for (int n : counts) EXPECT_TRUE(n > 800 && n < 1200) << n;
    EXPECT_EQ(a.uniform(5, 5), 5);
    int lo = a.uniform(-2147483647 - 1, 2147483647);
    (void)lo;
}

}  // namespace
