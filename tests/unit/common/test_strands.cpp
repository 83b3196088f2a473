// Row reduction of polynomial matrices and the linear strands of I_X and w_R.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "engine/globals.h"
#include "engine/interreduce.h"
#include "engine/polynomial.h"
#include "fields/field.h"

namespace {

// A fixed-seed generator of our own (splitmix64), so that the random cases
// are the same on every platform and for every field.
class rng {
public:
    explicit rng(uint64_t seed) : x(seed) {}
    uint64_t next()
    {
        uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform enough in lo..hi for test data.
    int in(int lo, int hi) { return lo + static_cast<int>(next() % uint64_t(hi - lo + 1)); }

private:
    uint64_t x;
};

// Saves and restores every global the engine reads.
class StrandTest : public ::testing::Test {
protected:
    int saved_dim = dim, saved_proj = proj, saved_verbose = verbose, saved_counter = counter;
    int saved_ordering = monom_ordering;
    monom_order_fn saved[4] = {monom_ordering_lt, monom_ordering_le, proj_monom_ordering_lt,
                               proj_monom_ordering_le};

    void SetUp() override
    {
        field_set_defaults();
        set_space(2);
        verbose = 0;
        counter = 0;
        use_degrevlex();
    }
    void TearDown() override
    {
        dim = saved_dim;
        proj = saved_proj;
        verbose = saved_verbose;
        counter = saved_counter;
        monom_ordering = saved_ordering;
        monom_ordering_lt = saved[0];
        monom_ordering_le = saved[1];
        proj_monom_ordering_lt = saved[2];
        proj_monom_ordering_le = saved[3];
    }
    static void set_space(int n)
    {
        dim = n;
        proj = n + 1;
    }
    static void use_deglex()
    {
        monom_ordering = 0;
        monom_ordering_lt = deglex_lt;
        monom_ordering_le = deglex_le;
        proj_monom_ordering_lt = proj_deglex_lt;
        proj_monom_ordering_le = proj_deglex_le;
    }
    static void use_degrevlex()
    {
        monom_ordering = 1;
        monom_ordering_lt = degrevlex_lt;
        monom_ordering_le = degrevlex_le;
        proj_monom_ordering_lt = proj_degrevlex_lt;
        proj_monom_ordering_le = proj_degrevlex_le;
    }
};

// Raises dim to proj while projective polynomials are built, as the engine
// does, and restores it.
struct projective_scope {
    int saved = dim;
    projective_scope() { dim = proj; }
    ~projective_scope() { dim = saved; }
};

K k(int v)
{
    K x(0);
    x = v;
    return x;
}

// The projective variable number v (the last one is the homogenizing one).
monom var(int v)
{
    monom m;
    m.exp[v] = 1;
    return m;
}

// The linear form sum c[v] x_v; needs dim raised to proj.
polynomial linear(const std::vector<int>& c)
{
    polynomial f;
    for (int v = 0; v < static_cast<int>(c.size()); ++v) {
        if (c[v] == 0) continue;
        polynomial t(var(v));
        t *= k(c[v]);
        f += t;
    }
    return f;
}

// A matrix with owned rows, handed to interreduce as polynomial**.
struct rows {
    std::vector<std::vector<polynomial>> e;
    std::vector<polynomial*> p;
    void add(std::vector<polynomial> r) { e.push_back(std::move(r)); }
    polynomial** ptr()
    {
        p.clear();
        for (auto& r : e) p.push_back(r.data());
        return p.data();
    }
};

// Reduces r to zero against an echelon form (rows monic at their pivots,
// distinct (pivot, leading monomial) pairs); true when it vanishes.
bool reduces_to_zero(std::vector<polynomial> r, rows& E, const std::vector<int>& Lt)
{
    int c = static_cast<int>(r.size());
    for (int steps = 0; steps < 1000; ++steps) {
        int L = lead_pos(r.data(), c);
        if (L == -1) return true;
        int j = 0, n = static_cast<int>(E.e.size());
        while (j < n && !(Lt[j] == L && E.e[j][L].term[0] == r[L].term[0])) ++j;
        if (j == n) return false;
        K lc = r[L].coef[0];
        for (int l = 0; l < c; ++l) r[l] -= E.e[j][l] * lc;
    }
    return false;
}

K inverse(int v)
{
    K x = k(v);
    x.invert();
    return x;
}

TEST_F(StrandTest, InterreduceEdgeCases)
{
    projective_scope ps;
    // One row: the pivot is the column of the greatest leading monomial
    // (X > Y > T), made monic there, the whole row scaled alike.
    {
        rows A;
        A.add({linear({0, 2, 0}), linear({3, 1, 0}), linear({0, 0, 5})});
        int Lt[1];
        EXPECT_EQ(interreduce(A.ptr(), 1, 3, Lt), 1);
        EXPECT_EQ(Lt[0], 1);
        EXPECT_TRUE(A.e[0][1].coef[0] == 1);
        EXPECT_TRUE(A.e[0][1].term[0] == var(0));
        EXPECT_TRUE(A.e[0][0] == linear({0, 2, 0}) * inverse(3));
        EXPECT_TRUE(A.e[0][2] == linear({0, 0, 5}) * inverse(3));
    }
    // Equal leading monomials in two columns: the first column wins.
    {
        rows A;
        A.add({linear({0, 1, 1}), linear({2, 0, 0}), linear({4, 1, 0})});
        int Lt[1];
        interreduce(A.ptr(), 1, 3, Lt);
        EXPECT_EQ(Lt[0], 1);
    }
    // Two equal rows: the second becomes zero with Lt -1; a zero row stays.
    {
        rows A;
        A.add({linear({1, 2, 0}), linear({0, 3, 1})});
        A.add({linear({1, 2, 0}), linear({0, 3, 1})});
        A.add({polynomial(0), polynomial(0)});
        int Lt[3];
        interreduce(A.ptr(), 3, 2, Lt);
        EXPECT_EQ(Lt[0], 0);
        EXPECT_EQ(Lt[1], -1);
        EXPECT_EQ(Lt[2], -1);
        EXPECT_EQ(sign(A.e[1][0]) + sign(A.e[1][1]), 0);
    }
    // The same leading monomial in different columns: no reduction.
    {
        rows A;
        A.add({linear({2, 1, 0}), polynomial(0)});
        A.add({polynomial(0), linear({3, 0, 1})});
        int Lt[2];
        interreduce(A.ptr(), 2, 2, Lt);
        EXPECT_EQ(Lt[0], 0);
        EXPECT_EQ(Lt[1], 1);
        EXPECT_TRUE(A.e[1][1] == linear({1, 0, 0}) + linear({0, 0, 1}) * inverse(3));
    }
    // A later row with the pivot of an earlier one is reduced and moves on:
    // row 1 - 2 * row 0 leaves Y in column 1.
    {
        rows A;
        A.add({linear({1, 0, 0}), linear({0, 0, 1})});
        A.add({linear({2, 0, 0}), linear({0, 1, 2})});
        int Lt[2];
        interreduce(A.ptr(), 2, 2, Lt);
        EXPECT_EQ(Lt[1], 1);
        EXPECT_EQ(sign(A.e[1][0]), 0);
        EXPECT_TRUE(A.e[1][1] == linear({0, 1, 0}));
    }
}

// Random matrices of linear forms with dependent rows: the result has monic
// pivots, distinct (pivot, leading monomial) pairs, and the same row space.
TEST_F(StrandTest, InterreduceProperties)
{
    rng g(20240917);
    for (int n : {2, 3}) {
        set_space(n);
        for (int order = 0; order < 2; ++order) {
            if (order == 0) use_deglex(); else use_degrevlex();
            projective_scope ps;
            for (int trial = 0; trial < 30; ++trial) {
                int c = g.in(1, 4), base = g.in(1, 4), r = g.in(1, 7);
                std::vector<std::vector<polynomial>> B(base);
                for (auto& row : B)
                    for (int l = 0; l < c; ++l) {
                        std::vector<int> cf(proj);
                        for (int& x : cf) x = g.in(0, 2) == 0 ? g.in(-3, 3) : 0;
                        row.push_back(linear(cf));
                    }
                rows A;
                for (int i = 0; i < r; ++i) {
                    std::vector<polynomial> row(c);
                    for (auto& b : B) {
                        int m = g.in(-2, 2);
                        for (int l = 0; l < c; ++l) row[l] += b[l] * k(m);
                    }
                    A.add(row);
                }
                rows orig = A;
                std::vector<int> Lt(r);
                interreduce(A.ptr(), r, c, Lt.data());
                for (int i = 0; i < r; ++i) {
                    EXPECT_EQ(Lt[i], lead_pos(A.e[i].data(), c));
                    if (Lt[i] == -1) continue;
                    EXPECT_TRUE(A.e[i][Lt[i]].coef[0] == 1);
                    for (int j = 0; j < i; ++j)
                        EXPECT_FALSE(Lt[j] == Lt[i] && A.e[j][Lt[j]].term[0] == A.e[i][Lt[i]].term[0]);
                }
                for (int i = 0; i < r; ++i) EXPECT_TRUE(reduces_to_zero(orig.e[i], A, Lt));
            }
        }
    }
}

}  // namespace
