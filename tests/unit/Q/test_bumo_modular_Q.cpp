// Over Q the Buchberger-Moeller results and the separators are computed
// modulo many primes, lifted, and accepted after an exact check; they must
// agree with exact arithmetic, also when some primes are unusable for the
// points or a lift is wrong.  The exact check must accept every correct
// result and refuse corrupted ones.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/bumo_certificate.h"
#include "engine/bumo_modular.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "interpreter/random_points.h"
#include "unit/Q/modular_fixture.h"

namespace {

class ModularTest : public ModularFixture {};

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

// The i-th prime the modular computation tries.
mpz_class prime(int i)
{
    return mpz_class(static_cast<unsigned long>(modular_primes()[i]));
}

// The modular computation (run as control says, default if null) succeeds
// and gives the same record as exact arithmetic.
void expect_agreement(const std::vector<std::vector<mpq_class>>& pts, modular_control* given = nullptr)
{
    modular_control defaults;
    modular_control& control = given ? *given : defaults;
    scheme* X = make_scheme(pts);
    scheme* Y = make_scheme(pts);
    ASSERT_TRUE(bu_mo_modular(*X, control));
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
    ASSERT_TRUE(sep_modular(*X, control));
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
    // The first prime tried merges the first two points; the second divides
    // a denominator; modulo the third the fifth point lies on Y = 0.
    use(2);
    const mpq_class p0 = prime(0), p1 = prime(1), p2 = prime(2);
    std::vector<std::vector<mpq_class>> pts = {
        {0, 0}, {p0, 0}, {1 / p1, 1}, {mpq_class(-2, 7), mpq_class(5, 3)}, {3, p2}, {0, 1}};
    expect_agreement(pts);
}

TEST_F(ModularTest, WrongLiftsAreRefusedAndRedoneWithMorePrimes)
{
    // The first eight primes merge the first two points, and with no
    // confirming prime their lift (of three points, not four) goes as far
    // as the exact check, which refuses it; so do early lifts of the
    // numbers of 120 bits that follow from N.
    use(2);
    mpz_class N = 1;
    for (int i = 0; i < 8; ++i) N *= prime(i);
    std::vector<std::vector<mpq_class>> pts = {{0, 0}, {mpq_class(N), 0}, {0, 1}, {mpq_class(2, 3), 5}};
    modular_control control;
    control.confirmations = 0;
    expect_agreement(pts, &control);
    EXPECT_GT(control.refused, 0);
}

TEST_F(ModularTest, TooFewPrimesGiveUp)
{
    use(3);
    scheme* X = make_scheme(random_points(20, -50, 50, 99));
    modular_control control;
    control.max_primes = 3;
    EXPECT_FALSE(bu_mo_modular(*X, control));
    // bu_mo then computes exactly.
    bu_mo(*X);
    need_groebner(*X);
    EXPECT_TRUE(certify_bu_mo(*X, X->s));
    delete X;
}

TEST_F(ModularTest, ProgressReportIsComplete)
{
    use(2);
    scheme* X = make_scheme({{0, 0}, {prime(0), 0}, {1, 1}, {2, 5}});
    std::ostringstream err;
    std::streambuf* saved_err = std::cerr.rdbuf(err.rdbuf());
    verbose = 1;
    bu_mo(*X);
    need_groebner(*X);
    sep(*X);
    verbose = 0;
    std::cerr.rdbuf(saved_err);
    EXPECT_EQ(err.str(),
              "calculating triangular sequence ...\n[4][3][2][1]\n"
              "calculating biorthogonal sequence ...\n[4][3][2][1]\n");
    delete X;
}

// Exact results of bu_mo and sep on one point set, to be checked and corrupted.
class CertificateTest : public ModularTest {
protected:
    scheme* X = nullptr;
    bool with_separators = false;

