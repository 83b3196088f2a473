// Canonical forms of the border, minimal generators of I_X, socle and type,
// checked against their defining properties on fixed and random point sets.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/canonical_forms.h"
#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/min_gens.h"
#include "engine/scheme.h"
#include "engine/socle.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

class MinSocleTest : public engine_test {
protected:
    void SetUp() override { use_degrevlex(); }
};

// The scheme of the given affine points (dim must already be set), with
// the Buchberger-Moeller results.
std::unique_ptr<scheme> computed_scheme(const points& pts)
{
    auto X = make_scheme(pts);
    printed([&] {
        bu_mo(*X);
        need_groebner(*X);
    });  // bu_mo writes the separator line
    return X;
}

// s distinct points with coordinates 0..range-1.
points random_points(xorshift64& g, int s, int range)
{
    return distinct_points(s, [&] { return g.below(range); });
}

points grid(const std::vector<int>& sizes)
{
    points pts(1, std::vector<int>());
    for (int n : sizes) {
        points next;
        for (const auto& p : pts)
            for (int v = 0; v < n; ++v) {
                next.push_back(p);
                next.back().push_back(v);
            }
        pts = next;
    }
    return pts;
}

int degree(const polynomial& f)
{
    return f.term[0].tot_deg();
}

// Normal form of f modulo the ideal of leading forms, whose Groebner basis
// is Lf_Ix (the orderings are degree-compatible).
polynomial reduce_lf(polynomial f, const scheme& X)
{
    for (;;) {
        if (sign(f) == 0) return f;
        bool reduced = false;
        for (int t = 0; t < f.no_of_monoms && !reduced; ++t) {
            for (int l = 0; l < X.Lf_Ix->no_of_gens; ++l) {
                const polynomial& g = X.Lf_Ix->gen[l];
                if (!Zn_order_le(g.term[0], f.term[t])) continue;
                polynomial h = g;
                monom x = f.term[t] / g.term[0];
                h *= x;
                h *= f.coef[t];
                f -= h;
                reduced = true;
                break;
            }
        }
        if (!reduced) return f;
    }
}

// Dimension of the socle of K[x]/LF in each degree, from the kernels of the
// multiplication by all variables on the standard monomials of each degree.
std::vector<int> socle_dims(const scheme& X)
{
    const int rX = X.sigma + 1;
    std::vector<int> dims(rX + 1, 0);
    for (int d = 0; d <= rX; ++d) {
        const int first = d == 0 ? 0 : X.hilb_fct[d - 1], end = X.hilb_fct[d];
        if (d == rX) {
            dims[d] = end - first;
            continue;
        }
        const int next = end, block = X.hilb_fct[d + 1] - end;
        matrix m(end - first, dim * block);
        for (int j = first; j < end; ++j)
            for (int k = 0; k < dim; ++k) {
                polynomial f(X.O[j]);
                monom x = var(k);
                f *= x;
                f = reduce_lf(f, X);
                if (sign(f) == 0) continue;
                for (int t = 0; t < f.no_of_monoms; ++t) {
                    int pos = -1;
                    for (int o = next; o < next + block; ++o)
                        if (X.O[o] == f.term[t]) pos = o;
                    EXPECT_GE(pos, 0) << "normal form outside O";
                    if (pos >= 0) m.a[k * block + pos - next][j - first] = f.coef[t];
                }
            }
        dims[d] = kernel_dimension(m);
    }
    return dims;
}

using expvec = std::vector<int>;

long binomial(int n, int k)
{
    long r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
    return r;
}

int rank(std::vector<std::map<expvec, K>>& vecs, const std::vector<expvec>& basis)
{
    if (vecs.empty()) return 0;
    std::map<expvec, int> index;
    for (size_t i = 0; i < basis.size(); ++i) index[basis[i]] = static_cast<int>(i);
    matrix m(static_cast<int>(vecs.size()), static_cast<int>(basis.size()));
    for (size_t j = 0; j < vecs.size(); ++j)
        for (auto& [e, c] : vecs[j]) m.a[index.at(e)][j] = c;
    return m.cols - kernel_dimension(m);
}

