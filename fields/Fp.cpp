#include "fields/Fp.h"

#include <cstdlib>
#include <iostream>

#include "fields/rational_text.h"
#include "fields/text.h"

int Fp::prime = 31991;

void Fp::invert()
{
    if (q == 0) {
        std::cout << "\nFp: division by zero\n";
        std::cout.flush();
        std::exit(1);
    }
    if (q == 1) return;
    // Extended Euclid on (p, q), tracking only the cofactor of q.
    int r_prev = prime, r = q, s_prev = 0, s = 1;
    for (;;) {
        int t = r_prev / r, rem = r_prev % r;
        int s_next = s_prev - t * s;
        s_prev = s;
        s = s_next;
        r_prev = r;
        r = rem;
        if (rem == 1) break;
    }
    q = (prime + s) % prime;
}

bool Fp::from_rational(const mpq_class& r, Fp& x)
{
    mpz_class p = prime;
    mpz_class d = r.get_den() % p;  // the denominator is positive
    if (d == 0) return false;
    mpz_class n = r.get_num() % p;  // sign of the numerator
    if (n < 0) n += p;
    Fp den(static_cast<int>(d.get_si()));
    den.invert();
    x = Fp(static_cast<int>(n.get_si())) * den;
    return true;
}


Fp abs(Fp x)
{
    return sign(x) == -1 ? Fp(Fp::prime - x.q) : x;
}

static int representative(const Fp& x)
{
    return x.q <= Fp::prime / 2 ? x.q : x.q - Fp::prime;
}

int len(const Fp& x)
{
    return len(representative(x));
}

Fp pow(const Fp& x, int e)
{
    switch (e) {
    case 0: return Fp(1 % Fp::prime);
    case 1: return x;
    case 2: return x * x;
    case 3: return x * x * x;
    default: break;
    }
    Fp result(1), square = x;
    for (;;) {
        if (e & 1) result *= square;
        e >>= 1;
        if (e == 0) break;
        square *= square;
    }
    return result;
}

std::ostream& operator<<(std::ostream& s, const Fp& x)
{
    return s << representative(x);
}

std::istream& operator>>(std::istream& s, Fp& x)
{
    mpq_class r;
    if (!read_rational(s, r)) return s;
    Fp den(0);
    mpz_class d = r.get_den() % Fp::prime;
    den = Fp(static_cast<int>(d.get_si()));
    den.invert();  // fatal when p divides the denominator
    mpz_class n = r.get_num() % Fp::prime;
    if (n < 0) n += Fp::prime;
    x = den * Fp(static_cast<int>(n.get_si()));
    return s;
}
