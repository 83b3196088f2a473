// Over Q the Buchberger-Moeller results and the separators are computed
// modulo many primes and lifted; they must agree with exact arithmetic, also
// when some primes are unusable for the points.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/bumo_modular.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "fields/field.h"
#include "interpreter/random_points.h"
#include "interpreter/scheme.h"

namespace {

class ModularTest : public ::testing::Test {
protected:
    int saved_dim = dim, saved_proj = proj, saved_verbose = verbose;
    std::ostringstream out;
    std::streambuf* saved_out = nullptr;

    void SetUp() override
    {
        verbose = 0;
        saved_out = std::cout.rdbuf(out.rdbuf());
    }
    void TearDown() override
    {
        std::cout.rdbuf(saved_out);
        dim = saved_dim;
        proj = saved_proj;
        verbose = saved_verbose;
    }
    static void use(int n)
    {
        dim = n;
        proj = n + 1;
    }
};

scheme* make_scheme(const std::vector<std::vector<mpq_class>>& pts)
{
    scheme* X = new scheme(static_cast<int>(pts.size()));
    for (size_t i = 0; i < pts.size(); ++i)
        for (int j = 0; j < dim; ++j) X->P->a[i][j] = Rational(pts[i][j]);
    return X;
}

std::vector<std::vector<mpq_class>> random_points(int s, int low, int high, uint32_t seed)
{
    lagged_fibonacci gen(seed);
    std::vector<repeat_finder::point> pts(s, repeat_finder::point(dim));
    for (auto& p : pts)
        for (int& x : p) x = gen.uniform(low, high);
    repeat_finder repeats(pts);
    int i, k;
    while (repeats.first_pair(i, k)) {
        for (int& x : pts[k]) x = gen.uniform(low, high);
        repeats.replace(k, pts[k]);
    }
    std::vector<std::vector<mpq_class>> q(s, std::vector<mpq_class>(dim));
    for (int a = 0; a < s; ++a)
        for (int j = 0; j < dim; ++j) q[a][j] = pts[a][j];
    return q;
}

// The modular computation succeeds and gives the same record as exact
// arithmetic.
void expect_agreement(const std::vector<std::vector<mpq_class>>& pts)
{
    scheme* X = make_scheme(pts);
    scheme* Y = make_scheme(pts);
    ASSERT_TRUE(bu_mo_modular(*X));
    hilbert(*X);
    bu_mo(*Y, dense_path::exact);
    const int s = X->s;
    for (int j = 0; j < s; ++j) {
        ASSERT_TRUE(X->O[j] == Y->O[j]) << j;
        ASSERT_EQ(X->pi[j], Y->pi[j]) << j;
        EXPECT_TRUE(X->q[j] == Y->q[j]) << "q" << j;
        for (int p = 0; p < s; ++p) EXPECT_TRUE(X->ev_q->a[j][p] == Y->ev_q->a[j][p]) << j << "," << p;
    }
    ASSERT_EQ(X->Ix->no_of_gens, Y->Ix->no_of_gens);
    for (int g = 0; g < X->Ix->no_of_gens; ++g) EXPECT_TRUE(X->Ix->gen[g] == Y->Ix->gen[g]) << "g" << g + 1;
    ASSERT_EQ(X->no_of_border, Y->no_of_border);
    ASSERT_TRUE(sep_modular(*X));
    hilbert2(*X);
    sep(*Y, dense_path::exact);
    for (int i = 0; i < s; ++i) EXPECT_TRUE(X->separator->gen[i] == Y->separator->gen[i]) << "f" << i + 1;
    EXPECT_EQ(X->is_CB, Y->is_CB);
    EXPECT_EQ(X->is_ar_Go, Y->is_ar_Go);
    delete X;
    delete Y;
}

TEST_F(ModularTest, LargeCoefficientsAgreeWithExactArithmetic)
{
    use(3);
    expect_agreement(random_points(35, -50, 50, 4321));
}

TEST_F(ModularTest, PrimesThatMergePointsOrDivideDenominatorsAreLeftOut)
{
    // 32749, the first prime tried, merges the first two points; 32719
    // divides a denominator; modulo 32717 the fifth point lies on Y = 0.
    use(2);
    std::vector<std::vector<mpq_class>> pts = {
        {0, 0}, {32749, 0}, {mpq_class(1, 32719), 1}, {mpq_class(-2, 7), mpq_class(5, 3)}, {3, 32717}, {0, 1}};
    expect_agreement(pts);
}

TEST_F(ModularTest, ProgressReportIsComplete)
{
    use(2);
    scheme* X = make_scheme({{0, 0}, {32749, 0}, {1, 1}, {2, 5}});
    std::ostringstream err;
    std::streambuf* saved_err = std::cerr.rdbuf(err.rdbuf());
    verbose = 1;
    bu_mo(*X);
    sep(*X);
    verbose = 0;
    std::cerr.rdbuf(saved_err);
    EXPECT_EQ(err.str(),
              "calculating triangular sequence ...\n[4][3][2][1]\n"
              "calculating biorthogonal sequence ...\n[4][3][2][1]\n");
    delete X;
}

}  // namespace
