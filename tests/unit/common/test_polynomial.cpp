// Polynomials: merges, products, leading forms, homogenization, text forms.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/ideal.h"
#include "engine/polynomial.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

class PolynomialTest : public engine_test {
protected:
    void SetUp() override
    {
        use(3, 1);
        LL = 80;
        counter = 0;
    }
};

// c times the monomial with exponents e.
polynomial t(int c, std::initializer_list<int> e)
{
    polynomial p(mono(e));
    p *= k(c);
    return p;
}

// The representation invariants: zero is the single constant term with
// coefficient 0; otherwise non-zero coefficients on strictly decreasing terms.
::testing::AssertionResult well_formed(const polynomial& f)
{
    if (f.no_of_monoms < 1) return ::testing::AssertionFailure() << "no terms";
    if (f.coef[0] == 0) {
        if (f.no_of_monoms != 1 || sign(f.term[0]))
            return ::testing::AssertionFailure() << "malformed zero";
        return ::testing::AssertionSuccess();
    }
    for (int i = 0; i < f.no_of_monoms; ++i) {
        if (f.coef[i] == 0) return ::testing::AssertionFailure() << "zero coefficient at " << i;
        if (i > 0 && !monom_ordering_lt(f.term[i], f.term[i - 1]))
            return ::testing::AssertionFailure() << "terms out of order at " << i;
    }
    return ::testing::AssertionSuccess();
}

// Up to `terms` random terms of degree <= 4 with coefficients in -5..5.
polynomial random_poly(xorshift64_high& rng, int terms)
{
    polynomial f(0);
    for (int i = 0; i < terms; ++i) {
        monom m;
        int budget = rng.below(5);
        for (int v = 0; v < dim && budget > 0; ++v) {
            int e = v == dim - 1 ? budget : rng.below(budget + 1);
            m.exp[v] = static_cast<int16_t>(e);
            budget -= e;
        }
        int c = rng.below(11) - 5;
        polynomial p(m);
        p *= k(c);
        f += p;
    }
    return f;
}

TEST_F(PolynomialTest, ZeroPolynomial)
{
    polynomial f = t(1, {2, 0, 0}) + t(-3, {0, 1, 1}) + t(1, {});
    polynomial z = f - f;
    EXPECT_TRUE(well_formed(z));
    EXPECT_EQ(z.no_of_monoms, 1);
    EXPECT_EQ(sign(z), 0);
    EXPECT_EQ(z, polynomial(0));
    counter = 5;
    EXPECT_EQ(screen_text(z), " 0");
    EXPECT_EQ(counter, 7);
    EXPECT_EQ(file_text(z), "0");
    // Adding zero on either side leaves the value.
    EXPECT_EQ(f + z, f);
    EXPECT_EQ(z + f, f);
    EXPECT_EQ(z - f, -f);
    polynomial g = f;
    g -= g;
    EXPECT_EQ(g, polynomial(0));
    g += g;
    EXPECT_EQ(g, polynomial(0));
    g = f;
    g += g;
    EXPECT_EQ(g, f * k(2));
}

TEST_F(PolynomialTest, MergeKeepsTheLeftMonomialAndCancels)
{
    polynomial f = t(1, {1, 0, 0}) + t(2, {0, 1, 0});
    polynomial g = t(-2, {0, 1, 0}) + t(1, {0, 0, 1});
    polynomial h = f + g;
    EXPECT_EQ(h.no_of_monoms, 2);
    EXPECT_EQ(screen_text(h), "X + Z");
    // Equal affine parts merge; the left operand's monomial is kept.
    monom xt = mono({1, 0, 0, 1});
    prj(xt);
    xt.exp[3] = 1;
    polynomial p(xt), q(mono({1, 0, 0}));
    p += q;
    EXPECT_EQ(p.no_of_monoms, 1);
    EXPECT_EQ(p.term[0].dim, 4);
    EXPECT_EQ(p.coef[0], k(2));
}

TEST_F(PolynomialTest, ScalarsAndMonomials)
{
    polynomial f = t(1, {1, 0, 0}) + t(3, {0, 0, 0});
    polynomial g = f;
    g *= K(0);
    EXPECT_EQ(g, polynomial(0));
    EXPECT_EQ(f * K(0), polynomial(0));
    g = f;
    g *= g.coef[1];  // a coefficient of the polynomial itself
    EXPECT_EQ(g, t(3, {1, 0, 0}) + t(9, {}));
    g = f;
    g *= mono({0, 1, 0});
    EXPECT_EQ(g, t(1, {1, 1, 0}) + t(3, {0, 1, 0}));
    g *= g.term[1];
    EXPECT_EQ(g, t(1, {1, 2, 0}) + t(3, {0, 2, 0}));
    polynomial z(0);
    z *= mono({1, 0, 0});
    EXPECT_EQ(z, polynomial(0));
    EXPECT_EQ(+f, f);
    EXPECT_EQ(-(-f), f);
}

