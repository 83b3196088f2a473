// The field Q of rational numbers: a thin wrapper of GMP's mpq_class, which
// keeps every number in lowest terms with a positive denominator.  Printed as
// the numerator, followed by "/" and the denominator when that is not 1.
#pragma once

#include <iosfwd>
#include <utility>

#include <gmpxx.h>

class Rational {
public:
    mpq_class v;

    Rational() = default;
    Rational(int a) : v(a) {}
    Rational(const mpq_class& x) : v(x) {}
    Rational(mpq_class&& x) : v(std::move(x)) {}
    // A gmpxx expression (sum, product, ...) is evaluated straight into v.
    template <class T, class U>
    Rational(const __gmp_expr<T, U>& e) : v(e) {}
    Rational(const Rational&) = default;
    Rational(Rational&&) = default;
    Rational& operator=(const Rational&) = default;
    Rational& operator=(Rational&&) = default;
    Rational& operator=(int a) { v = a; return *this; }

    bool operator==(const Rational& y) const { return v == y.v; }
    bool operator!=(const Rational& y) const { return v != y.v; }
    bool operator==(int a) const { return v == a; }
    bool operator!=(int a) const { return v != a; }

    Rational operator+() const { return *this; }
    Rational operator-() const { return Rational(-v); }

    Rational operator+(const Rational& y) const { return Rational(v + y.v); }
    Rational operator-(const Rational& y) const { return Rational(v - y.v); }
    Rational operator*(const Rational& y) const { return Rational(v * y.v); }
    Rational operator/(const Rational& y) const { return Rational(v / y.v); }

    Rational& operator+=(const Rational& y) { v += y.v; return *this; }
    Rational& operator-=(const Rational& y) { v -= y.v; return *this; }
    Rational& operator*=(const Rational& y) { v *= y.v; return *this; }
    Rational& operator/=(const Rational& y) { v /= y.v; return *this; }

    // Replaces x by 1/x; the engine never inverts zero (GMP traps on it).
    void invert() { mpq_inv(v.get_mpq_t(), v.get_mpq_t()); }
};

inline int sign(const Rational& x) { return sgn(x.v); }
inline Rational abs(const Rational& x) { return Rational(::abs(x.v)); }
// Characters operator<< prints: no cap on the number of digits.
int len(const Rational& x);
std::ostream& operator<<(std::ostream& s, const Rational& x);
// Reads one whitespace-delimited token "n" or "n/d"; a malformed token or a
// zero denominator sets failbit and leaves x unchanged.
std::istream& operator>>(std::istream& s, Rational& x);
