// Polynomials and matrices over small prime fields, where coefficients
// above p/2 print as negative numbers.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using test_support::file_text;
using test_support::screen_text;

class SmallPrimeTest : public test_support::engine_test {
protected:
    void SetUp() override { counter = 0; }

private:
    test_support::characteristic_guard seven{7};
};

polynomial var(int i, int c)
{
    monom m;
    m.exp[i] = 1;
    polynomial p(m);
    p *= Fp(c);
    return p;
}

TEST_F(SmallPrimeTest, UpperHalfCoefficientsPrintAsNegative)
{
    polynomial f = var(0, 1) + var(1, 6);
    EXPECT_EQ(screen_text(f), "X - Y");
    EXPECT_EQ(counter, 5);
    EXPECT_EQ(file_text(f), "X-Y");
    polynomial g = var(1, 4) + polynomial(5);
    EXPECT_EQ(screen_text(g), "- 3Y - 2");
    EXPECT_EQ(file_text(g), "-3Y-2");
}

TEST_F(SmallPrimeTest, ArithmeticModP)
{
    polynomial f = var(0, 3) + var(1, 1);
    polynomial g = var(0, 4) + var(1, 1);
    EXPECT_EQ(screen_text(f + g), "2Y");  // 3X + 4X cancels mod 7
    polynomial sq = (var(0, 1) + var(1, 1)) * (var(0, 1) + var(1, 6));
    EXPECT_EQ(file_text(sq), "X2-Y2");
    polynomial h = f;
    h *= Fp(0);
    EXPECT_EQ(file_text(h), "0");
}

TEST_F(SmallPrimeTest, MatrixOverF7)
{
    matrix m(2, 2);
    m.a[0][0] = Fp(3);
    m.a[0][1] = Fp(5);
    m.a[1][0] = Fp(6);
    m.a[1][1] = Fp(3);
    int c[] = {0, 1}, r[] = {0, 1};
    EXPECT_EQ(m.minor(2, c, r), Fp(0));  // 9 - 30 = -21 = 0 mod 7
    EXPECT_EQ(m.solve(c, r), 1);
    std::ostringstream s;
    matrix d(2, 1);
    d.a[0][0] = Fp(6);
    d.a[0][1] = Fp(1);
    s << d;
    EXPECT_EQ(s.str(), "[ -1  1 ]\n");
}

// With the default modulus the example entries print as themselves.
TEST(MatrixFp, DisplayAndInput)
{
    field_set_defaults();
    matrix m(2, 2);
    std::istringstream in("1 10 100 2");
    in >> m;
    EXPECT_EQ(m.a[1][0], Fp(100));
    std::ostringstream s;
    s << m;
    EXPECT_EQ(s.str(), "[  1   10 ]\n[         ]\n[ 100   2 ]\n");
}

}  // namespace
