// Monomials: orderings, arithmetic, text forms.
#include <string>

#include <gtest/gtest.h>

#include "engine/monom.h"
#include "fields/field.h"
#include "fields/text.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

class MonomTest : public engine_test {
protected:
    void SetUp() override { use(3, 1); }
};

TEST_F(MonomTest, ConstantMonomial)
{
    monom one(0);
    EXPECT_EQ(one, monom());
    EXPECT_EQ(one.dim, 3);
    EXPECT_EQ(sign(one), 0);
    EXPECT_EQ(screen_text(one), "1");
    EXPECT_EQ(file_text(one), "1");
    EXPECT_EQ(len(one), 0);
    EXPECT_EQ(sign(mono({0, 0, 1})), 1);
    // Only the first dim exponents decide whether a monomial is constant.
    monom t = mono({0, 0, 0, 2});
    EXPECT_EQ(sign(t), 0);
    prj(t);
    t.exp[3] = 2;
    EXPECT_EQ(sign(t), 1);
}

TEST_F(MonomTest, DegreeComesFirst)
{
    monom x2 = mono({2, 0, 0}), xy2 = mono({1, 2, 0});
    EXPECT_TRUE(deglex_lt(x2, xy2));
    EXPECT_TRUE(degrevlex_lt(x2, xy2));
    EXPECT_FALSE(deglex_lt(xy2, x2));
    EXPECT_FALSE(degrevlex_lt(xy2, x2));
}

TEST_F(MonomTest, LexAndRevlexTies)
{
    monom xz = mono({1, 0, 1}), y2 = mono({0, 2, 0});
    EXPECT_EQ(lex_lt(y2, xz), 1);  // X is the largest variable
    EXPECT_EQ(lex_lt(xz, y2), 0);
    EXPECT_EQ(revlex_lt(xz, y2), 1);  // the larger Z exponent is smaller
    EXPECT_EQ(revlex_lt(y2, xz), 0);
    EXPECT_EQ(deglex_lt(y2, xz), 1);
    EXPECT_EQ(degrevlex_lt(xz, y2), 1);
    // lt is strict, le reflexive, on every ordering.
    for (auto lt : {lex_lt, revlex_lt, deglex_lt, degrevlex_lt, proj_deglex_lt, proj_degrevlex_lt})
        EXPECT_EQ(lt(xz, xz), 0);
    for (auto le : {lex_le, revlex_le, deglex_le, degrevlex_le, proj_deglex_le, proj_degrevlex_le})
        EXPECT_EQ(le(xz, xz), 1);
    EXPECT_EQ(deglex_le(xz, y2), 0);
    EXPECT_EQ(degrevlex_le(xz, y2), 1);
}

TEST_F(MonomTest, ProjectiveOrderBreaksAffineTiesByHomogenizingExponent)
{
    monom x = mono({1, 0, 0, 0}, true), xt = mono({1, 0, 0, 1}, true);
    EXPECT_EQ(proj_degrevlex_lt(x, xt), 1);
    EXPECT_EQ(proj_degrevlex_lt(xt, x), 0);
    EXPECT_EQ(proj_deglex_lt(x, xt), 1);
    EXPECT_EQ(proj_deglex_le(xt, x), 0);
    EXPECT_EQ(proj_degrevlex_le(x, x), 1);
    // The affine orderings cannot tell them apart.
    EXPECT_EQ(degrevlex_lt(x, xt), 0);
    EXPECT_EQ(degrevlex_lt(xt, x), 0);
    EXPECT_TRUE(x < xt);
    EXPECT_TRUE(xt > x);
    EXPECT_TRUE(x <= xt);
    EXPECT_FALSE(x >= xt);
    // The homogenizing exponent is never part of the degree.
    EXPECT_EQ(xt.tot_deg(), 1);
    // A larger affine part wins whatever the homogenizing exponents.
    monom yt3 = mono({0, 1, 0, 3}, true), x2 = mono({2, 0, 0, 0}, true);
    EXPECT_TRUE(yt3 < x2);
}

TEST_F(MonomTest, MixedOperandsUseTheAffineOrdering)
{
    monom x = mono({1, 0, 0}), xt = mono({1, 0, 0, 1}, true);
    EXPECT_FALSE(x < xt);
    EXPECT_FALSE(xt < x);
    EXPECT_TRUE(x <= xt);
    EXPECT_TRUE(xt >= x);
    EXPECT_TRUE(x == xt);  // equal on the first min(dim) exponents
    EXPECT_EQ(aff_eq(x, xt), 1);
    monom y = mono({0, 1, 0});
    EXPECT_TRUE(y < xt);
    // The member operators follow the ordering pointers.
    use_deglex();
    monom xz = mono({1, 0, 1}), y2 = mono({0, 2, 0});
    EXPECT_TRUE(y2 < xz);
    use_degrevlex();
    EXPECT_TRUE(xz < y2);
}

