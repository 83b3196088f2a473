#include "fields/QN.h"

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <utility>

#include "fields/rational_text.h"

int QN::N = 1;
int QN::n = 1;
std::vector<std::vector<Rational>> QN::mat;
std::vector<int> QN::r;
std::vector<QN> QN_phi;

namespace {

// Scratch of the products: the coefficients of zeta^n .. zeta^(2n-2) before
// their reduction (kept zero between calls), and one product term.
std::vector<Rational> high;
mpq_class term;

using Poly = std::vector<Rational>;

// x^e - 1 into p (which is all zero).
void binomial(Poly& p, int e)
{
    p[e] = 1;
    p[0] = -1;
}

// c := a * b over the exponents 0..da and 0..db.
void multiply(const Poly& a, int da, const Poly& b, int db, Poly& c)
{
    for (int i = 0; i <= da; ++i) {
        if (sgn(a[i].v) == 0) continue;
        for (int j = 0; j <= db; ++j)
            if (sgn(b[j].v) != 0) c[i + j].v += a[i].v * b[j].v;
    }
}

void clear(Poly& p)
{
    for (Rational& c : p) c = 0;
}

// out (all zero on entry) := x * y, both irrational.
void product(const QN& x, const QN& y, std::vector<Rational>& out)
{
    const int n = QN::n, N = QN::N;
    for (int i = 0; i < n; ++i) {
        mpq_srcptr xi = x.a[i].v.get_mpq_t();
        if (mpq_sgn(xi) == 0) continue;
        for (int j = 0; j < n; ++j) {
            mpq_srcptr yj = y.a[j].v.get_mpq_t();
            if (mpq_sgn(yj) == 0) continue;
            int k = i + j;
            mpq_ptr acc = k < n ? out[k].v.get_mpq_t() : high[k - n].v.get_mpq_t();
            mpq_mul(term.get_mpq_t(), xi, yj);
            mpq_add(acc, acc, term.get_mpq_t());
        }
    }
    // zeta^k for k >= n: through the table below N, and zeta^N = 1 above.
    for (int k = n; k <= 2 * n - 2; ++k) {
        mpq_ptr c = high[k - n].v.get_mpq_t();
        if (mpq_sgn(c) == 0) continue;
        if (k < N) {
            const std::vector<Rational>& power = QN_phi[k - n].a;
            for (int l = 0; l < n; ++l) {
                if (mpq_sgn(power[l].v.get_mpq_t()) == 0) continue;
                mpq_mul(term.get_mpq_t(), power[l].v.get_mpq_t(), c);
                mpq_add(out[l].v.get_mpq_t(), out[l].v.get_mpq_t(), term.get_mpq_t());
            }
        } else {
            mpq_add(out[k - N].v.get_mpq_t(), out[k - N].v.get_mpq_t(), c);
        }
        mpq_set_ui(c, 0, 1);
    }
}

// Every coordinate of x times s into out.
void scale(const QN& x, const Rational& s, std::vector<Rational>& out)
{
    for (int i = 0; i < QN::n; ++i)
        mpq_mul(out[i].v.get_mpq_t(), x.a[i].v.get_mpq_t(), s.v.get_mpq_t());
}

// One coordinate at the reader's position: blanks, an optional sign, digits,
// optionally "/" and digits.  False on anything else or a zero denominator.
bool read_coordinate(std::istream& s, Rational& x)
{
    // A peek past the end would set failbit on the next one.
    auto next = [&s] { return s.eof() ? EOF : s.peek(); };
    int c;
    while ((c = next()) != EOF && std::isspace(c)) s.get();
    std::string text;
    if (c == '+' || c == '-') text.push_back(static_cast<char>(s.get()));
    auto digits = [&] {
        std::size_t before = text.size();
        int d;
        while ((d = next()) != EOF && std::isdigit(d)) text.push_back(static_cast<char>(s.get()));
        return text.size() > before;
    };
    if (!digits()) return false;
    if (next() == '/') {
        text.push_back(static_cast<char>(s.get()));
        if (!digits()) return false;
    }
    return parse_rational(text, x.v);
}

// The n coordinates, one separator character after each but the last.
bool read_coordinates(std::istream& s, std::vector<Rational>& a)
{
    for (int i = 0; i < QN::n; ++i) {
        if (!read_coordinate(s, a[i])) return false;
        if (i < QN::n - 1 && s.get() == EOF) return false;
    }
    return true;
}

}  // namespace

int is_prime(int n)
{
    for (int d = 2; d <= n / 2; ++d)
        if (n % d == 0) return 0;
    return 1;
}

