#include "engine/artinian_modular.h"

#if !defined(TARV_FIELD_Q)

int type_modular(const scheme&)
{
    return 0;
}

#else

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "engine/bumo.h"
#include "engine/bumo_modular.h"
#include "engine/globals.h"
#include "engine/monom.h"
#include "engine/scheme.h"

namespace {

uint64_t power_mod(uint64_t a, uint64_t e, uint64_t p)
{
    uint64_t r = 1;
    for (a %= p; e; e >>= 1, a = a * a % p)
        if (e & 1) r = r * a % p;
    return r;
}

// The rank modulo p of a rows x cols matrix (row-major), destroyed.
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
        uint32_t* top = &m[size_t(rank) * cols];
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

// R/(X_0) modulo p: the values of O at the points, and the normal forms of
// monomials as combinations of O, from an LU factorization of the matrix E
// of those values (E[i][j] = O[j] at point i).
class artinian_mod_p {
public:
    artinian_mod_p(const scheme& X, uint32_t prime, const std::vector<uint32_t>& coord)
        : s(X.s), p(prime), val(size_t(s) * s), lu(size_t(s) * s), perm(s)
    {
        // val[j * s + i]: O[j] at point i; O[j] = (a divisor in O) * x_k.
        for (int i = 0; i < s; ++i) val[i] = 1;
        for (int j = 1; j < s; ++j) {
            int k = 0;
            while (X.O[j].exp[k] == 0) ++k;
            monom d(X.O[j]);
            d.exp[k] -= 1;
            const int parent = static_cast<int>(std::lower_bound(X.O, X.O + j, d) - X.O);
            for (int i = 0; i < s; ++i)
                val[size_t(j) * s + i] =
                    static_cast<uint32_t>(uint64_t(val[size_t(parent) * s + i]) * coord[size_t(k) * s + i] % p);
        }
        for (int i = 0; i < s; ++i)
            for (int j = 0; j < s; ++j) lu[size_t(i) * s + j] = val[size_t(j) * s + i];
        invertible = factor();
    }

    // The coefficients over O of the function with values v at the points.
    std::vector<uint32_t> solve(std::vector<uint32_t> v) const
    {
        std::vector<uint32_t> y(s);
        for (int i = 0; i < s; ++i) {
            uint64_t acc = v[perm[i]];
            const uint32_t* row = &lu[size_t(i) * s];
            for (int j = 0; j < i; ++j) acc = (acc + (p - row[j]) * uint64_t(y[j])) % p;
            y[i] = static_cast<uint32_t>(acc);
        }
        for (int i = s - 1; i >= 0; --i) {
            uint64_t acc = y[i];
            const uint32_t* row = &lu[size_t(i) * s];
            for (int j = i + 1; j < s; ++j) acc = (acc + (p - row[j]) * uint64_t(y[j])) % p;
            y[i] = static_cast<uint32_t>(acc * power_mod(row[i], p - 2, p) % p);
        }
        return y;
    }

    // The values of O[a] * O[b] at the points.
    std::vector<uint32_t> product(int a, int b) const
    {
        std::vector<uint32_t> v(s);
        for (int i = 0; i < s; ++i)
            v[i] = static_cast<uint32_t>(uint64_t(val[size_t(a) * s + i]) * val[size_t(b) * s + i] % p);
        return v;
    }

    const int s;
    const uint64_t p;
    bool invertible = false;

private:
    std::vector<uint32_t> val, lu;
    std::vector<int> perm;  // row i of the factorization is row perm[i] of E

    // Doolittle with row pivoting: lu holds L (unit, below) and U.
    bool factor()
    {
        for (int i = 0; i < s; ++i) perm[i] = i;
        for (int c = 0; c < s; ++c) {
            int piv = c;
            while (piv < s && lu[size_t(piv) * s + c] == 0) ++piv;
            if (piv == s) return false;
            if (piv != c) {
                std::swap_ranges(lu.begin() + size_t(piv) * s, lu.begin() + size_t(piv + 1) * s,
                                 lu.begin() + size_t(c) * s);
                std::swap(perm[piv], perm[c]);
            }
            const uint32_t* top = &lu[size_t(c) * s];
            const uint64_t inv = power_mod(top[c], p - 2, p);
            for (int r = c + 1; r < s; ++r) {
                uint32_t* row = &lu[size_t(r) * s];
                if (row[c] == 0) continue;
                const uint64_t f = uint64_t(row[c]) * inv % p;
                row[c] = static_cast<uint32_t>(f);
                for (int k = c + 1; k < s; ++k) row[k] = static_cast<uint32_t>((row[k] + (p - f) * top[k]) % p);
            }
        }
        return true;
    }
};

// The socle count of socle() modulo p, or 0 when a rank falls short of the
// largest possible one.  The same columns, rows and degrees as socle().
int type_mod_p(const scheme& X, const artinian_mod_p& A)
{
    const int s = X.s;
    const int rX = X.sigma + 1;
    auto block_start = [&](int d) { return d == 0 ? 0 : X.hilb_fct[d - 1]; };
    int count = s - block_start(rX);
    const int n1 = X.hilb_fct[1] - 1;  // degree-1 standard monomials O[1..n1]
    std::map<int, std::vector<uint32_t>> forms;  // normal forms by border position
    for (int deg = rX - 1; deg >= 1 && deg >= X.alpha - 1; --deg) {
        const int first = block_start(deg);
        monom tmp;
        int corner = -1;
        for (int i = X.hilb_fct[deg] - 1; i >= first && corner < 0; --i) {
            bool found = false;
            for (int k = 1; k <= n1 && !found; ++k) {
                tmp = X.O[i] * X.O[k];
                found = is_el_O(X, tmp) >= 0;
            }
            if (!found) corner = i;
        }
        if (corner < 0) continue;
        const int cols = corner - first + 1;
        const int block = X.delta_fct[deg + 1];
        const int next = X.hilb_fct[deg];  // first position of degree deg+1
        const int rows = n1 * block;
        std::vector<uint32_t> m(size_t(rows) * cols, 0);
        for (int jj = 0; jj < cols; ++jj)
            for (int k = 1; k <= n1; ++k) {
                const int row0 = (k - 1) * block - next;
                tmp = X.O[corner - jj] * X.O[k];
                const int pos = is_el_O(X, tmp);
                if (pos >= 0) {
                    m[size_t(row0 + pos) * cols + jj] = 1;
                    continue;
                }
                const int b = is_el_B(X, tmp);
                auto it = forms.find(b);
                if (it == forms.end()) it = forms.emplace(b, A.solve(A.product(corner - jj, k))).first;
                // The degree deg+1 part of the normal form.
                for (int t = next; t < next + block; ++t) m[size_t(row0 + t) * cols + jj] = it->second[t];
            }
        const int rank = rank_mod(m, rows, cols, A.p);
        if (rank != std::min(rows, cols)) return 0;
        count += cols - rank;
    }
    return count;
}

}  // namespace

int type_modular(const scheme& X)
{
    std::vector<uint32_t> coord;
    int tried = 0;
    for (uint32_t p : modular_primes()) {
        if (tried == 3) break;
        if (!reduce_points(X, p, coord)) continue;
        ++tried;
        artinian_mod_p A(X, p, coord);
        if (!A.invertible) continue;
        if (int count = type_mod_p(X, A)) return count;
    }
    return 0;
}

#endif
