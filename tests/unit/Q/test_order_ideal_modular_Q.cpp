// Over Q bu_mo finds the order ideal and border modulo a prime and proves
// them without the rational Groebner basis; the basis follows on demand.
// The order ideal must be the one of exact arithmetic also where the first
// prime gives another one, or merges points.
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/bumo_certificate.h"
#include "engine/bumo_modular.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/interrupt.h"
#include "engine/parallel.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "interpreter/random_points.h"
#include "unit/Q/modular_fixture.h"

namespace {

class OrderIdealTest : public ModularFixture {};

mpq_class prime(int i)
{
    return mpq_class(static_cast<unsigned long>(modular_primes()[i]));
}

// bu_mo (modular, order ideal first) against exact arithmetic: O, B, the
// Hilbert data, and the Groebner basis added on demand.
void expect_exact_order_ideal(const points& pts, bool expect_alone = true)
{
    scheme* X = make_scheme(pts);
    scheme* Y = make_scheme(pts);
    bu_mo(*X);
    bu_mo(*Y, dense_path::exact);
    if (expect_alone) {
        EXPECT_EQ(X->groebner, 0);
    }
    for (int j = 0; j < X->s; ++j) ASSERT_TRUE(X->O[j] == Y->O[j]) << j;
    ASSERT_EQ(X->no_of_border, Y->no_of_border);
    for (int b = 0; b < X->no_of_border; ++b) ASSERT_TRUE(X->B[b] == Y->B[b]) << b;
    EXPECT_EQ(X->alpha, Y->alpha);
    EXPECT_EQ(X->sigma, Y->sigma);
    EXPECT_EQ(X->delta, Y->delta);
    for (int d = 0; d < X->s; ++d) EXPECT_EQ(X->hilb_fct[d], Y->hilb_fct[d]) << d;
    need_groebner(*X);
    EXPECT_EQ(X->groebner, 1);
    ASSERT_EQ(X->Ix->no_of_gens, Y->Ix->no_of_gens);
    for (int g = 0; g < X->Ix->no_of_gens; ++g) EXPECT_TRUE(X->Ix->gen[g] == Y->Ix->gen[g]) << g;
    delete X;
    delete Y;
}

TEST_F(OrderIdealTest, RandomAndSpecialPointSetsAgreeWithExactArithmetic)
{
    use(2);
    expect_exact_order_ideal(uniform_points(30, -50, 50, 11));
    // Points on a conic and on a line: corners below the last element of O.
    expect_exact_order_ideal({{0, 0}, {1, 1}, {-1, 1}, {2, 4}, {-2, 4}, {3, 9}, {1, 5}});
    use(3);
    expect_exact_order_ideal(uniform_points(40, -50, 50, 12));
    expect_exact_order_ideal({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {mpq_class(1, 2), 1, 0}});
    use(4);
    expect_exact_order_ideal({{1, 0, 0, 0}});
}

TEST_F(OrderIdealTest, AnOrderIdealOfTheFirstPrimeIsRefused)
{
    // Modulo the first prime p the three points lie on the line Y = 0, so
    // that prime finds the order ideal 1, X, X^2: independent modulo p, but
    // not the order ideal over Q, which is 1, X, Y (Y is a corner below X^2
    // without a Groebner basis element over Q).
    use(2);
    expect_exact_order_ideal({{0, 0}, {1, 0}, {2, prime(0)}});
    expect_exact_order_ideal({{0, 0}, {1, 0}, {2, prime(0) * prime(1)}, {5, 7}});
}

TEST_F(OrderIdealTest, PointsMetModuloTheFirstPrimeUseTheWholeComputation)
{
    use(2);
    expect_exact_order_ideal({{prime(0), 0}, {0, 0}, {1, 1}, {2, 3}}, false);
    // Points that are not distinct: bu_mo still ends, with fewer elements.
    scheme* X = make_scheme({{1, 2}, {3, 4}, {1, 2}});
    bu_mo(*X);
    EXPECT_EQ(X->groebner, 1);
    EXPECT_TRUE(certify_bu_mo(*X, 2));
    delete X;
}

TEST_F(OrderIdealTest, CornerCertificateRefusesWrongElements)
{
    use(2);
    scheme* X = make_scheme({{0, 0}, {1, 1}, {-1, 1}, {2, 4}});
    bu_mo(*X, dense_path::exact);
    std::vector<polynomial> gens(X->Ix->gen, X->Ix->gen + X->Ix->no_of_gens);
    EXPECT_TRUE(certify_corner_elements(*X, X->O, X->s, gens));
    // A changed coefficient does not vanish at the points.
    std::vector<polynomial> wrong = gens;
    wrong[0].coef[wrong[0].no_of_monoms - 1] += 1;
    EXPECT_FALSE(certify_corner_elements(*X, X->O, X->s, wrong));
    // A leading term that is not a corner of O.
    wrong = gens;
    wrong[0].term[0] = X->O[1];
    EXPECT_FALSE(certify_corner_elements(*X, X->O, X->s, wrong));
    delete X;
}

// The Cayley-Bacharach flag decided modulo a prime agrees with the one the
// exact separators give; a scheme that is not Cayley-Bacharach is never
// declared one.
TEST_F(OrderIdealTest, CayleyBacharachModuloAPrimeAgreesWithTheSeparators)
{
    struct example {
        int n;
        points pts;
        int cb;  // 1: Cayley-Bacharach
    };
    const std::vector<example> examples = {
        {2, {{0, 0}, {1, 0}, {2, 0}, {0, 1}}, 0},
        {2, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 1},
        {2, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}}, 1},
        {2, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {5, 7}}, 1},
        {3, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 0},
    };
    auto check = [&](const points& pts, int cb) {
        scheme* X = make_scheme(pts);
        scheme* Y = make_scheme(pts);
        bu_mo(*X);
        bu_mo(*Y, dense_path::exact);
        sep(*Y, dense_path::exact);
        EXPECT_EQ(Y->is_CB, cb);
        EXPECT_EQ(cayley_bacharach_modular(*X), cb);
        if (decide_cayley_bacharach(*X)) {
            EXPECT_EQ(X->sep, 1);
            EXPECT_EQ(X->sep_polys, 0);
            EXPECT_EQ(X->is_ar_Go, Y->is_ar_Go);
        }
        // The separators computed afterwards leave the flags as they are.
        sep(*X);
        EXPECT_EQ(X->is_CB, Y->is_CB);
        EXPECT_EQ(X->is_ar_Go, Y->is_ar_Go);
        for (int i = 0; i < X->s; ++i) EXPECT_TRUE(X->separator->gen[i] == Y->separator->gen[i]) << i;
        delete X;
        delete Y;
    };
    for (const example& e : examples) {
        SCOPED_TRACE(e.pts.size());
        use(e.n);
        check(e.pts, e.cb);
    }
    use(2);
    check(uniform_points(15, -50, 50, 21), 1);
    use(3);
    check(uniform_points(24, -50, 50, 22), 1);
}