    // The triangular system stays; the separators come from a second run.
    void compute(const std::vector<std::vector<mpq_class>>& pts, bool separators = false)
    {
        X = make_scheme(pts);
        bu_mo(*X, dense_path::exact);
        with_separators = separators;
        if (!separators) return;
        scheme* Y = make_scheme(pts);
        bu_mo(*Y, dense_path::exact);
        sep(*Y, dense_path::exact);
        *X->separator = *Y->separator;
        delete Y;
    }
    void TearDown() override
    {
        delete X;
        ModularTest::TearDown();
    }
    bool accepted() { return certify_bu_mo(*X, X->s) && (!with_separators || certify_separators(*X)); }
};

TEST_F(CertificateTest, AcceptsExactResultsAndSetsTheValuesOfQ)
{
    use(3);
    // Integer points, and points with denominators.
    for (auto pts : {random_points(40, -50, 50, 7), random_points(25, -9, 9, 8)}) {
        for (size_t i = 0; i < pts.size(); i += 3) pts[i][i % 3] /= mpq_class(int(i) + 2);
        compute(pts);
        matrix ev_q(*X->ev_q);
        X->ev_q->init();
        EXPECT_TRUE(certify_bu_mo(*X, X->s));
        for (int j = 0; j < X->s; ++j)
            for (int p = 0; p < X->s; ++p) ASSERT_TRUE(X->ev_q->a[j][p] == ev_q.a[j][p]) << j << "," << p;
        sep(*X, dense_path::exact);
        EXPECT_TRUE(certify_separators(*X));
        delete X;
        X = nullptr;
    }
}

TEST_F(CertificateTest, AcceptsFewerDistinctPointsThanPoints)
{
    use(2);
    compute({{1, 2}, {3, 4}, {1, 2}, {5, 0}});
    EXPECT_TRUE(certify_bu_mo(*X, 3));
    EXPECT_FALSE(certify_bu_mo(*X, 4));
    EXPECT_FALSE(sep_modular(*X));
}

TEST_F(CertificateTest, RefusesAChangedCoefficient)
{
    use(3);
    compute(random_points(30, -20, 20, 11), true);
    ASSERT_TRUE(accepted());
    auto change = [&](K& c, const char* what) {
        K saved = c;
        c += Rational(mpq_class(1, 1000003));
        EXPECT_FALSE(accepted()) << what;
        c = saved;
        EXPECT_TRUE(accepted()) << what;
    };
    change(X->Ix->gen[3].coef[2], "Groebner basis");
    change(X->q[17].coef[1], "triangular sequence");
    change(X->separator->gen[5].coef[4], "separator");
    // A leading coefficient other than 1.
    change(X->Ix->gen[0].coef[0], "leading coefficient");
}

TEST_F(CertificateTest, RefusesWrongMonomialsAndPivots)
{
    use(3);
    compute(random_points(30, -20, 20, 12));
    const int s = X->s;
    ASSERT_TRUE(accepted());
    // An element of O exchanged for a corner (a leading monomial of Ix).
    monom saved = X->O[s - 1];
    X->O[s - 1] = X->Ix->gen[X->Ix->no_of_gens - 1].term[0];
    EXPECT_FALSE(accepted());
    X->O[s - 1] = saved;
    // Two elements of O exchanged.
    std::swap(X->O[4], X->O[5]);
    EXPECT_FALSE(accepted());
    std::swap(X->O[4], X->O[5]);
    // Two pivots exchanged.
    std::swap(X->pi[6], X->pi[7]);
    EXPECT_FALSE(accepted());
    std::swap(X->pi[6], X->pi[7]);
    // A border monomial changed.
    X->B[2].exp[0] += 1;
    EXPECT_FALSE(accepted());
    X->B[2].exp[0] -= 1;
    // A term of a basis element moved to another element of O.
    polynomial& g = X->Ix->gen[1];
    saved = g.term[g.no_of_monoms - 1];
    g.term[g.no_of_monoms - 1] = X->O[0] == saved ? X->O[1] : X->O[0];
    EXPECT_FALSE(accepted());
    g.term[g.no_of_monoms - 1] = saved;
    EXPECT_TRUE(accepted());
}

}  // namespace
