#include "engine/bumo_modular.h"

#if !defined(TARV_FIELD_Q)

const std::vector<uint32_t>& modular_primes()
{
    static const std::vector<uint32_t> none;
    return none;
}

bool bu_mo_modular(scheme&)
{
    return false;
}

bool bu_mo_modular(scheme&, modular_control&)
{
    return false;
}

bool sep_modular(scheme&)
{
    return false;
}

bool sep_modular(scheme&, modular_control&)
{
    return false;
}

bool order_ideal_modular(scheme&, modular_control&)
{
    return false;
}

int cayley_bacharach_modular(const scheme&)
{
    return 0;
}

#else

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <gmpxx.h>

#include "engine/bumo_certificate.h"
#include "engine/bumo_core.h"
#include "engine/dense_rows.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/interrupt.h"
#include "engine/lifter.h"
#include "engine/matrix.h"
#include "engine/parallel.h"
#include "engine/scheme.h"

namespace {

using core = bumo_detail::bumo_core<wide_prime_rows>;
using residue = core::elem;
using bumo_detail::countdown;

}  // namespace

// The primes below 2^31 from the largest down, as far as 2^31 - 2^21:
// about 97000 primes, over three million bits.
const std::vector<uint32_t>& modular_primes()
{
    static const std::vector<uint32_t> list = [] {
        const uint64_t top = uint64_t(1) << 31, bottom = top - (uint64_t(1) << 21);
        // The primes up to sqrt(top) cross off their multiples in [bottom, top).
        const uint32_t root = 46341;
        std::vector<bool> small(root + 1, false), composite(top - bottom, false);
        for (uint32_t i = 2; i <= root; ++i) {
            if (small[i]) continue;
            for (uint64_t j = uint64_t(i) * i; j <= root; j += i) small[j] = true;
            for (uint64_t j = (bottom + i - 1) / i * i; j < top; j += i) composite[j - bottom] = true;
        }
        std::vector<uint32_t> v;
        for (uint64_t i = top - 1; i >= bottom; --i)
            if (!composite[i - bottom]) v.push_back(static_cast<uint32_t>(i));
        return v;
    }();
    return list;
}

namespace {

uint32_t inverse_mod(uint32_t x, uint32_t p)
{
    return wide_prime_rows(p).inverse(x);
}

}  // namespace

bool reduce_points(const scheme& X, uint32_t p, std::vector<uint32_t>& coord)
{
    // The points' own count of coordinates: the global dim is raised while
    // projective forms are built.
    const int n = X.P->cols;
    coord.assign(size_t(n) * X.s, 0);
    for (int c = 0; c < X.s; ++c)
        for (int k = 0; k < n; ++k) {
            const mpq_class& v = X.P->a[c][k].v;
            uint32_t den = static_cast<uint32_t>(mpz_fdiv_ui(v.get_den_mpz_t(), p));
            if (den == 0) return false;
            uint32_t num = static_cast<uint32_t>(mpz_fdiv_ui(v.get_num_mpz_t(), p));
            coord[size_t(k) * X.s + c] = static_cast<residue>(uint64_t(num) * inverse_mod(den, p) % p);
        }
    return true;
}

namespace {

// The separators modulo p from the triangular system of a run: row h is the
// separator of the point run.perm[h], over O.
std::vector<residue> separators_mod_p(const core& run, uint32_t p, bool progress)
{
    const wide_prime_rows ops(p);
    auto load_q = [&](int h, core::acc* a) {
        const residue* qh = run.Q.data() + run.q_off(h);
        for (int k = 0; k <= h; ++k) a[k] = qh[k];
    };
    auto ev_q = [&](int h, int pt) { return run.ev_q(h, pt); };
    return bumo_detail::sep_core(ops, run.s, run.perm.data(), load_q, ev_q, progress);
}

// The residues of a run: the Q rows, then the Groebner basis rows.  The
// values of q at the points are not lifted: the exact check computes them.
std::vector<residue> residues(const core& run)
{
    std::vector<residue> r(run.Q.begin(), run.Q.begin() + run.q_off(run.r + 1));
    r.insert(r.end(), run.G_coef.begin(), run.G_coef.end());
    return r;
}

lifter bumo_lifter(const core& run, int confirmations)
{
    std::vector<int> lengths;
    for (int j = 0; j <= run.r; ++j) lengths.push_back(j + 1);
    for (int top : run.G_top) lengths.push_back(top + 1);
    const int g0 = run.r + 1, gens = static_cast<int>(run.G_top.size());
    std::vector<int> order;
    for (int g = gens - 1; g >= 0; --g) order.push_back(g0 + g);
    for (int j = run.r; j >= 0; --j) order.push_back(j);
    return lifter(lengths, order, confirmations);
}

// g := lead (coefficient 1, or none) + sum of vals[k] O[k], k = top..0,
// taking the numbers out of vals.
void take_poly(polynomial& g, const monom* lead, const monom* O, int top, mpq_class* vals)
{
    int terms = lead ? 1 : 0;
    for (int k = top; k >= 0; --k)
        if (sgn(vals[k]) != 0) ++terms;
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
        if (sgn(vals[k]) == 0) continue;
        g.term[i] = O[k];
        g.coef[i].v.swap(vals[k]);
        ++i;
    }
}