TEST_F(PolynomialTest, AssignmentForms)
{
    polynomial f = t(1, {1, 0, 0}) + t(1, {0, 1, 0}) + t(1, {});
    polynomial g(mono({0, 0, 2}));
    EXPECT_EQ(screen_text(g), "Z^2");
    g = f;  // grows
    EXPECT_EQ(g, f);
    g = mono({0, 1, 0});
    EXPECT_EQ(g.no_of_monoms, 1);
    EXPECT_EQ(screen_text(g), "Y");
    g = 3;
    EXPECT_EQ(g, t(3, {}));
    g = f;  // reuses the larger arrays
    EXPECT_EQ(g, f);
    polynomial h(f);
    h = h;
    EXPECT_EQ(h, f);
    EXPECT_TRUE(t(1, {0, 1, 0}) < t(1, {1, 0, 0}));
    EXPECT_TRUE(t(1, {0, 0, 2}) > t(5, {1, 0, 0}));
}

TEST_F(PolynomialTest, ScreenAndFileForms)
{
    polynomial f = t(1, {2, 0, 0}) + t(-3, {0, 1, 1}) + t(1, {});
    EXPECT_EQ(screen_text(f), "X^2 - 3YZ + 1");
    EXPECT_EQ(counter, 13);
    EXPECT_EQ(file_text(f), "X2-3YZ+1");
    polynomial g = t(-1, {2, 0, 0}) + t(1, {0, 1, 0});
    EXPECT_EQ(screen_text(g), "- X^2 + Y");
    EXPECT_EQ(file_text(g), "-X2+Y");
    polynomial h = t(3, {2, 1, 0}) + t(-1, {0, 0, 1}) + t(-1, {});
    EXPECT_EQ(file_text(h), "3X2Y-Z-1");
    counter = 0;
    EXPECT_EQ(screen_text(h), "3X^2Y - Z - 1");
    EXPECT_EQ(counter, 13);
    EXPECT_EQ(screen_text(t(-4, {})), "- 4");
    EXPECT_EQ(screen_text(t(1, {})), "1");
    EXPECT_EQ(file_text(t(-1, {})), "-1");
}

TEST_F(PolynomialTest, LineBreaking)
{
    polynomial f = t(1, {1, 0, 0}) + t(1, {0, 1, 0});  // "X" then " + Y" (width 4)
    counter = 73;
    EXPECT_EQ(screen_text(f), "X + Y");
    EXPECT_EQ(counter, 78);
    counter = 74;  // 75 + 4 reaches LL - 1
    EXPECT_EQ(screen_text(f), "X\n + Y");
    EXPECT_EQ(counter, 4);
    counter = 200;  // the first term never breaks
    EXPECT_EQ(screen_text(f), "X\n + Y");
    // A negative first term counts "- ", later terms their coefficient.
    polynomial g = t(-1, {0, 0, 1}) + t(-12, {});  // "- Z" (3) then " - 12" (5)
    counter = 70;
    EXPECT_EQ(screen_text(g), "- Z - 12");
    EXPECT_EQ(counter, 78);
    counter = 71;
    EXPECT_EQ(screen_text(g), "- Z\n - 12");
    EXPECT_EQ(counter, 5);
    // A long polynomial: every line stays below LL - 1 columns.
    xorshift64_high rng(7);
    polynomial h = random_poly(rng, 60);
    counter = 0;
    std::string s = screen_text(h);
    std::istringstream lines(s);
    std::string line;
    int n = 0;
    while (std::getline(lines, line)) {
        EXPECT_LT(static_cast<int>(line.size()), LL - 1);
        ++n;
    }
    EXPECT_GT(n, 1);
    EXPECT_EQ(counter, static_cast<int>(line.size()));
}

TEST_F(PolynomialTest, LeadingForm)
{
    polynomial f = t(1, {2, 0, 0}) + t(2, {1, 1, 0}) + t(1, {0, 1, 0}) + t(1, {});
    EXPECT_EQ(Lf(f), t(1, {2, 0, 0}) + t(2, {1, 1, 0}));
    polynomial g = t(1, {2, 0, 0}) + t(-1, {0, 0, 2});
    EXPECT_EQ(Lf(g), g);
    EXPECT_EQ(Lf(polynomial(0)), polynomial(0));
    EXPECT_EQ(Lf(t(5, {})), t(5, {}));
}

