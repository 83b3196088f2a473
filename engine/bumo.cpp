#include "engine/bumo.h"

#include <iostream>
#include <vector>

#include "engine/bumo_core.h"
#include "engine/bumo_modular.h"
#include "engine/dense_rows.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/interrupt.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

namespace {

using bumo_detail::bumo_core;

// The coordinates of the points as row entries, dim rows of s.
template <class Ops>
std::vector<typename Ops::elem> coordinates(const scheme& X)
{
    std::vector<typename Ops::elem> coord(size_t(dim) * X.s);
    for (int c = 0; c < X.s; ++c)
        for (int k = 0; k < dim; ++k) coord[size_t(k) * X.s + c] = Ops::from_K(X.P->a[c][k]);
    return coord;
}

// Stores the results of a run in X: O, pi, q, ev_q, Ix and B; the entries
// are moved out of the run.
template <class Ops>
void store(scheme& X, bumo_core<Ops>& run)
{
    using bumo_detail::take_poly;
    const int s = X.s;
    for (int j = 0; j <= run.r; ++j) {
        X.O[j] = run.O[j];
        X.pi[j] = run.perm[j];
        K* row = X.ev_q->a[j];
        for (int c = 0; c < j; ++c) row[run.perm[c]] = 0;
        row[run.perm[j]] = 1;
        for (int c = j + 1; c < s; ++c) Ops::move_out(row[run.perm[c]], run.u_at(j, c));
        take_poly<Ops>(X.q[j], nullptr, X.O, j, run.Q.data() + run.q_off(j));
    }
    const int gens = static_cast<int>(run.G_lead.size());
    delete X.Ix;
    X.Ix = new ideal(gens);
    size_t off = 0;
    for (int g = 0; g < gens; ++g) {
        take_poly<Ops>(X.Ix->gen[g], &run.G_lead[g], X.O, run.G_top[g], run.G_coef.data() + off);
        off += size_t(run.G_top[g]) + 1;
    }
    delete[] X.B;
    X.no_of_border = static_cast<int>(run.B.size());
    X.B = new monom[run.B.size()];
    for (size_t i = 0; i < run.B.size(); ++i) X.B[i] = run.B[i];
}

template <class Ops>
void bu_mo_with(scheme& X, bool progress)
{
    bumo_core<Ops> run(Ops(), X.s, coordinates<Ops>(X));
    run.run(progress);
    store(X, run);
}

// The separators from the triangular system stored in X.
template <class Ops>
void sep_with(scheme& X, bool progress)
{
    Ops ops;
    auto load_q = [&](int h, typename Ops::acc* a) {
        // The terms of q[h] are elements of O[0..h], in decreasing order.
        const polynomial& qh = X.q[h];
        if (sign(qh) == 0) return;
        int k = h;
        for (int i = 0; i < qh.no_of_monoms; ++i) {
            while (k >= 0 && !(X.O[k] == qh.term[i])) --k;
            if (k < 0) return;
            Ops::set(a[k], Ops::from_K(qh.coef[i]));
        }
    };
    auto ev_q = [&](int h, int p) -> decltype(auto) { return Ops::from_K(X.ev_q->a[h][p]); };
    auto S = bumo_detail::sep_core(ops, X.s, X.pi, load_q, ev_q, progress);
    for (int h = 0; h < X.s; ++h)
        bumo_detail::take_poly<Ops>(X.separator->gen[X.pi[h]], nullptr, X.O, X.s - 1, S.data() + size_t(h) * X.s);
}

template <class Ops>
struct bumo_go {
    static void go(scheme& X, bool progress) { bu_mo_with<Ops>(X, progress); }
};

template <class Ops>
struct sep_go {
    static void go(scheme& X, bool progress) { sep_with<Ops>(X, progress); }
};

// The fastest arithmetic for the field: residues with delayed reduction for
// the small prime fields, computation modulo many primes over Q (modular),
// exact field arithmetic otherwise and as the fallback.
template <template <class> class Run, class F = K>
void run_with(scheme& X, dense_path path, bool progress, bool (*modular)(scheme&, modular_control&),
              modular_control& control)
{
    if (path == dense_path::fastest) {
        if constexpr (small_prime_field<F>::value) {
            if (small_prime_field<F>::modulus() < (1u << 15)) {
                Run<lazy_rows<F>>::go(X, progress);
                return;
            }
        }
        if constexpr (modular_field) {
            control.progress = progress;
            if (modular(X, control)) return;
            progress = false;  // the modular attempt gave the report
        }
    }
    Run<exact_rows>::go(X, progress);
}

// The whole Buchberger-Moeller computation: O, B, Ix, q, ev_q and pi.
void full_bu_mo(scheme& X, dense_path path, bool progress, modular_control& control)
{
    run_with<bumo_go>(X, path, progress, bu_mo_modular, control);
    X.groebner = 1;
}

}  // namespace

