// The defining properties of the Buchberger-Moeller results, the Hilbert
// data and the separators, checked on a computed scheme; shared by the tests
// of every field.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "unit/test_support.h"

namespace test_support {

inline monom times(const monom& m, int var)
{
    monom r(m);
    r.exp[var] += 1;
    return r;
}

inline bool terms_decrease(const polynomial& f)
{
    for (int i = 1; i < f.no_of_monoms; ++i)
        if (!(f.term[i] < f.term[i - 1])) return false;
    return true;
}

// Everything bu_mo promises about O, B, Ix, q, ev_q and pi.
inline void check_bu_mo(const scheme& X)
{
    const int s = X.s;
    SCOPED_TRACE("s = " + std::to_string(s) + ", dim = " + std::to_string(dim));
    // O: s distinct monomials, increasing, starting with 1, closed under division.
    EXPECT_EQ(sign(X.O[0]), 0);
    for (int i = 1; i < s; ++i) ASSERT_TRUE(X.O[i - 1] < X.O[i]) << i;
    for (int i = 0; i < s; ++i)
        for (int v = 0; v < dim; ++v)
            if (X.O[i].exp[v] > 0) {
                monom d(X.O[i]);
                d.exp[v] -= 1;
                EXPECT_GE(is_el_OO(X, d), 0);
            }
    // B: the monomials outside O that are a variable times an element of O.
    std::vector<monom> border;
    for (int i = 0; i < s; ++i)
        for (int v = 0; v < dim; ++v) {
            monom t = times(X.O[i], v);
            if (is_el_OO(X, t) < 0 &&
                std::none_of(border.begin(), border.end(), [&](const monom& b) { return b == t; }))
                border.push_back(t);
        }
    std::sort(border.begin(), border.end(), [](const monom& a, const monom& b) { return a < b; });
    ASSERT_EQ(X.no_of_border, static_cast<int>(border.size()));
    for (int i = 0; i < X.no_of_border; ++i) EXPECT_TRUE(X.B[i] == border[i]) << i;
    // Ix: monic, vanishing on X, tail in O; its leading terms are the border
    // elements all of whose divisors by a variable lie in O.
    int corners = 0;
    for (int b = 0; b < X.no_of_border; ++b) {
        bool corner = true;
        for (int v = 0; v < dim; ++v)
            if (X.B[b].exp[v] > 0) {
                monom d(X.B[b]);
                d.exp[v] -= 1;
                if (is_el_OO(X, d) < 0) corner = false;
            }
        if (!corner) {
            EXPECT_EQ(is_el_G(X, X.B[b]), -1);
            continue;
        }
        ASSERT_LT(corners, X.Ix->no_of_gens);
        EXPECT_TRUE(X.Ix->gen[corners].term[0] == X.B[b]);
        EXPECT_EQ(is_el_G(X, X.B[b]), corners);
        ++corners;
    }
    EXPECT_EQ(corners, X.Ix->no_of_gens);
    for (int g = 0; g < X.Ix->no_of_gens; ++g) {
        const polynomial& f = X.Ix->gen[g];
        EXPECT_TRUE(f.coef[0] == 1);
        EXPECT_TRUE(terms_decrease(f));
        for (int i = 1; i < f.no_of_monoms; ++i) EXPECT_GE(is_el_OO(X, f.term[i]), 0);
        for (int p = 0; p < s; ++p) EXPECT_TRUE(value_at(f, X, p) == 0) << "g" << g + 1 << " at point " << p;
    }
    // The triangular system: q[j] leads with O[j], takes the values ev_q[j],
    // which are 0 at the earlier pivots and before pi[j], and 1 at pi[j];
    // pi is a permutation.
    std::vector<int> seen(s, 0);
    for (int j = 0; j < s; ++j) {
        ASSERT_TRUE(X.pi[j] >= 0 && X.pi[j] < s);
        ++seen[X.pi[j]];
        EXPECT_TRUE(X.q[j].term[0] == X.O[j]);
        EXPECT_TRUE(terms_decrease(X.q[j]));
        for (int p = 0; p < s; ++p) EXPECT_TRUE(value_at(X.q[j], X, p) == X.ev_q->a[j][p]);
        for (int e = 0; e < j; ++e) EXPECT_TRUE(X.ev_q->a[j][X.pi[e]] == 0);
        // The pivot is the first point where the reduced values are not 0.
        for (int p = 0; p < X.pi[j]; ++p) EXPECT_TRUE(X.ev_q->a[j][p] == 0);
        EXPECT_TRUE(X.ev_q->a[j][X.pi[j]] == 1);
    }
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int c) { return c == 1; }));
    // The lookups agree with the full scan.
    for (int i = 0; i < s; ++i) EXPECT_EQ(is_el_O(X, X.O[i]), i);
    for (int b = 0; b < X.no_of_border; ++b) {
        EXPECT_EQ(is_el_O(X, X.B[b]), -1);
        EXPECT_EQ(is_el_B(X, X.B[b]), b);
    }
    EXPECT_EQ(is_el_B(X, X.O[0]), -1);
}

// The Hilbert data and the separators.
inline void check_hilbert_and_separators(const scheme& X)
{
    const int s = X.s;
    int total = 0;
    for (int d = 0; d <= X.sigma + 1; ++d) {
        total += X.delta_fct[d];
        EXPECT_EQ(X.hilb_fct[d], total);
        if (d > 0) {
            EXPECT_GE(X.hilb_fct[d], X.hilb_fct[d - 1]);
        }
    }
    EXPECT_EQ(total, s);
    EXPECT_EQ(X.hilb_fct[X.sigma + 1], s);
    if (X.sigma >= 0) {
        EXPECT_LT(X.hilb_fct[X.sigma], s);
    }
    EXPECT_EQ(X.delta, X.delta_fct[X.sigma + 1]);
    EXPECT_EQ(X.alpha, X.Ix->gen[0].term[0].tot_deg());
    for (int i = 0; i < s; ++i)
        for (int p = 0; p < s; ++p)
            EXPECT_TRUE(value_at(X.separator->gen[i], X, p) == (i == p ? 1 : 0)) << "f" << i + 1 << " at " << p;
}

}  // namespace test_support
