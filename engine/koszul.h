// The Koszul complex of the Artinian reduction A over K[x_1..x_n], one
// graded piece of one differential at a time:
//   d_i : wedge^i K^n (x) A_d  ->  wedge^(i-1) K^n (x) A_(d+1),
//   e_S (x) a  |->  sum over s in S of (-1)^(position of s in S) e_(S\s) (x) x_s a.
// Its ranks give the graded Betti numbers of A, which are those of R.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/artinian.h"
#include "engine/residues.h"
#include "fields/field.h"

// Residues modulo p as the ring of the border forms.
struct residue_ops {
    using elem = uint32_t;
    const residue_map& map;
    uint32_t zero() const { return 0; }
    uint32_t one() const { return 1; }
    bool image(const K& x, uint32_t& r) const { return map.image(x, r); }
    uint32_t neg(uint32_t a) const { return a == 0 ? 0 : map.p - a; }
    void add_mul(uint32_t& acc, uint32_t a, uint32_t b) const
    {
        acc = static_cast<uint32_t>((acc + uint64_t(a) * b) % map.p);
    }
};

// The field itself.
struct field_ops {
    using elem = K;
    K zero() const { return K(0); }
    K one() const { return K(1); }
    bool image(const K& x, K& r) const
    {
        r = x;
        return true;
    }
    K neg(const K& a) const { return -a; }
    void add_mul(K& acc, const K& a, const K& b) const { acc += a * b; }
};

// The i-element subsets of {0..n-1} as bit masks in colexicographic order,
// and the position of a mask in that order.
class subsets {
public:
    subsets(int n, int i);
    std::vector<uint32_t> masks;
    long long index(uint32_t mask) const;

private:
    std::vector<std::vector<long long>> binomial;
};

long long binomial(int n, int k);

// Largest dimension of the smaller side of one Koszul matrix: its echelon
// form is held in memory.
constexpr long long koszul_side_limit = 16000;

// The shape of d_i on wedge^i (x) A_d: which side the rows of the matrix
// are.  The rows are the target's basis unless the source is more than
// twice as large: eliminating these rows fills in far less (26 points of
// P^12: 5e10 multiply-adds for the largest matrix against 1.7e11 with the
// source as rows, and never more in the sets measured).  A source wider
// than the side limit is rows too, so that the echelon form never holds
// more than the limit squared.
struct koszul_piece {
    int i, d;
    long long source, target;  // dimensions
    bool rows_are_source() const { return source > 2 * target || source > koszul_side_limit; }
    long long rows() const { return rows_are_source() ? source : target; }
    long long cols() const { return rows_are_source() ? target : source; }
};

// The rank of d_i on wedge^i (x) A_d, from the multiplication matrices
// L[k] : A_d -> A_(d+1) (h(d+1) x h(d), row-major) of the variables (as
// many variables as matrices): modulo the prime p, or in K.  The modular
// elimination stops as soon as the rank reaches bound, an upper bound of it
// known beforehand (d_i d_(i+1) = 0: source - r(i+1, d-1)); the rows left
// cannot raise it.  From A_1, variable_of (the variable, among those of
// L, that each basis element of A_1 is) lets the elimination leave out
// C(n, i+1) source elements known to be combinations of the others; empty:
// all are taken.
// From the matrices L0[s] of the variables from A_0 to A_1 (one column
// each): the variable that each of the h1 basis elements of A_1 is, for
// koszul_rank_mod_p; empty unless every basis element is one of them.
std::vector<int> variables_of_degree_one(const std::vector<std::vector<uint32_t>>& L0, int h1);
long long koszul_rank_mod_p(const artinian& A, const koszul_piece& piece,
                            const std::vector<std::vector<uint32_t>>& L, uint32_t p, long long bound,
                            const std::vector<int>& variable_of);
long long koszul_rank_exact(const artinian& A, const koszul_piece& piece, const std::vector<std::vector<K>>& L);
