#include "engine/bumo_certificate.h"

#if defined(TARV_FIELD_Q)

#include <algorithm>
#include <vector>

#include <gmpxx.h>

#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/monom.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

namespace {

// The position of t in the increasing array O[0..n-1], or -1.
int position(const monom* O, int n, const monom& t)
{
    const monom* it = std::lower_bound(O, O + n, t);
    return it != O + n && *it == t ? static_cast<int>(it - O) : -1;
}

// A table of monomials in which every entry but the first (the monomial 1)
// is an earlier entry times one variable: parent[e] * x_var[e].
struct monomial_table {
    std::vector<int> parent{-1}, var{-1};

    void add(int p, int k)
    {
        parent.push_back(p);
        var.push_back(k);
    }
    int size() const { return static_cast<int>(parent.size()); }
};

// Whether O[0..n-1] increase from 1 and are closed under division; table
// gets O[j] as entry j.
bool order_ideal(const monom* O, int n, monomial_table& table)
{
    if (n < 1 || sign(O[0]) != 0) return false;
    for (int j = 1; j < n; ++j)
        if (!(O[j - 1] < O[j])) return false;
    for (int j = 1; j < n; ++j) {
        int p = -1, v = -1;
        for (int k = 0; k < dim; ++k) {
            if (O[j].exp[k] <= 0) continue;
            monom d(O[j]);
            d.exp[k] -= 1;
            int pos = position(O, n, d);
            if (pos < 0) return false;
            if (p < 0) {
                p = pos;
                v = k;
            }
        }
        table.add(p, v);
    }
    return true;
}

// The points as integer homogeneous coordinates (D : a_1 : ... : a_n), D the
// lcm of the denominators of the point, and the values a^t of the monomials
// of a table at each point.
class point_values {
public:
    point_values(const scheme& X, const monomial_table& table)
        : T(table.size()), W(size_t(X.s) * T), D(X.s), integral(X.s)
    {
        std::vector<mpz_class> a(dim);
        mpz_class f;
        for (int i = 0; i < X.s; ++i) {
            D[i] = 1;
            for (int k = 0; k < dim; ++k) mpz_lcm(D[i].get_mpz_t(), D[i].get_mpz_t(), X.P->a[i][k].v.get_den_mpz_t());
            for (int k = 0; k < dim; ++k) {
                const mpq_class& x = X.P->a[i][k].v;
                mpz_divexact(f.get_mpz_t(), D[i].get_mpz_t(), x.get_den_mpz_t());
                a[k] = x.get_num() * f;
            }
            integral[i] = D[i] == 1;
            mpz_class* w = &W[size_t(i) * T];
            w[0] = 1;
            for (int e = 1; e < T; ++e) mpz_mul(w[e].get_mpz_t(), w[table.parent[e]].get_mpz_t(), a[table.var[e]].get_mpz_t());
        }
    }

    const mpz_class* values(int i) const { return &W[size_t(i) * T]; }

    const int T;
    std::vector<mpz_class> W;  // W[i * T + e] = a^t at point i, t = entry e
    std::vector<mpz_class> D;
    std::vector<char> integral;  // D = 1
};

// A polynomial f = (1/L) sum c_t t with integer coefficients c_t, its terms
// given by their table entries, in decreasing order.
struct integer_poly {
    std::vector<int> entry, degree;
    std::vector<mpz_class> c;
    mpz_class L;

