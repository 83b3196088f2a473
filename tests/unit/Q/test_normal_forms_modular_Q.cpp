// Normal forms over Q from primes: every form must take the values of its
// monomial at every point (which makes it the normal form), also when the
// first primes cannot be used (points that meet modulo them, denominators
// they divide); coefficients asked for alone must be those of the forms.
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/bumo_modular.h"
#include "engine/normal_forms_modular.h"
#include "engine/scheme.h"
#include "unit/Q/modular_fixture.h"

namespace {

class NormalFormsModularTest : public ModularFixture {};

mpq_class value_at(const monom& m, const std::vector<mpq_class>& pt)
{
    mpq_class v = 1;
    for (int k = 0; k < dim; ++k)
        for (int e = 0; e < m.exp[k]; ++e) v *= pt[k];
    return v;
}

// The border monomials and the products of two elements of O outside O.
std::vector<monom> outside_O(const scheme& X)
{
    std::vector<monom> ts(X.B, X.B + X.no_of_border);
    for (int i = 0; i < X.s; i += 3)
        for (int j = i; j < X.s; j += 2) {
            monom m = X.O[i] * X.O[j];
            if (is_el_O(X, m) < 0) ts.push_back(m);
        }
    return ts;
}

// The whole normal forms: the coefficients at every element of O, from the
// top down.
bool whole_forms(const scheme& X, const std::vector<monom>& ts, std::vector<std::vector<K>>& coefs)
{
    std::vector<int> rs;
    for (int r = X.s - 1; r >= 0; --r) rs.push_back(r);
    return normal_form_coefficients(X, rs, ts, coefs);
}

// The forms of ts_wanted monomials outside O, some above its degrees.
void expect_normal_forms(const points& pts, size_t ts_wanted)
{
    scheme* X = make_scheme(pts);
    bu_mo(*X);
    std::vector<monom> ts = outside_O(*X);
    while (ts.size() < ts_wanted) ts.push_back(ts.back() * X->O[1 % X->s]);
    ts.resize(ts_wanted);
    std::vector<std::vector<K>> coefs;
    ASSERT_TRUE(whole_forms(*X, ts, coefs));
    ASSERT_EQ(coefs.size(), ts.size());
    for (size_t i = 0; i < ts.size(); ++i) {
        ASSERT_EQ(coefs[i].size(), size_t(X->s));
        for (const auto& pt : pts) {
            mpq_class sum = 0;
            for (int j = 0; j < X->s; ++j) sum += coefs[i][j].v * value_at(X->O[X->s - 1 - j], pt);
            ASSERT_EQ(sum, value_at(ts[i], pt)) << "form " << i;
        }
    }
    delete X;
}

// The coefficients at chosen elements of O, computed alone, must be those
// of the whole normal forms (checked above against the points).
void expect_coefficients_of_forms(const points& pts)
{
    scheme* X = make_scheme(pts);
    bu_mo(*X);
    // Monomials outside O, some above the degrees of O, and elements of O.
    std::vector<monom> ts = outside_O(*X);
    for (int k = 0; k < X->s; k += 2) ts.push_back(X->O[k]);
    // Every other element of O, from the top down, and the last one.
    std::vector<int> rs;
    for (int r = X->s - 1; r >= 0; r -= 2) rs.push_back(r);
    std::vector<std::vector<K>> forms, coefs;
    ASSERT_TRUE(whole_forms(*X, ts, forms));
    ASSERT_TRUE(normal_form_coefficients(*X, rs, ts, coefs));
    ASSERT_EQ(coefs.size(), ts.size());
    for (size_t i = 0; i < ts.size(); ++i) {
        ASSERT_EQ(coefs[i].size(), rs.size());
        for (size_t j = 0; j < rs.size(); ++j)
            EXPECT_EQ(coefs[i][j], forms[i][X->s - 1 - rs[j]]) << "monomial " << i << ", element " << rs[j];
    }
    delete X;
}

TEST_F(NormalFormsModularTest, CoefficientsAtChosenElementsAreThoseOfTheForms)
{
    for (int n : {2, 3}) {
        use(n);
        for (int s : {1, 7, 22}) {
            SCOPED_TRACE(s);
            points pts = uniform_points(s, -30, 30, 5 * s + n);
            for (size_t i = 0; i < pts.size(); i += 3) pts[i][n - 1] /= mpq_class(int(i) + 2);
            expect_coefficients_of_forms(pts);
        }
    }
    use(2);
    const std::vector<uint32_t>& primes = modular_primes();
    const mpq_class p0(primes[0]), p1(primes[1]);
    expect_coefficients_of_forms({{0, 0}, {p0, 0}, {0, 1}, {0, 1 + p1}, {mpq_class(1) / primes[2], 5}, {2, 3}});
}

TEST_F(NormalFormsModularTest, FormsTakeTheValuesOfTheirMonomials)
{
    for (int n : {2, 3}) {
        use(n);
        for (int s : {1, 6, 25}) {
            SCOPED_TRACE(s);
            points pts = uniform_points(s, -40, 40, 7 * s + n);
            // Some coordinates with denominators.
            for (size_t i = 0; i < pts.size(); i += 2) pts[i][0] /= mpq_class(int(i) + 3);
            expect_normal_forms(pts, pts.size());
            expect_normal_forms(pts, 2 * pts.size() + 3);
        }
    }
}

TEST_F(NormalFormsModularTest, PrimesWherePointsMeetOrDenominatorsVanishAreSkipped)
{
    use(2);
    const std::vector<uint32_t>& primes = modular_primes();
    const mpq_class p0(primes[0]), p1(primes[1]), p2(primes[2]);
    // Points 0 and 1 meet modulo p0, points 2 and 3 modulo p1; point 4 has
    // no image modulo p2.
    const points pts{{0, 0}, {p0, 0}, {0, 1}, {0, 1 + p1}, {mpq_class(1) / p2, 5}, {2, 3}, {-1, 7}};
    expect_normal_forms(pts, 5);
    expect_normal_forms(pts, 12);
}

}  // namespace
