#include "engine/bumo.h"

#include <iostream>
#include <utility>
#include <vector>

#include "engine/dense_rows.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/list.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "interpreter/scheme.h"

namespace {

// A polynomial from a leading term (coefficient 1, or none) followed by the
// elements O[k], k = top, top-1, ..., 0, with the coefficients value(k); zero
// coefficients are left out.  Since O increases, the terms come out in
// decreasing order.
template <class Value>
void dense_to_poly(polynomial& g, const monom* lead, const monom* O, int top, Value value)
{
    int terms = lead ? 1 : 0;
    for (int k = top; k >= 0; --k)
        if (value(k) != 0) ++terms;
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
        const auto& c = value(k);
        if (c == 0) continue;
        g.term[i] = O[k];
        g.coef[i] = c;
        ++i;
    }
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
// positions of O; the sparse polynomials are made only for the results.
template <class Ops>
class bumo_run {
public:
    using elem = typename Ops::elem;
    using acc = typename Ops::acc;

    explicit bumo_run(scheme& X) : X(X), s(X.s) {}

    void run();

private:
    scheme& X;
    Ops ops;
    const int s;
    int r = -1;  // position in O of the last element found

    std::vector<int> perm;    // layout position -> point
    std::vector<elem> coord;  // dim rows of s: coordinate k at each layout position
    std::vector<elem> evO;    // row j: the values of O[j], in layout order
    std::vector<elem> U;      // row j: the values of q[j] at layout positions j+1..s-1, packed
    std::vector<elem> Q;      // row j: the coefficients of q[j] on O[0..j], packed
    std::vector<elem> ev;     // the values of the candidate
    // The values of the polynomial being reduced; after the reduction its
    // entries 0..r are the factors of the steps.
    std::vector<acc> res;
    std::vector<acc> coef;    // its coefficients on O, without the leading 1

    size_t u_off(int j) const { return size_t(j) * size_t(s - 1) - size_t(j) * size_t(j - 1) / 2; }
    size_t q_off(int j) const { return size_t(j) * size_t(j + 1) / 2; }
    elem& u_at(int j, int pos) { return U[u_off(j) + size_t(pos - j - 1)]; }

