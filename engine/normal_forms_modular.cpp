#include "engine/normal_forms_modular.h"

#if !defined(TARV_FIELD_Q)

bool normal_forms_modular(const scheme&, const std::vector<monom>&, std::vector<normal_form>&)
{
    return false;
}

#else

#include <algorithm>
#include <cstdint>
#include <utility>

#include <gmpxx.h>

#include "engine/bumo_modular.h"
#include "engine/dense_rows.h"
#include "engine/interrupt.h"
#include "engine/lifter.h"
#include "engine/matrix.h"
#include "engine/parallel.h"
#include "engine/scheme.h"

namespace {

// The value of the affine monomial m at point c modulo p (coordinates as
// reduce_points gives them).
uint32_t value_at(const monom& m, int n, const std::vector<uint32_t>& coord, int s, int c, uint32_t p)
{
    uint64_t v = 1;
    for (int k = 0; k < n; ++k)
        for (int e = 0; e < m.exp[k]; ++e) v = v * coord[size_t(k) * s + c] % p;
    return static_cast<uint32_t>(v);
}

// The coefficients over O of the normal forms of ts modulo p, form i at
// i * s: Gauss-Jordan elimination of (W | T), W[c][k] = O[k] at point c and
// T[c][i] = ts[i] at point c, in 64-bit accumulators reduced only where a
// value is used.  False when W is singular modulo p.
bool forms_mod_p(const scheme& X, const std::vector<monom>& ts, int n, const std::vector<uint32_t>& coord,
                 uint32_t p, std::vector<uint32_t>& out)
{
    const int s = X.s, nt = static_cast<int>(ts.size()), w = s + nt;
    const wide_prime_rows ops(p);
    std::vector<std::vector<uint64_t>> A(static_cast<size_t>(s), std::vector<uint64_t>(static_cast<size_t>(w)));
    for (int c = 0; c < s; ++c) {
        for (int k = 0; k < s; ++k) A[c][k] = value_at(X.O[k], n, coord, s, c, p);
        for (int i = 0; i < nt; ++i) A[c][s + i] = value_at(ts[i], n, coord, s, c, p);
    }
    std::vector<uint32_t> x(static_cast<size_t>(w));
    for (int i = 0; i < s; ++i) {
        // (Run on a helper thread, where check_interrupt may not throw: the
        // caller checks once the primes of a batch are done.)
        if (interrupt_requested) return false;
        int k = i;
        while (k < s && A[k][i] % p == 0) ++k;
        if (k == s) return false;
        std::swap(A[i], A[k]);
        const uint32_t inv = ops.inverse(static_cast<uint32_t>(A[i][i] % p));
        for (int j = i + 1; j < w; ++j) {
            x[j] = static_cast<uint32_t>(A[i][j] % p * inv % p);
            A[i][j] = x[j];
        }
        A[i][i] = 1;
        for (int r = 0; r < s; ++r) {
            if (r == i) continue;
            const uint32_t f = static_cast<uint32_t>(A[r][i] % p);
            A[r][i] = 0;
            if (f != 0) dense_kernels::lazy_axpy(&A[r][i + 1], p - f, &x[i + 1], w - i - 1, ops.P2);
        }
    }
    out.resize(size_t(nt) * s);
    for (int k = 0; k < s; ++k)
        for (int i = 0; i < nt; ++i) out[size_t(i) * s + k] = static_cast<uint32_t>(A[k][s + i] % p);
    return true;
}

// Bits of the largest |a_i| and D_i over the points written (1 : a_i / D_i)
// with integers: the H of the bound above.
size_t point_bits(const scheme& X, int n)
{
    size_t H = 1;
    mpz_class D, a;
    for (int c = 0; c < X.s; ++c) {
        D = 1;
        for (int k = 0; k < n; ++k) mpz_lcm(D.get_mpz_t(), D.get_mpz_t(), X.P->a[c][k].v.get_den_mpz_t());
        H = std::max(H, mpz_sizeinbase(D.get_mpz_t(), 2));
        for (int k = 0; k < n; ++k) {
            const mpq_class& v = X.P->a[c][k].v;
            mpz_divexact(a.get_mpz_t(), D.get_mpz_t(), v.get_den_mpz_t());
            a *= v.get_num();
            H = std::max(H, mpz_sizeinbase(a.get_mpz_t(), 2));
        }
    }
    return H;
}

// Whether the modulus proves form i (s lifted values from vals) by the bound
// above; E is the largest degree met.
bool proved(const mpq_class* vals, int s, size_t H, int E, const mpz_class& M)
{
    return modulus_exceeds(M, H * size_t(E) + mpz_sizeinbase(mpz_class(s + 1).get_mpz_t(), 2) + scaled_bits(vals, s));
}

}  // namespace

bool normal_forms_modular(const scheme& X, const std::vector<monom>& ts, std::vector<normal_form>& forms)
{
    const int s = X.s, nt = static_cast<int>(ts.size()), n = X.P->cols;
    forms.assign(size_t(nt), normal_form());
    if (nt == 0) return true;
    int E = 0;
    for (int k = 0; k < s; ++k) E = std::max(E, X.O[k].tot_deg());
    std::vector<int> deg(static_cast<size_t>(nt));
    for (int i = 0; i < nt; ++i) deg[i] = std::max(E, ts[i].tot_deg());
    const size_t H = point_bits(X, n);

    // The forms of the highest degrees have the largest numbers: they are
    // reconstructed first, so that too few primes show early.
    std::vector<int> order(static_cast<size_t>(nt));
    for (int i = 0; i < nt; ++i) order[i] = nt - 1 - i;
    lifter lift(std::vector<int>(static_cast<size_t>(nt), s), order, 0);
    // The primes of a batch are shared between the cores and taken in
    // their order, so the result does not depend on the cores.
    const std::vector<uint32_t>& primes = modular_primes();
    const size_t batch = loop_threads();
    for (size_t first = 0; first < primes.size(); first += batch) {
        const size_t n_batch = std::min(batch, primes.size() - first);
        std::vector<std::vector<uint32_t>> residues(n_batch);
        std::vector<char> usable(n_batch, 0);
        parallel_items(n_batch, [&](size_t b) {
            std::vector<uint32_t> coord;
            const uint32_t p = primes[first + b];
            usable[b] = reduce_points(X, p, coord) && forms_mod_p(X, ts, n, coord, p, residues[b]);
        });
        check_interrupt();
        for (size_t b = 0; b < n_batch; ++b) {
            if (!usable[b] || !lift.feed(primes[first + b], residues[b])) continue;
            bool all = true;
            for (int i = 0; i < nt && all; ++i)
                all = proved(lift.values.data() + size_t(i) * s, s, H, deg[i], lift.modulus());
            if (!all) {
                lift.reject();
                continue;
            }
            for (int i = 0; i < nt; ++i) {
                const mpq_class* vals = lift.values.data() + size_t(i) * s;
                for (int k = s - 1; k >= 0; --k) {
                    if (sgn(vals[k]) == 0) continue;
                    forms[i].at.push_back(k);
                    forms[i].coef.push_back(Rational(vals[k]));
                }
            }
            return true;
        }
    }
    return false;
}

#endif
