// The prime field F_p.
#include <sstream>

#include <gtest/gtest.h>

#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using test_support::characteristic_guard;
using test_support::screen_text;

TEST(Fp, SymmetricRepresentativesAndWidths)
{
    characteristic_guard g(7);
    EXPECT_EQ(screen_text(Fp(3)), "3");
    EXPECT_EQ(screen_text(Fp(4)), "-3");
    EXPECT_EQ(sign(Fp(4)), -1);
    EXPECT_EQ(abs(Fp(4)).q, 3);
    EXPECT_EQ(len(Fp(4)), 2);
    EXPECT_EQ((Fp(6) / Fp(3)).q, 2);
    Fp three(3);
    three.invert();
    EXPECT_EQ(three.q, 5);
    Fp m;
    m = -1;
    EXPECT_EQ(m.q, 6);
    EXPECT_EQ(screen_text(m), "-1");
    EXPECT_EQ(-Fp(0), Fp(0));
    EXPECT_TRUE(-Fp(0) == 0);
}

TEST(Fp, SmallPrimes)
{
    {
        characteristic_guard g(2);
        EXPECT_EQ(screen_text(Fp(1)), "1");
        EXPECT_EQ(sign(Fp(1)), 1);
        EXPECT_EQ((Fp(1) + Fp(1)).q, 0);
    }
    {
        characteristic_guard g(3);
        EXPECT_EQ(screen_text(Fp(2)), "-1");
        EXPECT_EQ(sign(Fp(2)), -1);
        EXPECT_EQ(abs(Fp(2)).q, 1);
    }
}

TEST(Fp, EveryNonZeroElementHasItsInverse)
{
    for (int p : {2, 3, 7, 101, 251, 31991, 32003}) {
        characteristic_guard g(p);
        for (int a = 1; a < p; ++a) {
            Fp x(a), y(a);
            y.invert();
            ASSERT_EQ((x * y).q, 1) << "p = " << p << ", a = " << a;
        }
    }
}

TEST(Fp, ProductsOfTheLargestResiduesStayExact)
{
    for (int p : {31991, 32003}) {
        characteristic_guard g(p);
        Fp a(p - 1), b(p - 2);
        EXPECT_EQ((a * b).q, static_cast<int>((long long)(p - 1) * (p - 2) % p));
        EXPECT_EQ((a * a).q, 1);  // (-1)^2
        Fp c = a;
        c *= b;
        EXPECT_EQ(c.q, 2);  // (-1)(-2)
    }
}

TEST(Fp, RationalInputIsMappedIntoTheField)
{
    characteristic_guard g(31991);
    Fp x;
    std::istringstream in("1/2 -1 -3/4");
    in >> x;
    EXPECT_EQ(x.q, 15996);
    in >> x;
    EXPECT_EQ(x.q, 31990);
    in >> x;
    EXPECT_EQ((x * Fp(4)).q, 31991 - 3);

    std::string token;
    std::istringstream bad("5/7 abc 3/0");
    Fp::prime = 7;
    EXPECT_EQ(read_element(bad, x, token), read_result::no_image);
    EXPECT_EQ(token, "5/7");
    EXPECT_EQ(read_element(bad, x, token), read_result::malformed);
    EXPECT_EQ(token, "abc");
    EXPECT_EQ(read_element(bad, x, token), read_result::malformed);
    EXPECT_EQ(read_element(bad, x, token), read_result::end_of_input);
}

TEST(Fp, PowerBySquaring)
{
    characteristic_guard g(31991);
    Fp x(12345);
    Fp expected(1);
    for (int e = 0; e < 40; ++e) {
        ASSERT_EQ(pow(x, e), expected) << e;
        expected *= x;
    }
}

TEST(FpDeath, DivisionByZeroEndsTheProgram)
{
    EXPECT_EXIT({ Fp z(0); z.invert(); }, ::testing::ExitedWithCode(1), "");
}

}  // namespace
