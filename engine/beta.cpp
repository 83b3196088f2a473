#include "engine/beta.h"

#include <iostream>
#include <memory>
#include <vector>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

// The top-degree standard monomials O[s-delta..s-1] are taken from the
// largest down; for each, the lowest-numbered point whose reduced leading
// form starts with it becomes the next basis element, and the leading forms
// of the other points starting with it are reduced by that one.  Throughout,
// for every point j:
//   Lf(separator j) = red_Lf[j] + sum_k beta[j][k] * Lf(separator basis[k]),
// and row b of basis_matrix writes red_Lf[basis[b]] in the unreduced leading
// forms of the chosen separators basis[0..b].
void beta_matrix(scheme& X)
{
    if (X.beta_matrix) return;
    if (X.delta == 0) bu_mo(X);
    if (!X.sep_polys) sep(X);

    const int s = X.s;
    const int delta = X.delta;
    // Stored only when complete: the loop may be interrupted.
    std::unique_ptr<int[]> basis(new int[delta]());
    std::unique_ptr<matrix> beta_m(new matrix(delta, s));
    matrix& beta = *beta_m;
    matrix basis_matrix(delta, delta);
    std::vector<polynomial> red_Lf(s);
    for (int j = 0; j < s; ++j) red_Lf[j] = Lf(X.separator->gen[j]);

    if (verbose) std::cerr << "calculating beta matrix ...\n";
    int b = -1;
    K tmp(0);
    for (int i = s - 1; i >= s - delta; --i) {
        if (verbose) std::cerr << "[" << i + delta - s + 1 << "]";
        check_interrupt();
        int flag = -1;
        for (int j = 0; j < s; ++j) {
            const polynomial& f = red_Lf[j];
            if (sign(f) == 0 || !aff_eq(f.term[0], X.O[i])) continue;
            if (flag < 0) {
                ++b;
                basis[b] = j;
                flag = j;
                for (int k = 0; k < b; ++k) basis_matrix.a[b][k] = -beta.a[j][k];
                basis_matrix.a[b][b] = 1;
                for (int k = 0; k < delta; ++k) beta.a[j][k] = 0;
                beta.a[j][b] = 1;
            } else {
                tmp = red_Lf[j].coef[0] / red_Lf[flag].coef[0];
                red_Lf[j].sub_scaled(red_Lf[flag], tmp);
                for (int k = 0; k <= b; ++k) beta.a[j][k] += tmp * basis_matrix.a[b][k];
            }
        }
    }
    if (verbose) std::cerr << "\n";
    X.basis = basis.release();
    X.beta_matrix = beta_m.release();
}

void disp_beta_matrix(scheme& X)
{
    if (!X.beta_matrix) beta_matrix(X);
    std::cout << "the beta_matrix with respect to the following separators :\n";
    for (int b = 0; b < X.delta; ++b) std::cout << "f" << X.basis[b] + 1 << ", ";
    std::cout << "\n" << *X.beta_matrix << Line;
}
