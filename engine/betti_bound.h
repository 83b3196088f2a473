// Graded Betti numbers of R = S/I_X for the linear strands, from the
// Koszul homology of the Artinian reduction A = R/(x_0) (koszul.h): with
// r(i, d) the rank of d_i on wedge^i (x) A_d,
//   beta_(i, i+d) = C(n, i) h_A(d) - r(i, d) - r(i+1, d-1).
// The ranks are taken modulo a prime.  A rank modulo p is at most the rank
// over K, so the value is at least beta_(i, i+d): over F_p it is beta
// itself, over Q and Q(zeta_N) an upper bound, and a bound of 0 proves
// beta_(i, i+d) = 0.
//
// A step of a linear strand that finds beta syzygies need not reduce its
// pairs when beta is known to be 0 (every pair is then irreducible), and
// over F_p may reduce them on a sample of the positions when beta is known
// (strand_syzygies).
// The table is asked only where its ranks cost little beside the step:
// betti_budget times the step's bound (strand_step_work); the estimate of
// an elimination (rows * cols * the smaller of them) is far above what the
// early stop at the bound of the rank leaves of it.
constexpr double betti_budget = 16;
#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "engine/artinian.h"
#include "engine/residues.h"

class scheme;

// Whether the strands take the numbers of syzygies from the table (the
// default); the tests compare both ways.
extern bool strand_steps_from_betti;

class betti_bound {
public:
    // Takes dim as it is now (the affine dimension); the work is done at
    // the first question, whatever dim is then.
    explicit betti_bound(const scheme& X);
    ~betti_bound();
    // beta_(i, i+d) from the ranks modulo the prime: exact over F_p, at
    // least beta over Q and Q(zeta_N); -1 when it is not available (no
    // Groebner basis, points in a hyperplane, no usable prime, a Koszul
    // matrix beyond koszul_side_limit).
    long long upper(int i, int d);
    // The top degree of A (the last row of the Betti table), -1 when not
    // available.
    int top();
    // The number of syzygies of a step of a strand in row d, whose rows at
    // hand are count = beta_(i, i+d) in number: beta_(next, next+d), when
    // it is proved (over F_p; over Q and Q(zeta_N) only when it is 0), else
    // -1.  The count is checked against the table, so that a strand and
    // the table read differently never use it.  The ranks are computed
    // only when their eliminations are estimated at no more than budget
    // multiply-adds (a Koszul matrix of points spread over many degrees can
    // be far larger than the step it would spare); else the answer is -1.
    long long step_syzygies(int i, int next, int d, long long count, double budget);

private:
    bool ready();
    long long rank(int i, int d);
    // The estimated multiply-adds of the ranks that upper(i, d) still has
    // to compute.
    double pending(int i, int d);
    double pending_rank(int i, int d);

    const scheme& X_;
    int n_;
    bool tried_ = false;
    std::unique_ptr<artinian> A_;
    residue_map map_;
    std::vector<std::vector<std::vector<uint32_t>>> L_;  // L_[d][k]: x_k from A_d to A_(d+1)
    std::vector<int> variable_of_;
    std::map<std::pair<int, int>, long long> ranks_;
};
