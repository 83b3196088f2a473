// A finite point set of projective n-space with every result computed for
// it.  Results are filled lazily by the algorithms; a null pointer (or a zero
// flag) means "not computed yet".
#pragma once

#include <vector>

#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/monom.h"
#include "engine/polynomial.h"
#include "fields/field.h"

// Whether a scheme of s points over a field whose elements hold degree
// numbers each (field_degree) can be held in memory: its work storage holds
// s x s elements from the start (the values of the triangular system), so at
// most 10000 points and at most 10^8 numbers in that matrix.
bool scheme_fits(long long s, int degree);
// The most points a scheme over the current field may have.
int max_scheme_points();

class scheme {
public:
    int s;                 // number of points
    matrix* P;             // s rows of n affine coordinates; point i is (1 : P[i])
    matrix* ev_q;          // s x s values of the triangular sequence (null once released)
    polynomial* q;         // the triangular sequence, s polynomials (null once released)
    int* pi;               // pivot point of each q[j] (null once released)
    ideal* separator;      // separator i takes 1 at point i and 0 at the others
    ideal* Ix;             // reduced Groebner basis of I(X), increasing leading terms
    ideal* Lf_Ix;          // leading forms of the Ix generators
    ideal* min_Ix;         // minimal homogeneous generators of I_X
    std::vector<int> min_degs;  // their number in each degree, when known without them
    ideal* socle;          // socle generators of R/(X_0)
    int socle_count;       // their number when known without them; 0: not known
    ideal* Can_Lf;         // canonical forms of the border monomials
    monom* O;              // the order ideal, s monomials in increasing order
    monom* B;              // the border, no_of_border monomials in increasing order
    int no_of_border;
    int* hilb_fct;         // H(0), H(1), ..., s entries
    int* delta_fct;        // first difference of H
    int sigma;
    int delta;             // 0 until the Buchberger-Moeller results exist
    int alpha;
    int is_CB;
    int is_ar_Go;
    matrix* beta_matrix;
    int* basis;
    int no_of_pr;          // number of projections of the canonical module; 0 = not computed
    int* pr_deg;
    int* pr;
    int A_d_cols;
    int A_d_maxdeg;
    int* A_d_coldeg;
    polynomial* A_d;
    int sep;               // 1 once the separators were asked for: is_CB and is_ar_Go are set
    int sep_polys;         // 1 once the separator polynomials exist (q, ev_q, pi released)
    int groebner;          // 1 once Ix, q, ev_q and pi hold the Buchberger-Moeller results;
                           // over Q the order ideal and border (delta != 0) may come alone
    int linid;             // 1 once the linear strand of I_X exists
    int linom;             // 1 once the linear strand of w_R exists
    int** linres;          // two rows of n entries: the strands of I_X and w_R

    explicit scheme(int ss);
    ~scheme();
    scheme(const scheme&) = delete;
    scheme& operator=(const scheme&) = delete;

    // Re-creates the work data of the Buchberger-Moeller computation (q,
    // ev_q, pi) when the separators released it, so that it can run again;
    // the separators count as not asked for.
    void renew_triangular_system();
    // Allocates q, ev_q and pi where the separators released them.
    void make_triangular_storage();
};
