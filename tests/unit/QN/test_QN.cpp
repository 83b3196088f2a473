// The cyclotomic field Q(zeta_N).
#include <cstdint>
#include <sstream>

#include <gtest/gtest.h>

#include "fields/field.h"

namespace {

// Back to the start-up field Q(zeta_5) after each test.
struct CyclotomicField : ::testing::Test {
    void TearDown() override { field_set_defaults(); }
};

std::string text(const QN& x)
{
    std::ostringstream s;
    s << x;
    return s.str();
}

// The element with the given coordinates, read in the input syntax.
QN el(const std::string& coordinates)
{
    QN x;
    std::istringstream in(coordinates);
    in >> x;
    EXPECT_FALSE(in.fail()) << coordinates;
    return x;
}

// The generator zeta of the current field.
QN zeta()
{
    if (QN::n == 1) return QN_phi.empty() ? QN(1) : QN_phi[0];  // zeta is rational
    QN z(0);
    z.a[1] = 1;
    return z;
}

// Lower coefficients of Phi_N, read back from QN_phi[0].
std::vector<int> cyclotomic(int N)
{
    QN::set(N);
    std::vector<int> c;
    for (int i = 0; i < QN::n; ++i) c.push_back(-static_cast<int>(QN_phi[0].a[i].v.get_num().get_si()));
    c.push_back(1);
    return c;
}

int totient(int N)
{
    int count = 0;
    for (int k = 1; k <= N; ++k) {
        int a = k, b = N;
        while (b != 0) {
            int t = a % b;
            a = b;
            b = t;
        }
        if (a == 1) ++count;
    }
    return count;
}

// A fixed-seed generator (64-bit linear congruential, high bits used).
struct Lcg {
    std::uint64_t state;
    explicit Lcg(std::uint64_t seed) : state(seed) {}
    int below(int bound)
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(bound));
    }
};

// A random element with small numerators and denominators, some zero coordinates.
QN random_element(Lcg& g)
{
    QN x;
    for (Rational& c : x.a) {
        if (g.below(4) == 0) continue;
        c.v = mpq_class(g.below(19) - 9, g.below(6) + 1);
        c.v.canonicalize();
    }
    return x;
}

TEST(QNNumbers, MoebiusAndPrimes)
{
    EXPECT_EQ(mu(12), 0);
    EXPECT_EQ(mu(30), -1);
    EXPECT_EQ(mu(6), 1);
    EXPECT_EQ(mu(1), 1);
    EXPECT_EQ(mu(4), 0);
    EXPECT_EQ(mu(7), -1);
    EXPECT_EQ(mu(10), 1);
    EXPECT_EQ(mu(49), 0);
    EXPECT_EQ(mu(105), -1);
    EXPECT_EQ(is_prime(1), 1);
    EXPECT_EQ(is_prime(0), 1);
    EXPECT_EQ(is_prime(3), 1);
    EXPECT_EQ(is_prime(4), 0);
    EXPECT_EQ(is_prime(9), 0);
    EXPECT_EQ(is_prime(97), 1);
}