    void evaluate(const mmm& m);
    int reduce();
    void combine();
    void move_to_front(int c);
    void accept(const monom& t, int c);
    void store_results(std::vector<polynomial>& G, std::vector<monom>& Bl);
};

template <class Ops>
void bumo_run<Ops>::evaluate(const mmm& m)
{
    if (m.n < 0) {
        for (int c = 0; c < s; ++c) Ops::set_one(ev[c]);
    } else {
        ops.hadamard(ev.data(), &evO[size_t(m.n) * s], &coord[size_t(m.k) * s], s);
    }
    for (int c = 0; c < s; ++c) Ops::set(res[c], ev[c]);
}

// Reduces the candidate's values against q[0..r]; returns the layout
// position of the first point (in point order) where the result is not 0,
// or -1 when it vanishes at every point.
template <class Ops>
int bumo_run<Ops>::reduce()
{
    // Step j clears position j and changes only the positions after it.
    for (int j = 0; j <= r; ++j) {
        const auto& f = ops.value(res[j]);
        if (!Ops::is_zero(f)) ops.sub_mul(&res[j + 1], f, &U[u_off(j)], s - 1 - j);
    }
    ops.normalize(&res[r + 1], s - 1 - r);
    int best = -1;
    for (int c = r + 1; c < s; ++c)
        if (!Ops::is_zero_acc(res[c]) && (best < 0 || perm[c] < perm[best])) best = c;
    return best;
}

// coef := - sum of f_j times the coefficients of q[j], j = 0..r.
template <class Ops>
void bumo_run<Ops>::combine()
{
    for (int k = 0; k <= r; ++k) Ops::set_zero(coef[k]);
    for (int j = 0; j <= r; ++j) {
        const auto& f = ops.value(res[j]);
        if (!Ops::is_zero(f)) ops.sub_mul(coef.data(), f, &Q[q_off(j)], j + 1);
    }
    ops.normalize(coef.data(), r + 1);
}

// Exchanges layout positions c and r + 1 everywhere.
template <class Ops>
void bumo_run<Ops>::move_to_front(int c)
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
void bumo_run<Ops>::accept(const monom& t, int c)
{
    move_to_front(c);
    ++r;
    elem tmp = ops.inverse(ops.value(res[r]));
    ops.scale(&U[u_off(r)], &res[r + 1], tmp, s - 1 - r);
    ops.scale(&Q[q_off(r)], coef.data(), tmp, r);
    Q[q_off(r) + r] = tmp;
    for (int c2 = 0; c2 < s; ++c2) std::swap(evO[size_t(r) * s + c2], ev[c2]);
    X.O[r] = t;
}

template <class Ops>
void bumo_run<Ops>::store_results(std::vector<polynomial>& G, std::vector<monom>& Bl)
{
    for (int j = 0; j <= r; ++j) {
        X.pi[j] = perm[j];
        K* row = X.ev_q->a[j];
        for (int c = 0; c < j; ++c) row[perm[c]] = 0;
        row[perm[j]] = 1;
        for (int c = j + 1; c < s; ++c) row[perm[c]] = Ops::to_K(u_at(j, c));
        const elem* qj = &Q[q_off(j)];
        dense_to_poly(X.q[j], nullptr, X.O, j, [&](int k) -> decltype(auto) { return Ops::to_K(qj[k]); });
    }
    delete X.Ix;
    X.Ix = new ideal(static_cast<int>(G.size()));
    for (size_t i = 0; i < G.size(); ++i) X.Ix->gen[i] = std::move(G[i]);
    delete[] X.B;
    X.no_of_border = static_cast<int>(Bl.size());
    X.B = new monom[Bl.size()];
    for (size_t i = 0; i < Bl.size(); ++i) X.B[i] = Bl[i];
}

template <class Ops>
void bumo_run<Ops>::run()
{
    perm.resize(s);
    coord.resize(size_t(dim) * s);
    for (int c = 0; c < s; ++c) {
        perm[c] = c;
        for (int k = 0; k < dim; ++k) coord[size_t(k) * s + c] = Ops::from_K(X.P->a[c][k]);
    }
    evO.resize(size_t(s) * s);
    U.resize(u_off(s));
    Q.resize(q_off(s));
    ev.resize(s);
    res.resize(s);
    coef.resize(s);

    if (verbose) std::cerr << "calculating triangular sequence ...\n";

    // The candidates leave L in strictly increasing order, so G and the
    // border come out sorted.
    list<mmm> L;
    std::vector<polynomial> G;
    std::vector<monom> Bl;
    L.add(mmm());
    mmm m;
    while (L.no_of_items > 0) {
        L.min_del(m);
        const monom& t = m.t;
        if (t.vars() != m.ins) {  // some t / x_i is not in O
            Bl.push_back(t);
            continue;
        }
        evaluate(m);
        int c = reduce();
        combine();
        if (c < 0) {  // t minus its normal form vanishes on X
            Bl.push_back(t);
            G.emplace_back();
            dense_to_poly(G.back(), &t, X.O, r,
                          [&](int k) -> decltype(auto) { return Ops::to_K(ops.value(coef[k])); });
            continue;
        }
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
        if (verbose) std::cerr << "[" << s - r << "]";
    }
    store_results(G, Bl);
    if (verbose) std::cerr << "\n";
    std::cout << Line;
}

// The separators by back substitution: separator pi[h] is q[h] minus the
// combination of the separators of the later pivots that clears q[h]'s
// values there.  Each separator is held as a coefficient row over O.
template <class Ops>
void sep_run(scheme& X)
{
    using elem = typename Ops::elem;
    using acc = typename Ops::acc;
    Ops ops;
    const int s = X.s;
    std::vector<elem> S(size_t(s) * s);  // row h: separator pi[h]
    std::vector<acc> a(s);
    for (int h = s - 1; h >= 0; --h) {
        for (int k = 0; k < s; ++k) Ops::set_zero(a[k]);
        // The terms of q[h] are elements of O[0..h], in decreasing order.
        const polynomial& qh = X.q[h];
        int k = h;
        for (int i = 0; i < qh.no_of_monoms && sign(qh) != 0; ++i) {
            while (k >= 0 && !(X.O[k] == qh.term[i])) --k;
            if (k < 0) break;
            Ops::set(a[k], Ops::from_K(qh.coef[i]));
        }
        const K* evh = X.ev_q->a[h];
        for (int j = h + 1; j < s; ++j) {
            elem fj = Ops::from_K(evh[X.pi[j]]);
            if (!Ops::is_zero(fj)) ops.sub_mul(a.data(), fj, &S[size_t(j) * s], s);
        }
        ops.normalize(a.data(), s);
        elem* row = &S[size_t(h) * s];
        for (int k2 = 0; k2 < s; ++k2) ops.take(row[k2], a[k2]);
        dense_to_poly(X.separator->gen[X.pi[h]], nullptr, X.O, s - 1,
                      [&](int k2) -> decltype(auto) { return Ops::to_K(row[k2]); });
        if (verbose) std::cerr << "[" << h + 1 << "]";
    }
}

template <template <class> class Run, class F = K>
void run_with(scheme& X, dense_path path)
{
    if constexpr (small_prime_field<F>::value) {
        if (path == dense_path::fastest && small_prime_field<F>::modulus() < (1u << 15)) {
            Run<lazy_rows<F>>::go(X);
            return;
        }
    }
    Run<exact_rows>::go(X);
}

template <class Ops>
struct bumo_go {
    static void go(scheme& X) { bumo_run<Ops>(X).run(); }
};

template <class Ops>
struct sep_go {
    static void go(scheme& X) { sep_run<Ops>(X); }
};

}  // namespace

