// The table-driven prime field F_p, p <= 251.
#include <sstream>

#include <gtest/gtest.h>

#include "fields/Fp.h"
#include "fields/field.h"

namespace {

// Switches both moduli to p for one test and back to the start-up prime.
struct PrimeGuard {
    explicit PrimeGuard(int p) { field_set_characteristic(p); }
    ~PrimeGuard() { field_set_defaults(); }
};

template <class T>
std::string text(const T& x)
{
    std::ostringstream s;
    s << x;
    return s.str();
}

TEST(Fp8, TablesForFive)
{
    PrimeGuard g(5);
    EXPECT_EQ(Fp::prime, 5);
    EXPECT_EQ(Fp8::add[3][4], 2);
    EXPECT_EQ(Fp8::sub[1][3], 3);
    EXPECT_EQ(Fp8::mul[4][4], 1);
    EXPECT_EQ(Fp8::div[1][2], 3);
    Fp8 two(2);
    two.invert();
    EXPECT_EQ(two.q, 3);
    EXPECT_EQ(-Fp8(0), Fp8(0));
    EXPECT_TRUE(-Fp8(0) == 0);
    Fp8 m;
    m = -1;
    EXPECT_EQ(m.q, 4);
    m = 12;
    EXPECT_EQ(m.q, 2);
}

TEST(Fp8, PrimeTwo)
{
    PrimeGuard g(2);
    Fp8 one(1);
    EXPECT_EQ(one + one, 0);
    EXPECT_EQ(one * one, 1);
    one.invert();
    EXPECT_EQ(one, 1);
    EXPECT_EQ(sign(Fp8(1)), 1);
    EXPECT_EQ(text(Fp8(1)), "1");
}

TEST(Fp8, SymmetricOutputAtTheStartUpPrime)
{
    EXPECT_EQ(Fp8::prime, 101);
    EXPECT_EQ(text(Fp8(51)), "-50");
    EXPECT_EQ(sign(Fp8(51)), -1);
    EXPECT_EQ(abs(Fp8(51)).q, 50);
    EXPECT_EQ(len(Fp8(51)), 3);
    EXPECT_EQ(text(Fp8(50)), "50");
    EXPECT_EQ(sign(Fp8(50)), 1);
    EXPECT_EQ(abs(Fp8(50)).q, 50);
    EXPECT_EQ(sign(Fp8(0)), 0);

    std::ostringstream ring;
    field_show_ring_name(ring);
    EXPECT_EQ(ring.str(), "F101");
    std::ostringstream extra;
    field_show_extra_settings(extra);
    EXPECT_EQ(extra.str(), "");
    EXPECT_EQ(field_characteristic(), 101);
    EXPECT_EQ(field_max_characteristic(), 251);
}

TEST(Fp8, TablesRebuiltForASmallerPrime)
{
    PrimeGuard g(251);
    EXPECT_EQ((Fp8(200) + Fp8(100)).q, 49);
    field_set_characteristic(7);
    EXPECT_EQ(Fp::prime, 7);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) {
            ASSERT_EQ((Fp8(i) + Fp8(j)).q, (i + j) % 7);
            ASSERT_EQ((Fp8(i) - Fp8(j)).q, (i - j + 7) % 7);
            ASSERT_EQ((Fp8(i) * Fp8(j)).q, i * j % 7);
            if (j != 0) {
                ASSERT_EQ((Fp8(i) / Fp8(j) * Fp8(j)).q, i);
            }
        }
    EXPECT_EQ(text(Fp8(4)), "-3");
}

// Every operation against Fp, for all pairs of residues.
TEST(Fp8, AgreesWithFp)
{
    for (int p : {2, 3, 7, 101, 251}) {
        PrimeGuard g(p);
        for (int i = 0; i < p; ++i) {
            Fp8 x(i);
            Fp y(i);
            ASSERT_EQ((-x).q, (-y).q);
            ASSERT_EQ(sign(x), sign(y));
            ASSERT_EQ(abs(x).q, abs(y).q);
            ASSERT_EQ(len(x), len(y));
            ASSERT_EQ(text(x), text(y));
            if (i != 0) {
                Fp8 xi = x;
                Fp yi = y;
                xi.invert();
                yi.invert();
                ASSERT_EQ(xi.q, yi.q) << "p = " << p << ", i = " << i;
            }
            for (int j = 0; j < p; ++j) {
                Fp8 u(j);
                Fp v(j);
                ASSERT_EQ((x + u).q, (y + v).q);
                ASSERT_EQ((x - u).q, (y - v).q);
                ASSERT_EQ((x * u).q, (y * v).q);
                Fp8 w = x;
                w += u;
                ASSERT_EQ(w.q, (y + v).q);
                w = x;
                w -= u;
                ASSERT_EQ(w.q, (y - v).q);
                w = x;
                w *= u;
                ASSERT_EQ(w.q, (y * v).q);
                if (j != 0) {
                    ASSERT_EQ((x / u).q, (y / v).q) << "p = " << p << ", " << i << "/" << j;
                    w = x;
                    w /= u;
                    ASSERT_EQ(w.q, (y / v).q);
                }
            }
        }
    }
}

TEST(Fp8, ReadingMapsRationalsIntoTheField)
{
    Fp8 x;
    std::istringstream in("1/2 -1 2/4");
    in >> x;
    EXPECT_EQ(x.q, 51);
    in >> x;
    EXPECT_EQ(x.q, 100);
    in >> x;
    EXPECT_EQ(x.q, 51);

    std::string token;
    std::istringstream tokens("-3/4 1/101 abc 1/0 7");
    ASSERT_EQ(read_element(tokens, x, token), read_result::ok);
    EXPECT_EQ((x * Fp8(4)).q, 98);
    x = 5;
    EXPECT_EQ(read_element(tokens, x, token), read_result::no_image);
    EXPECT_EQ(token, "1/101");
    EXPECT_EQ(x.q, 5);
    EXPECT_EQ(read_element(tokens, x, token), read_result::malformed);
    EXPECT_EQ(token, "abc");
    EXPECT_EQ(read_element(tokens, x, token), read_result::malformed);
    EXPECT_EQ(x.q, 5);
    EXPECT_EQ(read_element(tokens, x, token), read_result::ok);
    EXPECT_EQ(x.q, 7);
    EXPECT_EQ(read_element(tokens, x, token), read_result::end_of_input);
}

// The message goes to standard output; the child sends that to standard
// error so that its text can be checked.
void divide_by_zero_with_stdout_on_stderr(int how)
{
    std::cout.rdbuf(std::cerr.rdbuf());
    Fp8 x(3), zero(0);
    if (how == 0) zero.invert();
    if (how == 1) x = x / zero;
    if (how == 2) x /= zero;
}

TEST(Fp8Death, DivisionByZeroEndsTheProgram)
{
    for (int how : {0, 1, 2})
        EXPECT_EXIT(divide_by_zero_with_stdout_on_stderr(how), ::testing::ExitedWithCode(1),
                    "^\nFp8: division by zero\n$")
            << how;
}

}  // namespace
