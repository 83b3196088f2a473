#include "fields/Fp8.h"

#include <cstdlib>
#include <iostream>

#include "fields/Fp.h"

int Fp8::prime = 101;
unsigned char Fp8::add[256][256];
unsigned char Fp8::sub[256][256];
unsigned char Fp8::mul[256][256];
unsigned char Fp8::div[256][256];

void Fp8::init()
{
    const int p = prime;
    Fp::prime = p;
    for (int i = 0; i < p; ++i)
        for (int j = 0; j < p; ++j) {
            add[i][j] = static_cast<unsigned char>((i + j) % p);
            sub[i][j] = static_cast<unsigned char>((i - j + p) % p);
            mul[i][j] = static_cast<unsigned char>(i * j % p);
        }
    for (int j = 1; j < p; ++j) {
        Fp inverse(j);
        inverse.invert();
        for (int i = 0; i < p; ++i)
            div[i][j] = static_cast<unsigned char>((Fp(i) * inverse).q);
    }
}

void Fp8::division_by_zero()
{
    std::cout << "\nFp8: division by zero\n";
    std::cout.flush();
    std::exit(1);
}


Fp8 abs(Fp8 x)
{
    return sign(x) == -1 ? Fp8(Fp8::sub[0][x.q]) : x;
}

int len(const Fp8& x)
{
    return len(Fp(x.q));
}

std::ostream& operator<<(std::ostream& s, const Fp8& x)
{
    return s << Fp(x.q);
}

std::istream& operator>>(std::istream& s, Fp8& x)
{
    Fp y;
    if (s >> y) x = Fp8(y.q);
    return s;
}
