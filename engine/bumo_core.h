// The arithmetic of the Buchberger-Moeller algorithm and of the separators
// on dense rows, written once for the row back ends of engine/dense_rows.h.
// The runs take the points as coordinates in the back end's entries and give
// their results as rows of entries; engine/bumo.cpp stores them in a scheme.
#pragma once

#include <iostream>
#include <utility>
#include <vector>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/list.h"
#include "engine/monom.h"
#include "engine/polynomial.h"

namespace bumo_detail {

// g := a leading term (coefficient 1, or none) followed by the elements
// O[k], k = top, top-1, ..., 0, with the coefficients vals[k], which are
// moved out of vals; zero coefficients are left out.  Since O increases, the
// terms come out in decreasing order.
template <class Ops>
void take_poly(polynomial& g, const monom* lead, const monom* O, int top, typename Ops::elem* vals)
{
    int terms = lead ? 1 : 0;
    for (int k = top; k >= 0; --k)
        if (!Ops::is_zero(vals[k])) ++terms;
    if (terms == 0) {
        g = 0;
        return;
    }
    g.alloc(terms);
    int i = 0;
    if (lead) {
        g.term[i] = *lead;
        g.coef[i] = 1;
        ++i;
    }
    for (int k = top; k >= 0; --k) {
        if (Ops::is_zero(vals[k])) continue;
        g.term[i] = O[k];
        Ops::move_out(g.coef[i], vals[k]);
        ++i;
    }
}

// Writes the countdown "[n]" of a progress report while verbose is set.
inline void countdown(int n)
{
    if (verbose) std::cerr << "[" << n << "]";
}

// One run of the Buchberger-Moeller algorithm on dense rows.
//
// The points are kept in a layout order that changes as pivots are found:
// layout positions 0..r hold the pivot points pi[0..r] in order, the positions
// after them the points that are no pivot yet.  In this order row j of the
// triangular values ev_q is 0 before position j and 1 at j, so reducing the
// values of a candidate against the triangular sequence is one forward sweep
// over the rows, each step an axpy over the positions after its pivot; the
// same factors combine the coefficient rows of q into the reduced polynomial.
// The polynomial being reduced is held as a coefficient row over the
// positions of O.
template <class Ops>
class bumo_core {
public:
    using elem = typename Ops::elem;
    using acc = typename Ops::acc;

    // coord: dim rows of s entries, coordinate k of each point in point order.
    bumo_core(const Ops& ops, int s, std::vector<elem> coord) : ops(ops), s(s), coord(std::move(coord)) {}

    // progress: write the countdown as O fills.
    void run(bool progress);

    Ops ops;
    const int s;
    int r = -1;  // position in O of the last element found

    // Results.
    std::vector<monom> O;       // the order ideal found
    std::vector<int> perm;      // layout position -> point; perm[0..r] are the pivots
    std::vector<elem> U;        // row j: the values of q[j] at layout positions j+1..s-1, packed
    std::vector<elem> Q;        // row j: the coefficients of q[j] on O[0..j], packed
    std::vector<monom> G_lead;  // leading monomials of the Groebner basis
    std::vector<int> G_top;     // generator g has coefficients on O[0..G_top[g]]
    std::vector<elem> G_coef;   // those coefficients, one row after the other
    std::vector<monom> B;       // the border, increasing
    // For every candidate that was reduced: its pivot point, or s when it
    // vanished on the points.  Two runs with the same events have the same
    // O, B, pivots and layout.
    std::vector<int> events;

    size_t u_off(int j) const { return size_t(j) * size_t(s - 1) - size_t(j) * size_t(j - 1) / 2; }
    size_t q_off(int j) const { return size_t(j) * size_t(j + 1) / 2; }
    elem& u_at(int j, int pos) { return U[u_off(j) + size_t(pos - j - 1)]; }
    const elem& u_at(int j, int pos) const { return U[u_off(j) + size_t(pos - j - 1)]; }
    // The value of q[j] at point p.
    const elem& ev_q(int j, int p) const;

private:
    std::vector<elem> coord;  // dim rows of s, in layout order
    std::vector<elem> evO;    // row j: the values of O[j], in layout order
    std::vector<elem> ev;     // the values of the candidate
    // The values of the polynomial being reduced; after the reduction its
    // entries 0..r are the factors of the steps.
    std::vector<acc> res;
    std::vector<acc> coef;    // its coefficients on O, without the leading 1
    std::vector<int> where;   // point -> layout position
    elem zero{}, one{};

