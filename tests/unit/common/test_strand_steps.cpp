// A step of a linear strand against a plain dense elimination.
//
// The syzygies a step writes are fixed by its definition: each S-vector is
// reduced from the front, by the first row of A whose leading term divides
// or by an irreducible S-vector met before, and a pair that leaves nothing
// gives the row of B it gathered.  The reference below does exactly that,
// with dense vectors and nothing else; the step itself reduces in another
// order and shares the pairs between the cores, so the two must agree on
// every "." and on every entry of B, whichever order the step reduces in.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/dense_rows.h"
#include "engine/globals.h"
#include "engine/linid.h"
#include "engine/strand_rows.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

class StrandStepTest : public quiet_test {};

using dense = std::vector<K>;

// The dense reference: the rows of B as (position, coefficient) lists and
// the number of irreducible S-vectors.
struct reference_step {
    std::vector<std::vector<std::pair<int, K>>> rows;
    int dots = 0;
};

reference_step reduce_densely(const strand_rows& A, const std::vector<int>& Lt)
{
    const int nv = proj, w = A.width();
    const degree_basis b1(1), bT(2);
    const int nT = bT.size() * w;
    std::vector<int> live;  // the rows with a pivot, in order
    std::vector<int> rc(A.rows(), -1);
    for (int i = 0; i < A.rows(); ++i)
        if (Lt[i] != -1) {
            rc[i] = static_cast<int>(live.size());
            live.push_back(i);
        }
    const int width = static_cast<int>(live.size()), nB = nv * width;
    std::vector<int> var_rank(nv);
    for (int v = 0; v < nv; ++v) var_rank[v] = b1.index(var(v));
    // x_v * row k in the positions of degree 2.
    auto shifted = [&](int v, int k) {
        dense T(nT, K(0));
        for (int e = A.start[k]; e < A.start[k + 1]; ++e) {
            const int t = bT.index(b1[A.pos[e] / w] * var(v));
            T[t * w + A.pos[e] % w] += A.coef[e];
        }
        return T;
    };
    auto lead = [&](const dense& T) {
        for (int L = 0; L < nT; ++L)
            if (T[L] != 0) return L;
        return -1;
    };
    // The reducers by leading term: the multiples of the earliest row first.
    std::vector<int> at(nT, -1);
    std::vector<dense> red_T, red_B;
    for (int k : live)
        for (int v = 0; v < nv; ++v) {
            dense T = shifted(v, k);
            const int L = lead(T);
            if (L < 0 || at[L] >= 0) continue;
            K inv = T[L];
            inv.invert();
            for (K& x : T) x *= inv;
            dense B(nB, K(0));
            B[var_rank[v] * width + rc[k]] = inv;
            at[L] = static_cast<int>(red_T.size());
            red_T.push_back(T);
            red_B.push_back(B);
        }
    reference_step out;
    for (std::size_t x = 0; x < live.size(); ++x)
        for (std::size_t y = x + 1; y < live.size(); ++y) {
            const int i = live[x], j = live[y];
            if (Lt[i] != Lt[j]) continue;
            // Both rows are monic at the common pivot column.
            const int ui = A.pos[A.start[j]] / w, uj = A.pos[A.start[i]] / w;
            int vi = 0, vj = 0;
            for (int v = 0; v < nv; ++v) {
                if (var_rank[v] == ui) vi = v;
                if (var_rank[v] == uj) vj = v;
            }
            dense T = shifted(vj, j), Ti = shifted(vi, i), B(nB, K(0));
            for (int p = 0; p < nT; ++p) T[p] -= Ti[p];
            B[var_rank[vj] * width + rc[j]] += K(1);
            B[var_rank[vi] * width + rc[i]] -= K(1);
            bool kept = false;
            for (int L = lead(T); L >= 0; L = lead(T)) {
                if (at[L] < 0) {  // irreducible: a new reducer
                    K inv = T[L];
                    inv.invert();
                    for (K& c : T) c *= inv;
                    for (K& c : B) c *= inv;
                    at[L] = static_cast<int>(red_T.size());
                    red_T.push_back(T);
                    red_B.push_back(B);
                    ++out.dots;
                    kept = true;
                    break;
                }
                const K c = T[L];
                const dense &RT = red_T[at[L]], &RB = red_B[at[L]];
                for (int p = 0; p < nT; ++p) T[p] -= c * RT[p];
                for (int p = 0; p < nB; ++p) B[p] -= c * RB[p];
            }
            out.rows.emplace_back();
            if (!kept)
                for (int p = 0; p < nB; ++p)
                    if (B[p] != 0) out.rows.back().emplace_back(p, B[p]);
        }
    return out;
}