// The homogeneous generator g times the monomial mu, as a coefficient map.
std::map<expvec, K> times(const polynomial& g, const expvec& mu)
{
    std::map<expvec, K> v;
    for (int t = 0; t < g.no_of_monoms; ++t) {
        expvec e(mu);
        for (int k = 0; k < proj; ++k) e[k] += g.term[t].exp[k];
        v[e] = g.coef[t];
    }
    return v;
}

// In every degree d up to the regularity sigma + 2, the generators of
// degree d must be independent modulo the multiples of the lower ones, and
// both together must span I_X in degree d, of dimension binom(n+d, n) - H(d).
void expect_minimal_generating_set(const scheme& X)
{
    const ideal& I = *X.min_Ix;
    for (int d = 1; d <= X.sigma + 2; ++d) {
        const int H = d <= X.sigma + 1 ? X.hilb_fct[d] : X.s;
        const long dim_I = binomial(dim + d, dim) - H;
        std::vector<std::map<expvec, K>> vecs;
        int own = 0;
        for (int i = 0; i < I.no_of_gens; ++i) {
            const int e = degree(I.gen[i]);
            if (e > d) continue;
            if (e == d) {
                ++own;
                continue;
            }
            for (const expvec& mu : exponents_of_degree(d - e)) vecs.push_back(times(I.gen[i], mu));
        }
        const std::vector<expvec> basis = exponents_of_degree(d);
        const int lower = rank(vecs, basis);
        for (int i = 0; i < I.no_of_gens; ++i)
            if (degree(I.gen[i]) == d) vecs.push_back(times(I.gen[i], expvec(proj, 0)));
        EXPECT_EQ(lower + own, dim_I) << "degree " << d;
        EXPECT_EQ(rank(vecs, basis), dim_I) << "degree " << d;
    }
}

// The properties every result must have, whatever the point set.
void check_scheme(scheme& X)
{
    min_Ix(X);
    socle(X);
    const ideal& I = *X.min_Ix;
    ASSERT_GT(I.no_of_gens, 0);

    // Minimal generators: homogeneous of the affine degree of their leading
    // term, vanishing at the points, sorted, at most as many per degree as
    // the Groebner basis has.
    std::map<int, int> per_degree, gb_per_degree;
    for (int i = 0; i < X.Ix->no_of_gens; ++i) ++gb_per_degree[degree(X.Ix->gen[i])];
    for (int i = 0; i < I.no_of_gens; ++i) {
        const polynomial& g = I.gen[i];
        for (int t = 0; t < g.no_of_monoms; ++t) {
            ASSERT_EQ(g.term[t].dim, proj);
            EXPECT_EQ(g.term[t].tot_deg() + g.term[t].exp[proj - 1], degree(g));
        }
        for (int p = 0; p < X.s; ++p) EXPECT_TRUE(value_at(g, X, p) == 0) << "min" << i + 1;
        if (i > 0) {
            EXPECT_LE(degree(I.gen[i - 1]), degree(g));
        }
        ++per_degree[degree(g)];
    }
    for (auto [d, n] : per_degree) EXPECT_LE(n, gb_per_degree[d]) << "degree " << d;
    expect_minimal_generating_set(X);

    // Canonical forms: combinations of O of the border monomial's degree,
    // congruent to it modulo the leading forms.
    for (int i = 0; i < X.no_of_border; ++i) {
        const polynomial& c = X.Can_Lf->gen[i];
        if (sign(c) != 0)
            for (int t = 0; t < c.no_of_monoms; ++t) {
                EXPECT_EQ(c.term[t].tot_deg(), X.B[i].tot_deg());
                EXPECT_GE(is_el_O(X, c.term[t]), 0);
            }
        EXPECT_EQ(sign(reduce_lf(polynomial(X.B[i]) - c, X)), 0) << "border " << i;
    }

    // Socle: single-degree combinations of O, killed by every variable, as
    // many per degree as the socle has dimensions there, sorted.
    const ideal& S = *X.socle;
    std::vector<int> dims = socle_dims(X);
    std::vector<int> found(dims.size(), 0);
    for (int i = 0; i < S.no_of_gens; ++i) {
        const polynomial& f = S.gen[i];
        ASSERT_NE(sign(f), 0);
        const int d = degree(f);
        for (int t = 0; t < f.no_of_monoms; ++t) {
            EXPECT_EQ(f.term[t].tot_deg(), d);
            EXPECT_GE(is_el_O(X, f.term[t]), 0);
        }
        for (int k = 0; k < dim; ++k) {
            polynomial h = f;
            monom x = var(k);
            h *= x;
            EXPECT_EQ(sign(reduce_lf(h, X)), 0) << "soc" << i + 1 << " times variable " << k;
        }
        if (i > 0) {
            EXPECT_FALSE(f < S.gen[i - 1]);
        }
        ASSERT_LT(d, static_cast<int>(found.size()));
        ++found[d];
    }
    EXPECT_EQ(found, dims);
}

