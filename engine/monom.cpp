#include "engine/monom.h"

#include <algorithm>
#include <ostream>

#include "fields/text.h"

monom& monom::operator=(int x)
{
    std::fill(exp, exp + proj, static_cast<int16_t>(x));
    return *this;
}

int monom::vars() const
{
    int v = 0;
    for (int i = 0; i < dim; ++i)
        if (exp[i] > 0) ++v;
    return v;
}

// Both operands projective: the projective ordering; otherwise the affine one.
static bool both_projective(const monom& x, const monom& y)
{
    return x.dim == proj && y.dim == x.dim;
}

bool monom::operator<(const monom& y) const
{
    return both_projective(*this, y) ? proj_monom_ordering_lt(*this, y) : monom_ordering_lt(*this, y);
}

bool monom::operator>(const monom& y) const
{
    return both_projective(*this, y) ? proj_monom_ordering_lt(y, *this) : monom_ordering_lt(y, *this);
}

bool monom::operator<=(const monom& y) const
{
    return both_projective(*this, y) ? proj_monom_ordering_le(*this, y) : monom_ordering_le(*this, y);
}

bool monom::operator>=(const monom& y) const
{
    return both_projective(*this, y) ? proj_monom_ordering_le(y, *this) : monom_ordering_le(y, *this);
}

monom monom::operator*(const monom& y) const
{
    monom r;
    int n = std::min<int>(r.dim, std::min(dim, y.dim));
    for (int i = 0; i < n; ++i) r.exp[i] = static_cast<int16_t>(exp[i] + y.exp[i]);
    return r;
}

monom monom::operator/(const monom& y) const
{
    monom r;
    int n = std::min<int>(r.dim, std::min(dim, y.dim));
    for (int i = 0; i < n; ++i) r.exp[i] = static_cast<int16_t>(exp[i] - y.exp[i]);
    return r;
}

monom& monom::operator*=(const monom& y)
{
    int n = std::min(dim, y.dim);
    for (int i = 0; i < n; ++i) exp[i] = static_cast<int16_t>(exp[i] + y.exp[i]);
    return *this;
}

monom& monom::operator/=(const monom& y)
{
    int n = std::min(dim, y.dim);
    for (int i = 0; i < n; ++i) exp[i] = static_cast<int16_t>(exp[i] - y.exp[i]);
    return *this;
}

int sign(const monom& x)
{
    for (int i = 0; i < x.dim; ++i)
        if (x.exp[i] != 0) return 1;
    return 0;
}

int aff_eq(const monom& x, const monom& y)
{
    for (int i = 0; i < proj - 1; ++i)
        if (x.exp[i] != y.exp[i]) return 0;
    return 1;
}

monom lcm(const monom& x, const monom& y)
{
    monom r = x;
    r.dim = std::min(x.dim, y.dim);
    for (int i = 0; i < r.dim; ++i) r.exp[i] = std::max(x.exp[i], y.exp[i]);
    return r;
}

monom gcd(const monom& x, const monom& y)
{
    monom r = x;
    r.dim = std::min(x.dim, y.dim);
    for (int i = 0; i < r.dim; ++i) r.exp[i] = std::min(x.exp[i], y.exp[i]);
    return r;
}

void prj(monom& x)
{
    x.dim = static_cast<int16_t>(proj);
    x.exp[proj - 1] = 0;
}

int lex_lt(const monom& x, const monom& y)
{
    for (int i = 0; i < proj - 1; ++i)
        if (x.exp[i] != y.exp[i]) return x.exp[i] < y.exp[i];
    return 0;
}

int lex_le(const monom& x, const monom& y)
{
    for (int i = 0; i < proj - 1; ++i)
        if (x.exp[i] != y.exp[i]) return x.exp[i] < y.exp[i];
    return 1;
}

// The larger exponent in the last differing affine variable is the smaller.
int revlex_lt(const monom& x, const monom& y)
{
    for (int i = proj - 2; i >= 0; --i)
        if (x.exp[i] != y.exp[i]) return x.exp[i] > y.exp[i];
    return 0;
}

