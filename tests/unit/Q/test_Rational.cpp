// The field Q of rational numbers.
#include <sstream>

#include <gtest/gtest.h>

#include "fields/field.h"

namespace {

std::string text(const Rational& x)
{
    std::ostringstream s;
    s << x;
    return s.str();
}

Rational q(const char* t)
{
    return Rational(mpq_class(t));
}

TEST(Rational, Widths)
{
    EXPECT_EQ(len(Rational(0)), 1);
    EXPECT_EQ(len(Rational(-7)), 2);
    EXPECT_EQ(len(q("22/7")), 4);
    EXPECT_EQ(len(q("-1/100")), 6);
    EXPECT_EQ(len(q("123456789012345678901234567890")), 30);
}

// len is the printed width, also at powers of ten and beyond a machine word.
TEST(Rational, WidthIsThePrintedWidth)
{
    mpz_class p = 1;
    for (int k = 0; k < 60; ++k, p *= 10)
        for (const mpz_class& num : {mpz_class(p - 1), p, mpz_class(p + 1), mpz_class(-p), mpz_class(1 - p)})
            for (const mpz_class& den : {mpz_class(1), mpz_class(p + 1), mpz_class(7)}) {
                if (num == 0) continue;
                Rational x(mpq_class(num, den));
                x.v.canonicalize();
                ASSERT_EQ(len(x), static_cast<int>(text(x).size())) << text(x);
            }
    Rational big(mpq_class(mpz_class(LONG_MIN)));
    EXPECT_EQ(len(big), static_cast<int>(text(big).size()));
}

TEST(Rational, TextForm)
{
    EXPECT_EQ(text(q("-3/4")), "-3/4");
    EXPECT_EQ(text(Rational(5)), "5");
    EXPECT_EQ(text(Rational(0)), "0");

    Rational x;
    std::istringstream in("2/4 -6/4 +3");
    in >> x;
    EXPECT_EQ(text(x), "1/2");
    in >> x;
    EXPECT_EQ(text(x), "-3/2");
    in >> x;
    EXPECT_EQ(x, 3);

    std::istringstream zero("3/0");
    zero >> x;
    EXPECT_TRUE(zero.fail());
    EXPECT_EQ(x, 3);
}

TEST(Rational, ReadElementRefusesMalformedTokens)
{
    Rational x(9);
    std::string token;
    std::istringstream in(" 2/4\n3/0 1/-2 1.5 - /3 -10/15");
    ASSERT_EQ(read_element(in, x, token), read_result::ok);
    EXPECT_EQ(x, q("1/2"));
    for (const char* bad : {"3/0", "1/-2", "1.5", "-", "/3"}) {
        EXPECT_EQ(read_element(in, x, token), read_result::malformed) << bad;
        EXPECT_EQ(token, bad);
        EXPECT_EQ(x, q("1/2"));
    }
    ASSERT_EQ(read_element(in, x, token), read_result::ok);
    EXPECT_EQ(text(x), "-2/3");
    EXPECT_EQ(read_element(in, x, token), read_result::end_of_input);
}

TEST(Rational, FieldInterface)
{
    Rational a = q("2/3"), b = q("-5/7");
    EXPECT_EQ(a + b, q("-1/21"));
    EXPECT_EQ(a - b, q("29/21"));
    EXPECT_EQ(a * b, q("-10/21"));
    EXPECT_EQ(a / b, q("-14/15"));
    Rational c = a;
    c += b;
    c -= b;
    c *= b;
    c /= b;
    EXPECT_EQ(c, a);
    EXPECT_EQ(-b, q("5/7"));
    EXPECT_EQ(+b, b);
    b.invert();
    EXPECT_EQ(b, q("-7/5"));
    EXPECT_EQ(sign(b), -1);
    EXPECT_EQ(sign(Rational(0)), 0);
    EXPECT_EQ(sign(a), 1);
    EXPECT_EQ(abs(b), q("7/5"));
    EXPECT_TRUE(Rational(1) == 1);
    EXPECT_TRUE(a != 0);
    c = -1;
    EXPECT_EQ(c, -1);

    std::ostringstream ring;
    field_show_ring_name(ring);
    EXPECT_EQ(ring.str(), "Q");
    EXPECT_EQ(field_characteristic(), 0);
    EXPECT_EQ(field_max_characteristic(), 0);
}

}  // namespace
