#include "engine/kernel_modular.h"

#include "engine/matrix.h"

#if !defined(TARV_FIELD_Q)

int solve_modular(const matrix&, int*, std::vector<std::vector<K>>&)
{
    return -1;
}

#else

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include <gmpxx.h>

#include "engine/bumo_modular.h"
#include "engine/dense_rows.h"
#include "engine/gauss_jordan.h"
#include "engine/interrupt.h"
#include "engine/lifter.h"
#include "engine/matrix.h"
#include "engine/parallel.h"

namespace {

// One elimination modulo p, step for step that of matrix::solve.
struct run_mod_p {
    std::vector<int> c;
    int d = 0;
    std::vector<char> pivots;        // per column examined, in order: 1 pivot, 0 moved back
    std::vector<uint32_t> free_rows; // free position k - q at (k - q) * q: the pivot rows' entries
};

// Residues modulo p for gauss_jordan.
struct residue_ops {
    uint32_t p;
    static bool is_zero(uint32_t x) { return x == 0; }
    static bool is_one(uint32_t x) { return x == 1; }
    uint64_t divisor(uint32_t x) const { return wide_prime_rows(p).inverse(x); }
    void divide(uint32_t& x, uint64_t inverse) const { x = static_cast<uint32_t>(x * inverse % p); }
    void sub_mul(uint32_t& x, uint32_t y, uint32_t f) const
    {
        x = static_cast<uint32_t>((x + uint64_t(p - f) * y) % p);
    }
    static void set(uint32_t& x, uint32_t v) { x = v; }
};

// a: the residues, row-major (rows x cols).
run_mod_p eliminate_mod_p(std::vector<uint32_t> a, int rows, int cols, uint32_t p)
{
    run_mod_p run;
    run.c.resize(static_cast<size_t>(cols));
    for (int j = 0; j < cols; ++j) run.c[j] = j;
    std::vector<int> r(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) r[i] = i;
    int* c = run.c.data();
    auto A = [&](int i, int j) -> uint32_t& { return a[size_t(r[i]) * cols + c[j]]; };
    run.d = gauss_jordan(
        rows, cols, c, r.data(), A, residue_ops{p}, [](int) {},
        [&](bool pivot) { run.pivots.push_back(pivot ? 1 : 0); });
    if (run.d == 0) return run;
    const int q = cols - run.d;
    run.free_rows.resize(size_t(run.d) * q);
    for (int k = q; k < cols; ++k)
        for (int l = 0; l < q; ++l) run.free_rows[size_t(k - q) * q + l] = A(l, k);
    return run;
}

// > 0 when run x is the closer to the run over Q, 0 when they chose alike.
int closer(const run_mod_p& x, const run_mod_p& y)
{
    const size_t n = std::min(x.pivots.size(), y.pivots.size());
    for (size_t t = 0; t < n; ++t)
        if (x.pivots[t] != y.pivots[t]) return x.pivots[t] - y.pivots[t];
    return 0;
}

// The bound of the proof for the free column whose q lifted entries are
// vals: its kernel vector is 1 there and -vals at the pivots.
bool proved(const mpq_class* vals, int q, int cols, size_t B_bits, const mpz_class& M)
{
    return modulus_exceeds(M, B_bits + scaled_bits(vals, q) + mpz_sizeinbase(mpz_class(cols).get_mpz_t(), 2));
}

}  // namespace

