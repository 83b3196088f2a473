#include "engine/normal_forms_modular.h"

#if !defined(TARV_FIELD_Q)

bool normal_form_coefficients(const scheme&, const std::vector<int>&, const std::vector<monom>&,
                              std::vector<std::vector<K>>&)
{
    return false;
}

#else

#include <algorithm>
#include <cstdint>
#include <utility>

#include <gmpxx.h>

#include "engine/bumo.h"
#include "engine/bumo_modular.h"
#include "engine/dense_rows.h"
#include "engine/interrupt.h"
#include "engine/lifter.h"
#include "engine/matrix.h"
#include "engine/parallel.h"
#include "engine/scaled_vector.h"
#include "engine/scheme.h"

namespace {

// O[k] = O[parent[k]] * x_var[k] for k > 0 (O is closed under division),
// so the values of O at the points take one product each.
struct division_chain {
    std::vector<int> parent, var;

    explicit division_chain(const scheme& X) : parent(size_t(X.s), -1), var(size_t(X.s), -1)
    {
        for (int k = 1; k < X.s; ++k) {
            for (int l = 0; l < proj - 1 && parent[k] < 0; ++l) {
                if (X.O[k].exp[l] == 0) continue;
                monom t = X.O[k];
                --t.exp[l];
                parent[k] = is_el_O(X, t);
                var[k] = l;
            }
        }
    }

    // values[k * s + c] := O[k] made homogeneous of degree E at point c
    // modulo p, from the coordinate rows coord[l * s + c] and the values D[c]
    // of the homogenizing coordinate.
    void values(const scheme& X, const std::vector<uint32_t>& coord, const std::vector<uint32_t>& D, int E,
                uint32_t p, std::vector<uint32_t>& out) const
    {
        const int s = X.s;
        out.assign(size_t(s) * s, 0);
        std::fill(out.begin(), out.begin() + s, 1u);
        for (int k = 1; k < s; ++k)
            dense_kernels::hadamard(&out[size_t(k) * s], &out[size_t(parent[k]) * s], &coord[size_t(var[k]) * s],
                                    s, p);
        // pow[e * s + c] = D[c]^e
        std::vector<uint32_t> pow(size_t(E + 1) * s, 1u);
        for (int e = 1; e <= E; ++e)
            dense_kernels::hadamard(&pow[size_t(e) * s], &pow[size_t(e - 1) * s], D.data(), s, p);
        for (int k = 0; k < s; ++k) {
            const int e = E - X.O[k].tot_deg();
            if (e > 0) dense_kernels::hadamard(&out[size_t(k) * s], &out[size_t(k) * s], &pow[size_t(e) * s], s, p);
        }
    }
};

// The points with integer coordinates, point c = (D_c : a_c) with D_c the
// least common denominator of its affine coordinates, and H the bits of the
// largest |a_c,k| and D_c (the H of the bounds).
struct integer_points {
    std::vector<mpz_class> D, a;  // a[k * s + c]
    size_t H = 1;

