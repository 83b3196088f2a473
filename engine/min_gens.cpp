#include "engine/min_gens.h"

#include <iostream>
#include <vector>

#include "engine/artinian_modular.h"
#include "engine/bumo.h"
#include "engine/canonical_forms.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/interrupt.h"
#include "engine/kernel_modular.h"
#include "engine/matrix.h"
#include "engine/monom.h"
#include "engine/polynomial.h"
#include "engine/progress.h"
#include "engine/scheme.h"
#include "fields/text.h"

void create_Lf_Ix(scheme& X)
{
    const int ng = X.Ix->no_of_gens;
    X.Lf_Ix = new ideal(ng);
    for (int i = 0; i < ng; ++i) X.Lf_Ix->gen[i] = Lf(X.Ix->gen[i]);
}

namespace {

monom variable(int k)
{
    monom x;
    x.exp[k] = 1;
    return x;
}

// row i of m += f * row l of v (f = -1 subtracts).
void add_row(matrix& m, int i, const matrix& v, int l, const K& f)
{
    for (int j = 0; j < m.cols; ++j)
        if (v.a[l][j] != 0) m.a[i][j] += f * v.a[l][j];
}

}  // namespace

// The leading forms of the basis elements generate the ideal of leading
// forms, and a basis element is superfluous exactly when its leading form is
// a combination of the others modulo multiples of forms of lower degree.
// Those combinations come from the pairs of basis elements whose S-pair
// lives on a border monomial times a variable: each such pair gives one row
// of the relation matrix R, whose pivot columns are the superfluous elements.
void min_Ix(scheme& X)
{
    need_groebner(X);
    if (!X.Lf_Ix) create_Lf_Ix(X);
    if (!X.Can_Lf) create_Can_Lf(X);

    const int ng = X.Ix->no_of_gens;
    const int nb = X.no_of_border;
    const int d = dim;
    polynomial* g = X.Ix->gen;
    polynomial* can = X.Can_Lf->gen;

    // Border forms b[i] = B[i] - can(B[i]), and RV: row i writes b[i] as a
    // combination of the leading forms in its own degree.
    std::vector<polynomial> b(nb);
    matrix RV(ng, nb);
    for (int i = 0; i < nb; ++i) {
        monom& t = X.B[i];
        int l = is_el_G(X, t);
        if (l >= 0) {
            b[i] = X.Lf_Ix->gen[l];
            RV.a[i][l] = 1;
            continue;
        }
        const int dt = t.tot_deg();
        for (int k = i - 1; k >= 0; --k) {
            if (X.B[k].tot_deg() != dt - 1 || !Zn_order_le(X.B[k], t)) continue;
            if (sign(can[k]) != 0) {
                monom x = t / X.B[k];
                polynomial p = can[k];
                p *= x;
                for (int j = 0; j < p.no_of_monoms; ++j) {
                    if (is_el_O(X, p.term[j]) >= 0) continue;
                    add_row(RV, i, RV, is_el_B(X, p.term[j]), p.coef[j]);
                }
            }
            break;
        }
        b[i] = polynomial(t) - can[i];
    }

    // Pairs (i, j) whose lcm L has a divisor M = L / (x_alpha x_beta) in O;
    // then M x_alpha and M x_beta are border monomials divisible by LT(i)
    // and LT(j).  Higher lcms cannot give new relations (regularity).
    const int max_pairs = ng * (ng - 1) / 2;
    std::vector<int> alpha(max_pairs), beta(max_pairs);
    std::vector<monom> M(max_pairs);
    int no = 0;
    progress_report pairs("min: pairs of generators", ng);
    for (int i = 0; i + 1 < ng; ++i) {
        pairs.at(i);
        check_interrupt();
        for (int j = i + 1; j < ng; ++j) {
            const monom& ti = g[i].term[0];
            const monom& tj = g[j].term[0];
            monom L = lcm(ti, tj);
            if (L.tot_deg() - 2 > X.sigma + 1) continue;
            for (int k = 0; k < d; ++k) {
                if (ti.exp[k] > tj.exp[k]) alpha[no] = k;
                if (tj.exp[k] > ti.exp[k]) beta[no] = k;
            }
            monom xab = variable(alpha[no]) * variable(beta[no]);
            M[no] = L / xab;
            if (is_el_O(X, M[no]) >= 0) ++no;
        }
    }

    // Relation matrix: row p expresses x_z b[M x_a] - x_a b[M x_z] through
    // the rows of RV of its border terms.
    pairs.finish();
    matrix R(ng, no);
    const K minus_one = -K(1);
    progress_report relations("min: relations", no);
    for (int p = 0; p < no; ++p) {
        relations.at(p);
        check_interrupt();
        monom xa = variable(alpha[p]);
        monom xz = variable(beta[p]);
        monom ma = M[p] * xa;
        monom mz = M[p] * xz;
        polynomial f = b[is_el_B(X, ma)];
        f *= xz;
        polynomial h = b[is_el_B(X, mz)];
        h *= xa;
        f -= h;
        if (sign(f) == 0) continue;
        for (int j = 0; j < f.no_of_monoms; ++j) {
            int l = is_el_B(X, f.term[j]);
            if (l < 0) continue;
            add_row(R, p, RV, l, minus_one * f.coef[j]);
        }
    }

    relations.finish();
    // Only the column order is used: over Q it comes from primes, proved.
    std::vector<int> c(ng);
    std::vector<std::vector<K>> unused;
    const int e = reduced_kernel(R, c, unused);

    // The free columns c[ng-e .. ng-1] are the minimal generators; take them
    // by increasing degree, the first of the smallest degree each time.
    delete X.min_Ix;
    X.min_Ix = new ideal(e);
    for (int k = 0; k < e; ++k) {
        const int end = ng - 1 - k;
        int chosen = ng - e;
        int bound = X.sigma + 3;
        for (int pos = ng - e; pos <= end; ++pos) {
            int dg = g[c[pos]].term[0].tot_deg();
            if (dg < bound) {
                bound = dg;
                chosen = pos;
            }
        }
        hom(X.min_Ix->gen[k], g[c[chosen]]);
        c[chosen] = c[end];
    }
}

