#include "engine/canonical_forms.h"

#include "engine/bumo.h"
#include "engine/ideal.h"
#include "engine/monom.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

// The border is sorted by a degree-compatible ordering, so every border
// monomial met while forming generator i precedes B[i] and its form is final.
void create_Can_Lf(scheme& X)
{
    X.Can_Lf = new ideal(X.no_of_border);
    polynomial* can = X.Can_Lf->gen;
    polynomial q;
    for (int i = 0; i < X.no_of_border; ++i) {
        monom& t = X.B[i];
        int l = is_el_G(X, t);
        if (l >= 0) {
            // Basis elements are monic: t minus the leading form is the rest
            // of that form with reversed signs.
            const polynomial& lf = X.Lf_Ix->gen[l];
            if (lf.no_of_monoms > 1) can[i] = polynomial(t) - lf;
            continue;
        }
        // t = B[k] * x for a border monomial B[k] one degree lower, and
        // B[k] is congruent to its form, so t is congruent to form * x,
        // whose border terms are replaced by their own forms.
        const int d = t.tot_deg();
        for (int k = i - 1; k >= 0; --k) {
            if (X.B[k].tot_deg() != d - 1 || !Zn_order_le(X.B[k], t)) continue;
            if (sign(can[k]) == 0) break;
            monom x = t / X.B[k];
            polynomial p = can[k];
            p *= x;
            for (int j = 0; j < p.no_of_monoms; ++j) {
                monom& w = p.term[j];
                if (is_el_O(X, w) >= 0) {
                    q = w;
                    q *= p.coef[j];
                } else {
                    q = can[is_el_B(X, w)];
                    q *= p.coef[j];
                }
                can[i] += q;
            }
            break;
        }
    }
}
