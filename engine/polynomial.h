// Sparse polynomials over the coefficient field K.
//
// Two parallel arrays hold the terms and their coefficients, sorted in
// strictly decreasing order under the affine ordering in use, so term[0] is
// the leading term.  The zero polynomial is the single constant term with
// coefficient 0; no other polynomial holds a zero coefficient.  The arrays
// may have more slots than no_of_monoms; the extra slots are not part of the
// value.
#pragma once

#include <iosfwd>

#include "engine/monom.h"
#include "fields/field.h"

class polynomial {
public:
    int no_of_monoms;  // number of terms, at least 1
    monom* term;       // one_term, or array-new and owned
    K* coef;           // one_coef, or array-new and owned; coef[i] belongs to term[i]

    // The zero polynomial.
    polynomial() : polynomial(0) {}
    // The constant x (through K's operator=(int)) on the constant monomial
    // with the global dim.
    explicit polynomial(int x);
    // The single term m with coefficient 1.
    explicit polynomial(const monom& m);
    // A copy with exactly f.no_of_monoms slots.
    polynomial(const polynomial& f);
    ~polynomial();

    // Copies f; reallocates only when f has more terms than self.
    polynomial& operator=(const polynomial& f);
    // Takes f's value by exchanging the arrays.
    polynomial& operator=(polynomial&& f) noexcept;
    // The single term m with coefficient 1 (storage kept).
    polynomial& operator=(const monom& m);
    // The constant x: term[0] becomes constant (its dim kept), coef[0] := x.
    polynomial& operator=(int x);

    // Makes no_of_monoms n, reallocating both arrays (contents lost) when
    // fewer than n terms were in use; the caller fills term and coef.
    void alloc(int n);

    // Merge with g in one pass, one allocation.
    polynomial& operator+=(const polynomial& g);
    polynomial& operator-=(const polynomial& g);
    // self -= x * g in one merge, without forming x * g.
    polynomial& sub_scaled(const polynomial& g, const K& x);
    // By a scalar; by zero gives the zero polynomial.
    polynomial& operator*=(const K& x);
    // Every term times m in place; the zero polynomial stays unchanged.
    polynomial& operator*=(const monom& m);

    // File form: no blanks, no line breaks (3X2Y-Z+1; zero is "0").
    void put(std::ostream& s) const;

private:
    // A polynomial of one slot keeps it here: the many zero entries of
    // module rows and matrices cost no heap allocation.
    monom one_term;
    K one_coef;

    bool inline_slot() const { return term == &one_term; }
    // Frees heap arrays; the pointers are then to be set anew.
    void release();

    // self := self + g (or - g), g's coefficients taken through gcoef.
    template <bool subtract, class Cmp, class Coef>
    void merge(const polynomial& g, Cmp cmp, Coef gcoef);
    template <bool subtract, class Coef>
    void add(const polynomial& g, Coef gcoef);
};

// Leading terms compared with the monomial operators.
bool operator<(const polynomial& f, const polynomial& g);
bool operator>(const polynomial& f, const polynomial& g);
// Same terms and coefficients in the same order.
bool operator==(const polynomial& f, const polynomial& g);
bool operator!=(const polynomial& f, const polynomial& g);

// 0 for the zero polynomial, else 1.
inline int sign(const polynomial& f) { return sign(f.coef[0]) != 0 ? 1 : 0; }
// Exponent of the homogenizing variable in the leading term.
inline int is_prj(const polynomial& f) { return f.term[0].exp[proj - 1]; }

polynomial operator+(const polynomial& f, const polynomial& g);
polynomial operator-(const polynomial& f, const polynomial& g);
polynomial operator+(const polynomial& f);
polynomial operator-(const polynomial& f);
polynomial operator*(const polynomial& f, const K& x);
// Sum over the terms of g of f times that term, one merge per term.
polynomial operator*(const polynomial& f, const polynomial& g);

// The leading form: the leading terms of highest affine degree.
polynomial Lf(const polynomial& f);
// f := the homogenization of g, with projective monomials; the global dim is
// raised to proj while the terms are built and restored afterwards.
void hom(polynomial& f, const polynomial& g);

// Screen form with line breaking at LL, keeping the global counter (the
// current output column) up to date.
std::ostream& operator<<(std::ostream& s, const polynomial& f);
