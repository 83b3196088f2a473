// The cyclotomic field Q(zeta) of a primitive N-th root of unity zeta, N
// chosen at run time.  An element is its coordinate vector over the power
// basis 1, zeta, ..., zeta^(n-1), n = phi(N) the degree of the cyclotomic
// polynomial Phi_N.  Products are reduced through the table QN_phi of the
// powers zeta^n, ..., zeta^(N-1); inverses come from a linear system over Q.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "fields/Rational.h"

class QN {
public:
    std::vector<Rational> a;  // a[0] + a[1] zeta + ... + a[n-1] zeta^(n-1)

    static int N;  // order of zeta; 1 before the first set
    // The largest order the commands may choose: QN_phi holds (N - n) n
    // rationals, so memory and the time of set grow with N^2.
    static constexpr int max_order = 1000;
    static int n;  // degree phi(N), the length of every coordinate vector
    // Work storage of invert: the augmented n x (n+1) system and its row order.
    static std::vector<std::vector<Rational>> mat;
    static std::vector<int> r;

    // Makes Q(zeta_order) the current field, order >= 1.  Elements made
    // under the previous field must not be used afterwards.
    static void set(int order);

    QN() : a(n) {}
    QN(int y) : a(n) { a[0] = y; }
    QN(const Rational& x) : a(n) { a[0] = x; }
    QN(const QN&) = default;
    QN(QN&&) = default;
    QN& operator=(const QN&) = default;
    QN& operator=(QN&&) = default;
    QN& operator=(const Rational& x);
    QN& operator=(int y);

    bool operator==(const QN& y) const { return a == y.a; }
    bool operator!=(const QN& y) const { return !(*this == y); }
    bool operator==(int y) const;
    bool operator!=(int y) const { return !(*this == y); }

    QN operator+() const { return *this; }
    QN operator-() const;

    QN operator+(const QN& y) const;
    QN operator-(const QN& y) const;
    QN operator*(const QN& y) const;
    QN operator/(QN y) const;
    QN& operator+=(const QN& y);
    QN& operator-=(const QN& y);
    QN& operator*=(const QN& y);
    QN& operator/=(QN y);

    // Scaling by a rational number.
    QN operator*(const Rational& y) const;
    QN& operator*=(const Rational& y);

    // Replaces the element by its inverse; zero prints
    // "QN : division by zero !!! \n" on standard error and exits with status 3.
    void invert();
};

// zeta^(n+i) for i = 0 .. N-n-1; QN_phi[0] holds the negated lower
// coefficients of Phi_N.
extern std::vector<QN> QN_phi;

// 1 when n has no divisor between 2 and n/2 (so also for 0 and 1).
int is_prime(int n);
// The Moebius function.
int mu(int n);
// 1 when x is a rational number (every coordinate but the first is 0).
int is_el_Q(const QN& x);

// 1 for an irrational element, else the sign of the rational number: only
// zero has sign 0, and irrational coefficients print after a plus sign.
int sign(const QN& x);
// |x| for a rational element, x itself otherwise.
QN abs(const QN& x);
int len(const QN& x);
// A rational element prints as that rational number, any other as
// "(a0,a1,...,a(n-1))" without blanks.
std::ostream& operator<<(std::ostream& s, const QN& x);
// Reads the n coordinates as rational numbers, taking exactly one character
// after each of the first n-1 as separator: with n = 4, "1,0,-1/2,3".  On a
// malformed coordinate or a zero denominator failbit is set and x is unchanged.
std::istream& operator>>(std::istream& s, QN& x);

// Parses one whole token as an element: the form operator>> reads, the same
// enclosed in brackets, or a single rational number.  False (x unchanged) on
// anything else.
bool parse_QN(const std::string& token, QN& x);