TEST_F(MinSocleTest, ThreeNonCollinearPlanePoints)
{
    set_dim(2);
    auto X = computed_scheme({{0, 0}, {1, 0}, {0, 1}});
    min_Ix(*X);
    ASSERT_EQ(X->min_Ix->no_of_gens, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(degree(X->min_Ix->gen[i]), 2);
    // The basis elements have monomial leading forms: every form is 0.
    for (int i = 0; i < X->no_of_border; ++i) EXPECT_EQ(sign(X->Can_Lf->gen[i]), 0);
    socle(*X);
    ASSERT_EQ(X->socle->no_of_gens, 2);
    EXPECT_TRUE(X->socle->gen[0] == polynomial(X->O[1]));
    EXPECT_TRUE(X->socle->gen[1] == polynomial(X->O[2]));
    check_scheme(*X);
}

TEST_F(MinSocleTest, SinglePoint)
{
    set_dim(3);
    auto X = computed_scheme({{2, 5, 7}});
    min_Ix(*X);
    ASSERT_EQ(X->min_Ix->no_of_gens, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(degree(X->min_Ix->gen[i]), 1);
    for (int i = 0; i < X->no_of_border; ++i) EXPECT_EQ(sign(X->Can_Lf->gen[i]), 0);
    socle(*X);
    ASSERT_EQ(X->socle->no_of_gens, 1);
    EXPECT_TRUE(X->socle->gen[0] == polynomial(1));
    check_scheme(*X);
}

TEST_F(MinSocleTest, FourGeneralPlanePointsAreACompleteIntersection)
{
    set_dim(2);
    auto X = computed_scheme({{0, 0}, {1, 0}, {0, 1}, {2, 3}});
    ASSERT_EQ(X->Ix->no_of_gens, 3);  // two quadrics and a cubic
    min_Ix(*X);
    ASSERT_EQ(X->min_Ix->no_of_gens, 2);
    EXPECT_EQ(degree(X->min_Ix->gen[0]), 2);
    EXPECT_EQ(degree(X->min_Ix->gen[1]), 2);
    socle(*X);
    ASSERT_EQ(X->socle->no_of_gens, 1);
    EXPECT_EQ(degree(X->socle->gen[0]), 2);
    check_scheme(*X);
}

TEST_F(MinSocleTest, BorderFormWithSeveralTerms)
{
    // The conics through these points are x^2 - x - (y^2 - y)/3 and
    // xy - y^2 + y, whose leading forms have two terms.
    set_dim(2);
    auto X = computed_scheme({{0, 0}, {1, 0}, {0, 1}, {2, 3}});
    create_Lf_Ix(*X);
    create_Can_Lf(*X);
    bool several = false;
    for (int i = 0; i < X->no_of_border; ++i) {
        int l = is_el_G(*X, X->B[i]);
        if (l < 0 || X->Lf_Ix->gen[l].no_of_monoms < 2) continue;
        several = true;
        // The lower terms of the leading form with reversed signs.
        polynomial expected = polynomial(X->B[i]) - X->Lf_Ix->gen[l];
        EXPECT_TRUE(X->Can_Lf->gen[i] == expected);
    }
    EXPECT_TRUE(several);
    check_scheme(*X);
}

TEST_F(MinSocleTest, CompleteIntersectionGridsHaveType1)
{
    set_dim(2);
    auto plane = computed_scheme(grid({2, 3}));
    check_scheme(*plane);
    EXPECT_EQ(plane->socle->no_of_gens, 1);
    EXPECT_EQ(plane->min_Ix->no_of_gens, 2);

    set_dim(3);
    auto space = computed_scheme(grid({2, 2, 2}));
    check_scheme(*space);
    EXPECT_EQ(space->socle->no_of_gens, 1);
    EXPECT_EQ(space->min_Ix->no_of_gens, 3);
    EXPECT_EQ(degree(space->socle->gen[0]), 3);
}

TEST_F(MinSocleTest, RepeatedCallsKeepTheResults)
{
    set_dim(2);
    auto X = computed_scheme({{0, 0}, {1, 0}, {0, 1}, {2, 3}, {5, 1}});
    socle(*X);
    ideal* first = X->socle;
    socle(*X);
    EXPECT_EQ(X->socle, first);
    testing::internal::CaptureStdout();
    typ(*X);
    EXPECT_EQ(X->socle, first);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "type of X is " + std::to_string(first->no_of_gens) + "\n" + Line);
}

// The socle computed first (over Q from primes, without the rational
// Groebner basis) must be the one computed after the minimal generators
// (from the canonical forms of the basis), and both must pass check_scheme.
void check_socle_both_ways(const points& pts)
{
    auto first = computed_scheme(pts);
    socle(*first);
    check_scheme(*first);
    auto after = computed_scheme(pts);
    check_scheme(*after);
    const ideal &a = *first->socle, &b = *after->socle;
    ASSERT_EQ(a.no_of_gens, b.no_of_gens);
    for (int i = 0; i < a.no_of_gens; ++i) EXPECT_TRUE(a.gen[i] == b.gen[i]) << "soc" << i + 1;
}

// rounds random sets in n-space, each of first + g.below(spread) points with
// coordinates 0..range-1.
void check_random_schemes(xorshift64& g, int n, int rounds, int first, int spread, int range,
                          const std::string& what = "")
{
    set_dim(n);
    for (int round = 0; round < rounds; ++round) {
        const int s = first + g.below(spread);
        SCOPED_TRACE(what + "n = " + std::to_string(n) + ", s = " + std::to_string(s));
        check_socle_both_ways(random_points(g, s, range));
    }
}

TEST_F(MinSocleTest, RandomPointSets)
{
    xorshift64 g;
    for (int n = 2; n <= 4; ++n) check_random_schemes(g, n, 6, 1, n == 2 ? 16 : 12, 9);
}

TEST_F(MinSocleTest, RandomPointSetsUnderDeglex)
{
    use_deglex();
    xorshift64 g;
    g.below(1);
    for (int n = 2; n <= 3; ++n) check_random_schemes(g, n, 4, 2, 12, 5);
}

// Special positions, where border monomials below the top degree get
// non-zero canonical forms through the recursion: subsets of small grids,
// points on a conic or a twisted cubic, and a line with points beside it.
TEST_F(MinSocleTest, RandomPointSetsInSpecialPosition)
{
    xorshift64 g;
    for (int n = 2; n <= 4; ++n) check_random_schemes(g, n, 5, 2, n == 2 ? 8 : 16, 3, "grid subset ");
    for (int n = 2; n <= 3; ++n) {
        set_dim(n);
        for (int s = 3; s <= 9; s += 3) {
            points curve, line;
            for (int t = 0; t < s; ++t) {
                curve.push_back(n == 2 ? std::vector<int>{t, t * t} : std::vector<int>{t, t * t, t * t * t});
                line.push_back(std::vector<int>(n, t));
            }
            points extra = random_points(g, 3, 9);
            for (const auto& p : extra)
                if (p[0] != p[1]) line.push_back(p);
            SCOPED_TRACE("curve n = " + std::to_string(n) + ", s = " + std::to_string(s));
            check_socle_both_ways(curve);
            check_socle_both_ways(line);
        }
    }
}

TEST_F(MinSocleTest, PointsOnALineHaveType1)
{
    // A line is a complete intersection: n-1 linear forms and one of degree s.
    set_dim(3);
    auto X = computed_scheme({{0, 0, 0}, {1, 2, 3}, {2, 4, 6}, {3, 6, 9}, {4, 8, 12}});
    check_scheme(*X);
    EXPECT_EQ(X->socle->no_of_gens, 1);
    ASSERT_EQ(X->min_Ix->no_of_gens, 3);
    EXPECT_EQ(degree(X->min_Ix->gen[0]), 1);
    EXPECT_EQ(degree(X->min_Ix->gen[1]), 1);
    EXPECT_EQ(degree(X->min_Ix->gen[2]), 5);
}

}  // namespace
