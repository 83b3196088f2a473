// The linear strand of the minimal free resolution of the projective
// vanishing ideal I_X: the minimal generators of the lowest degree alpha,
// their linear syzygies, the linear syzygies among those, and so on.
//
// Each step is a matrix whose rows are vectors of homogeneous polynomials in
// the n + 1 projective variables (built while the global dim is raised to
// proj).  The next step pairs rows with the same pivot column, forms their
// S-vectors and keeps the pairs whose S-vector reduces to zero: reduction is
// by monomial multiples of the rows and by the irreducible S-vectors met so
// far, which together form an echelon basis of one degree, so the work is
// linear algebra over K.  The same step serves the strand of the canonical
// module (engine/linom.h).
//
// The counts go to X.linres[0]: entry N is the number of elements of step N.
// The row has dim entries; a step past it (mathematically always empty) is
// computed once more to end the strand but never stored.
#pragma once

#include <iosfwd>

#include "engine/polynomial.h"

class scheme;

// Each of the following is false when a step of the strand is too large to
// be computed (strand_syzygies); the counts are then cleared and the flag
// stays 0.

// Command linid: computes X.linres[0] once (flag X.linid); runs min_Ix first
// when the minimal generators are absent.
bool linid(scheme& X);
// Command linsyz: recomputes the steps, rewriting the counts it reaches (the
// flag is untouched), and prints the surviving rows of every step N >= 1
// with a non-zero count as "[ e_1;\n e_2 ... ]".
bool linsyz(scheme& X);
// Recomputes the counts (setting the flag) and writes, for every step with a
// non-zero count, its block: "\n", N + 1, ". matrix of linear resolution of
// I_X : \n", the number of columns, the count, then the entries of the
// surviving rows in file form, one per line.
bool putlinid(scheme& X, std::ostream& file);
// Recomputes the steps and writes, for every step N >= 1 with a non-zero
// count, the number of columns, the count and the surviving rows' entries.
bool putlinsyz(scheme& X, std::ostream& file);
// The table of X.linres[0] under the degrees alpha - j; computes nothing.
void disp_linid(std::ostream& s, scheme& X);

// What the strands share.

// Projective polynomials are built while the global dim is raised to proj;
// the destructor restores it on every way out.
struct raised_dim {
    int saved;
    raised_dim();
    ~raised_dim();
    raised_dim(const raised_dim&) = delete;
    raised_dim& operator=(const raised_dim&) = delete;
};

// One step of a strand: r rows of c polynomials, owned, zero at creation.
class strand_matrix {
public:
    int r, c;
    polynomial** row;  // r arrays of c polynomials (row is null when r is 0)

    strand_matrix(int rows, int cols);
    ~strand_matrix();
    strand_matrix(const strand_matrix&) = delete;
    strand_matrix& operator=(const strand_matrix&) = delete;
    // Exchanges the contents (the next step replaces the current one).
    void swap(strand_matrix& m);
};

// The number of pairs i < j of rows with Lt[i] = Lt[j] != -1.  With
// generators set (the first step of I_X: one column of monic generators) only
// the linear pairs count: those whose leading monomials have an lcm one
// degree above the leading monomial of row i.
long long strand_pairs(const strand_matrix& A, const int* Lt, bool generators);

// The candidate syzygies of A: B gets one row per pair counted by
// strand_pairs (number of them), with A.r columns; a pair whose S-vector does
// not reduce to zero leaves a zero row.  Prints "." for each such pair, and,
// while verbose is set, the countdown and its heading.
//
// The step holds number x (A.r + A.c) polynomials at once, each an object of
// some 150 bytes even when zero (more over Q(zeta_N), whose elements hold
// field_degree() rationals), and their number grows like binomial
// coefficients in the dimension (few points in a space of high dimension).
// A step of more than max_strand_cells / field_degree() of them is not
// computed: the message "linear strand too large to be computed !\n" is
// printed, B is untouched and the result is false.
constexpr long long max_strand_cells = 8000000;
bool strand_syzygies(const strand_matrix& A, const int* Lt, long long number, bool generators,
                     strand_matrix& B);

// The number of rows with Lt != -1.
int strand_count(const int* Lt, int r);
// Every surviving row on standard output as "[ e_1;\n...e_c ]\n".
void print_strand_rows(const strand_matrix& A, const int* Lt);
// Every surviving row's entries in file form, one per line.
void put_strand_rows(std::ostream& file, const strand_matrix& A, const int* Lt);
// value followed by blanks up to w + 1 characters (none when it is wider).
void put_cell(std::ostream& s, int value, int w);
