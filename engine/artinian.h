// The Artinian reduction A = R/(x_0) of the coordinate ring R = S/I_X.  Its
// basis is the order ideal O, graded by degree, and its multiplication by
// the variables x_1..x_n is read off the border: x_k * o is an element of O
// or a border monomial, whose normal form modulo the leading forms of the
// Groebner basis is a combination of elements of O of its degree.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/monom.h"
#include "fields/field.h"

class scheme;

class artinian {
public:
    // Needs the Buchberger-Moeller results of X.
    explicit artinian(const scheme& X);

    int n;                   // number of variables x_1..x_n
    int top;                 // A_d != 0 exactly for 0 <= d <= top
    std::vector<int> start;  // elements of O of degree d: start[d] .. start[d+1]-1
    // x_k * O[o] for o < s, k < n: its index in O when >= 0, else
    // -1 - (its index in the border).
    std::vector<int> times;
    std::vector<monom> border;  // increasing, as X.B
    std::vector<int> corner;    // the Groebner basis element led by border[b], or -1
    // For the other border monomials: border[b] = x_var[b] * border[parent[b]].
    std::vector<int> parent, var;

    int h(int d) const { return d < 0 || d > top ? 0 : start[d + 1] - start[d]; }
    int degree(const monom& t) const { return t.tot_deg(); }
};

// The normal forms of the border monomials in A, each as coordinates over
// the elements of O of its degree, in a ring given by Ops: Ops::elem, zero(),
// bool image(const K&, elem&), elem neg(elem), void add_mul(elem& acc, elem
// a, elem b).  False when a coefficient has no image.
template <class Ops>
bool border_forms(const scheme& X, const artinian& A, const Ops& ops,
                  std::vector<std::vector<typename Ops::elem>>& forms);

// The matrix of multiplication by x_k from A_d to A_{d+1}: h(d+1) rows and
// h(d) columns, row-major, from the border forms.
template <class Ops>
std::vector<typename Ops::elem> multiplication_matrix(const artinian& A, const Ops& ops,
                                                      const std::vector<std::vector<typename Ops::elem>>& forms,
                                                      int k, int d);

#include "engine/artinian_forms.h"
