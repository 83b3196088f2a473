#include "engine/socle.h"

#include <iostream>
#include <vector>

#include "engine/artinian_modular.h"
#include "engine/bumo.h"
#include "engine/canonical_forms.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/kernel_modular.h"
#include "engine/list.h"
#include "engine/matrix.h"
#include "engine/min_gens.h"
#include "engine/monom.h"
#include "engine/normal_forms_modular.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

// R/(X_0) has the K-basis O, graded by degree; an element of O times a
// degree-1 standard monomial is either in O or a border monomial, which
// equals its canonical form.  The degree-1 standard monomials span the
// degree-1 part, so an element is in the socle when each of them kills it.
// In each degree below the top the socle is the kernel of the multiplication
// map into the next degree, restricted to the elements of O from the first
// one of the block up to the corner: elements above the corner have a
// multiple inside O and cannot lead a socle element.
int socle_corner(const scheme& X, int deg, int first, int n1)
{
    for (int i = X.hilb_fct[deg] - 1; i >= first; --i) {
        bool found = false;
        for (int k = 1; k <= n1 && !found; ++k) found = is_el_O(X, X.O[i] * X.O[k]) >= 0;
        if (!found) return i;
    }
    return -1;
}

namespace {

// A degree of the socle computation: its elements of O run from first to
// the corner (see socle_corner).
struct socle_degree {
    int deg, first, corner;
};

// The canonical forms of the border monomials in the products of the socle
// degrees with the degree-1 standard monomials, slot[b] the form of B[b].
// The canonical form of a border monomial t of degree d is the degree-d part
// of its normal form modulo I(X): t minus its normal form lies in I(X), and
// its degree-d part, t minus the degree-d part of the normal form, is a
// leading form.  Over Q just these coefficients come from primes (proved),
// so the rational Groebner basis is not needed; otherwise, or when it is
// already there, they are read from X.Can_Lf.
std::vector<normal_form> border_forms(scheme& X, const std::vector<socle_degree>& degrees, int n1,
                                      std::vector<int>& slot)
{
    slot.assign(static_cast<size_t>(X.no_of_border), -1);
    std::vector<monom> ts;
    for (const socle_degree& sd : degrees)
        for (int i = sd.first; i <= sd.corner; ++i)
            for (int k = 1; k <= n1; ++k) {
                const monom t = X.O[i] * X.O[k];
                if (is_el_O(X, t) >= 0) continue;
                const int b = is_el_B(X, t);
                if (slot[b] >= 0) continue;
                slot[b] = static_cast<int>(ts.size());
                ts.push_back(t);
            }

    // The elements of O in the degrees of the products.
    std::vector<int> rs;
    for (const socle_degree& sd : degrees)
        for (int r = X.hilb_fct[sd.deg]; r < X.hilb_fct[sd.deg] + X.delta_fct[sd.deg + 1]; ++r) rs.push_back(r);
    std::vector<normal_form> forms(ts.size());
    std::vector<std::vector<K>> coefs;
    if (!X.groebner && !X.Can_Lf && normal_form_coefficients(X, rs, ts, coefs)) {
        for (size_t i = 0; i < ts.size(); ++i) {
            const int d = ts[i].tot_deg();
            for (size_t j = rs.size(); j-- > 0;) {
                if (X.O[rs[j]].tot_deg() != d || coefs[i][j] == 0) continue;
                forms[i].at.push_back(rs[j]);
                forms[i].coef.push_back(coefs[i][j]);
            }
        }
        return forms;
    }

    need_groebner(X);
    if (!X.Lf_Ix) create_Lf_Ix(X);
    if (!X.Can_Lf) create_Can_Lf(X);
    for (int b = 0; b < X.no_of_border; ++b) {
        if (slot[b] < 0) continue;
        const polynomial& pol = X.Can_Lf->gen[b];
        if (sign(pol) == 0) continue;
        normal_form& f = forms[slot[b]];
        for (int t = 0; t < pol.no_of_monoms; ++t) {
            f.at.push_back(is_el_O(X, pol.term[t]));
            f.coef.push_back(pol.coef[t]);
        }
    }
    return forms;
}

}  // namespace

