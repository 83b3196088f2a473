// The prime field F_p, 2 <= p <= 32003, with the modulus chosen at run time.
// Elements are printed by their representative in the symmetric range
// (-p/2, p/2]; coordinates are read as rational numbers and mapped into F_p.
#pragma once

#include <iosfwd>
#include <string>

#include <gmpxx.h>

class Fp {
public:
    int q;             // the residue, 0 <= q < prime
    static int prime;  // the modulus

    Fp() : q(0) {}
    Fp(int a) : q(a) {}  // callers pass values already in 0..p-1
    Fp(const Fp&) = default;
    Fp& operator=(const Fp&) = default;
    Fp& operator=(int a) { q = (a % prime + prime) % prime; return *this; }

    bool operator==(const Fp& y) const { return q == y.q; }
    bool operator!=(const Fp& y) const { return q != y.q; }
    bool operator==(int a) const { return q == a; }
    bool operator!=(int a) const { return q != a; }

    Fp operator+() const { return *this; }
    Fp operator-() const { return Fp(q == 0 ? 0 : prime - q); }

    Fp operator+(const Fp& y) const { int r = q + y.q; return Fp(r >= prime ? r - prime : r); }
    Fp operator-(const Fp& y) const { int r = q - y.q; return Fp(r < 0 ? r + prime : r); }
    // p <= 32003 keeps every product of residues below 2^31.
    Fp operator*(const Fp& y) const { return Fp(q * y.q % prime); }
    Fp operator/(Fp y) const { y.invert(); return Fp(q * y.q % prime); }

    Fp& operator+=(const Fp& y) { q += y.q; if (q >= prime) q -= prime; return *this; }
    Fp& operator-=(const Fp& y) { q -= y.q; if (q < 0) q += prime; return *this; }
    Fp& operator*=(const Fp& y) { q = q * y.q % prime; return *this; }
    Fp& operator/=(Fp y) { y.invert(); q = q * y.q % prime; return *this; }

    // Replaces the element by its inverse (extended Euclid); zero is fatal.
    void invert();

    // The image of a rational number; false when its denominator is divisible by p.
    static bool from_rational(const mpq_class& r, Fp& x);
};

// 0, or +-1 by the representative in (-p/2, p/2].
inline int sign(const Fp& x) { return x.q == 0 ? 0 : (x.q <= Fp::prime / 2 ? 1 : -1); }
Fp abs(Fp x);
int len(const Fp& x);
Fp pow(const Fp& x, int e);
std::ostream& operator<<(std::ostream& s, const Fp& x);
// Reads a rational number and maps it into F_p; a denominator divisible by p
// is the fatal division by zero.
std::istream& operator>>(std::istream& s, Fp& x);