int solve_modular(const matrix& m, int* c, std::vector<std::vector<K>>& free)
{
    const int rows = m.rows, cols = m.cols;
    if (rows <= 0 || cols <= 0) return -1;
    // The rows scaled to integers.
    std::vector<mpz_class> B(size_t(rows) * cols);
    size_t B_bits = 1;
    mpz_class scale;
    for (int i = 0; i < rows; ++i) {
        scale = 1;
        for (int j = 0; j < cols; ++j)
            mpz_lcm(scale.get_mpz_t(), scale.get_mpz_t(), m.a[i][j].v.get_den_mpz_t());
        for (int j = 0; j < cols; ++j) {
            const mpq_class& x = m.a[i][j].v;
            mpz_class& b = B[size_t(i) * cols + j];
            mpz_divexact(b.get_mpz_t(), scale.get_mpz_t(), x.get_den_mpz_t());
            b *= x.get_num();
            B_bits = std::max(B_bits, mpz_sizeinbase(b.get_mpz_t(), 2));
        }
    }

    // The primes are taken in batches: an entry is reduced modulo their
    // product first (one long division instead of one per prime), and the
    // batch's runs are shared between the cores; they are then taken in
    // the order of the primes, so the result does not depend on the cores.
    constexpr size_t batch = 8;
    const std::vector<uint32_t>& primes = modular_primes();
    std::unique_ptr<run_mod_p> best;
    std::unique_ptr<lifter> lift;
    bool done = false;
    for (size_t first = 0; first < primes.size() && !done; first += batch) {
        check_interrupt();
        const size_t n = std::min(batch, primes.size() - first);
        const uint32_t* p = primes.data() + first;
        mpz_class product = 1;
        for (size_t b = 0; b < n; ++b) product *= p[b];
        std::vector<std::vector<uint32_t>> a(n, std::vector<uint32_t>(B.size()));
        parallel_ranges(B.size(), 256, [&](size_t begin, size_t end) {
            mpz_class rest;
            for (size_t t = begin; t < end; ++t) {
                mpz_fdiv_r(rest.get_mpz_t(), B[t].get_mpz_t(), product.get_mpz_t());
                for (size_t b = 0; b < n; ++b) a[b][t] = static_cast<uint32_t>(mpz_fdiv_ui(rest.get_mpz_t(), p[b]));
            }
        });
        std::vector<std::unique_ptr<run_mod_p>> runs(n);
        parallel_ranges(n, 1, [&](size_t begin, size_t end) {
            for (size_t b = begin; b < end; ++b)
                runs[b] = std::make_unique<run_mod_p>(eliminate_mod_p(std::move(a[b]), rows, cols, p[b]));
        });
        for (size_t b = 0; b < n && !done; ++b) {
            std::unique_ptr<run_mod_p>& run = runs[b];
            const int cmp = best ? closer(*run, *best) : 1;
            if (cmp < 0) continue;
            if (cmp > 0) {
                best = std::move(run);
                // A full column rank modulo p is the rank over Q: nothing to lift.
                if (best->d == 0) {
                    done = true;
                    break;
                }
                std::vector<int> order(static_cast<size_t>(best->d));
                for (int k = 0; k < best->d; ++k) order[k] = k;
                lift = std::make_unique<lifter>(std::vector<int>(static_cast<size_t>(best->d), cols - best->d),
                                                order, 0);
            }
            if (!lift->feed(p[b], run ? run->free_rows : best->free_rows)) continue;
            const int q = cols - best->d;
            bool all = true;
            for (int k = 0; k < best->d && all; ++k)
                all = proved(lift->values.data() + size_t(k) * q, q, cols, B_bits, lift->modulus());
            if (all) {
                done = true;
                break;
            }
            lift->reject();
        }
    }
    if (!done) return -1;
    const int d = best->d, q = cols - d;
    std::copy(best->c.begin(), best->c.end(), c);
    free.assign(static_cast<size_t>(d), std::vector<K>(static_cast<size_t>(q)));
    for (int k = 0; k < d; ++k)
        for (int l = 0; l < q; ++l) free[k][l] = Rational(lift->values[size_t(k) * q + l]);
    return d;
}

#endif

int reduced_kernel(matrix& m, std::vector<int>& c, std::vector<std::vector<K>>& free)
{
    const int cols = m.cols, rows = m.rows;
    for (int j = 0; j < cols; ++j) c[j] = j;
    const int e = solve_modular(m, c.data(), free);
    if (e >= 0) return e;
    for (int j = 0; j < cols; ++j) c[j] = j;
    std::vector<int> r(rows > 0 ? rows : 1);
    for (int j = 0; j < rows; ++j) r[j] = j;
    const int d = m.solve(c.data(), r.data());
    const int q = cols - d;
    free.assign(static_cast<size_t>(d), std::vector<K>(static_cast<size_t>(q)));
    for (int k = q; k < cols; ++k)
        for (int l = 0; l < q; ++l) free[k - q][l] = m.a[r[l]][c[k]];
    return d;
}