int mu(int n)
{
    switch (n) {
    case 1: return 1;
    case 2:
    case 3: return -1;
    case 4: return 0;
    default: break;
    }
    // Trial divisors in increasing order: a composite one can never divide
    // the cofactor, since its prime factors were divided out exactly once.
    int rest = n, count = 0;
    for (int p = 2; p <= n / 2; ++p) {
        if (rest % p != 0) continue;
        rest /= p;
        if (rest % p == 0) return 0;
        ++count;
    }
    if (count == 0) return -1;
    return count % 2 == 0 ? 1 : -1;
}

// Phi_N as the product over the divisors e of N of (x^(N/e) - 1)^mu(e):
// the factors with mu = +1 over those with mu = -1, divided exactly.
void QN::set(int order)
{
    int max = 1;
    for (int e = 1; e <= order; ++e)
        if (order % e == 0 && mu(e) == 1) max += order / e;
    Poly a(max), b(max), c(max), d(max);

    binomial(a, order);
    int deg = order;
    for (int e = 2; e <= order; ++e) {
        if (order % e != 0 || mu(e) != 1) continue;
        binomial(b, order / e);
        multiply(a, deg, b, order / e, c);
        deg += order / e;
        std::swap(a, c);
        clear(b);
        clear(c);
    }

    b[0] = 1;
    int m = 0;
    for (int e = 2; e <= order; ++e) {
        if (order % e != 0 || mu(e) != -1) continue;
        binomial(c, order / e);
        multiply(b, m, c, order / e, d);
        m += order / e;
        std::swap(b, d);
        clear(c);
        clear(d);
    }

    for (int i = max - 1; i >= m; --i) {
        if (sgn(a[i].v) == 0) continue;
        c[i - m].v = a[i].v / b[m].v;
        for (int j = 0; j <= m; ++j) a[i - m + j].v -= b[j].v * c[i - m].v;
    }

    N = order;
    n = max - 1 - m;
    r.assign(n + 1, 0);
    mat.assign(n, std::vector<Rational>(n + 1));
    high.assign(n > 1 ? n - 1 : 0, Rational());

    // N = 1 is the only order with n = N: zeta = 1 and no table.
    QN_phi.assign(N - n, QN(0));
    if (N == n) return;
    for (int i = 0; i < n; ++i) QN_phi[0].a[i] = -c[i];
    for (int i = 1; i < N - n; ++i) {
        QN& power = QN_phi[i];
        const QN& previous = QN_phi[i - 1];
        for (int j = 1; j < n; ++j) power.a[j] = previous.a[j - 1];
        power.a[0] = 0;
        power += QN_phi[0] * previous.a[n - 1];
    }
}

QN& QN::operator=(const Rational& x)
{
    a[0] = x;
    for (int i = 1; i < n; ++i) a[i] = 0;
    return *this;
}

QN& QN::operator=(int y)
{
    a[0] = y;
    for (int i = 1; i < n; ++i) a[i] = 0;
    return *this;
}

bool QN::operator==(int y) const
{
    return a[0] == y && is_el_Q(*this);
}

QN QN::operator-() const
{
    QN t;
    for (int i = 0; i < n; ++i) mpq_neg(t.a[i].v.get_mpq_t(), a[i].v.get_mpq_t());
    return t;
}

QN QN::operator+(const QN& y) const
{
    QN t;
    for (int i = 0; i < n; ++i) mpq_add(t.a[i].v.get_mpq_t(), a[i].v.get_mpq_t(), y.a[i].v.get_mpq_t());
    return t;
}

QN QN::operator-(const QN& y) const
{
    QN t;
    for (int i = 0; i < n; ++i) mpq_sub(t.a[i].v.get_mpq_t(), a[i].v.get_mpq_t(), y.a[i].v.get_mpq_t());
    return t;
}

QN& QN::operator+=(const QN& y)
{
    for (int i = 0; i < n; ++i) a[i].v += y.a[i].v;
    return *this;
}

QN& QN::operator-=(const QN& y)
{
    for (int i = 0; i < n; ++i) a[i].v -= y.a[i].v;
    return *this;
}

QN QN::operator*(const Rational& y) const
{
    QN t;
    scale(*this, y, t.a);
    return t;
}

QN& QN::operator*=(const Rational& y)
{
    if (is_el_Q(*this)) {
        a[0].v *= y.v;
        return *this;
    }
    scale(*this, y, a);
    return *this;
}

