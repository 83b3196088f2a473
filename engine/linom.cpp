#include "engine/linom.h"

#include <algorithm>
#include <utility>
#include <iostream>
#include <string>
#include <vector>

#include "engine/betti_bound.h"
#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/linid.h"
#include "engine/omega.h"
#include "engine/scheme.h"
#include "engine/strand_rows.h"
#include "fields/text.h"

namespace {

// Degree of a projective monomial, the homogenizing exponent included.
int full_deg(const monom& m)
{
    return m.tot_deg() + m.exp[proj - 1];
}

bool is_linear(const polynomial& f)
{
    return full_deg(f.term[0]) == 1;
}

// The first step (dim raised by the caller): the rows are the linear columns
// of A_d restricted to the generators of the highest degree, the last A_c of
// them.  Stores the number of generators in linres[1][n-1].  False (with a
// message) when the entries are not forms of one degree.
bool first_step(scheme& X, int n, strand_rows& A)
{
    const int np = X.no_of_pr, cols = X.A_d_cols;
    const int top = X.O[X.pr[np - 1]].tot_deg();
    int A_c = 1;
    for (int m = 0; m < np - 1; ++m)
        if (X.O[X.pr[m]].tot_deg() == top) ++A_c;
    const int first = np - A_c;
    std::vector<int> linear_cols;
    for (int col = 0; col < cols; ++col) {
        int k = 0;
        while (k < A_c && !is_linear(X.A_d[(first + k) * cols + col])) ++k;
        if (k < A_c) linear_cols.push_back(col);
    }
    std::vector<std::vector<polynomial>> M(linear_cols.size(), std::vector<polynomial>(A_c));
    for (std::size_t i = 0; i < M.size(); ++i)
        for (int k = 0; k < A_c; ++k) M[i][k] = X.A_d[(first + k) * cols + linear_cols[i]];
    if (!to_strand_rows(M, A_c, A)) {
        ++reported_errors;
        std::cout << "linear strand: the presentation is not linear in its top degree\n";
        return false;
    }
    X.linres[1][n - 1] = A_c;
    if (verbose) std::cout << "w_R has " << A_c << " generators in degree " << -X.sigma << "\n";
    return true;
}

// The first step with its syzygies counted in linres[1][n-2] (commands
// linomsyz and putlinomsyz), then the rows written to one of the streams.
void first_syzygies(scheme& X, std::ostream* screen, std::ostream* file)
{
    if (!X.no_of_pr) omega(X);
    const int n = dim;
    {
        raised_dim raised;
        strand_rows A;
        if (!first_step(X, n, A)) return;
        std::vector<int> Lt;
        interreduce(A, Lt);
        const int l = strand_count(Lt);
        X.linres[1][n - 2] = l;
        if (verbose) std::cout << l << " syzygies in degree " << -X.sigma - 1 << " found\n";
        if (l != 0) {
            if (screen) print_strand_rows(A, Lt);
            if (file) {
                *file << A.cols << "\n" << l << "\n";
                put_strand_rows(*file, A, Lt);
            }
        }
    }
    if (verbose) std::cout << Line;
}

// All steps (linom, putlinom).  Steps N <= n-1 are stored.  The strand of
// w_R has length at most n, so step n + 1 is computed to see it end, and not
// continued.
// False when a step was too large; the counts are then cleared.
bool steps(scheme& X, std::ostream* file)
{
    const int n = dim;
    for (int j = 0; j < n; ++j) X.linres[1][j] = 0;
    betti_bound betti(X);
    {
        raised_dim raised;
        strand_rows A;
        if (!first_step(X, n, A)) return false;
        std::vector<int> Lt;
        // The first pass runs even without rows.
        for (int N = 1;; ++N) {
            interreduce(A, Lt);
            const int l = strand_count(Lt);
            if (N <= n - 1) X.linres[1][n - 1 - N] = l;
            if (verbose) std::cout << l << " syzygies in degree " << -X.sigma - N << " found\n";
            if (file && l != 0) {
                *file << "\n" << N << ". matrix of linear resolution of w_R : \n"
                      << A.cols << "\n" << l << "\n";
                put_strand_rows(*file, A, Lt);
            }
            const long long number = N == n + 1 ? 0 : strand_pairs(A, Lt, false);
            // The strand of w_R is the last row t of the Betti table read
            // backwards: l = beta_(n-N, n-N+t), and the step finds
            // beta_(n-N-1, n-N-1+t) syzygies.
            const long long syzygies =
                number == 0 ? -1
                            : betti.step_syzygies(n - N, n - N - 1, betti.top(), l,
                                                  betti_budget * strand_step_work(A, number));
            strand_rows B;
            if (!strand_syzygies(A, Lt, number, false, B, syzygies)) {
                for (int j = 0; j < n; ++j) X.linres[1][j] = 0;
                return false;
            }
            std::swap(A, B);
            if (A.rows() == 0) break;
        }
    }
    X.linom = 1;
    if (verbose) std::cout << Line;
    return true;
}

// The canonical module first (its own results are stored only when
// complete), then the steps.  An interrupted run puts back the counts it
// started from: those of a strand computed before, or zeros.
bool run_steps(scheme& X, std::ostream* file)
{
    if (!X.no_of_pr) omega(X);
    const std::vector<int> before(X.linres[1], X.linres[1] + dim);
    try {
        return steps(X, file);
    } catch (const computation_interrupted&) {
        std::copy(before.begin(), before.end(), X.linres[1]);
        throw;
    }
}

}  // namespace

bool linom(scheme& X)
{
    if (X.linom) return true;
    return run_steps(X, nullptr);
}

bool putlinom(scheme& X, std::ostream& file)
{
    return run_steps(X, &file);
}

void linomsyz(scheme& X)
{
    first_syzygies(X, &std::cout, nullptr);
}

void putlinomsyz(scheme& X, std::ostream& file)
{
    first_syzygies(X, nullptr, &file);
}

void disp_linom(std::ostream& s, scheme& X)
{
    const int n = dim;
    const int* counts = X.linres[1];
    std::vector<int> w(n);
    int rule = 6;
    for (int p = 0; p < n; ++p) {
        const int l = len(counts[n - 1 - p]);
        w[p] = l > 3 ? l : 3;
        rule += w[p] + 1;
    }
    s << "    | ";
    for (int p = 0; p < n; ++p) put_cell(s, p + 1, w[p]);
    s << "\n" << std::string(rule, '-') << "\n";
    s << "deg | ";
    for (int p = 0; p < n; ++p) put_cell(s, -X.sigma - p, w[p]);
    s << "\nw_R | ";
    for (int p = 0; p < n; ++p) put_cell(s, counts[n - 1 - p], w[p]);
    s << "\n" << Line;
}