void disp_min(scheme& X)
{
    if (!X.min_Ix) min_Ix(X);
    const ideal& I = *X.min_Ix;
    std::cout << "a minimal basis for the projective vanishing ideal consists of the following\n"
              << I.no_of_gens << " polynomials :\n";
    for (int i = 1; i <= I.no_of_gens; ++i) {
        std::cout << "min" << i << " = ";
        counter = len(i) + 6;
        std::cout << I.gen[i - 1] << "\n";
    }
    std::cout << Line;
}

std::vector<int> min_generator_counts(scheme& X)
{
    if (!X.min_Ix && X.min_degs.empty()) {
        if (X.delta == 0) bu_mo(X);
        // Over Q the numbers come from ranks modulo a prime when they can.
        if (!min_degrees_modular(X, X.min_degs)) {
            X.min_degs.clear();
            min_Ix(X);
        }
    }
    if (!X.min_Ix) return X.min_degs;
    std::vector<int> counts;
    const ideal& I = *X.min_Ix;
    for (int i = 0; i < I.no_of_gens; ++i) {
        const int dg = I.gen[i].term[0].tot_deg();
        if (int(counts.size()) <= dg) counts.resize(dg + 1, 0);
        ++counts[dg];
    }
    return counts;
}

void deg_min(std::ostream& s, scheme& X)
{
    const std::vector<int> counts = min_generator_counts(X);
    s << "the degrees of the minimal generators of the projective vanishing ideal are:\n";
    for (size_t dg = 0; dg < counts.size(); ++dg)
        if (counts[dg] > 0) s << "deg " << dg << " : " << counts[dg] << " generator(s)\n";
    s << Line;
}
