#include "engine/polynomial.h"

#include <ostream>
#include <utility>

polynomial::polynomial(int x) : no_of_monoms(1), term(&one_term), coef(&one_coef)
{
    coef[0] = x;
}

polynomial::polynomial(const monom& m) : no_of_monoms(1), term(&one_term), coef(&one_coef)
{
    term[0] = m;
    coef[0] = 1;
}

polynomial::polynomial(const polynomial& f) : no_of_monoms(f.no_of_monoms), term(&one_term), coef(&one_coef)
{
    if (no_of_monoms > 1) {
        term = new monom[no_of_monoms];
        coef = new K[no_of_monoms];
    }
    for (int i = 0; i < no_of_monoms; ++i) {
        term[i] = f.term[i];
        coef[i] = f.coef[i];
    }
}

polynomial::~polynomial()
{
    release();
}

void polynomial::release()
{
    if (inline_slot()) return;
    delete[] term;
    delete[] coef;
}

void polynomial::alloc(int n)
{
    if (no_of_monoms < n) {
        release();
        term = new monom[n];
        coef = new K[n];
    }
    no_of_monoms = n;
}

polynomial& polynomial::operator=(const polynomial& f)
{
    if (this == &f) return *this;
    alloc(f.no_of_monoms);
    for (int i = 0; i < no_of_monoms; ++i) {
        term[i] = f.term[i];
        coef[i] = f.coef[i];
    }
    return *this;
}

polynomial& polynomial::operator=(polynomial&& f) noexcept
{
    if (this == &f) return *this;
    std::swap(no_of_monoms, f.no_of_monoms);
    const bool mine = inline_slot(), theirs = f.inline_slot();
    if (mine || theirs) {
        // The one slots change places with the values they hold.
        std::swap(one_term, f.one_term);
        std::swap(one_coef, f.one_coef);
    }
    std::swap(term, f.term);
    std::swap(coef, f.coef);
    if (mine) {
        f.term = &f.one_term;
        f.coef = &f.one_coef;
    }
    if (theirs) {
        term = &one_term;
        coef = &one_coef;
    }
    return *this;
}

polynomial& polynomial::operator=(const monom& m)
{
    term[0] = m;
    coef[0] = 1;
    no_of_monoms = 1;
    return *this;
}

polynomial& polynomial::operator=(int x)
{
    term[0] = 0;
    coef[0] = x;
    no_of_monoms = 1;
    return *this;
}

// One pass over both term arrays into fresh arrays of l + m slots.  cmp is a
// three-way form of the affine ordering in use; equal affine parts add their
// coefficients under self's monomial.
template <bool subtract, class Cmp, class Coef>
void polynomial::merge(const polynomial& g, Cmp cmp, Coef gcoef)
{
    const int l = no_of_monoms, m = g.no_of_monoms;
    monom* t = new monom[l + m];
    K* c = new K[l + m];
    const monom* ft = term;
    const K* fc = coef;
    const monom* gt = g.term;
    int k = 0, i = 0, n = 0;
    while (k < l && i < m) {
        int r = cmp(ft[k], gt[i]);
        if (r < 0) {
            t[n] = gt[i];
            if constexpr (subtract) c[n] = -gcoef(i); else c[n] = gcoef(i);
            ++n;
            ++i;
        } else if (r > 0) {
            t[n] = ft[k];
            c[n] = fc[k];
            ++n;
            ++k;
        } else {
            if constexpr (subtract) c[n] = fc[k] - gcoef(i); else c[n] = fc[k] + gcoef(i);
            if (c[n] != 0) {
                t[n] = ft[k];
                ++n;
            }
            ++k;
            ++i;
        }
    }
    for (; k < l; ++k, ++n) {
        t[n] = ft[k];
        c[n] = fc[k];
    }
    for (; i < m; ++i, ++n) {
        t[n] = gt[i];
        if constexpr (subtract) c[n] = -gcoef(i); else c[n] = gcoef(i);
    }
    release();  // g may be self: it is read no more
    term = t;
    coef = c;
    if (n == 0) {  // everything cancelled
        term[0] = monom();
        coef[0] = 0;
        n = 1;
    }
    no_of_monoms = n;
}

template <bool subtract, class Coef>
void polynomial::add(const polynomial& g, Coef gcoef)
{
    if (!sign(g)) return;
    if (!sign(*this)) {
        alloc(g.no_of_monoms);
        for (int i = 0; i < no_of_monoms; ++i) {
            term[i] = g.term[i];
            if constexpr (subtract) coef[i] = -gcoef(i); else coef[i] = gcoef(i);
        }
        return;
    }
    // The two orderings of the program are compared inline; any other
    // comparison goes through the pointer in use.
    if (monom_ordering_lt == degrevlex_lt)
        merge<subtract>(g, [](const monom& x, const monom& y) { return degrevlex_cmp(x, y); }, gcoef);
    else if (monom_ordering_lt == deglex_lt)
        merge<subtract>(g, [](const monom& x, const monom& y) { return deglex_cmp(x, y); }, gcoef);
    else
        merge<subtract>(
            g,
            [](const monom& x, const monom& y) {
                if (monom_ordering_lt(x, y)) return -1;
                if (monom_ordering_lt(y, x)) return 1;
                return 0;
            },
            gcoef);
}

polynomial& polynomial::operator+=(const polynomial& g)
{
    add<false>(g, [&g](int i) -> const K& { return g.coef[i]; });
    return *this;
}

