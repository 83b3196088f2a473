// Row reduction of polynomial matrices and the linear strands of I_X and w_R.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/betti_bound.h"
#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/linid.h"
#include "engine/linom.h"
#include "engine/linres.h"
#include "engine/matrix.h"
#include "engine/min_gens.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "engine/strand_rows.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

// The plane under deg-rev-lex unless a test says otherwise; out holds what
// the computations print ("." marks, separators).
class StrandTest : public quiet_test {
protected:
    void SetUp() override
    {
        use(2, 1);
        counter = 0;
    }
};

// s distinct points with coordinates in 0..99 (distinct in every field of
// characteristic above 100 or 0; the caller picks the field).
points random_points(splitmix64& g, int s)
{
    return distinct_points(s, [&] { return g.in(0, 99); });
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

// A matrix of polynomial rows, reduced through the strand rows and read back.
struct rows {
    std::vector<std::vector<polynomial>> e;
    void add(std::vector<polynomial> r) { e.push_back(std::move(r)); }
    // Interreduces the rows in place; Lt as interreduce gives it.
    std::vector<int> interreduce_rows(int c)
    {
        strand_rows A;
        EXPECT_TRUE(to_strand_rows(e, c, A));
        std::vector<int> Lt;
        interreduce(A, Lt);
        for (int i = 0; i < A.rows(); ++i) e[i] = row_polynomials(A, i);
        return Lt;
    }
};

// The column of the non-zero entry with the greatest leading monomial, the
// first on ties; -1 for a zero row.
int lead_pos(const polynomial* row, int c)
{
    int best = -1;
    for (int k = 0; k < c; ++k) {
        if (!sign(row[k])) continue;
        if (best == -1 || row[k].term[0] > row[best].term[0]) best = k;
    }
    return best;
}

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
    raised_dim ps;
    // One row: the pivot is the column of the greatest leading monomial
    // (X > Y > T), made monic there, the whole row scaled alike.
    {
        rows A;
        A.add({linear({0, 2, 0}), linear({3, 1, 0}), linear({0, 0, 5})});
        std::vector<int> Lt = A.interreduce_rows(3);
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
        std::vector<int> Lt = A.interreduce_rows(3);
        EXPECT_EQ(Lt[0], 1);
    }
    // Two equal rows: the second becomes zero with Lt -1; a zero row stays.
    {
        rows A;
        A.add({linear({1, 2, 0}), linear({0, 3, 1})});
        A.add({linear({1, 2, 0}), linear({0, 3, 1})});
        A.add({polynomial(0), polynomial(0)});
        std::vector<int> Lt = A.interreduce_rows(2);
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
        std::vector<int> Lt = A.interreduce_rows(2);
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
        std::vector<int> Lt = A.interreduce_rows(2);
        EXPECT_EQ(Lt[1], 1);
        EXPECT_EQ(sign(A.e[1][0]), 0);
        EXPECT_TRUE(A.e[1][1] == linear({0, 1, 0}));
    }
}