// An interrupted completion of the Groebner basis leaves the Buchberger-
// Moeller results not computed; the next command computes them anew.
TEST_F(OrderIdealTest, InterruptedGroebnerBasisLeavesTheResultsNotComputed)
{
    use(2);
    const points pts = uniform_points(12, -50, 50, 31);
    scheme* X = make_scheme(pts);
    scheme* Y = make_scheme(pts);
    bu_mo(*X);
    bu_mo(*Y, dense_path::exact);
    interrupt_countdown = 1;
    EXPECT_THROW(need_groebner(*X), computation_interrupted);
    interrupt_requested = 0;
    interrupt_countdown = 0;
    EXPECT_EQ(X->delta, 0);
    EXPECT_EQ(X->groebner, 0);
    need_groebner(*X);
    for (int j = 0; j < X->s; ++j) ASSERT_TRUE(X->O[j] == Y->O[j]) << j;
    ASSERT_EQ(X->Ix->no_of_gens, Y->Ix->no_of_gens);
    for (int g = 0; g < X->Ix->no_of_gens; ++g) EXPECT_TRUE(X->Ix->gen[g] == Y->Ix->gen[g]) << g;
    EXPECT_EQ(X->delta, Y->delta);
    delete X;
    delete Y;
}

// The loops shared between the cores do every item exactly once, in ranges
// that cover them, whatever the sizes.
TEST(ParallelRanges, EveryItemOnce)
{
    for (size_t n : {0, 1, 5, 4095, 4096, 10000, 100003}) {
        std::vector<int> seen(n, 0);
        parallel_ranges(n, 4096, [&](size_t first, size_t last) {
            for (size_t i = first; i < last; ++i) ++seen[i];
        });
        for (size_t i = 0; i < n; ++i) ASSERT_EQ(seen[i], 1) << n << " " << i;
    }
}

}  // namespace