int revlex_le(const monom& x, const monom& y)
{
    for (int i = proj - 2; i >= 0; --i)
        if (x.exp[i] != y.exp[i]) return x.exp[i] > y.exp[i];
    return 1;
}

int deglex_lt(const monom& x, const monom& y)
{
    int dx = x.tot_deg(), dy = y.tot_deg();
    return dx == dy ? lex_lt(x, y) : dx < dy;
}

int deglex_le(const monom& x, const monom& y)
{
    int dx = x.tot_deg(), dy = y.tot_deg();
    return dx == dy ? lex_le(x, y) : dx < dy;
}

int degrevlex_lt(const monom& x, const monom& y)
{
    int dx = x.tot_deg(), dy = y.tot_deg();
    return dx == dy ? revlex_lt(x, y) : dx < dy;
}

int degrevlex_le(const monom& x, const monom& y)
{
    int dx = x.tot_deg(), dy = y.tot_deg();
    return dx == dy ? revlex_le(x, y) : dx < dy;
}

// Affine part first; equal affine parts are ordered by the homogenizing
// exponent, smaller first.
int proj_deglex_lt(const monom& x, const monom& y)
{
    if (deglex_lt(x, y)) return 1;
    if (!aff_eq(x, y)) return 0;
    return x.exp[proj - 1] < y.exp[proj - 1];
}

int proj_deglex_le(const monom& x, const monom& y)
{
    if (deglex_lt(x, y)) return 1;
    if (!aff_eq(x, y)) return 0;
    return x.exp[proj - 1] <= y.exp[proj - 1];
}

int proj_degrevlex_lt(const monom& x, const monom& y)
{
    if (degrevlex_lt(x, y)) return 1;
    if (!aff_eq(x, y)) return 0;
    return x.exp[proj - 1] < y.exp[proj - 1];
}

int proj_degrevlex_le(const monom& x, const monom& y)
{
    if (degrevlex_lt(x, y)) return 1;
    if (!aff_eq(x, y)) return 0;
    return x.exp[proj - 1] <= y.exp[proj - 1];
}

int Zn_order_lt(const monom& x, const monom& y)
{
    int proper = 0;
    for (int i = 0; i < x.dim; ++i) {
        if (x.exp[i] > y.exp[i]) return 0;
        if (x.exp[i] < y.exp[i]) proper = 1;
    }
    return proper;
}

int Zn_order_le(const monom& x, const monom& y)
{
    for (int i = 0; i < x.dim; ++i)
        if (x.exp[i] > y.exp[i]) return 0;
    return 1;
}

std::ostream& operator<<(std::ostream& s, const monom& x)
{
    if (!sign(x)) return s << '1';
    for (int i = 0; i < x.dim; ++i) {
        if (x.exp[i] == 0) continue;
        s << varstring[i];
        if (x.exp[i] != 1) s << '^' << static_cast<int>(x.exp[i]);
    }
    return s;
}

void monom::put(std::ostream& s) const
{
    if (!sign(*this)) {
        s << '1';
        return;
    }
    for (int i = 0; i < dim; ++i) {
        if (exp[i] == 0) continue;
        s << varstring[i];
        if (exp[i] != 1) s << static_cast<int>(exp[i]);
    }
}

int len(const monom& m)
{
    int w = 0;
    for (int i = 0; i < m.dim; ++i) {
        if (m.exp[i] == 1)
            w += 1;
        else if (m.exp[i] > 1)
            w += len(static_cast<int>(m.exp[i])) + 2;
    }
    return w;
}

void set_ordering(int ordering)
{
    monom_ordering = ordering;
    if (ordering == 0) {
        monom_ordering_lt = deglex_lt;
        monom_ordering_le = deglex_le;
        proj_monom_ordering_lt = proj_deglex_lt;
        proj_monom_ordering_le = proj_deglex_le;
    } else {
        monom_ordering_lt = degrevlex_lt;
        monom_ordering_le = degrevlex_le;
        proj_monom_ordering_lt = proj_degrevlex_lt;
        proj_monom_ordering_le = proj_degrevlex_le;
    }
}
