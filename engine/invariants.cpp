#include "engine/invariants.h"

#include <iostream>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/scheme.h"
#include "engine/socle.h"
#include "fields/text.h"

namespace {

void need_bu_mo(scheme& X)
{
    if (X.delta == 0) bu_mo(X);
}

void need_separators(scheme& X)
{
    need_bu_mo(X);
    if (!X.sep_polys) sep(X);
}

// Decides is_ar_Go for a scheme whose separators are not computed yet, by
// the type: X is arithmetically Gorenstein exactly when the socle of its
// Artinian reduction has one generator, and then it is Cayley-Bacharach too.
void decide_gorenstein(scheme& X)
{
    const int type = socle_size(X);
    X.is_ar_Go = 0;
    if (type == 1) {
        X.is_ar_Go = 1;
        X.is_CB = 1;
    }
}

void value_line(std::ostream& s, const char* name, int value)
{
    s << name << " = " << value << "\n" << Line;
}

// One numbered line per polynomial: prefix, number, " = ", polynomial.
void numbered(const char* prefix, const ideal& I)
{
    for (int i = 1; i <= I.no_of_gens; ++i) {
        counter = len(i) + 4;
        std::cout << prefix << i << " = " << I.gen[i - 1] << "\n";
    }
}

}  // namespace

void alpha_X(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    value_line(s, "alpha", X.alpha);
}

void sigma_X(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    value_line(s, "sigma", X.sigma);
}

void delta_X(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    value_line(s, "delta", X.delta);
}

void delta_fct(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    s << "delta H(n) = ";
    for (int n = 0; n <= X.sigma + 1; ++n) s << X.delta_fct[n] << " ";
    s << "\n" << Line;
}

void hilb_fct(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    s << "H(n) = ";
    for (int n = 0; n <= X.sigma + 1; ++n) s << X.hilb_fct[n] << " ";
    s << "\n" << Line;
}

void is_CB(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    if (!X.is_CB && !X.sep && !decide_cayley_bacharach(X)) sep(X);
    s << (X.is_CB ? "scheme has Cayley-Bacharach property\n" : "scheme has NOT Cayley-Bacharach property\n") << Line;
}

void is_ar_Go(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    if (!X.sep) decide_gorenstein(X);
    s << (X.is_ar_Go ? "scheme is arithmetically Gorenstein\n" : "scheme is NOT arithmetically Gorenstein\n")
      << Line;
}

void order_ideal(std::ostream& s, scheme& X)
{
    need_bu_mo(X);
    s << "order ideal of X : \n";
    for (int i = 0; i < X.s; ++i) {
        if (i > 0) s << ", ";
        s << X.O[i];
    }
    s << "\n" << Line;
}

void groebner(scheme& X)
{
    need_groebner(X);
    std::cout << "Groebner basis of I(X) : \n";
    numbered("g", *X.Ix);
    std::cout << Line;
}

void separators(scheme& X)
{
    need_separators(X);
    std::cout << "separators of X : \n";
    numbered("f", *X.separator);
    std::cout << Line;
}