    // From f; entry_of(i, t) is the table entry of f's term i, or -1 when it
    // is not allowed (false then).
    template <class EntryOf>
    bool load(const polynomial& f, EntryOf entry_of)
    {
        entry.clear();
        degree.clear();
        L = 1;
        int terms = 0;
        for (int i = 0; i < f.no_of_monoms; ++i) {
            if (sign(f.coef[i]) == 0) continue;
            const mpz_class& den = f.coef[i].v.get_den();
            if (den != 1 && den != L && !mpz_divisible_p(L.get_mpz_t(), den.get_mpz_t()))
                mpz_lcm(L.get_mpz_t(), L.get_mpz_t(), den.get_mpz_t());
            ++terms;
        }
        if (c.size() < size_t(terms)) c.resize(terms);
        int n = 0;
        for (int i = 0; i < f.no_of_monoms; ++i) {
            if (sign(f.coef[i]) == 0) continue;
            int e = entry_of(i, f.term[i]);
            if (e < 0) return false;
            entry.push_back(e);
            degree.push_back(f.term[i].tot_deg());
            const mpq_class& x = f.coef[i].v;
            if (x.get_den() == L) {
                c[n] = x.get_num();
            } else {
                mpz_divexact(c[n].get_mpz_t(), L.get_mpz_t(), x.get_den_mpz_t());
                c[n] *= x.get_num();
            }
            ++n;
        }
        return true;
    }

    int terms() const { return static_cast<int>(entry.size()); }

    // acc := sum c_t a^t D^(d - |t|) at point i, d the degree of the leading
    // term: D^d L times the value of f there.  Horner in D over the degrees,
    // from the lowest term up.
    void evaluate(mpz_class& acc, const point_values& V, int i) const
    {
        acc = 0;
        const mpz_class* w = V.values(i);
        if (V.integral[i]) {
            for (int t = 0; t < terms(); ++t)
                mpz_addmul(acc.get_mpz_t(), c[t].get_mpz_t(), w[entry[t]].get_mpz_t());
            return;
        }
        if (terms() == 0) return;
        int e = degree.back();
        for (int t = terms() - 1; t >= 0; --t) {
            for (; e < degree[t]; ++e) acc *= V.D[i];
            mpz_addmul(acc.get_mpz_t(), c[t].get_mpz_t(), w[entry[t]].get_mpz_t());
        }
    }

    // D^d L at point i: what evaluate gives where f takes the value 1.
    void unit(mpz_class& out, const point_values& V, int i) const
    {
        out = L;
        if (V.integral[i] || terms() == 0) return;
        mpz_class power;
        mpz_pow_ui(power.get_mpz_t(), V.D[i].get_mpz_t(), static_cast<unsigned long>(degree[0]));
        out *= power;
    }
};

// The border of O[0..n-1], increasing, and its corners with a divisor in O
// for each.
void border_of(const monom* O, int n, std::vector<monom>& border, std::vector<monom>& corners,
               monomial_table& table)
{
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < dim; ++k) {
            monom t(O[j]);
            t.exp[k] += 1;
            if (position(O, n, t) < 0) border.push_back(t);
        }
    std::sort(border.begin(), border.end());
    border.erase(std::unique(border.begin(), border.end()), border.end());
    for (const monom& t : border) {
        int p = -1, v = -1;
        bool corner = true;
        for (int k = 0; k < dim && corner; ++k) {
            if (t.exp[k] <= 0) continue;
            monom d(t);
            d.exp[k] -= 1;
            int pos = position(O, n, d);
            corner = pos >= 0;
            if (p < 0) {
                p = pos;
                v = k;
            }
        }
        if (!corner) continue;
        corners.push_back(t);
        table.add(p, v);
    }
}

bool terms_decrease(const polynomial& f)
{
    for (int i = 1; i < f.no_of_monoms; ++i)
        if (!(f.term[i] < f.term[i - 1])) return false;
    return true;
}

}  // namespace

