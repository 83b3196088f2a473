#include "fields/cyclotomic_points.h"

// Since zeta^N = 1 the powers are the table entries, (zeta^k)^e = zeta^(k e
// mod N): no repeated products.
QN root_power(long long i)
{
    i %= QN::N;
    if (i >= QN::n) return QN_phi[i - QN::n];
    QN x(0);
    x.a[i] = 1;
    return x;
}

int euler_phi(int s)
{
    int phi = s;
    for (int p = 2; p * p <= s; ++p) {
        if (s % p != 0) continue;
        while (s % p == 0) s /= p;
        phi -= phi / p;
    }
    if (s > 1) phi -= phi / s;
    return phi;
}