void bu_mo(scheme& X, dense_path path)
{
    // A second run after the separators released the triangular system.
    X.renew_triangular_system();
    run_with<bumo_go>(X, path);
    hilbert(X);
}

void sep(scheme& X, dense_path path)
{
    if (verbose) std::cerr << "calculating biorthogonal sequence ...\n";
    run_with<sep_go>(X, path);
    if (verbose) std::cerr << "\n";
    std::cout << Line;
    X.sep = 1;
    delete[] X.pi;
    delete[] X.q;
    delete X.ev_q;
    X.pi = nullptr;
    X.q = nullptr;
    X.ev_q = nullptr;
    hilbert2(X);
}

void hilbert(scheme& X)
{
    const int s = X.s;
    for (int d = 0; d < s; ++d) X.delta_fct[d] = 0;
    for (int i = 0; i < s; ++i) {
        int d = X.O[i].tot_deg();
        if (d < s) ++X.delta_fct[d];
    }
    // The degrees of an order ideal have no gap: the first empty degree
    // follows the largest one.
    int d = 0;
    while (d < s && X.delta_fct[d] != 0) ++d;
    int rX = d - 1;
    X.sigma = rX - 1;
    X.delta = X.delta_fct[rX];
    X.alpha = X.Ix->gen[0].term[0].tot_deg();
    int sum = 0;
    for (int k = 0; k < s; ++k) {
        sum += X.delta_fct[k];
        X.hilb_fct[k] = sum;
    }
}

void hilbert2(scheme& X)
{
    X.is_CB = 1;
    for (int i = 1; i < X.s; ++i)
        if (X.separator->gen[i].term[0].tot_deg() != X.separator->gen[i - 1].term[0].tot_deg()) {
            X.is_CB = 0;
            break;
        }
    if (!X.is_CB) return;
    // A single point (sigma = -1) is a complete intersection, hence Gorenstein.
    X.is_ar_Go = 1;
    for (int j = 0; j <= X.sigma / 2 && X.sigma >= 0; ++j)
        if (X.hilb_fct[j] + X.hilb_fct[X.sigma - j] != X.s) {
            X.is_ar_Go = 0;
            break;
        }
}

int is_el_OO(const scheme& X, const monom& t)
{
    for (int i = 0; i < X.s; ++i)
        if (X.O[i] == t) return i;
    return -1;
}

int is_el_O(const scheme& X, const monom& t)
{
    int d = t.tot_deg();
    if (d == 0) return 0;
    if (d > X.sigma + 1) return -1;
    // O is sorted by a degree-compatible ordering: degree d is one block.
    for (int i = X.hilb_fct[d - 1]; i < X.hilb_fct[d]; ++i)
        if (X.O[i] == t) return i;
    return -1;
}

int is_el_G(const scheme& X, const monom& t)
{
    for (int i = 0; i < X.Ix->no_of_gens; ++i) {
        const monom& lt = X.Ix->gen[i].term[0];
        if (lt == t) return i;
        if (lt > t) return -1;
    }
    return -1;
}

int is_el_B(const scheme& X, const monom& t)
{
    for (int i = 0; i < X.no_of_border; ++i) {
        if (X.B[i] == t) return i;
        if (X.B[i] > t) return -1;
    }
    return -1;
}
