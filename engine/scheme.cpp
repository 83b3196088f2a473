#include "engine/scheme.h"

#include "engine/globals.h"

bool scheme_fits(long long s, int degree)
{
    return s <= 10000 && s * s * degree <= 100000000;
}

int max_scheme_points()
{
    int s = 10000;
    while (s > 1 && !scheme_fits(s, field_degree())) --s;
    return s;
}

scheme::scheme(int ss)
    : s(ss),
      P(new matrix(dim, ss)),
      ev_q(nullptr),
      q(nullptr),
      pi(nullptr),
      separator(new ideal(ss)),
      Ix(nullptr),
      Lf_Ix(nullptr),
      min_Ix(nullptr),
      socle(nullptr),
      socle_count(0),
      Can_Lf(nullptr),
      O(new monom[ss]),
      B(nullptr),
      no_of_border(0),
      hilb_fct(new int[ss]()),
      delta_fct(new int[ss]()),
      sigma(0),
      delta(0),
      alpha(0),
      is_CB(0),
      is_ar_Go(0),
      beta_matrix(nullptr),
      basis(nullptr),
      no_of_pr(0),
      pr_deg(nullptr),
      pr(nullptr),
      A_d_cols(0),
      A_d_maxdeg(0),
      A_d_coldeg(nullptr),
      A_d(nullptr),
      sep(0),
      sep_polys(0),
      groebner(0),
      linid(0),
      linom(0),
      linres(new int*[2])
{
    q = new polynomial[ss];
    pi = new int[ss]();
    ev_q = new matrix(ss, ss);
    // Tables that no computation has filled read as zeros.
    linres[0] = new int[dim]();
    linres[1] = new int[dim]();
}

void scheme::renew_triangular_system()
{
    sep = 0;
    sep_polys = 0;
    make_triangular_storage();
}

void scheme::make_triangular_storage()
{
    if (q) return;
    q = new polynomial[s];
    pi = new int[s]();
    ev_q = new matrix(s, s);
}

scheme::~scheme()
{
    delete P;
    delete separator;
    delete[] O;
    delete[] B;
    delete min_Ix;
    delete Can_Lf;
    delete Ix;
    delete Lf_Ix;
    delete socle;
    delete[] delta_fct;
    delete[] hilb_fct;
    delete beta_matrix;
    delete[] basis;
    delete[] pr_deg;
    delete[] pr;
    delete[] A_d_coldeg;
    delete[] A_d;
    delete[] pi;
    delete[] q;
    delete ev_q;
    delete[] linres[0];
    delete[] linres[1];
    delete[] linres;
}