// O, pi, q, Ix and B from the run and the lifted values; ev_q is left to
// the exact check.
void store(scheme& X, const core& run, std::vector<mpq_class>& values)
{
    size_t q = 0, g = run.q_off(run.r + 1);
    for (int j = 0; j <= run.r; ++j) {
        X.O[j] = run.O[j];
        X.pi[j] = run.perm[j];
        take_poly(X.q[j], nullptr, X.O, j, values.data() + q);
        q += size_t(j) + 1;
    }
    const int gens = static_cast<int>(run.G_lead.size());
    delete X.Ix;
    X.Ix = new ideal(gens);
    for (int i = 0; i < gens; ++i) {
        take_poly(X.Ix->gen[i], &run.G_lead[i], X.O, run.G_top[i], values.data() + g);
        g += size_t(run.G_top[i]) + 1;
    }
    delete[] X.B;
    X.no_of_border = static_cast<int>(run.B.size());
    X.B = new monom[run.B.size()];
    for (size_t i = 0; i < run.B.size(); ++i) X.B[i] = run.B[i];
}

// Runs bu_mo modulo the primes in turn and hands each run that repeats the
// smallest sequence of decisions seen so far to take(run), after restart(run)
// whenever a smaller sequence appears.  take returns true when done.  The
// countdown of the progress report comes from the first run, and is
// completed from the accepted run at the end.
template <class Restart, class Take>
bool over_primes(scheme& X, const modular_control& control, bool progress, Restart restart, Take take)
{
    std::unique_ptr<core> best;
    std::vector<residue> coord;
    int printed = control.countdown_at;  // the countdown has reached s - printed
    int tried = 0;
    for (uint32_t p : modular_primes()) {
        if (control.max_primes > 0 && tried++ == control.max_primes) break;
        check_interrupt();
        if (!reduce_points(X, p, coord)) continue;
        auto run = std::make_unique<core>(wide_prime_rows(p), X.s, coord);
        run->run(progress && printed < 0);
        if (printed < 0) printed = run->r;
        const core* current = run.get();
        if (!best || run->events < best->events) {
            best = std::move(run);
            restart(*best);
        } else if (run->events != best->events) {
            continue;
        }
        if (take(p, *best, *current)) {
            if (progress)
                for (int r = printed + 1; r <= best->r; ++r) countdown(X.s - r);
            return true;
        }
    }
    if (progress && best)
        for (int r = printed + 1; r <= best->r; ++r) countdown(X.s - r);
    return false;
}

}  // namespace

bool bu_mo_modular(scheme& X)
{
    modular_control control;
    return bu_mo_modular(X, control);
}

bool bu_mo_modular(scheme& X, modular_control& control)
{
    std::unique_ptr<lifter> lift;
    return over_primes(
        X, control, verbose != 0 && control.progress,
        [&](const core& best) { lift = std::make_unique<lifter>(bumo_lifter(best, control.confirmations)); },
        [&](uint32_t p, const core& best, const core& run) {
            if (!lift->feed(p, residues(run))) return false;
            store(X, best, lift->values);
            if (certify_bu_mo(X, best.r + 1)) return true;
            ++control.refused;
            lift->reject();
            return false;
        });
}

bool sep_modular(scheme& X)
{
    modular_control control;
    return sep_modular(X, control);
}

