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
//
// Over Q and Q(zeta_N) the points are first reduced modulo a prime p <=
// 32003 (a prime ideal over p for Q(zeta_N)) and the table of the reduced
// points is computed by the F_p engine, which needs no Groebner basis over
// K.  The point sets over the local ring at p form a flat family whose
// special fibre has the Hilbert function H_p <= H_K; when H_p is the largest
// possible, min(s, C(n+d, n)), the two agree, the special fibre is the
// reduced point set, and by semicontinuity beta_K <= beta_p entrywise with
// equal alternating sums in each degree j (they come from the Hilbert
// function).  So when no degree j has nonzero beta_p(i, j) and
// beta_p(i+1, j), beta_K = beta_p.  Otherwise the ranks are computed from
// the Groebner basis over K as above.
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
    bool by_reduction = false;    // the table of the points reduced modulo prime
};

// False (with the reason in error) when a Koszul matrix is too large.
bool compute_betti(scheme& X, betti_table& table, std::string& error);