void bu_mo(scheme& X, dense_path path)
{
    // A second run after the separators released the triangular system.
    X.renew_triangular_system();
    // Not computed until the run ends: an interrupted run may have stored
    // part of its results.
    X.delta = 0;
    if (verbose) std::cerr << "calculating triangular sequence ...\n";
    modular_control control;
    // Over Q the invariants need only O and B; Ix follows when asked for.
    X.groebner = 0;
    if (!(modular_field && path == dense_path::fastest && order_ideal_modular(X, control)))
        full_bu_mo(X, path, verbose != 0, control);
    if (verbose) std::cerr << "\n";
    std::cout << Line;
    hilbert(X);
}

void need_groebner(scheme& X)
{
    if (X.delta == 0) bu_mo(X);
    if (X.groebner) return;
    // The separators may have released the storage of the triangular system.
    X.make_triangular_storage();
    modular_control control;
    try {
        full_bu_mo(X, dense_path::fastest, false, control);
    } catch (const computation_interrupted&) {
        // A lift stores O and B before its check: count them as not
        // computed, so that the next command runs bu_mo again.
        X.delta = 0;
        throw;
    }
}

void sep(scheme& X, dense_path path)
{
    if (X.delta == 0) bu_mo(X);
    // When the flags were decided without the separators, their report and
    // line were written then.
    const bool report = !X.sep;
    bool progress = verbose != 0 && report;
    if (verbose && report) std::cerr << "calculating biorthogonal sequence ...\n";
    modular_control control;
    // Over Q the separators come from their own runs modulo primes: they
    // need the order ideal, not the rational Groebner basis.
    bool done = false;
    if (modular_field && path == dense_path::fastest && !X.groebner) {
        control.progress = progress;
        done = sep_modular(X, control);
        progress = false;  // that attempt gave the report
    }
    if (!done) {
        need_groebner(X);
        run_with<sep_go>(X, path, progress, sep_modular, control);
    }
    if (verbose && report) std::cerr << "\n";
    if (report) std::cout << Line;
    X.sep = 1;
    X.sep_polys = 1;
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
    // The smallest degree of a border monomial is that of a corner, the
    // smallest degree of a leading term of the Groebner basis.
    X.alpha = X.no_of_border > 0 ? X.B[0].tot_deg() : X.Ix->gen[0].term[0].tot_deg();
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
    gorenstein_by_symmetry(X);
}

bool decide_cayley_bacharach(scheme& X)
{
    if (!modular_field || cayley_bacharach_modular(X) != 1) return false;
    if (verbose) {
        std::cerr << "calculating biorthogonal sequence ...\n";
        for (int h = X.s; h >= 1; --h) bumo_detail::countdown(h);
        std::cerr << "\n";
    }
    std::cout << Line;
    X.sep = 1;
    X.is_CB = 1;
    gorenstein_by_symmetry(X);
    return true;
}

void gorenstein_by_symmetry(scheme& X)
{
    X.is_ar_Go = 0;
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
