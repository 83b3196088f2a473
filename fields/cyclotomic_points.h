// The numbers the cyclotomic point sets are made of: powers of the chosen
// root of unity zeta in Q(zeta_N), and the degree of Q(zeta_s).
#pragma once

#include "fields/QN.h"

// zeta^i in the current field Q(zeta_N), i >= 0.
QN root_power(long long i);

// Euler's phi: the degree of Q(zeta_s) over Q.
int euler_phi(int s);
