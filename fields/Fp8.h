// The prime field F_p, 2 <= p <= 251, with one-byte elements and every
// operation done by lookup in 256 x 256 tables (row: left operand, column:
// right operand) that init() fills for the current prime.  Reading, printing
// and widths go through Fp, whose modulus init() keeps equal to ours.
#pragma once

#include <iosfwd>

class Fp8 {
public:
    unsigned char q;   // the residue, 0 <= q < prime
    static int prime;  // the modulus

    static unsigned char add[256][256];
    static unsigned char sub[256][256];
    static unsigned char mul[256][256];
    static unsigned char div[256][256];  // column 0 is never written

    // Rebuilds the tables for the current prime and sets Fp::prime to it.
    // Entries with an index >= prime keep what a larger prime left there;
    // no element ever addresses them.
    static void init();

    Fp8() : q(0) {}
    Fp8(int a) : q(static_cast<unsigned char>(a)) {}  // callers pass values below p
    Fp8(const Fp8&) = default;
    Fp8& operator=(const Fp8&) = default;
    Fp8& operator=(int a) { q = static_cast<unsigned char>((a % prime + prime) % prime); return *this; }

    bool operator==(const Fp8& y) const { return q == y.q; }
    bool operator!=(const Fp8& y) const { return q != y.q; }
    bool operator==(int a) const { return q == a; }
    bool operator!=(int a) const { return q != a; }

    Fp8 operator+() const { return *this; }
    Fp8 operator-() const { return Fp8(sub[0][q]); }

    Fp8 operator+(const Fp8& y) const { return Fp8(add[q][y.q]); }
    Fp8 operator-(const Fp8& y) const { return Fp8(sub[q][y.q]); }
    Fp8 operator*(const Fp8& y) const { return Fp8(mul[q][y.q]); }
    // Division by zero is fatal, as in invert.
    Fp8 operator/(Fp8 y) const { if (y.q == 0) division_by_zero(); return Fp8(div[q][y.q]); }

    Fp8& operator+=(const Fp8& y) { q = add[q][y.q]; return *this; }
    Fp8& operator-=(const Fp8& y) { q = sub[q][y.q]; return *this; }
    Fp8& operator*=(const Fp8& y) { q = mul[q][y.q]; return *this; }
    Fp8& operator/=(Fp8 y) { if (y.q == 0) division_by_zero(); q = div[q][y.q]; return *this; }

    // Replaces the element by its inverse; zero is fatal.
    void invert() { if (q == 0) division_by_zero(); q = div[1][q]; }

    // Prints "\nFp8: division by zero\n" on standard output and exits with status 1.
    [[noreturn]] static void division_by_zero();
};

inline int sign(const Fp8& x) { return x.q == 0 ? 0 : (x.q <= Fp8::prime / 2 ? 1 : -1); }
Fp8 abs(Fp8 x);
int len(const Fp8& x);
std::ostream& operator<<(std::ostream& s, const Fp8& x);
// Reads a rational number with Fp's reader (a denominator divisible by p is
// Fp's fatal division by zero) and stores its residue.
std::istream& operator>>(std::istream& s, Fp8& x);
