#include "engine/modular_rows.h"

#include <algorithm>

#include "engine/matrix.h"

uint64_t power_mod(uint64_t a, uint64_t e, uint64_t p)
{
    uint64_t r = 1;
    for (a %= p; e; e >>= 1, a = a * a % p)
        if (e & 1) r = r * a % p;
    return r;
}

int rank_mod(std::vector<uint32_t>& m, int rows, int cols, uint64_t p)
{
    int rank = 0;
    for (int c = 0; c < cols && rank < rows; ++c) {
        int piv = rank;
        while (piv < rows && m[size_t(piv) * cols + c] == 0) ++piv;
        if (piv == rows) continue;
        if (piv != rank)
            std::swap_ranges(m.begin() + size_t(piv) * cols, m.begin() + size_t(piv + 1) * cols,
                             m.begin() + size_t(rank) * cols);
        const uint32_t* top = &m[size_t(rank) * cols];
        const uint64_t inv = power_mod(top[c], p - 2, p);
        for (int r = rank + 1; r < rows; ++r) {
            uint32_t* row = &m[size_t(r) * cols];
            if (row[c] == 0) continue;
            const uint64_t f = p - uint64_t(row[c]) * inv % p;
            for (int k = c; k < cols; ++k) row[k] = static_cast<uint32_t>((row[k] + f * top[k]) % p);
        }
        ++rank;
    }
    return rank;
}

#if !defined(TARV_FIELD_Q)

modular_rows::modular_rows(const matrix&) {}

bool modular_rows::independent(const int*, int) const
{
    return false;
}

#else

#include <gmpxx.h>

#include "engine/bumo_modular.h"

modular_rows::modular_rows(const matrix& M) : cols(M.cols)
{
    for (uint32_t prime : modular_primes()) {
        entries.assign(size_t(M.rows) * cols, 0);
        bool good = true;
        for (int i = 0; i < M.rows && good; ++i)
            for (int j = 0; j < cols && good; ++j) {
                const mpq_class& x = M.a[i][j].v;
                const uint64_t den = mpz_fdiv_ui(x.get_den_mpz_t(), prime);
                good = den != 0;
                const uint64_t num = mpz_fdiv_ui(x.get_num_mpz_t(), prime);
                if (good) entries[size_t(i) * cols + j] = uint32_t(num * power_mod(den, prime - 2, prime) % prime);
            }
        if (good) {
            p = prime;
            return;
        }
    }
    entries.clear();
}

bool modular_rows::independent(const int* rows, int n) const
{
    if (p == 0 || n > cols) return false;
    std::vector<uint32_t> m(size_t(n) * cols);
    for (int i = 0; i < n; ++i)
        std::copy_n(&entries[size_t(rows[i]) * cols], cols, &m[size_t(i) * cols]);
    return rank_mod(m, n, cols, p) == n;
}

#endif