bool sep_modular(scheme& X, modular_control& control)
{
    const int s = X.s;
    bool progress = verbose != 0 && control.progress;
    // Fewer than s distinct points (O was not filled) have no separators
    // that a check could confirm.
    if (s > 1 && sign(X.O[s - 1]) == 0) {
        if (progress)
            for (int h = s - 1; h >= 0; --h) countdown(h + 1);
        return false;
    }
    std::unique_ptr<lifter> lift;
    std::vector<int> lengths(s, s), order(s);
    for (int h = 0; h < s; ++h) order[h] = s - 1 - h;
    bool done = over_primes(
        X, control, false,
        [&](const core&) { lift = std::make_unique<lifter>(lengths, order, control.confirmations); },
        [&](uint32_t p, const core& best, const core& run) {
            std::vector<residue> S = separators_mod_p(run, p, progress);
            progress = false;
            if (!lift->feed(p, S)) return false;
            // Row h is the separator of the point perm[h].
            for (int h = 0; h < s; ++h)
                take_poly(X.separator->gen[best.perm[h]], nullptr, X.O, s - 1, lift->values.data() + size_t(h) * s);
            if (certify_separators(X)) return true;
            ++control.refused;
            lift->reject();
            return false;
        });
    if (!done && progress)
        for (int h = s - 1; h >= 0; --h) countdown(h + 1);
    return done;
}

bool order_ideal_modular(scheme& X, modular_control& control)
{
    const int s = X.s;
    bool complete = true;  // the first prime gave s independent values
    std::vector<int> needed;       // the Groebner basis rows of the corners below O[s-1]
    std::vector<size_t> offset;    // where each row starts in G_coef
    std::unique_ptr<lifter> lift;
    std::vector<polynomial> corner_elements;
    auto store_order = [&](const core& run) {
        for (int j = 0; j < s; ++j) X.O[j] = run.O[j];
        delete[] X.B;
        X.no_of_border = static_cast<int>(run.B.size());
        X.B = new monom[run.B.size()];
        for (size_t i = 0; i < run.B.size(); ++i) X.B[i] = run.B[i];
    };
    bool done = over_primes(
        X, control, verbose != 0 && control.progress,
        [&](const core& best) {
            needed.clear();
            offset.clear();
            std::vector<int> lengths, order;
            size_t off = 0;
            for (size_t g = 0; g < best.G_lead.size(); ++g) {
                offset.push_back(off);
                off += size_t(best.G_top[g]) + 1;
                if (best.r + 1 == s && best.G_lead[g] < best.O[s - 1]) {
                    needed.push_back(static_cast<int>(g));
                    lengths.push_back(best.G_top[g] + 1);
                }
            }
            for (int i = static_cast<int>(needed.size()) - 1; i >= 0; --i) order.push_back(i);
            lift = std::make_unique<lifter>(lengths, order, control.confirmations);
        },
        [&](uint32_t p, const core& best, const core& run) {
            if (best.r + 1 < s) {
                complete = false;
                control.countdown_at = best.r;
                return true;
            }
            if (needed.empty()) {
                store_order(best);
                return true;
            }
            std::vector<residue> r;
            for (int g : needed)
                r.insert(r.end(), run.G_coef.begin() + offset[g], run.G_coef.begin() + offset[g] + run.G_top[g] + 1);
            if (!lift->feed(p, r)) return false;
            corner_elements.assign(needed.size(), polynomial());
            size_t v = 0;
            for (size_t i = 0; i < needed.size(); ++i) {
                const int g = needed[i];
                take_poly(corner_elements[i], &best.G_lead[g], best.O.data(), best.G_top[g], lift->values.data() + v);
                v += size_t(best.G_top[g]) + 1;
            }
            if (certify_corner_elements(X, best.O.data(), s, corner_elements)) {
                store_order(best);
                return true;
            }
            ++control.refused;
            lift->reject();
            return false;
        });
    return done && complete;
}

int cayley_bacharach_modular(const scheme& X)
{
    const int s = X.s;
    const int rX = X.sigma + 1;
    const int top = rX == 0 ? 0 : X.hilb_fct[rX - 1];  // O[top..s-1] have the top degree
    std::vector<residue> coord;
    int tried = 0;
    for (uint32_t p : modular_primes()) {
        if (tried == 3) break;
        if (!reduce_points(X, p, coord)) continue;
        ++tried;
        core run(wide_prime_rows(p), s, coord);
        run.run(false);
        if (run.r + 1 != s) continue;
        bool same = true;
        for (int j = 0; j < s && same; ++j) same = run.O[j] == X.O[j];
        if (!same) continue;
        // The separators modulo p are those over Q reduced: a coefficient
        // that is not zero modulo p is not zero over Q.
        std::vector<residue> S = separators_mod_p(run, p, false);
        bool all_top = true;
        for (int h = 0; h < s && all_top; ++h) {
            const residue* row = S.data() + size_t(h) * s;
            all_top = false;
            for (int k = top; k < s && !all_top; ++k) all_top = row[k] != 0;
        }
        if (all_top) return 1;
    }
    return 0;
}

#endif