TEST_F(CyclotomicField, CyclotomicPolynomials)
{
    EXPECT_EQ(cyclotomic(5), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(cyclotomic(4), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(cyclotomic(6), (std::vector<int>{1, -1, 1}));
    EXPECT_EQ(cyclotomic(12), (std::vector<int>{1, 0, -1, 0, 1}));
    EXPECT_EQ(cyclotomic(30), (std::vector<int>{1, 1, 0, -1, -1, -1, 0, 1, 1}));
    // The first with a coefficient other than 0 and +-1.
    std::vector<int> phi105 = cyclotomic(105);
    ASSERT_EQ(phi105.size(), 49u);
    EXPECT_EQ(phi105[7], -2);
    EXPECT_EQ(phi105[41], -2);
    for (int N = 1; N <= 60; ++N) {
        QN::set(N);
        ASSERT_EQ(QN::N, N);
        ASSERT_EQ(QN::n, totient(N)) << N;
        ASSERT_EQ(static_cast<int>(QN_phi.size()), N - QN::n);
        // zeta has order exactly N.
        QN power(1);
        for (int k = 1; k < N; ++k) {
            power *= zeta();
            ASSERT_NE(power, 1) << N << ", " << k;
        }
        ASSERT_EQ(power * zeta(), 1) << N;
    }
}

TEST_F(CyclotomicField, FifthRootsOfUnity)
{
    QN::set(5);
    EXPECT_EQ(QN::n, 4);
    QN zeta = el("0,1,0,0"), zeta3 = el("0,0,0,1");
    QN zeta4 = zeta * zeta3;
    EXPECT_EQ(text(zeta4), "(-1,-1,-1,-1)");
    QN one = zeta * zeta4;
    EXPECT_EQ(one, 1);
    EXPECT_EQ(text(one), "1");
    QN z = zeta;
    z *= zeta3;
    EXPECT_EQ(z, zeta4);
    z *= z;  // zeta^8 = zeta^3
    EXPECT_EQ(z, zeta3);
}

TEST_F(CyclotomicField, FourthAndSixthRootsOfUnity)
{
    QN::set(4);
    EXPECT_EQ(QN::n, 2);
    ASSERT_EQ(QN_phi.size(), 2u);
    EXPECT_EQ(QN_phi[0], -1);
    EXPECT_EQ(text(QN_phi[1]), "(0,-1)");
    QN i = el("0,1");
    EXPECT_EQ(i * i, -1);
    EXPECT_EQ(text(i * i), "-1");
    QN inverse = i;
    inverse.invert();
    EXPECT_EQ(text(inverse), "(0,-1)");
    EXPECT_EQ(QN(1) / i, inverse);

    QN::set(6);
    QN w = el("0,1");
    EXPECT_EQ(text(w * w), "(-1,1)");

    QN::set(2);
    EXPECT_EQ(QN::n, 1);
    EXPECT_EQ(QN_phi[0], -1);
    EXPECT_EQ(text(el("6/4")), "3/2");
}

TEST_F(CyclotomicField, PrintingSignAndWidth)
{
    QN::set(5);
    QN x = el("0,1,0,-1/2");
    EXPECT_EQ(text(x), "(0,1,0,-1/2)");
    EXPECT_EQ(len(x), 12);
    EXPECT_EQ(sign(el("0,-1,0,0")), 1);
    EXPECT_EQ(abs(el("0,-1,0,0")), el("0,-1,0,0"));
    QN r = el("-3/4,0,0,0");
    EXPECT_EQ(text(r), "-3/4");
    EXPECT_EQ(len(r), 4);
    EXPECT_EQ(sign(r), -1);
    EXPECT_EQ(text(abs(r)), "3/4");
    EXPECT_EQ(sign(QN(0)), 0);
    EXPECT_EQ(is_el_Q(r), 1);
    EXPECT_EQ(is_el_Q(x), 0);

    Lcg g(7);
    for (int k = 0; k < 200; ++k) {
        QN y = random_element(g);
        ASSERT_EQ(len(y), static_cast<int>(text(y).size())) << text(y);
    }
}

TEST_F(CyclotomicField, RationalScalarsAndComparisons)
{
    QN::set(5);
    Rational half(mpq_class(1, 2));
    QN x = el("2,4,0,-6");
    EXPECT_EQ(text(x * half), "(1,2,0,-3)");
    x *= half;
    EXPECT_EQ(text(x), "(1,2,0,-3)");
    QN r(half);
    r *= Rational(4);
    EXPECT_EQ(r, 2);
    EXPECT_TRUE(r != 1);
    EXPECT_FALSE(x == 1);  // a[0] = 1, but not rational
    r = half;
    EXPECT_EQ(text(r), "1/2");
    r = -2;
    EXPECT_EQ(text(r), "-2");
    EXPECT_EQ(text(-x), "(-1,-2,0,3)");
    EXPECT_EQ(+x, x);
    EXPECT_EQ(text(x + x - el("1,1,1,1")), "(1,3,-1,-7)");
    QN y = x;
    y += x;
    y -= el("1,1,1,1");
    EXPECT_EQ(y, x + x - el("1,1,1,1"));
    EXPECT_EQ(x * QN(3), x + x + x);
    EXPECT_EQ(QN(3) * x, x + x + x);
    y = x;
    y /= QN(2);
    EXPECT_EQ(y + y, x);
}

TEST_F(CyclotomicField, RandomInversesAndFieldLaws)
{
    Lcg g(20240601);
    for (int N : {3, 5, 7, 8, 9, 12, 15, 16, 21, 30}) {
        QN::set(N);
        for (int k = 0; k < 12; ++k) {
            QN x = random_element(g), y = random_element(g), z = random_element(g);
            if (x == 0) continue;
            QN inverse = x;
            inverse.invert();
            ASSERT_EQ(x * inverse, 1) << "N = " << N << ", x = " << text(x);
            ASSERT_EQ(y / x * x, y) << "N = " << N;
            QN w = y;
            w /= x;
            ASSERT_EQ(w * x, y);
            ASSERT_EQ(x * y, y * x);
            ASSERT_EQ(x * (y + z), x * y + x * z);
            ASSERT_EQ((x * y) * z, x * (y * z));
        }
    }
}

TEST_F(CyclotomicField, StreamInput)
{
    QN::set(5);
    QN x;
    std::istringstream in("1,0,-1/2,3 1; 0;0; 1/3");
    in >> x;
    EXPECT_EQ(text(x), "(1,0,-1/2,3)");
    in >> x;  // any separator, blanks before numbers
    EXPECT_EQ(text(x), "(1,0,0,1/3)");

    for (const char* bad : {"1,0,0", "1,0,0,3/0", "1,a,0,0", "(1,0,0,0)", "1/,0,0,0", ""}) {
        std::istringstream b(bad);
        QN y = x;
        b >> y;
        EXPECT_TRUE(b.fail()) << bad;
        EXPECT_EQ(y, x) << bad;
    }
}

TEST_F(CyclotomicField, ReadElement)
{
    QN::set(5);
    QN x(7);
    std::string token;
    std::istringstream in("1,0,-1/2,3 (0,1,0,-1/2) -6/4 1,0,0,1/0 1,0,0 1,0,0,0,0 (1,0,0,0 x 0,1,0,0");
    ASSERT_EQ(read_element(in, x, token), read_result::ok);
    EXPECT_EQ(text(x), "(1,0,-1/2,3)");
    ASSERT_EQ(read_element(in, x, token), read_result::ok);
    EXPECT_EQ(text(x), "(0,1,0,-1/2)");
    ASSERT_EQ(read_element(in, x, token), read_result::ok);
    EXPECT_EQ(text(x), "-3/2");
    for (const char* bad : {"1,0,0,1/0", "1,0,0", "1,0,0,0,0", "(1,0,0,0", "x"}) {
        ASSERT_EQ(read_element(in, x, token), read_result::malformed) << bad;
        EXPECT_EQ(token, bad);
        EXPECT_EQ(text(x), "-3/2");
    }
    ASSERT_EQ(read_element(in, x, token), read_result::ok);
    EXPECT_EQ(text(x), "(0,1,0,0)");
    EXPECT_EQ(read_element(in, x, token), read_result::end_of_input);
}

// Arbitrary text never crashes the reader and is either an element or refused.
TEST_F(CyclotomicField, ReadElementSurvivesArbitraryTokens)
{
    const std::string alphabet = "0123456789-+/,();x";
    Lcg g(99);
    for (int N : {2, 5, 12}) {
        QN::set(N);
        for (int k = 0; k < 3000; ++k) {
            std::string t;
            for (int i = g.below(14); i >= 0; --i) t.push_back(alphabet[g.below(static_cast<int>(alphabet.size()))]);
            std::istringstream in(t);
            QN x;
            std::string token;
            read_result r = read_element(in, x, token);
            ASSERT_TRUE(r == read_result::ok || r == read_result::malformed) << t;
            if (r == read_result::ok) {
                ASSERT_EQ(static_cast<int>(x.a.size()), QN::n);
            }
        }
    }
}

TEST_F(CyclotomicField, SettingsLines)
{
    field_set_defaults();
    std::ostringstream ring, extra;
    field_show_ring_name(ring);
    EXPECT_EQ(ring.str(), "Q(\xE6)");
    field_show_extra_settings(extra);
    EXPECT_EQ(extra.str(),
              "                    \xE6 = 5-th root of unity\n"
              "                    a Q-basis for Q(\xE6) is \xE6^0,...,\xE6^3\n");
    EXPECT_EQ(field_characteristic(), 0);
    EXPECT_EQ(field_max_characteristic(), 0);
}

TEST(QNDeath, DivisionByZeroEndsTheProgram)
{
    QN::set(5);
    EXPECT_EXIT({ QN z(0); z.invert(); }, ::testing::ExitedWithCode(3), "^QN : division by zero !!! \n$");
    EXPECT_EXIT({ QN x = el("0,1,0,0"); x = x / QN(0); }, ::testing::ExitedWithCode(3),
                "^QN : division by zero !!! \n$");
}

}  // namespace