    void evaluate(const mmm& m);
    int reduce();
    void combine();
    void move_to_front(int c);
    void accept(const monom& t, int c);
};

template <class Ops>
const typename Ops::elem& bumo_core<Ops>::ev_q(int j, int p) const
{
    int c = where[p];
    if (c < j) return zero;
    if (c == j) return one;
    return u_at(j, c);
}

template <class Ops>
void bumo_core<Ops>::evaluate(const mmm& m)
{
    if (m.n < 0) {
        for (int c = 0; c < s; ++c) Ops::set_one(ev[c]);
    } else {
        ops.hadamard(ev.data(), evO.data() + size_t(m.n) * s, coord.data() + size_t(m.k) * s, s);
    }
    for (int c = 0; c < s; ++c) Ops::set(res[c], ev[c]);
}

// Reduces the candidate's values against q[0..r]; returns the layout
// position of the first point (in point order) where the result is not 0,
// or -1 when it vanishes at every point.
template <class Ops>
int bumo_core<Ops>::reduce()
{
    // Step j clears position j and changes only the positions after it.
    for (int j = 0; j <= r; ++j) {
        const auto& f = ops.value(res[j]);
        if (!Ops::is_zero(f)) ops.sub_mul(res.data() + (j + 1), f, U.data() + u_off(j), s - 1 - j);
    }
    ops.normalize(res.data() + (r + 1), s - 1 - r);
    int best = -1;
    for (int c = r + 1; c < s; ++c)
        if (!Ops::is_zero_acc(res[c]) && (best < 0 || perm[c] < perm[best])) best = c;
    return best;
}

// coef := - sum of f_j times the coefficients of q[j], j = 0..r.
template <class Ops>
void bumo_core<Ops>::combine()
{
    for (int k = 0; k <= r; ++k) Ops::set_zero(coef[k]);
    for (int j = 0; j <= r; ++j) {
        const auto& f = ops.value(res[j]);
        if (!Ops::is_zero(f)) ops.sub_mul(coef.data(), f, Q.data() + q_off(j), j + 1);
    }
    ops.normalize(coef.data(), r + 1);
}

// Exchanges layout positions c and r + 1 everywhere.
template <class Ops>
void bumo_core<Ops>::move_to_front(int c)
{
    const int d = r + 1;
    if (c == d) return;
    std::swap(perm[c], perm[d]);
    for (int k = 0; k < dim; ++k) std::swap(coord[size_t(k) * s + c], coord[size_t(k) * s + d]);
    for (int j = 0; j <= r; ++j) {
        std::swap(evO[size_t(j) * s + c], evO[size_t(j) * s + d]);
        std::swap(u_at(j, c), u_at(j, d));
    }
    std::swap(ev[c], ev[d]);
    std::swap(res[c], res[d]);
}

// t becomes O[r+1] with the pivot at layout position c.
template <class Ops>
void bumo_core<Ops>::accept(const monom& t, int c)
{
    move_to_front(c);
    ++r;
    elem tmp = ops.inverse(ops.value(res[r]));
    ops.scale(U.data() + u_off(r), res.data() + (r + 1), tmp, s - 1 - r);
    ops.scale(Q.data() + q_off(r), coef.data(), tmp, r);
    Q[q_off(r) + r] = tmp;
    for (int c2 = 0; c2 < s; ++c2) std::swap(evO[size_t(r) * s + c2], ev[c2]);
    O.push_back(t);
}

template <class Ops>
void bumo_core<Ops>::run(bool progress)
{
    perm.resize(s);
    for (int c = 0; c < s; ++c) perm[c] = c;
    evO.resize(size_t(s) * s);
    U.resize(u_off(s));
    Q.resize(q_off(s));
    ev.resize(s);
    res.resize(s);
    coef.resize(s);
    Ops::clear(zero);
    Ops::set_one(one);

    // The candidates leave L in strictly increasing order, so the Groebner
    // basis and the border come out sorted.
    list<mmm> L;
    L.add(mmm());
    mmm m;
    while (L.no_of_items > 0) {
        L.min_del(m);
        const monom& t = m.t;
        if (t.vars() != m.ins) {  // some t / x_i is not in O
            B.push_back(t);
            continue;
        }
        evaluate(m);
        int c = reduce();
        combine();
        if (c < 0) {  // t minus its normal form vanishes on X
            events.push_back(s);
            B.push_back(t);
            G_lead.push_back(t);
            G_top.push_back(r);
            for (int k = 0; k <= r; ++k) G_coef.push_back(ops.value(coef[k]));
            continue;
        }
        events.push_back(perm[c]);
        accept(t, c);
        mmm next;
        next.n = r;
        next.ins = 1;
        for (int k = 0; k < dim; ++k) {
            next.t = t;
            next.t.exp[k] += 1;
            next.k = k;
            if (!element(L, next)) L.add(next);
        }
        if (progress) countdown(s - r);
        check_interrupt();
    }
    where.assign(s, 0);
    for (int c = 0; c < s; ++c) where[perm[c]] = c;
    // The work rows are not needed any more.
    std::vector<elem>().swap(evO);
    std::vector<elem>().swap(coord);
}

// The separators by back substitution: separator pi[h] is q[h] minus the
// combination of the separators of the later pivots that clears q[h]'s
// values there.  Each separator is a coefficient row over O; rows[h] holds
// the separator of point pi[h].
//   load_q(h, a): sets a[k] to the coefficient of O[k] in q[h] (a is zero);
//   ev_q(h, p):   the value of q[h] at point p, an entry.
template <class Ops, class LoadQ, class EvQ>
std::vector<typename Ops::elem> sep_core(Ops ops, int s, const int* pi, LoadQ load_q, EvQ ev_q,
                                         bool progress)
{
    using elem = typename Ops::elem;
    using acc = typename Ops::acc;
    std::vector<elem> S(size_t(s) * s);
    std::vector<acc> a(s);
    for (int h = s - 1; h >= 0; --h) {
        for (int k = 0; k < s; ++k) Ops::set_zero(a[k]);
        load_q(h, a.data());
        for (int j = h + 1; j < s; ++j) {
            const auto& f = ev_q(h, pi[j]);
            if (!Ops::is_zero(f)) ops.sub_mul(a.data(), f, S.data() + size_t(j) * s, s);
        }
        ops.normalize(a.data(), s);
        elem* row = S.data() + size_t(h) * s;
        for (int k = 0; k < s; ++k) ops.take(row[k], a[k]);
        if (progress) countdown(h + 1);
        check_interrupt();
    }
    return S;
}

}  // namespace bumo_detail