// Random matrices of linear forms with dependent rows: the result has monic
// pivots, distinct (pivot, leading monomial) pairs, and the same row space.
TEST_F(StrandTest, InterreduceProperties)
{
    splitmix64 g(20240917);
    for (int n : {2, 3}) {
        set_dim(n);
        for (int order = 0; order < 2; ++order) {
            use_ordering(order);
            raised_dim ps;
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
                std::vector<int> Lt = A.interreduce_rows(c);
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

TEST_F(StrandTest, IdealStrandOfPlanePoints)
{
    // Three non-collinear points: three quadrics, two linear syzygies.
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    linid(*X);
    EXPECT_EQ(X->linid, 1);
    EXPECT_EQ(X->linres[0][0], 3);
    EXPECT_EQ(X->linres[0][1], 2);
    EXPECT_EQ(dim, 2);
    // Computed once: a second call changes nothing and prints nothing.
    X->linres[0][1] = 7;
    out.str("");
    linid(*X);
    EXPECT_EQ(X->linres[0][1], 7);
    EXPECT_EQ(out.str(), "");

    // Four general points: two quadrics, no linear syzygy; one file block.
    auto Y = make_scheme({{0, 0}, {1, 0}, {0, 1}, {1, 1}});
    std::ostringstream file;
    putlinid(*Y, file);
    EXPECT_EQ(Y->linid, 1);
    EXPECT_EQ(Y->linres[0][0], 2);
    EXPECT_EQ(Y->linres[0][1], 0);
    EXPECT_EQ(file.str().find("\n2. matrix"), std::string::npos);
    EXPECT_EQ(file.str().rfind("\n1. matrix of linear resolution of I_X : \n1\n2\n", 0), 0u);
    EXPECT_EQ(dim, 2);
}

int occurrences(const std::string& s, const std::string& what)
{
    int n = 0;
    for (auto p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

// Random point sets: the first count of I_X is the number of minimal
// generators of degree alpha; the writers recompute the same counts and
// write one block per non-zero count; dim comes back every time.
TEST_F(StrandTest, StrandProperties)
{
    splitmix64 g(77);
    for (int n : {2, 3}) {
        set_dim(n);
        for (int trial = 0; trial < 6; ++trial) {
            int s = g.in(1, n == 2 ? 12 : 14);
            auto X = make_scheme(random_points(g, s));
            SCOPED_TRACE("n = " + std::to_string(n) + ", s = " + std::to_string(s));
            linid(*X);
            linom(*X);
            EXPECT_EQ(dim, n);
            ASSERT_NE(X->min_Ix, nullptr);
            int e = 0;
            while (e < X->min_Ix->no_of_gens && X->min_Ix->gen[e].term[0].tot_deg() == X->alpha) ++e;
            EXPECT_EQ(X->linres[0][0], e);
            const std::vector<int> I(X->linres[0], X->linres[0] + n), w(X->linres[1], X->linres[1] + n);

            std::ostringstream fi, fw;
            putlinid(*X, fi);
            putlinom(*X, fw);
            EXPECT_EQ(dim, n);
            EXPECT_EQ(std::vector<int>(X->linres[0], X->linres[0] + n), I);
            EXPECT_EQ(std::vector<int>(X->linres[1], X->linres[1] + n), w);
            EXPECT_EQ(occurrences(fi.str(), "matrix of linear resolution of I_X"),
                      static_cast<int>(std::count_if(I.begin(), I.end(), [](int c) { return c != 0; })));
            // Blocks of w_R start at the first syzygies (entries n-2 down to 0).
            EXPECT_GE(occurrences(fw.str(), "matrix of linear resolution of w_R"),
                      static_cast<int>(std::count_if(w.begin(), w.end() - 1, [](int c) { return c != 0; })));
            EXPECT_GT(w[n - 1], 0);
        }
    }
}

TEST_F(StrandTest, CanonicalStrandOfPlanePoints)
{
    // Under deg-lex: two generators in degree 0, three linear first
    // syzygies; one pair shares a pivot and its S-element is irreducible.
    use_deglex();
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    linom(*X);
    EXPECT_EQ(X->linom, 1);
    EXPECT_EQ(X->linres[1][1], 2);
    EXPECT_EQ(X->linres[1][0], 3);
    EXPECT_EQ(dim, 2);
    const std::string s = out.str();
    EXPECT_EQ(std::count(s.begin(), s.end(), '.'), 1);

    out.str("");
    linom(*X);  // computed once
    EXPECT_EQ(out.str(), "");

    linomsyz(*X);
    EXPECT_EQ(out.str(), "[ - Y + Z;\nX - Z ]\n[ X;\n 0 ]\n[  0;\nY ]\n");
    std::ostringstream file;
    putlinomsyz(*X, file);
    EXPECT_EQ(file.str(), "2\n3\n-Y+Z\nX-Z\nX\n0\n0\nY\n");
    EXPECT_EQ(X->linres[1][0], 3);
}

// A single point: both strands are Koszul complexes.  The strand of I_X
// fills its row exactly; that of w_R is one step longer than its row, and
// that step is written but not stored.
TEST_F(StrandTest, StepsPastTheRow)
{
    for (int n : {2, 3}) {
        set_dim(n);
        auto X = make_scheme({std::vector<int>(n, 2)});
        linid(*X);
        std::ostringstream file;
        putlinom(*X, file);
        EXPECT_EQ(dim, n);
        std::vector<int> I(X->linres[0], X->linres[0] + n), w(X->linres[1], X->linres[1] + n);
        if (n == 2) {
            EXPECT_EQ(I, (std::vector<int>{2, 1}));
            EXPECT_EQ(w, (std::vector<int>{2, 1}));
            EXPECT_NE(file.str().find("\n2. matrix of linear resolution of w_R : \n2\n1\n"), std::string::npos);
        } else {
            EXPECT_EQ(I, (std::vector<int>{3, 3, 1}));
            EXPECT_EQ(w, (std::vector<int>{3, 3, 1}));
            EXPECT_NE(file.str().find("\n3. matrix of linear resolution of w_R : \n3\n1\n"), std::string::npos);
        }
        EXPECT_EQ(file.str().find("\n" + std::to_string(n + 1) + ". matrix"), std::string::npos);
        // linsyz and putlinsyz recompute the same counts and leave the flag.
        X->linid = 0;
        std::ostringstream syz;
        putlinsyz(*X, syz);
        EXPECT_EQ(X->linid, 0);
        EXPECT_EQ(std::vector<int>(X->linres[0], X->linres[0] + n), I);
        EXPECT_EQ(syz.str().rfind(std::to_string(n) + "\n" + std::to_string(n * (n - 1) / 2) + "\n", 0), 0u);
    }
}

TEST_F(StrandTest, Tables)
{
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}});
    const std::string line = Line;
    // Nothing computed yet: zeros.
    std::ostringstream fresh;
    disp_linid(fresh, *X);
    EXPECT_EQ(fresh.str(), "    | 1   2   \n--------------\ndeg | 0   -1  \nI_X | 0   0   \n" + line);
    // Columns widen to the widest of their two counts; wider numbers get no
    // padding.
    X->alpha = 2;
    X->linres[0][0] = 12345;
    X->linres[0][1] = 7;
    X->linres[1][0] = 1000;
    X->linres[1][1] = 2;
    std::ostringstream res;
    disp_linres(res, *X);
    EXPECT_EQ(res.str(), "    | 1     2   \n"
                         "----------------\n"
                         "deg | 2     1   \n"
                         "I_X | 12345 7   \n"
                         "----------------\n"
                         "w_R | 1000  2   \n"
                         "deg | -1    0   \n" + line);
    std::ostringstream om;
    disp_linom(om, *X);
    EXPECT_EQ(om.str(), "    | 1   2    \n---------------\ndeg | 0   -1   \nw_R | 2   1000 \n" + line);
    // The width of a count is capped at 5 digits; a degree label wider than
    // its column gets no blank.
    X->linres[0][0] = 123456;
    X->alpha = 10000;
    std::ostringstream wide;
    disp_linid(wide, *X);
    EXPECT_EQ(wide.str(), "    | 1     2   \n----------------\ndeg | 10000 9999\nI_X | 123456 7   \n" + line);
}

// A step that does not fit in the memory allowed is refused with the
// message: the counts are cleared, the flag stays unset, and the same strand
// is computed once memory allows.
TEST_F(StrandTest, StepTooLargeIsRefused)
{
    set_dim(3);
    auto X = make_scheme({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 2, 3}, {2, 1, 5}});
    const std::size_t limit = strand_memory_limit;
    strand_memory_limit = 1000;
    out.str("");
    EXPECT_FALSE(linid(*X));
    strand_memory_limit = limit;
    EXPECT_NE(out.str().find("linear strand too large to be computed !\n"), std::string::npos);
    EXPECT_EQ(X->linid, 0);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(X->linres[0][j], 0);
    EXPECT_EQ(dim, 3);
    EXPECT_TRUE(linid(*X));
    EXPECT_EQ(X->linid, 1);
    EXPECT_GT(X->linres[0][0], 0);
}

// The Betti numbers from the Artinian reduction are the counts of both
// strands (over Q and Q(zeta_N) bounds of them), and a strand that takes
// the numbers of syzygies from the table writes the same as one that does
// not: marks, countdown, counts and files, whether it leaves out the empty
// steps, samples the positions of the others (a few, some of which then
// fall short and are done again on all positions) or samples none.
TEST_F(StrandTest, StepsFromTheBettiTable)
{
    splitmix64 g(1211);
    const bool exact = field_characteristic() != 0;
    int empty_steps = 0;
    // (Over Q and Q(zeta_N) the smaller sets only: their strands take long.)
    for (int n : {3, 4, 5}) {
        set_dim(n);
        for (int s : {2 * n + 2, 3 * n + 1}) {
            if (!exact && (n == 5 || s > 2 * n + 2)) continue;
            SCOPED_TRACE("n = " + std::to_string(n) + ", s = " + std::to_string(s));
            const points P = random_points(g, s);
            std::string text[4];
            for (int from_betti : {0, 1, 2, 3}) {
                strand_steps_from_betti = from_betti > 0;
                strand_sample_positions = from_betti == 2 ? 1 : from_betti == 3 ? 12 : 0;
                auto X = make_scheme(P);
                std::ostringstream fi, fw;
                verbose = 1;
                out.str("");
                putlinid(*X, fi);
                putlinom(*X, fw);
                verbose = 0;
                text[from_betti] = out.str() + fi.str() + fw.str();
            }
            strand_steps_from_betti = true;
            strand_sample_positions = 0;
            for (int k : {1, 2, 3}) EXPECT_EQ(text[k], text[0]) << "way " << k;
            empty_steps += occurrences(text[1], "[1].\n0 syzygies");

            auto X = make_scheme(P);
            linid(*X);
            linom(*X);
            betti_bound b(*X);
            if (X->alpha == 2 && exact) {
                // The last step of the strand of I_X, asked without a budget
                // for the ranks and then with one.
                int N = 0;
                while (N + 1 < n && X->linres[0][N + 1] != 0) ++N;
                EXPECT_EQ(b.step_syzygies(N + 1, N + 2, 1, X->linres[0][N], 0), -1);
                EXPECT_EQ(b.step_syzygies(N + 1, N + 2, 1, X->linres[0][N], 1e18), 0);
                EXPECT_EQ(b.step_syzygies(N + 1, N + 2, 1, X->linres[0][N] + 1, 1e18), -1);
                if (N > 0) {
                    EXPECT_EQ(b.step_syzygies(N, N + 1, 1, X->linres[0][N - 1], 1e18), X->linres[0][N]);
                }
            }
            const int t = b.top();
            if (exact) {
                ASSERT_GE(t, 1);
            }
            if (t < 0) continue;  // over Q without the Groebner basis
            for (int N = 0; N < n; ++N) {
                const long long I = b.upper(N + 1, X->alpha - 1), w = b.upper(n - N, t);
                if (exact) {
                    EXPECT_EQ(I, X->linres[0][N]) << "I_X, step " << N;
                    EXPECT_EQ(w, X->linres[1][n - 1 - N]) << "w_R, step " << N;
                } else {
                    EXPECT_GE(I, X->linres[0][N]) << "I_X, step " << N;
                    EXPECT_GE(w, X->linres[1][n - 1 - N]) << "w_R, step " << N;
                }
            }
        }
    }
    EXPECT_GT(empty_steps, 0);
    // Points in a plane of P^3: I_X holds a linear form, and the table of
    // the Artinian reduction is not read.
    set_dim(3);
    auto X = make_scheme({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 3, 0}, {5, 1, 0}, {4, 4, 0}});
    ASSERT_TRUE(linid(*X));
    betti_bound b(*X);
    EXPECT_EQ(b.upper(1, 0), -1);
    EXPECT_EQ(b.top(), -1);
}

// Two points of P^n: the strand of I_X is the Koszul complex on the n - 1
// linear forms through both, binomial(n - 1, N + 1) in step N.
TEST_F(StrandTest, TwoPointsGiveKoszulCounts)
{
    for (int n : {5, 9}) {
        set_dim(n);
        std::vector<int> p(n, 0), q(n, 0);
        q[0] = 1;
        auto X = make_scheme({p, q});
        ASSERT_TRUE(linid(*X));
        long long b = 1;
        for (int N = 0; N < n; ++N) {
            b = b * (n - 1 - N) / (N + 1);
            EXPECT_EQ(X->linres[0][N], b) << "n = " << n << ", step " << N;
        }
    }
}

}  // namespace
