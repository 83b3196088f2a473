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
    coord.assign(size_t(dim) * X.s, 0);
    for (int c = 0; c < X.s; ++c)
        for (int k = 0; k < dim; ++k) {
            const mpq_class& v = X.P->a[c][k].v;
            uint32_t den = static_cast<uint32_t>(mpz_fdiv_ui(v.get_den_mpz_t(), p));
            if (den == 0) return false;
            uint32_t num = static_cast<uint32_t>(mpz_fdiv_ui(v.get_num_mpz_t(), p));
            coord[size_t(k) * X.s + c] = static_cast<residue>(uint64_t(num) * inverse_mod(den, p) % p);
        }
    return true;
}

namespace {

// Lifts vectors of residues modulo successive primes to rational numbers.
// The entries form rows whose entries tend to share a denominator; each row
// is reconstructed with the denominator found so far, and only entries that
// do not fit it are reconstructed on their own.
class lifter {
public:
    // Rows of the given lengths, stored one after the other; order: the rows
    // in the order in which to reconstruct them (the largest numbers first,
    // so that too few primes show early).
    // confirmations: further primes that must agree with a reconstruction.
    lifter(std::vector<int> lengths, std::vector<int> order, int confirmations)
        : lengths(std::move(lengths)), order(std::move(order)), confirmations(confirmations)
    {
        size_t n = 0;
        for (int l : this->lengths) {
            start.push_back(n);
            n += size_t(l);
        }
        x.resize(n);
        values.resize(n);
    }

    // Takes the residues modulo one more prime; true when the values are a
    // reconstruction that the required number of primes confirmed.
    bool feed(uint32_t p, const std::vector<residue>& r)
    {
        if (candidate) {
            if (matches(p, r)) {
                if (++confirmed >= confirmations) return true;
            } else {
                reject();
            }
        }
        pending_primes.push_back(p);
        pending.push_back(r);
        if (pending.size() < group) return false;
        flush();
        if (!candidate && used >= next_try) {
            if (reconstruct()) {
                candidate = true;
                return confirmations == 0;
            }
            next_try = used + used / 8 + 1;
        }
        return false;
    }

    // The values are wrong: more primes are needed.
    void reject()
    {
        candidate = false;
        confirmed = 0;
        next_try = used + used / 8 + 1;
    }

    std::vector<mpq_class> values;  // the lifted entries, once feed returned true

private:
    // Residues are taken into M in groups of two primes, whose product
    // (below 2^62) fits one machine word.
    static constexpr size_t group = 2;

    std::vector<int> lengths, order;
    int confirmations;
    std::vector<size_t> start;
    std::vector<mpz_class> x;  // the entries modulo M, in [0, M)
    mpz_class M = 1;
    int used = 0;  // primes in M
    int next_try = 8;
    bool candidate = false;
    int confirmed = 0;
    std::vector<uint32_t> pending_primes;
    std::vector<std::vector<residue>> pending;

    static uint64_t mul_mod(uint64_t a, uint64_t b, uint64_t m)
    {
        return static_cast<uint64_t>(static_cast<unsigned __int128>(a) * b % m);
    }

    static uint64_t inverse_mod64(uint64_t a, uint64_t m)
    {
        __int128 r0 = m, r1 = a, t0 = 0, t1 = 1;
        while (r1 != 0) {
            __int128 q = r0 / r1;
            std::swap(r0, r1);
            r1 -= q * r0;
            std::swap(t0, t1);
            t1 -= q * t0;
        }
        return static_cast<uint64_t>(t0 < 0 ? t0 + m : t0);
    }

    // Chinese remaindering (Garner): first the pending primes among
    // themselves in machine words, then one step on the big numbers.
    void flush()
    {
        const size_t k = pending.size();
        uint64_t m = 1;
        std::vector<uint64_t> inv(k);  // (p_0 ... p_(i-1))^-1 modulo p_i
        for (size_t i = 0; i < k; ++i) {
            inv[i] = inverse_mod(static_cast<uint32_t>(m % pending_primes[i]), pending_primes[i]);
            m *= pending_primes[i];
        }
        const uint64_t invM = inverse_mod64(mpz_fdiv_ui(M.get_mpz_t(), m), m);
        // The entries are independent: shared between the cores.
        parallel_ranges(x.size(), 4096, [&](size_t first, size_t last) {
            for (size_t e = first; e < last; ++e) {
                uint64_t R = 0, mm = 1;
                for (size_t i = 0; i < k; ++i) {
                    const uint64_t p = pending_primes[i];
                    uint64_t t = (pending[i][e] + p - R % p) % p * inv[i] % p;
                    R += mm * t;
                    mm *= p;
                }
                uint64_t xm = mpz_fdiv_ui(x[e].get_mpz_t(), m);
                uint64_t t = mul_mod((R + m - xm) % m, invM, m);
                if (t != 0) mpz_addmul_ui(x[e].get_mpz_t(), M.get_mpz_t(), t);
            }
        });
        M *= mpz_class(static_cast<unsigned long>(m));
        used += static_cast<int>(k);
        pending.clear();
        pending_primes.clear();
    }

    bool matches(uint32_t p, const std::vector<residue>& r) const
    {
        std::atomic<bool> differ{false};
        parallel_ranges(values.size(), 4096, [&](size_t first, size_t last) {
            for (size_t i = first; i < last && !differ.load(std::memory_order_relaxed); ++i) {
                uint64_t num = mpz_fdiv_ui(values[i].get_num_mpz_t(), p);
                uint64_t den = mpz_fdiv_ui(values[i].get_den_mpz_t(), p);
                if (den == 0 || num != uint64_t(r[i]) * den % p) differ = true;
            }
        });
        return !differ;
    }