TEST_F(PolynomialTest, Homogenization)
{
    polynomial g = t(1, {2, 0, 0}) + t(1, {0, 1, 0}) + t(1, {});
    polynomial f;
    hom(f, g);
    EXPECT_EQ(dim, 3);
    ASSERT_EQ(f.no_of_monoms, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(f.term[i].dim, 4);
        EXPECT_EQ(f.term[i].tot_deg() + f.term[i].exp[3], 2);
    }
    EXPECT_EQ(screen_text(f), "X^2 + YT + T^2");
    EXPECT_EQ(file_text(f), "X2+YT+T2");
    EXPECT_EQ(is_prj(f), 0);
    EXPECT_EQ(f.coef[2], k(1));
    // In place as well.
    polynomial h = t(1, {0, 1, 0}) + t(-2, {});
    hom(h, h);
    EXPECT_EQ(screen_text(h), "Y - 2T");
    // The leading monomial carries T only for a polynomial that is a
    // homogenized one times T.
    polynomial p = h;
    dim = proj;
    monom T;
    T.exp[3] = 1;
    dim = 3;
    p *= T;
    EXPECT_EQ(is_prj(p), 1);
    EXPECT_EQ(screen_text(p), "YT - 2T^2");
}

TEST_F(PolynomialTest, Products)
{
    polynomial a = t(1, {1, 0, 0}) + t(1, {0, 1, 0});
    polynomial b = t(1, {1, 0, 0}) + t(-1, {0, 1, 0});
    EXPECT_EQ(a * b, t(1, {2, 0, 0}) + t(-1, {0, 2, 0}));
    EXPECT_EQ(a * polynomial(0), polynomial(0));
    EXPECT_EQ(polynomial(0) * a, polynomial(0));
    EXPECT_EQ(a * t(1, {}), a);
}

TEST_F(PolynomialTest, RandomisedArithmeticLaws)
{
    xorshift64_high rng(12345);
    for (int round = 0; round < 60; ++round) {
        polynomial f = random_poly(rng, 1 + rng.below(12));
        polynomial g = random_poly(rng, 1 + rng.below(12));
        polynomial h = random_poly(rng, 1 + rng.below(6));
        ASSERT_TRUE(well_formed(f));
        polynomial s = f + g;
        ASSERT_TRUE(well_formed(s));
        ASSERT_EQ(s - g, f);
        ASSERT_EQ(s, g + f);
        polynomial fg = f * g;
        ASSERT_TRUE(well_formed(fg));
        ASSERT_EQ(fg, g * f);
        ASSERT_EQ(f * (g + h), fg + f * h);
        ASSERT_EQ((f * g) * h, f * (g * h));
        if (sign(f) && sign(g)) {
            ASSERT_TRUE(fg.term[0] == f.term[0] * g.term[0]);
            ASSERT_EQ(fg.coef[0], f.coef[0] * g.coef[0]);
            ASSERT_EQ(Lf(fg), Lf(f) * Lf(g));
        }
        // The printed width is what the counter adds up.
        counter = 0;
        LL = 100000;
        std::string text = screen_text(fg);
        LL = 80;
        ASSERT_EQ(counter, static_cast<int>(text.size())) << text;
    }
}

TEST_F(PolynomialTest, OtherOrderings)
{
    // The merge follows the ordering pointer: deg-lex inline, and any other
    // comparison through the pointer itself.
    monom_order_fn via_pointer = [](const monom& x, const monom& y) { return degrevlex_lt(x, y); };
    xorshift64_high rng(99);
    for (int round = 0; round < 20; ++round) {
        monom_ordering_lt = degrevlex_lt;
        polynomial f = random_poly(rng, 8), g = random_poly(rng, 8);
        polynomial fg = f * g;
        monom_ordering_lt = via_pointer;
        ASSERT_EQ(f * g, fg);
        ASSERT_EQ((f + g) - g, f);
    }
    monom_ordering_lt = deglex_lt;
    monom_ordering_le = deglex_le;
    polynomial p = t(1, {0, 2, 0}) + t(1, {1, 0, 1});
    EXPECT_EQ(screen_text(p), "XZ + Y^2");
    EXPECT_TRUE(well_formed(p * p));
    monom_ordering_lt = degrevlex_lt;
    monom_ordering_le = degrevlex_le;
    polynomial q = t(1, {0, 2, 0}) + t(1, {1, 0, 1});
    EXPECT_EQ(screen_text(q), "Y^2 + XZ");
}

TEST_F(PolynomialTest, IdealPrintsOneGeneratorPerLine)
{
    ideal I(2);
    EXPECT_EQ(I.gen[1], polynomial(0));
    I.gen[0] = t(1, {1, 0, 0}) + t(-1, {});
    I.gen[1] = t(2, {0, 1, 0});
    ideal J(I);
    I.gen[1] = polynomial(0);
    std::ostringstream s;
    s << J;
    EXPECT_EQ(s.str(), "X - 1\n2Y\n");
    std::ostringstream e;
    e << ideal(0);
    EXPECT_EQ(e.str(), "");
}

}  // namespace
