// Polynomial addition and product over F_31991 in three affine variables:
// random polynomials with a few hundred terms of degree <= 12.
#include <chrono>
#include <cstdio>

#include "engine/polynomial.h"
#include "fields/field.h"

namespace {

struct xorshift {
    unsigned long long s = 0x2545f4914f6cdd1dull;
    unsigned next()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return static_cast<unsigned>(s >> 32);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<unsigned>(n)); }
};

// About `terms` random terms of degree <= max_deg (repeats merge).
polynomial random_poly(xorshift& rng, int terms, int max_deg)
{
    polynomial f(0);
    for (int i = 0; i < terms; ++i) {
        monom m;
        int budget = rng.below(max_deg + 1);
        for (int v = 0; v < dim && budget > 0; ++v) {
            int e = v == dim - 1 ? budget : rng.below(budget + 1);
            m.exp[v] = static_cast<int16_t>(e);
            budget -= e;
        }
        polynomial p(m);
        p *= Fp(1 + rng.below(Fp::prime - 1));
        f += p;
    }
    return f;
}

double seconds_since(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void run(int terms, int max_deg, int add_reps, int mul_reps)
{
    xorshift rng;
    polynomial f = random_poly(rng, terms, max_deg);
    polynomial g = random_poly(rng, terms, max_deg);

    auto t0 = std::chrono::steady_clock::now();
    long checksum = 0;
    for (int r = 0; r < add_reps; ++r) {
        polynomial s = f + g;
        checksum += s.no_of_monoms;
    }
    double add = seconds_since(t0) / add_reps;

    polynomial acc(0);
    t0 = std::chrono::steady_clock::now();
    for (int r = 0; r < add_reps; ++r) {
        acc += f;
        acc -= g;
    }
    double inplace = seconds_since(t0) / (2.0 * add_reps);

    polynomial p(0);
    t0 = std::chrono::steady_clock::now();
    for (int r = 0; r < mul_reps; ++r) p = f * g;
    double mul = seconds_since(t0) / mul_reps;

    std::printf("terms f %d, g %d, f+g %d, f*g %d (max degree %d)\n", f.no_of_monoms, g.no_of_monoms,
                (f + g).no_of_monoms, p.no_of_monoms, max_deg);
    std::printf("  f + g      %10.2f us\n", add * 1e6);
    std::printf("  acc += f   %10.2f us  (acc %d terms)\n", inplace * 1e6, acc.no_of_monoms);
    std::printf("  f * g      %10.2f ms\n", mul * 1e3);
    if (checksum < 0) std::printf("%ld\n", checksum);
}

}  // namespace

int main()
{
    field_set_defaults();
    std::printf("F_%d, dim %d, deg-rev-lex\n", Fp::prime, dim);
    run(150, 10, 20000, 20);
    run(300, 12, 10000, 10);
    run(600, 16, 5000, 5);
    return 0;
}