    // out := a x + b y.
    static void combination(mpz_class& out, long a, const mpz_class& x, long b, const mpz_class& y)
    {
        mpz_mul_si(out.get_mpz_t(), x.get_mpz_t(), a);
        if (b >= 0)
            mpz_addmul_ui(out.get_mpz_t(), y.get_mpz_t(), static_cast<unsigned long>(b));
        else
            mpz_submul_ui(out.get_mpz_t(), y.get_mpz_t(), static_cast<unsigned long>(-b));
    }

    // n / d with |n|, d <= bound and n = u d modulo M, by the extended
    // Euclidean algorithm on (M, u) stopped at the first remainder not above
    // the bound; false when there is none.  Runs of quotients are found from
    // the leading 62 bits (Lehmer) and applied to the big numbers at once;
    // a run that would pass the stopping point is replaced by single steps.
    // w: ten work numbers.
    bool reconstruct_one(const mpz_class& u, const mpz_class& bound, mpz_class& n, mpz_class& d,
                         mpz_class* w) const
    {
        mpz_class& r0 = w[0];
        mpz_class& r1 = w[1];
        mpz_class& t0 = w[2];
        mpz_class& t1 = w[3];
        mpz_class& q = w[4];
        mpz_class& rem = w[5];
        mpz_class* next = &w[6];  // four more
        r0 = M;
        r1 = u;
        t0 = 0;
        t1 = 1;
        const size_t bound_bits = mpz_sizeinbase(bound.get_mpz_t(), 2);
        while (r1 > bound) {
            const size_t n0 = mpz_sizeinbase(r0.get_mpz_t(), 2), n1 = mpz_sizeinbase(r1.get_mpz_t(), 2);
            if (n1 > bound_bits + 64 && n0 - n1 < 30) {
                const size_t shift = n0 - 62;
                mpz_tdiv_q_2exp(q.get_mpz_t(), r0.get_mpz_t(), shift);
                int64_t x = static_cast<int64_t>(mpz_get_ui(q.get_mpz_t()));
                mpz_tdiv_q_2exp(q.get_mpz_t(), r1.get_mpz_t(), shift);
                int64_t y = static_cast<int64_t>(mpz_get_ui(q.get_mpz_t()));
                int64_t A = 1, B = 0, C = 0, D = 1;
                // Knuth's algorithm L: a quotient is right when both bounds agree.
                while (y >= (int64_t(1) << 31) && y + C != 0 && y + D != 0) {
                    int64_t q1 = (x + A) / (y + C), q2 = (x + B) / (y + D);
                    if (q1 != q2) break;
                    int64_t T = A - q1 * C;
                    A = C;
                    C = T;
                    T = B - q1 * D;
                    B = D;
                    D = T;
                    T = x - q1 * y;
                    x = y;
                    y = T;
                }
                if (B != 0) {
                    combination(next[0], A, r0, B, r1);
                    combination(next[1], C, r0, D, r1);
                    if (next[1] > bound && sgn(next[1]) > 0) {
                        combination(next[2], A, t0, B, t1);
                        combination(next[3], C, t0, D, t1);
                        r0.swap(next[0]);
                        r1.swap(next[1]);
                        t0.swap(next[2]);
                        t1.swap(next[3]);
                        continue;
                    }
                }
            }
            mpz_tdiv_qr(q.get_mpz_t(), rem.get_mpz_t(), r0.get_mpz_t(), r1.get_mpz_t());
            r0.swap(r1);
            r1.swap(rem);
            mpz_submul(t0.get_mpz_t(), q.get_mpz_t(), t1.get_mpz_t());
            t0.swap(t1);
        }
        if (t1 == 0 || abs(t1) > bound) return false;
        mpz_gcd(q.get_mpz_t(), r1.get_mpz_t(), t1.get_mpz_t());
        if (q != 1) return false;
        n = t1 < 0 ? mpz_class(-r1) : r1;
        d = abs(t1);
        return true;
    }

    // The rows are reconstructed independently, taken by the cores in
    // turn; all must succeed.
    bool reconstruct()
    {
        mpz_class bound = M / 2;
        mpz_sqrt(bound.get_mpz_t(), bound.get_mpz_t());
        const mpz_class half = M / 2;
        std::atomic<size_t> next_row{0};
        std::atomic<bool> failed{false};
        parallel_ranges(order.size(), 64, [&](size_t, size_t) {
            mpz_class w[10];
            while (!failed.load(std::memory_order_relaxed)) {
                const size_t k = next_row++;
                if (k >= order.size()) break;
                if (!reconstruct_row(order[k], bound, half, w)) failed = true;
            }
        });
        return !failed;
    }

    bool reconstruct_row(int row, const mpz_class& bound, const mpz_class& half, mpz_class* w)
    {
        mpz_class d, n, dn, nn;
        {
            d = 1;
            for (size_t i = start[row]; i < start[row] + size_t(lengths[row]); ++i) {
                // With the row's denominator so far: n = x d, in (-M/2, M/2].
                n = x[i] * d;
                mpz_fdiv_r(n.get_mpz_t(), n.get_mpz_t(), M.get_mpz_t());
                if (n > half) n -= M;
                if (abs(n) <= bound) {
                    values[i] = mpq_class(n, d);
                    values[i].canonicalize();
                    continue;
                }
                if (!reconstruct_one(x[i], bound, nn, dn, w)) return false;
                values[i] = mpq_class(nn, dn);
                mpz_lcm(d.get_mpz_t(), d.get_mpz_t(), dn.get_mpz_t());
                if (d > bound) d = dn;
            }
        }
        return true;
    }
};

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
