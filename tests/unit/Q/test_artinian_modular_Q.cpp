// The type of a point set over Q from ranks modulo primes must be the number
// of socle generators found in exact arithmetic, on random point sets and
// on special ones (where it may refuse to answer, never answer wrongly).
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "engine/artinian_modular.h"
#include "engine/bumo.h"
#include "engine/bumo_modular.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/min_gens.h"
#include "engine/modular_rows.h"
#include "engine/scheme.h"
#include "engine/socle.h"
#include "fields/field.h"
#include "interpreter/random_points.h"
#include "unit/Q/modular_fixture.h"

namespace {

class ArtinianModularTest : public ModularFixture {};

// type_modular is 0 or the exact count; returns it.
int expect_exact_type(const points& pts)
{
    scheme* X = make_scheme(pts);
    bu_mo(*X);
    const int modular = type_modular(*X);
    socle(*X);
    if (modular != 0) {
        EXPECT_EQ(modular, X->socle->no_of_gens);
    }
    delete X;
    return modular;
}

TEST_F(ArtinianModularTest, TypeOfRandomPointSetsIsProvedAndExact)
{
    for (int n : {2, 3, 4}) {
        use(n);
        for (int s : {1, 2, 7, 16, 30}) {
            SCOPED_TRACE(s);
            EXPECT_NE(expect_exact_type(uniform_points(s, -50, 50, 100 + s + n)), 0);
        }
    }
}

TEST_F(ArtinianModularTest, TypeOfSpecialPointSetsIsNeverWrong)
{
    use(2);
    points grid, conic, line_and_point;
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 3; ++b) grid.push_back({a, b});
    for (int t = -3; t <= 3; ++t) conic.push_back({t, t * t});
    for (int t = 0; t < 5; ++t) line_and_point.push_back({t, 0});
    line_and_point.push_back({mpq_class(1, 3), 2});
    for (const points& pts : {grid, conic, line_and_point}) expect_exact_type(pts);
    use(3);
    points curve;  // a rational normal curve
    for (int t = -4; t <= 4; ++t) curve.push_back({t, t * t, t * t * t});
    expect_exact_type(curve);
}

TEST_F(ArtinianModularTest, TypeLeavesTheSocleToBeComputedForItsDisplay)
{
    use(3);
    scheme* X = make_scheme(uniform_points(20, -50, 50, 5));
    bu_mo(*X);
    typ(*X);
    EXPECT_EQ(X->socle, nullptr);
    ASSERT_GT(X->socle_count, 0);
    EXPECT_EQ(socle_size(*X), X->socle_count);
    socle(*X);
    EXPECT_EQ(X->socle->no_of_gens, X->socle_count);
    delete X;
}

// The numbers of minimal generators by degree from ranks modulo a prime
// agree with the minimal generators computed in exact arithmetic.
void expect_exact_min_degrees(const points& pts, bool must_prove)
{
    scheme* X = make_scheme(pts);
    bu_mo(*X);
    std::vector<int> counts;
    const bool proved = min_degrees_modular(*X, counts);
    EXPECT_TRUE(proved || !must_prove);
    if (proved) {
        min_Ix(*X);
        std::vector<int> exact(counts.size(), 0);
        for (int i = 0; i < X->min_Ix->no_of_gens; ++i) {
            const int d = X->min_Ix->gen[i].term[0].tot_deg();
            ASSERT_LT(d, int(exact.size()));
            ++exact[d];
        }
        EXPECT_EQ(counts, exact);
    }
    delete X;
}

TEST_F(ArtinianModularTest, MinimalGeneratorDegreesAgreeWithExactGenerators)
{
    for (int n : {2, 3, 4}) {
        use(n);
        for (int s : {1, 3, 9, 20, 33}) {
            SCOPED_TRACE(s);
            // Points in a hyperplane have Koszul relations among their
            // linear forms: the ranks are not the largest, and the exact
            // computation answers.
            expect_exact_min_degrees(uniform_points(s, -50, 50, 200 + s + n), s > n + 1);
        }
    }
    use(2);
    points grid, conic;
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 3; ++b) grid.push_back({a, b});
    for (int t = -3; t <= 3; ++t) conic.push_back({t, t * t});
    expect_exact_min_degrees(grid, false);
    expect_exact_min_degrees(conic, false);
    use(3);
    points curve;
    for (int t = -4; t <= 4; ++t) curve.push_back({t, t * t, t * t * t});
    expect_exact_min_degrees(curve, false);
}

// Rows independent modulo the prime are independent over Q; rows that are
// dependent modulo it (truly, or by accident of the prime) are never
// declared independent.
TEST_F(ArtinianModularTest, RowsIndependentModuloAPrime)
{
    const mpq_class p(static_cast<unsigned long>(modular_primes()[0]));
    matrix M(2, 4);
    auto set = [&](int i, mpq_class a, mpq_class b) {
        M.a[i][0] = Rational(a);
        M.a[i][1] = Rational(b);
    };
    set(0, 1, 2);
    set(1, 2, 4);                      // twice row 0
    set(2, mpq_class(1, 3), 5);        // independent of row 0
    set(3, 1 + p, 2);                  // row 0 modulo the first prime only
    const modular_rows quick(M);
    const int r02[] = {0, 2}, r01[] = {0, 1}, r03[] = {0, 3};
    EXPECT_TRUE(quick.independent(r02, 2));
    EXPECT_FALSE(quick.independent(r01, 2));
    EXPECT_FALSE(quick.independent(r03, 2));
}

}  // namespace