    integer_points(const scheme& X, int n) : D(size_t(X.s)), a(size_t(n) * X.s)
    {
        const int s = X.s;
        for (int c = 0; c < s; ++c) {
            D[c] = 1;
            for (int k = 0; k < n; ++k) mpz_lcm(D[c].get_mpz_t(), D[c].get_mpz_t(), X.P->a[c][k].v.get_den_mpz_t());
            H = std::max(H, mpz_sizeinbase(D[c].get_mpz_t(), 2));
            for (int k = 0; k < n; ++k) {
                const mpq_class& v = X.P->a[c][k].v;
                mpz_class& x = a[size_t(k) * s + c];
                mpz_divexact(x.get_mpz_t(), D[c].get_mpz_t(), v.get_den_mpz_t());
                x *= v.get_num();
                H = std::max(H, mpz_sizeinbase(x.get_mpz_t(), 2));
            }
        }
    }
};

// Whether the modulus proves a lifted row (s values from vals) by the bound
// of the header; E is the degree everything is made homogeneous of.
bool proved(const mpq_class* vals, int s, size_t H, int E, const mpz_class& M)
{
    return modulus_exceeds(M, H * size_t(E) + mpz_sizeinbase(mpz_class(s + 1).get_mpz_t(), 2) + scaled_bits(vals, s));
}

// Rows rs of the inverse of W' modulo p, row j at j * s, where W'[c][k] is
// O[k] made homogeneous of degree E at the integer point c: row r is the
// solution y of W'^T y = e_r.  Gaussian elimination of (W'^T | e_rs) with
// 64-bit accumulators, then back substitution for the m columns together:
// about s^3 / 3 + s^2 m products.  False when W' is singular modulo p.
bool dual_rows_mod_p(const scheme& X, const division_chain& chain, const std::vector<int>& rs, int E,
                     const std::vector<uint32_t>& D, const std::vector<uint32_t>& a, uint32_t p,
                     std::vector<uint32_t>& out)
{
    const int s = X.s, m = static_cast<int>(rs.size()), w = s + m;
    const wide_prime_rows ops(p);
    std::vector<std::vector<uint64_t>> A(static_cast<size_t>(s), std::vector<uint64_t>(static_cast<size_t>(w)));
    std::vector<uint32_t> values;
    chain.values(X, a, D, E, p, values);
    for (int k = 0; k < s; ++k)
        for (int c = 0; c < s; ++c) A[k][c] = values[size_t(k) * s + c];
    for (int j = 0; j < m; ++j) A[rs[j]][s + j] = 1;
    // Upper triangular, unit diagonal: U[i][i+1..w-1] reduced, in A[i].
    std::vector<std::vector<uint32_t>> U(static_cast<size_t>(s));
    for (int i = 0; i < s; ++i) {
        // (Run on a helper thread, where check_interrupt may not throw: the
        // caller checks once the primes of a batch are done.)
        if (interrupt_requested) return false;
        int k = i;
        while (k < s && A[k][i] % p == 0) ++k;
        if (k == s) return false;
        std::swap(A[i], A[k]);
        const uint32_t inv = ops.inverse(static_cast<uint32_t>(A[i][i] % p));
        std::vector<uint32_t>& u = U[i];
        u.assign(static_cast<size_t>(w), 0);
        for (int j = i + 1; j < w; ++j) u[j] = static_cast<uint32_t>(A[i][j] % p * inv % p);
        for (int r = i + 1; r < s; ++r) {
            const uint32_t f = static_cast<uint32_t>(A[r][i] % p);
            if (f != 0) dense_kernels::lazy_axpy(&A[r][i + 1], p - f, &u[i + 1], w - i - 1, ops.P2);
        }
        std::vector<uint64_t>().swap(A[i]);
    }
    // y[i] = U[i][s..] - sum over l > i of U[i][l] y[l], from the bottom up.
    std::vector<std::vector<uint32_t>> y(static_cast<size_t>(s), std::vector<uint32_t>(static_cast<size_t>(m)));
    std::vector<uint64_t> acc(static_cast<size_t>(m));
    for (int i = s - 1; i >= 0; --i) {
        for (int j = 0; j < m; ++j) acc[j] = U[i][s + j];
        for (int l = i + 1; l < s; ++l) {
            const uint32_t g = U[i][l];
            if (g != 0) dense_kernels::lazy_axpy(acc.data(), p - g, y[l].data(), m, ops.P2);
        }
        for (int j = 0; j < m; ++j) y[i][j] = static_cast<uint32_t>(acc[j] % p);
    }
    out.resize(size_t(m) * s);
    for (int c = 0; c < s; ++c)
        for (int j = 0; j < m; ++j) out[size_t(j) * s + c] = y[c][j];
    return true;
}

}  // namespace