void socle(scheme& X)
{
    if (X.delta == 0) bu_mo(X);
    if (X.socle) return;

    const int rX = X.sigma + 1;
    const int n1 = X.s > 1 ? X.hilb_fct[1] - 1 : 0;  // degree-1 standard monomials O[1..n1]
    auto block_start = [&](int d) { return d == 0 ? 0 : X.hilb_fct[d - 1]; };
    list<polynomial> gens;

    // The top degree is killed by every variable.
    for (int i = X.s - 1; i >= block_start(rX); --i) gens.add(polynomial(X.O[i]));

    // Below alpha - 1 every monomial of the next degree is standard.
    std::vector<socle_degree> degrees;
    for (int deg = rX - 1; deg >= 1 && deg >= X.alpha - 1; --deg) {
        const int first = block_start(deg);
        const int corner = socle_corner(X, deg, first, n1);
        if (corner >= 0) degrees.push_back({deg, first, corner});
    }
    std::vector<int> slot;
    const std::vector<normal_form> forms = border_forms(X, degrees, n1, slot);

    for (const socle_degree& sd : degrees) {
        const int corner = sd.corner;
        const int cols = corner - sd.first + 1;
        const int block = X.delta_fct[sd.deg + 1];
        const int next = X.hilb_fct[sd.deg];  // first position of degree deg+1
        const int rows = n1 * block;
        matrix m(cols, rows);
        for (int jj = 0; jj < cols; ++jj) {
            for (int k = 1; k <= n1; ++k) {
                const int row0 = (k - 1) * block - next;
                const monom tmp = X.O[corner - jj] * X.O[k];
                const int pos = is_el_O(X, tmp);
                if (pos >= 0) {
                    m.a[row0 + pos][jj] = 1;
                    continue;
                }
                const normal_form& f = forms[slot[is_el_B(X, tmp)]];
                for (size_t t = 0; t < f.at.size(); ++t) m.a[row0 + f.at[t]][jj] = f.coef[t];
            }
        }

        std::vector<int> c(cols);
        std::vector<std::vector<K>> free;
        const int e = reduced_kernel(m, c, free);
        const int q = cols - e;
        for (int j = 0; j < e; ++j) {
            const int np = c[cols - 1 - j];
            polynomial pol(X.O[corner - np]);
            for (int ll = 0; ll < q; ++ll) {
                const K& f = free[e - 1 - j][ll];
                if (f == 0) continue;
                polynomial pol1(X.O[corner - c[ll]]);
                pol1 *= f;
                pol -= pol1;
            }
            gens.add(pol);
        }
    }

    X.socle = new ideal(gens.no_of_items);
    for (int i = 0; i < X.socle->no_of_gens; ++i) gens.min_del(X.socle->gen[i]);
}

void disp_socle(std::ostream& s, scheme& X)
{
    if (!X.socle) socle(X);
    const ideal& I = *X.socle;
    s << "the socle of R/(X_0) is generated by the following " << I.no_of_gens
      << " polynomials :\n";
    for (int i = 1; i <= I.no_of_gens; ++i) s << "soc" << i << " = " << I.gen[i - 1] << "\n";
    s << Line;
}

int socle_size(scheme& X)
{
    if (X.delta == 0) bu_mo(X);
    if (X.socle) return X.socle->no_of_gens;
    if (!X.socle_count) X.socle_count = type_modular(X);
    if (X.socle_count) return X.socle_count;
    socle(X);
    return X.socle->no_of_gens;
}

void typ(scheme& X)
{
    const int type = socle_size(X);
    std::cout << "type of X is " << type << "\n" << Line;
}
