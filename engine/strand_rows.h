// The steps of a linear strand as linear algebra in one degree.
//
// Every entry of a step is a form of one known degree in the n + 1
// projective variables, so a row is a vector over K indexed by (monomial of
// that degree, column).  A row is kept as the sorted list of its non-zero
// coefficients at the positions
//
//     pos = index of the monomial * width + live column,
//
// the monomials numbered greatest first.  The first position of a row is
// then its leading term in the order the strands use (the greatest monomial,
// the first column on ties), so leading terms are read off, never searched.
//
// Columns that are zero in every row (the columns of the rows of the previous
// step that vanished) take no positions: `live` maps the live columns to the
// columns as written.
//
// Everything here is built while the global dim is raised to proj.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <vector>

#include "engine/monom.h"
#include "engine/polynomial.h"

// The projective monomials of full degree d (the homogenizing exponent
// counted), greatest first under the ordering in use.
class degree_basis {
public:
    explicit degree_basis(int d);
    int degree() const { return d_; }
    int size() const { return static_cast<int>(m_.size()); }
    const monom& operator[](int i) const { return m_[i]; }
    // The index of m, -1 when m is not of this degree.
    int index(const monom& m) const;

private:
    int d_;
    std::vector<monom> m_;
};

// The number of projective monomials of full degree d (binomial(d + n, n)
// for n + 1 variables), saturated at limit.
long long monomials_of_degree(int d, long long limit);

class strand_rows {
public:
    int deg = 1;              // the degree of every entry
    int cols = 0;             // columns as written, zero columns included
    std::vector<int> live;    // live column -> column as written
    std::vector<int> start{0};  // row i holds entries start[i] .. start[i+1]-1
    std::vector<int> pos;
    std::vector<K> coef;

    int rows() const { return static_cast<int>(start.size()) - 1; }
    int width() const { return static_cast<int>(live.size()); }
    bool zero_row(int i) const { return start[i] == start[i + 1]; }
    // Closes the row whose entries were pushed since the last one.
    void end_row() { start.push_back(static_cast<int>(pos.size())); }
    void clear_rows();
};

// Rows of polynomial entries (dim raised) made into strand rows of the
// degree of their first non-zero entry, every column live.  False when an
// entry is not a form of that degree.
bool to_strand_rows(const std::vector<std::vector<polynomial>>& M, int cols, strand_rows& A);
// Row i as cols polynomials, the zero columns included.
std::vector<polynomial> row_polynomials(const strand_rows& A, int i);

// Brings the rows into echelon form in place, in order: a row is reduced by
// the earlier non-zero row with its leading term (each is monic there) until
// its leading term is new, then made monic.  Lt[i] receives the written
// pivot column of row i, -1 for a row that is or became zero.
void interreduce(strand_rows& A, std::vector<int>& Lt);

// The number of pairs i < j of rows with Lt[i] = Lt[j] != -1.  With
// generators set (the first step of I_X: one column of generators with
// distinct leading monomials) only the linear pairs count: those whose
// leading monomials have an lcm one degree above them.
long long strand_pairs(const strand_rows& A, const std::vector<int>& Lt, bool generators);

// The candidate syzygies of A (interreduced, or the generators): B gets one
// row per pair counted by strand_pairs (number of them), linear forms in the
// A.rows() columns; a pair whose S-vector does not reduce to zero leaves a
// zero row.  The S-vector x_uj * row j - x_ui * row i is reduced by the
// irreducible S-vectors met so far (an echelon basis, looked up by leading
// term) and by variable multiples of the rows (the first row whose leading
// term divides), the combination kept in the row of B.  Prints "." for each
// irreducible S-vector and, while verbose is set, the countdown and its
// heading.
//
// A step whose working storage would pass strand_memory_limit bytes is
// refused with "linear strand too large to be computed !\n": B is untouched
// and the result is false.
//
// syzygies: how many syzygies the step finds, when the caller knows it (a
// graded Betti number), else -1.  Past the generators, the pairs
// correspond one to one to the multiples x_v * row k that lead where an
// earlier row's multiple leads, so the syzygies the pairs leave are
// independent and their number is the dimension of the linear syzygies,
// and the number of irreducible S-vectors is pairs - syzygies.  With none,
// nothing is reduced: the same "." marks and countdown are written and B
// gets a zero row for each pair.  Over the small prime fields, with some,
// the pairs are first reduced on a sample of the positions, which the
// count of irreducible S-vectors proves right or sends back to the whole.
// Ignored for the generators.
bool strand_syzygies(const strand_rows& A, const std::vector<int>& Lt, long long number, bool generators,
                     strand_rows& B, long long syzygies = -1);

// At most the multiply-adds of a step with number pairs: each pair meets
// at most every variable multiple of every entry of A.
double strand_step_work(const strand_rows& A, long long number);

// The bytes a step may take; by default half of the physical memory.
extern std::size_t strand_memory_limit;
// Whether a step first reduces every pair by the multiples of the rows of A
// (the pairs shared between the cores), then by the irreducible S-vectors,
// rather than each pair by whichever reducer leads; the results are the
// same.  By default over the small prime fields only.
extern bool strand_rows_first;
// How many pairs go through that first reduction together, each as it would
// alone; 0 (the default): four when the rows of A are many, else one.
extern int strand_first_group;

// How many of the positions where no multiple leads a sampled step takes;
// 0 (the default): one in 32, then one in 4, at least 16 per irreducible
// S-vector to find.
extern long long strand_sample_positions;

// The number of rows with Lt != -1.
int strand_count(const std::vector<int>& Lt);
// Every surviving row on standard output as "[ e_1;\n...e_c ]\n".
void print_strand_rows(const strand_rows& A, const std::vector<int>& Lt);
// Every surviving row's entries in file form, one per line.
void put_strand_rows(std::ostream& file, const strand_rows& A, const std::vector<int>& Lt);