TEST_F(MonomTest, Divisibility)
{
    monom x = mono({1, 0, 0}), xy = mono({1, 1, 0}), y = mono({0, 1, 0});
    EXPECT_EQ(Zn_order_lt(x, x), 0);
    EXPECT_EQ(Zn_order_le(x, x), 1);
    EXPECT_EQ(Zn_order_lt(x, xy), 1);
    EXPECT_EQ(Zn_order_le(xy, x), 0);
    EXPECT_EQ(Zn_order_le(y, x), 0);
    // Only the first x.dim exponents are compared.
    monom yt = mono({0, 1, 0, 5}, true);
    EXPECT_EQ(Zn_order_le(y, yt), 1);
    EXPECT_EQ(Zn_order_le(yt, y), 0);
}

TEST_F(MonomTest, Arithmetic)
{
    monom a = mono({2, 1, 0}), b = mono({1, 3, 4});
    EXPECT_EQ(a * b, mono({3, 4, 4}));
    EXPECT_EQ((a * b) / b, a);
    monom c = a;
    c *= b;
    c /= a;
    EXPECT_EQ(c, b);
    EXPECT_EQ(lcm(a, b), mono({2, 3, 4}));
    EXPECT_EQ(gcd(a, b), mono({1, 1, 0}));
    EXPECT_EQ(a.vars(), 2);
    EXPECT_EQ(b.tot_deg(), 8);

    // lcm of an affine and a projective monomial is affine.
    monom t = mono({0, 2, 0, 3}, true);
    EXPECT_EQ(lcm(t, a).dim, 3);
    EXPECT_EQ(lcm(a, t).dim, 3);
    // Products are projective exactly while the global dim is proj.
    EXPECT_EQ((t * t).dim, 3);
    EXPECT_EQ((t * t).exp[3], 0);
    dim = proj;
    monom tt = t * t;
    dim = 3;
    EXPECT_EQ(tt.dim, 4);
    EXPECT_EQ(tt.exp[3], 6);
    EXPECT_EQ(tt.exp[1], 4);
    EXPECT_EQ(tt.vars(), 2);
    // In place, the homogenizing exponent of an affine operand stays out.
    monom u = t;
    u *= mono({1, 0, 0, 9});
    EXPECT_EQ(u.exp[0], 1);
    EXPECT_EQ(u.exp[3], 3);
}

TEST_F(MonomTest, ExponentsBeyondEightBits)
{
    // A line of 200 points needs X^199; products may go higher still.
    monom x = mono({199, 0, 0});
    monom x2 = x * x;
    EXPECT_EQ(x2.exp[0], 398);
    EXPECT_EQ(x2.tot_deg(), 398);
    EXPECT_TRUE(x < x2);
    EXPECT_EQ(screen_text(x), "X^199");
    EXPECT_EQ(file_text(x2), "X398");
    EXPECT_EQ(len(x), 5);
}

TEST_F(MonomTest, TextForms)
{
    monom m = mono({2, 1, 0, 3}, true);
    EXPECT_EQ(screen_text(m), "X^2YT^3");
    EXPECT_EQ(file_text(m), "X2YT3");
    EXPECT_EQ(len(m), 7);
    monom y12 = mono({0, 12, 0});
    EXPECT_EQ(screen_text(y12), "Y^12");
    EXPECT_EQ(len(y12), 4);
    // The homogenizing exponent of an affine monomial is storage only.
    monom a = mono({0, 1, 0, 7});
    EXPECT_EQ(screen_text(a), "Y");
    EXPECT_EQ(len(123456), 5);
    EXPECT_EQ(len(-123456), 6);
    EXPECT_EQ(len(-7), 2);
    EXPECT_EQ(len(9999), 4);
}

TEST_F(MonomTest, AssignmentFromInt)
{
    monom m = mono({1, 2, 3, 4}, true);
    m = 0;
    EXPECT_EQ(m.dim, 4);
    EXPECT_EQ(sign(m), 0);
    m = 2;
    EXPECT_EQ(screen_text(m), "X^2Y^2Z^2T^2");
    monom k(1);
    EXPECT_EQ(k.dim, 3);
    EXPECT_EQ(k.tot_deg(), 3);
}

TEST_F(MonomTest, ThreeWayFormsAgreeWithTheOrderings)
{
    xorshift64_high rng;
    for (int round = 0; round < 2000; ++round) {
        monom x, y;
        for (int i = 0; i < proj; ++i) {
            x.exp[i] = static_cast<int16_t>(rng.below(3));
            y.exp[i] = static_cast<int16_t>(rng.below(3));
        }
        ASSERT_EQ(degrevlex_cmp(x, y) < 0, degrevlex_lt(x, y) == 1);
        ASSERT_EQ(degrevlex_cmp(x, y) <= 0, degrevlex_le(x, y) == 1);
        ASSERT_EQ(deglex_cmp(x, y) < 0, deglex_lt(x, y) == 1);
        ASSERT_EQ(deglex_cmp(x, y) <= 0, deglex_le(x, y) == 1);
        ASSERT_EQ(degrevlex_cmp(x, y) == 0, aff_eq(x, y) == 1);
        ASSERT_EQ(degrevlex_cmp(x, y), -degrevlex_cmp(y, x));
        // Both orderings are compatible with multiplication.
        monom z;
        for (int i = 0; i < proj; ++i) z.exp[i] = static_cast<int16_t>(rng.below(3));
        ASSERT_EQ(degrevlex_lt(x, y), degrevlex_lt(x * z, y * z));
        ASSERT_EQ(deglex_lt(x, y), deglex_lt(x * z, y * z));
    }
}

}  // namespace