bool normal_form_coefficients(const scheme& X, const std::vector<int>& rs, const std::vector<monom>& ts,
                              std::vector<std::vector<K>>& coefs)
{
    const int s = X.s, m = static_cast<int>(rs.size()), nt = static_cast<int>(ts.size()), n = X.P->cols;
    coefs.assign(size_t(nt), std::vector<K>(size_t(m)));
    if (m == 0 || nt == 0) return true;
    // E: the degree to which everything is made homogeneous, at least that
    // of every element of O and of every monomial of ts.
    int E = 0;
    for (int k = 0; k < s; ++k) E = std::max(E, X.O[k].tot_deg());
    for (const monom& t : ts) E = std::max(E, t.tot_deg());
    const integer_points pts(X, n);
    const division_chain chain(X);

    // The rows of the inverse of W', lifted and proved: with y the lifted
    // row r scaled to integers by its common denominator Delta, the entries
    // of y W' - Delta e_r are integers that every prime used divides, below
    // (s + 1) 2^(H E + bits of y and Delta).
    std::vector<int> order(static_cast<size_t>(m));
    for (int j = 0; j < m; ++j) order[j] = m - 1 - j;
    lifter lift(std::vector<int>(static_cast<size_t>(m), s), order, 0);
    // The primes of a batch are shared between the cores and taken in
    // their order, so the result does not depend on the cores.
    const std::vector<uint32_t>& primes = modular_primes();
    const size_t batch = loop_threads();
    bool lifted = false;
    for (size_t first = 0; first < primes.size() && !lifted; first += batch) {
        const size_t n_batch = std::min(batch, primes.size() - first);
        std::vector<std::vector<uint32_t>> residues(n_batch);
        std::vector<char> usable(n_batch, 0);
        parallel_items(n_batch, [&](size_t b) {
            const uint32_t p = primes[first + b];
            std::vector<uint32_t> D(static_cast<size_t>(s)), a(pts.a.size());
            for (int c = 0; c < s; ++c) D[c] = static_cast<uint32_t>(mpz_fdiv_ui(pts.D[c].get_mpz_t(), p));
            for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<uint32_t>(mpz_fdiv_ui(pts.a[i].get_mpz_t(), p));
            usable[b] = dual_rows_mod_p(X, chain, rs, E, D, a, p, residues[b]);
        });
        check_interrupt();
        for (size_t b = 0; b < n_batch && !lifted; ++b) {
            if (!usable[b] || !lift.feed(primes[first + b], residues[b])) continue;
            lifted = true;
            for (int j = 0; j < m && lifted; ++j)
                lifted = proved(lift.values.data() + size_t(j) * s, s, pts.H, E, lift.modulus());
            if (!lifted) lift.reject();
        }
    }
    if (!lifted) return false;

    // The coefficient of O[r] in the normal form of t is row r of W^-1
    // applied to the values of t at the points; with W' = diag(D_c^E) W it
    // is sum over c of y_c t'(c) / Delta, t' the monomial t made homogeneous
    // of degree E at the integer points.
    std::vector<std::vector<mpz_class>> y(static_cast<size_t>(m), std::vector<mpz_class>(static_cast<size_t>(s)));
    std::vector<mpz_class> Delta(static_cast<size_t>(m), mpz_class(1));
    for (int j = 0; j < m; ++j) {
        const mpq_class* vals = lift.values.data() + size_t(j) * s;
        for (int c = 0; c < s; ++c) mpz_lcm(Delta[j].get_mpz_t(), Delta[j].get_mpz_t(), vals[c].get_den_mpz_t());
        for (int c = 0; c < s; ++c) {
            mpz_divexact(y[j][c].get_mpz_t(), Delta[j].get_mpz_t(), vals[c].get_den_mpz_t());
            y[j][c] *= vals[c].get_num();
        }
    }
    // The monomials are independent: shared between the cores.
    parallel_ranges(size_t(nt), 1, [&](size_t first, size_t last) {
        std::vector<mpz_class> value(static_cast<size_t>(s));
        mpz_class sum;
        for (size_t i = first; i < last && !interrupt_requested; ++i) {
            const monom& t = ts[i];
            for (int c = 0; c < s; ++c) {
                value[c] = 1;
                for (int e = t.tot_deg(); e < E; ++e) value[c] *= pts.D[c];
                for (int k = 0; k < n; ++k)
                    for (int e = 0; e < t.exp[k]; ++e) value[c] *= pts.a[size_t(k) * s + c];
            }
            for (int j = 0; j < m; ++j) {
                sum = 0;
                for (int c = 0; c < s; ++c) mpz_addmul(sum.get_mpz_t(), y[j][c].get_mpz_t(), value[c].get_mpz_t());
                set_quotient(coefs[i][j], sum, Delta[j]);
            }
        }
    });
    check_interrupt();
    return true;
}

#endif