bool certify_bu_mo(scheme& X, int n)
{
    const int s = X.s;
    if (n < 1 || n > s || !X.Ix || !X.B || !X.q || !X.pi || !X.ev_q) return false;
    const monom* O = X.O;
    monomial_table table;
    if (!order_ideal(O, n, table)) return false;

    // B and the leading monomials of Ix.
    std::vector<monom> border, corners;
    border_of(O, n, border, corners, table);
    if (X.no_of_border != static_cast<int>(border.size())) return false;
    for (size_t i = 0; i < border.size(); ++i)
        if (!(X.B[i] == border[i])) return false;
    const ideal& G = *X.Ix;
    if (G.no_of_gens != static_cast<int>(corners.size())) return false;
    for (int g = 0; g < G.no_of_gens; ++g) {
        const polynomial& f = G.gen[g];
        if (!(f.term[0] == corners[g]) || f.coef[0] != 1 || !terms_decrease(f)) return false;
    }

    const point_values V(X, table);
    integer_poly f;
    mpz_class acc, one;
    for (int g = 0; g < G.no_of_gens; ++g) {
        auto entry_of = [&](int i, const monom& t) { return i == 0 ? n + g : position(O, n, t); };
        if (!f.load(G.gen[g], entry_of)) return false;
        for (int i = 0; i < s; ++i) {
            f.evaluate(acc, V, i);
            if (sgn(acc) != 0) return false;
        }
    }

    // q and pi; rank[i] = j when point i is the pivot pi[j] of an earlier row.
    std::vector<int> rank(s, -1);
    for (int j = 0; j < n; ++j) {
        const int p = X.pi[j];
        if (p < 0 || p >= s || rank[p] >= 0) return false;
        auto entry_of = [&](int, const monom& t) {
            int k = position(O, n, t);
            return k <= j ? k : -1;
        };
        if (!terms_decrease(X.q[j]) || !f.load(X.q[j], entry_of)) return false;
        K* row = X.ev_q->a[j];
        for (int i = 0; i < s; ++i) {
            f.evaluate(acc, V, i);
            f.unit(one, V, i);
            if (i == p) {
                if (acc != one) return false;
                row[i] = 1;
            } else if (i < p || rank[i] >= 0) {
                if (sgn(acc) != 0) return false;
                row[i] = 0;
            } else {
                mpq_class& v = row[i].v;
                mpz_swap(v.get_num_mpz_t(), acc.get_mpz_t());
                mpz_swap(v.get_den_mpz_t(), one.get_mpz_t());
                v.canonicalize();
            }
        }
        rank[p] = j;
    }
    return true;
}

bool certify_separators(const scheme& X)
{
    const int s = X.s;
    monomial_table table;
    if (!X.separator || X.separator->no_of_gens != s || !order_ideal(X.O, s, table)) return false;
    const point_values V(X, table);
    integer_poly f;
    mpz_class acc, one;
    auto entry_of = [&](int, const monom& t) { return position(X.O, s, t); };
    for (int h = 0; h < s; ++h) {
        if (!terms_decrease(X.separator->gen[h]) || !f.load(X.separator->gen[h], entry_of)) return false;
        for (int i = 0; i < s; ++i) {
            f.evaluate(acc, V, i);
            if (i == h) {
                f.unit(one, V, i);
                if (acc != one) return false;
            } else if (sgn(acc) != 0) {
                return false;
            }
        }
    }
    return true;
}

bool certify_corner_elements(const scheme& X, const monom* O, int n, const std::vector<polynomial>& gens)
{
    monomial_table table;
    if (!order_ideal(O, n, table)) return false;
    std::vector<monom> border, corners;
    border_of(O, n, border, corners, table);
    const point_values V(X, table);
    integer_poly f;
    mpz_class acc;
    for (const polynomial& g : gens) {
        if (sign(g) == 0 || g.coef[0] != 1 || !terms_decrease(g)) return false;
        const monom& lead = g.term[0];
        auto corner = std::lower_bound(corners.begin(), corners.end(), lead);
        if (corner == corners.end() || !(*corner == lead)) return false;
        const int lead_entry = n + static_cast<int>(corner - corners.begin());
        auto entry_of = [&](int i, const monom& t) { return i == 0 ? lead_entry : position(O, n, t); };
        if (!f.load(g, entry_of)) return false;
        for (int i = 0; i < X.s; ++i) {
            f.evaluate(acc, V, i);
            if (sgn(acc) != 0) return false;
        }
    }
    return true;
}

#endif