polynomial& polynomial::operator-=(const polynomial& g)
{
    add<true>(g, [&g](int i) -> const K& { return g.coef[i]; });
    return *this;
}

polynomial& polynomial::sub_scaled(const polynomial& g, const K& x)
{
    if (x == 0) return *this;
    const K y = x;  // x may be a coefficient of self
    if (&g == this) {
        const polynomial copy(g);
        add<true>(copy, [&copy, &y](int i) { return K(copy.coef[i] * y); });
    } else {
        add<true>(g, [&g, &y](int i) { return K(g.coef[i] * y); });
    }
    return *this;
}

polynomial& polynomial::operator*=(const K& x)
{
    if (x == 0) return *this = 0;
    K y = x;  // x may be one of the coefficients
    for (int i = 0; i < no_of_monoms; ++i) coef[i] *= y;
    return *this;
}

polynomial& polynomial::operator*=(const monom& m)
{
    if (!sign(*this)) return *this;
    monom y = m;  // m may be one of the terms
    for (int i = 0; i < no_of_monoms; ++i) term[i] *= y;
    return *this;
}

bool operator<(const polynomial& f, const polynomial& g)
{
    return f.term[0] < g.term[0];
}

bool operator>(const polynomial& f, const polynomial& g)
{
    return f.term[0] > g.term[0];
}

bool operator==(const polynomial& f, const polynomial& g)
{
    if (f.no_of_monoms != g.no_of_monoms) return false;
    for (int i = 0; i < f.no_of_monoms; ++i)
        if (f.term[i] != g.term[i] || f.coef[i] != g.coef[i]) return false;
    return true;
}

bool operator!=(const polynomial& f, const polynomial& g)
{
    return !(f == g);
}

polynomial operator+(const polynomial& f, const polynomial& g)
{
    polynomial r(f);
    r += g;
    return r;
}

polynomial operator-(const polynomial& f, const polynomial& g)
{
    polynomial r(f);
    r -= g;
    return r;
}

polynomial operator+(const polynomial& f)
{
    return polynomial(f);
}

polynomial operator-(const polynomial& f)
{
    polynomial r(f);
    for (int i = 0; i < r.no_of_monoms; ++i) r.coef[i] = -r.coef[i];
    return r;
}

polynomial operator*(const polynomial& f, const K& x)
{
    if (x == 0) return polynomial(0);
    polynomial r(f);
    for (int i = 0; i < r.no_of_monoms; ++i) r.coef[i] *= x;
    return r;
}

polynomial operator*(const polynomial& f, const polynomial& g)
{
    polynomial res(0);
    if (!sign(f) || !sign(g)) return res;
    polynomial tmp(f);
    for (int i = 0; i < g.no_of_monoms; ++i) {
        tmp = f;
        tmp *= g.term[i];
        tmp *= g.coef[i];
        res += tmp;
    }
    return res;
}

polynomial Lf(const polynomial& f)
{
    if (!sign(f)) return polynomial(0);
    const int d = f.term[0].tot_deg();
    int k = 1;
    while (k < f.no_of_monoms && f.term[k].tot_deg() == d) ++k;
    polynomial r;
    r.alloc(k);
    for (int i = 0; i < k; ++i) {
        r.term[i] = f.term[i];
        r.coef[i] = f.coef[i];
    }
    return r;
}

void hom(polynomial& f, const polynomial& g)
{
    const int saved_dim = dim;
    const int n = g.no_of_monoms;
    const int d = g.term[0].tot_deg();
    dim = proj;  // monom() is projective while the terms are built
    if (&f != &g) f.alloc(n);
    for (int i = 0; i < n; ++i) {
        monom t;
        for (int j = 0; j < proj - 1; ++j) t.exp[j] = g.term[i].exp[j];
        t.exp[proj - 1] = static_cast<int16_t>(d - g.term[i].tot_deg());
        f.term[i] = t;
        if (&f != &g) f.coef[i] = g.coef[i];
    }
    dim = saved_dim;
}

void polynomial::put(std::ostream& s) const
{
    for (int i = 0; i < no_of_monoms; ++i) {
        if (i == 0 && sign(coef[0]) < 0) s << '-';
        const bool constant = !sign(term[i]);
        K a = abs(coef[i]);
        if (a != 1 || constant) s << a;
        if (!constant) term[i].put(s);
        if (i + 1 < no_of_monoms) s << (sign(coef[i + 1]) > 0 ? '+' : '-');
    }
}

std::ostream& operator<<(std::ostream& s, const polynomial& f)
{
    if (!sign(f)) {
        counter += 2;
        return s << " 0";
    }
    for (int i = 0; i < f.no_of_monoms; ++i) {
        const int sg = sign(f.coef[i]);
        const bool constant = !sign(f.term[i]);
        const K a = abs(f.coef[i]);
        const bool show_coef = a != 1 || constant;
        int d = i == 0 ? (sg <= 0 ? 2 : 0) : 3;
        if (show_coef) d += len(a);
        if (!constant) d += len(f.term[i]);
        if (counter + d >= LL - 1 && i > 0) {
            s << '\n';
            counter = d;
        } else {
            counter += d;
        }
        if (sg <= 0)
            s << (i == 0 ? "- " : " - ");
        else if (i > 0)
            s << " + ";
        if (show_coef) s << a;
        if (!constant) s << f.term[i];
    }
    return s;
}
