// The linear strand of the minimal free resolution of the projective
// vanishing ideal I_X: the minimal generators of the lowest degree alpha,
// their linear syzygies, the linear syzygies among those, and so on.
//
// Each step is a matrix whose rows are vectors of forms of one degree in the
// n + 1 projective variables (built while the global dim is raised to proj).
// The next step pairs rows with the same pivot column, forms their S-vectors
// and keeps the pairs whose S-vector reduces to zero: reduction is by
// variable multiples of the rows and by the irreducible S-vectors met so far,
// which together form an echelon basis of one degree, so the work is linear
// algebra over K (engine/strand_rows.h).  The same step serves the strand of
// the canonical module (engine/linom.h).
//
// The counts go to X.linres[0]: entry N is the number of elements of step N.
// The row has dim entries; a step past it (mathematically always empty) is
// computed once more to end the strand but never stored.
#pragma once

#include <iosfwd>

class scheme;

// Each of the following is false when a step of the strand does not fit in
// memory (strand_syzygies); the counts are then cleared and the flag stays 0.

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

// The steps themselves are in engine/strand_rows.h.

// value followed by blanks up to w + 1 characters (none when it is wider).
void put_cell(std::ostream& s, int value, int w);