// The rows e_i l_j - e_j l_i (i < j) of the Koszul complex of m linear forms
// with small random coefficients, each followed now and then by a combination
// of two earlier rows, which interreduces to nothing.
strand_rows koszul_rows(int m, splitmix64& g)
{
    const int nv = proj;
    std::vector<std::vector<int>> l(m, std::vector<int>(nv));
    for (auto& f : l)
        for (int& c : f) c = g.in(-4, 4);
    std::vector<std::vector<K>> dense_rows;  // over positions a * m + column
    for (int i = 0; i < m; ++i)
        for (int j = i + 1; j < m; ++j) {
            std::vector<K> r(nv * m, K(0));
            for (int v = 0; v < nv; ++v) {
                r[v * m + i] += k(l[j][v]);
                r[v * m + j] -= k(l[i][v]);
            }
            dense_rows.push_back(r);
            if (g.below(4) == 0) {
                const int a = g.below(static_cast<int>(dense_rows.size())), b = g.below(static_cast<int>(dense_rows.size()));
                std::vector<K> c(nv * m, K(0));
                for (int p = 0; p < nv * m; ++p) c[p] = dense_rows[a][p] * k(g.in(1, 3)) - dense_rows[b][p] * k(2);
                dense_rows.push_back(c);
            }
        }
    // Position a * m + column with a the rank of the variable among the
    // monomials of degree 1.
    const degree_basis b1(1);
    strand_rows A;
    A.deg = 1;
    A.cols = m;
    for (int c = 0; c < m; ++c) A.live.push_back(c);
    for (const auto& r : dense_rows) {
        std::vector<std::pair<int, K>> e;
        for (int v = 0; v < nv; ++v)
            for (int c = 0; c < m; ++c)
                if (r[v * m + c] != 0) e.emplace_back(b1.index(var(v)) * m + c, r[v * m + c]);
        std::sort(e.begin(), e.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
        for (const auto& x : e) {
            A.pos.push_back(x.first);
            A.coef.push_back(x.second);
        }
        A.end_row();
    }
    return A;
}

// Steps along the strand from the Koszul rows, each checked against the
// reference; the number of pairs met is returned.
long long check_steps(int m, int steps, splitmix64& g, std::ostringstream& out)
{
    strand_rows A = koszul_rows(m, g);
    long long pairs = 0;
    for (int s = 0; s < steps; ++s) {
        std::vector<int> Lt;
        interreduce(A, Lt);
        const long long number = strand_pairs(A, Lt, false);
        if (number == 0) break;
        pairs += number;
        const reference_step want = reduce_densely(A, Lt);
        out.str("");
        strand_rows B;
        EXPECT_TRUE(strand_syzygies(A, Lt, number, false, B));
        const std::string printed = out.str();
        EXPECT_EQ(static_cast<int>(std::count(printed.begin(), printed.end(), '.')), want.dots) << "step " << s;
        EXPECT_EQ(B.rows(), static_cast<int>(want.rows.size()));
        if (B.rows() != static_cast<int>(want.rows.size())) break;
        for (int p = 0; p < B.rows(); ++p) {
            std::vector<std::pair<int, K>> got;
            for (int e = B.start[p]; e < B.start[p + 1]; ++e) got.emplace_back(B.pos[e], B.coef[e]);
            EXPECT_TRUE(got == want.rows[p]) << "step " << s << ", pair " << p;
        }
        A = B;
    }
    return pairs;
}

TEST_F(StrandStepTest, StepsAgreeWithDenseReduction)
{
    splitmix64 g(20261211);
    long long pairs = 0;
    // More forms than variables: the dependent forms bring syzygies and
    // irreducible S-vectors of their own.  The last set has a step of 79
    // pairs, more than one batch; the exact fields, whose reduction is the
    // reference's own order, take the smaller sets only.
    // Both orders of reduction, in every field; with the first reduction,
    // the pairs one by one and in groups of three (the last group of a
    // batch short).
    const bool exact = !small_prime_field<K>::value, by_default = strand_rows_first;
    for (int order : {0, 1, 3}) {
        strand_rows_first = order > 0;
        strand_first_group = order;
        for (const auto& c : std::vector<std::pair<int, int>>{{3, 8}, {4, 10}, {5, 9}}) {
            if (exact && c.second > 8) break;
            use(c.first, 1);
            raised_dim raised;
            pairs += check_steps(c.second, 3, g, out);
        }
    }
    strand_rows_first = by_default;
    strand_first_group = 0;
    EXPECT_GT(pairs, exact ? 120 : 800);
}

}  // namespace
