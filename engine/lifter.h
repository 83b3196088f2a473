// Lifting residues modulo many primes to rational numbers: Chinese
// remaindering and rational reconstruction, shared by the modular
// computations over Q.
#pragma once

#if defined(TARV_FIELD_Q)

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include <gmpxx.h>

#include "engine/dense_rows.h"
#include "engine/parallel.h"

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
    bool feed(uint32_t p, const std::vector<uint32_t>& r)
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
        const bool try_due = !candidate && used + int(pending.size()) >= next_try;
        if (pending.size() % group != 0 || (pending.size() < max_pending && !try_due)) return false;
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

    // The lifted entries, once feed returned true.  Each is n / d with d
    // prime to the modulus M and n = x d modulo M, x the entry's residue
    // modulo M (a denominator divisible by a prime of M would make n
    // divisible by it too, and n / d is reduced): the proofs built on the
    // lifter use that congruence.
    std::vector<mpq_class> values;

    // The product of the primes taken into the lifted values.
    const mpz_class& modulus() const { return M; }

private:
    // Residues are taken into M in groups of two primes, whose product
    // (below 2^62) fits one machine word; up to max_pending primes wait, so
    // that one pass of the threads takes several groups.
    static constexpr size_t group = 2, max_pending = 16;
    size_t capacity_bits = 0;  // allocated in every entry of x

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
    std::vector<std::vector<uint32_t>> pending;

    // Entries per thread in a pass over all entries, each costing a pass
    // over the limbs of M.
    size_t work_per_thread() const { return std::max<size_t>(64, (size_t(1) << 16) / (mpz_size(M.get_mpz_t()) + 1)); }

    static uint64_t mul_mod(uint64_t a, uint64_t b, uint64_t m)
    {
        return static_cast<uint64_t>(static_cast<unsigned __int128>(a) * b % m);
    }

    static uint64_t inverse_mod64(uint64_t a, uint64_t m) { return inverse_by_euclid<__int128>(a, m); }

    // Chinese remaindering (Garner): in each group, first its primes among
    // themselves in machine words, then one step on the big numbers.
    void flush()
    {
        struct step {
            size_t begin, end;  // the group's pending primes
            uint64_t m, invM;   // their product; M^-1 modulo m
            std::vector<uint64_t> inv;  // (p_begin ... p_(i-1))^-1 modulo p_i
            mpz_class M;        // the modulus before the step
        };
        std::vector<step> steps;
        for (size_t b = 0; b < pending.size(); b += group) {
            step g;
            g.begin = b;
            g.end = std::min(pending.size(), b + group);
            g.m = 1;
            for (size_t i = g.begin; i < g.end; ++i) {
                g.inv.push_back(wide_prime_rows(pending_primes[i]).inverse(static_cast<uint32_t>(g.m % pending_primes[i])));
                g.m *= pending_primes[i];
            }
            g.invM = inverse_mod64(mpz_fdiv_ui(M.get_mpz_t(), g.m), g.m);
            g.M = M;
            M *= mpz_class(static_cast<unsigned long>(g.m));
            steps.push_back(std::move(g));
        }
        // Room for the entries' growth, so that each step does not
        // reallocate every entry.
        const size_t bits = mpz_sizeinbase(M.get_mpz_t(), 2) + 64;
        if (bits > capacity_bits) {
            capacity_bits = bits + bits / 4 + 256;
            for (mpz_class& e : x) mpz_realloc2(e.get_mpz_t(), capacity_bits);
        }
        // The entries are independent: shared between the cores once an
        // entry's work (a pass over M per step) pays for a thread.
        parallel_ranges(x.size(), work_per_thread() / steps.size() + 1, [&](size_t first, size_t last) {
            for (const step& g : steps) {
                for (size_t e = first; e < last; ++e) {
                    uint64_t R = 0, mm = 1;
                    for (size_t i = g.begin; i < g.end; ++i) {
                        const uint64_t p = pending_primes[i];
                        uint64_t t = (pending[i][e] + p - R % p) % p * g.inv[i - g.begin] % p;
                        R += mm * t;
                        mm *= p;
                    }
                    uint64_t xm = mpz_fdiv_ui(x[e].get_mpz_t(), g.m);
                    uint64_t t = mul_mod((R + g.m - xm) % g.m, g.invM, g.m);
                    if (t != 0) mpz_addmul_ui(x[e].get_mpz_t(), g.M.get_mpz_t(), t);
                }
            }
        });
        used += static_cast<int>(pending.size());
        pending.clear();
        pending_primes.clear();
    }

    bool matches(uint32_t p, const std::vector<uint32_t>& r) const
    {
        std::atomic<bool> differ{false};
        parallel_ranges(values.size(), work_per_thread(), [&](size_t first, size_t last) {
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
    // turn (a row of big numbers pays for a thread); all must succeed.
    bool reconstruct()
    {
        mpz_class bound = M / 2;
        mpz_sqrt(bound.get_mpz_t(), bound.get_mpz_t());
        const mpz_class half = M / 2;
        std::atomic<size_t> next_row{0};
        std::atomic<bool> failed{false};
        parallel_ranges(order.size(), 1, [&](size_t, size_t) {
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

// Bits of the vector vals[0..n-1] scaled to integers by the least common
// denominator D of its entries, D itself counted as an entry: the size of
// a lifted vector in an integer proof.
inline size_t scaled_bits(const mpq_class* vals, int n)
{
    mpz_class D = 1, y;
    for (int k = 0; k < n; ++k) mpz_lcm(D.get_mpz_t(), D.get_mpz_t(), vals[k].get_den_mpz_t());
    size_t bits = mpz_sizeinbase(D.get_mpz_t(), 2);
    for (int k = 0; k < n; ++k) {
        if (sgn(vals[k]) == 0) continue;
        mpz_divexact(y.get_mpz_t(), D.get_mpz_t(), vals[k].get_den_mpz_t());
        bits = std::max(bits, mpz_sizeinbase(y.get_mpz_t(), 2) + mpz_sizeinbase(vals[k].get_num_mpz_t(), 2));
    }
    return bits;
}

// Whether an integer below 2^bound in absolute value that the modulus M
// divides must be 0.
inline bool modulus_exceeds(const mpz_class& M, size_t bound)
{
    return mpz_sizeinbase(M.get_mpz_t(), 2) > bound + 1;
}

#endif
