#include "engine/artinian_modular.h"

#if !defined(TARV_FIELD_Q)

int type_modular(const scheme&)
{
    return 0;
}

bool min_degrees_modular(const scheme&, std::vector<int>&)
{
    return false;
}

#else

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "engine/bumo.h"
#include "engine/bumo_modular.h"
#include "engine/globals.h"
#include "engine/modular_rows.h"
#include "engine/monom.h"
#include "engine/scheme.h"
#include "engine/socle.h"

namespace {

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
    // The degree-1 standard monomials O[1..n1] (a single point has none,
    // and no degree below the top).
    const int n1 = s > 1 ? X.hilb_fct[1] - 1 : 0;
    std::map<int, std::vector<uint32_t>> forms;  // normal forms by border position
    for (int deg = rX - 1; deg >= 1 && deg >= X.alpha - 1; --deg) {
        const int first = block_start(deg);
        monom tmp;
        const int corner = socle_corner(X, deg, first, n1);
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

// try_prime(A, coord) for R/(X_0) modulo each of the first three usable
// primes in turn, until it returns true; false when none did.
template <class TryPrime>
bool over_first_primes(const scheme& X, TryPrime try_prime)
{
    std::vector<uint32_t> coord;
    int tried = 0;
    for (uint32_t p : modular_primes()) {
        if (tried == 3) break;
        if (!reduce_points(X, p, coord)) continue;
        ++tried;
        const artinian_mod_p A(X, p, coord);
        if (A.invertible && try_prime(A, coord)) return true;
    }
    return false;
}

}  // namespace

int type_modular(const scheme& X)
{
    int count = 0;
    over_first_primes(X, [&](const artinian_mod_p& A, const std::vector<uint32_t>&) {
        count = type_mod_p(X, A);
        return count != 0;
    });
    return count;
}

namespace {

// The monomials of degree d in the affine variables, increasing.
std::vector<monom> monomials_of_degree(int d)
{
    std::vector<monom> out;
    monom m;
    // Distribute d over the variables from the first on.
    auto fill = [&](auto&& self, int k, int left) -> void {
        if (k == dim - 1) {
            m.exp[k] = static_cast<int16_t>(left);
            out.push_back(m);
            return;
        }
        for (int e = left; e >= 0; --e) {
            m.exp[k] = static_cast<int16_t>(e);
            self(self, k + 1, left - e);
        }
        m.exp[k] = 0;
    };
    if (dim > 0) fill(fill, 0, d);
    std::sort(out.begin(), out.end());
    return out;
}

bool min_degrees_mod_p(const scheme& X, const artinian_mod_p& A, const std::vector<uint32_t>& coord,
                       std::vector<int>& counts)
{
    const int s = X.s;
    const uint64_t p = A.p;
    const int rX = X.sigma + 1;
    auto block_start = [&](int d) { return d == 0 ? 0 : X.hilb_fct[d - 1]; };
    auto block_end = [&](int d) { return d > rX ? s : X.hilb_fct[d]; };
    counts.assign(rX + 2, 0);
    // N_(d-1) with the degree d-1 parts of the normal forms, from the last degree.
    std::vector<monom> below;
    std::vector<std::vector<uint32_t>> below_forms;
    std::vector<uint32_t> values(s);
    for (int d = std::max(X.alpha, 1); d <= rX + 1; ++d) {
        std::vector<monom> here;
        for (const monom& m : monomials_of_degree(d))
            if (is_el_O(X, m) < 0) here.push_back(m);
        const int cols = static_cast<int>(here.size());
        const int rows = static_cast<int>(below.size()) * dim;
        std::vector<uint32_t> m(size_t(rows) * cols, 0);
        auto column = [&](const monom& t) {
            auto it = std::lower_bound(here.begin(), here.end(), t);
            return it != here.end() && *it == t ? static_cast<int>(it - here.begin()) : -1;
        };
        const int first = block_start(d - 1), last = block_end(d - 1);
        for (size_t b = 0; b < below.size(); ++b)
            for (int k = 0; k < dim; ++k) {
                uint32_t* row = &m[(b * dim + k) * size_t(cols)];
                monom x;
                x.exp[k] = 1;
                row[column(below[b] * x)] = 1;
                for (int t = first; t < last; ++t) {
                    const uint32_t c = below_forms[b][t - first];
                    if (c == 0) continue;
                    const int col = column(X.O[t] * x);
                    if (col >= 0) row[col] = static_cast<uint32_t>((row[col] + p - c) % p);
                }
            }
        const int rank = rank_mod(m, rows, cols, p);
        if (rank != std::min(rows, cols)) return false;
        counts[d] = cols - rank;
        if (d == rX + 1) break;
        // The normal forms of N_d for the next degree.
        below_forms.assign(here.size(), {});
        const int f = block_start(d), l = block_end(d);
        for (size_t b = 0; b < here.size(); ++b) {
            for (int i = 0; i < s; ++i) {
                uint64_t v = 1;
                for (int k = 0; k < dim; ++k)
                    for (int e = 0; e < here[b].exp[k]; ++e) v = v * coord[size_t(k) * s + i] % p;
                values[i] = static_cast<uint32_t>(v);
            }
            std::vector<uint32_t> nf = A.solve(values);
            below_forms[b].assign(nf.begin() + f, nf.begin() + l);
        }
        below.swap(here);
    }
    return true;
}

}  // namespace

bool min_degrees_modular(const scheme& X, std::vector<int>& counts)
{
    // The normal forms cost s^2 each; refuse what would take too long.
    double work = 0;
    for (int d = std::max(X.alpha, 1); d <= X.sigma + 1; ++d) {
        double monomials = 1;
        for (int k = 1; k < dim; ++k) monomials = monomials * (d + k) / k;
        work += monomials * X.s * X.s;
    }
    if (work > 2e9) return false;
    return over_first_primes(X, [&](const artinian_mod_p& A, const std::vector<uint32_t>& coord) {
        return min_degrees_mod_p(X, A, coord, counts);
    });
}

#endif