QN QN::operator*(const QN& y) const
{
    if (is_el_Q(y)) return *this * y.a[0];
    if (is_el_Q(*this)) return y * a[0];
    QN t;
    product(*this, y, t.a);
    return t;
}

QN& QN::operator*=(const QN& y)
{
    if (is_el_Q(y)) {
        scale(*this, y.a[0], a);
        return *this;
    }
    if (is_el_Q(*this)) {
        Rational s = a[0];
        scale(y, s, a);
        return *this;
    }
    QN t;
    product(*this, y, t.a);
    a.swap(t.a);
    return *this;
}

QN QN::operator/(QN y) const
{
    y.invert();
    return *this * y;
}

QN& QN::operator/=(QN y)
{
    y.invert();
    return *this *= y;
}

// Solves M y = e_0, column j of M being the coordinates of x * zeta^j; the
// solution y is the inverse of x.  M is invertible for every x != 0.
void QN::invert()
{
    if (sign(*this) == 0) {
        std::cerr << "QN : division by zero !!! \n";
        std::cerr.flush();
        std::exit(3);
    }
    if (is_el_Q(*this)) {
        a[0].invert();
        return;
    }
    for (std::vector<Rational>& row : mat)
        for (Rational& e : row) e = 0;
    mat[0][n] = 1;
    for (int i = 0; i <= n; ++i) r[i] = i;

    for (int i = 0; i < n; ++i) {
        if (sgn(a[i].v) == 0) continue;
        for (int j = 0; j < n; ++j) {
            int k = i + j;
            if (k < n)
                mat[k][j].v += a[i].v;
            else if (k >= N)
                mat[k - N][j].v += a[i].v;
            else
                for (int l = 0; l < n; ++l) mat[l][j].v += a[i].v * QN_phi[k - n].a[l].v;
        }
    }

    for (int i = 0; i < n; ++i) {
        if (sgn(mat[r[i]][i].v) == 0) {
            int k = i + 1;
            while (sgn(mat[r[k]][i].v) == 0) ++k;
            std::swap(r[i], r[k]);
        }
        std::vector<Rational>& pivot_row = mat[r[i]];
        for (int j = i + 1; j <= n; ++j) pivot_row[j].v /= pivot_row[i].v;
        pivot_row[i] = 1;
        for (int k = i + 1; k < n; ++k) {
            std::vector<Rational>& row = mat[r[k]];
            if (sgn(row[i].v) == 0) continue;
            for (int j = i + 1; j <= n; ++j) row[j].v -= row[i].v * pivot_row[j].v;
            row[i] = 0;
        }
    }
    for (int i = n - 2; i >= 0; --i)
        for (int k = i + 1; k < n; ++k) {
            mat[r[i]][n].v -= mat[r[i]][k].v * mat[r[k]][n].v;
            mat[r[i]][k] = 0;
        }
    for (int i = 0; i < n; ++i) a[i] = mat[r[i]][n];
}

int is_el_Q(const QN& x)
{
    for (int i = 1; i < QN::n; ++i)
        if (sgn(x.a[i].v) != 0) return 0;
    return 1;
}

int sign(const QN& x)
{
    return is_el_Q(x) ? sgn(x.a[0].v) : 1;
}

QN abs(const QN& x)
{
    return is_el_Q(x) ? QN(abs(x.a[0])) : x;
}

int len(const QN& x)
{
    if (is_el_Q(x)) return len(x.a[0]);
    int width = QN::n + 1;
    for (const Rational& c : x.a) width += len(c);
    return width;
}

std::ostream& operator<<(std::ostream& s, const QN& x)
{
    if (is_el_Q(x)) return s << x.a[0];
    s << "(";
    for (int i = 0; i < QN::n; ++i) {
        if (i > 0) s << ",";
        s << x.a[i];
    }
    return s << ")";
}

std::istream& operator>>(std::istream& s, QN& x)
{
    std::vector<Rational> a(QN::n);
    if (read_coordinates(s, a))
        x.a.swap(a);
    else
        s.setstate(std::ios::failbit);
    return s;
}

bool parse_QN(const std::string& token, QN& x)
{
    mpq_class single;
    if (parse_rational(token, single)) {
        x = Rational(std::move(single));
        return true;
    }
    std::string body = token;
    if (body.size() >= 2 && body.front() == '(' && body.back() == ')') body = body.substr(1, body.size() - 2);
    std::istringstream in(body);
    std::vector<Rational> a(QN::n);
    if (!read_coordinates(in, a) || in.peek() != EOF) return false;
    x.a.swap(a);
    return true;
}
