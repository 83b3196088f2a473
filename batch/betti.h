// The graded Betti table of R = S/I_X, computed as the Koszul homology of
// the Artinian reduction A = R/(x_0): x_0 is a nonzerodivisor on R, so the
// graded Betti numbers of R over K[x_0..x_n] are those of A over
// K[x_1..x_n].  With r(i, d) the rank of d_i on wedge^i (x) A_d,
//   beta_(i, i+d) = C(n, i) h_A(d) - r(i, d) - r(i+1, d-1).
//
// Ranks are computed modulo a prime.  Over F_p that is exact.  Over Q and
// Q(zeta_N) the rank modulo p is a lower bound of the rank over K, and
// d_(i-1) d_i = 0 = d_i d_(i+1) give the upper bound
//   r(i, d) <= min(C(n,i) h(d) - r(i+1, d-1), C(n,i-1) h(d+1) - r(i-1, d+1)),
// which holds with the true ranks and so with the lower bounds put in.
// Where the modular rank reaches it, it is the rank over K; every other
// rank is computed again with exact arithmetic in K.
#pragma once

#include <string>
#include <vector>

class scheme;

struct betti_table {
    int n = 0;                                 // columns 0..n
    std::vector<std::vector<long long>> beta;  // beta[row][i] = beta_(i, i+row)
    // How the ranks were obtained: the prime, how many ranks the bounds
    // certified and how many were recomputed exactly.
    long long prime = 0;
    int ranks = 0, certified = 0, exact = 0;
    bool by_field_prime = false;  // the field is F_p: no certificate needed
};

// Largest dimension of the smaller side of one Koszul matrix: its echelon
// form is held in memory.
constexpr long long koszul_side_limit = 20000;

// False (with the reason in error) when a Koszul matrix is too large.
bool compute_betti(scheme& X, betti_table& table, std::string& error);
