#include "engine/koszul.h"

#include <algorithm>

#include "engine/dense_rows.h"

long long binomial(int n, int k)
{
    if (k < 0 || k > n) return 0;
    long long r = 1;
    for (int j = 1; j <= k; ++j) r = r * (n - k + j) / j;
    return r;
}

subsets::subsets(int n, int i)
{
    binomial.assign(static_cast<std::size_t>(n) + 1, std::vector<long long>(static_cast<std::size_t>(n) + 2, 0));
    for (int m = 0; m <= n; ++m)
        for (int k = 0; k <= n + 1; ++k) binomial[m][k] = ::binomial(m, k);
    if (i == 0) {
        masks.push_back(0);
        return;
    }
    if (i > n) return;
    // Gosper's successor: the next larger mask with as many bits, which is
    // the colexicographic successor.
    for (uint32_t m = (1u << i) - 1; m < (1u << n);) {
        masks.push_back(m);
        uint32_t c = m & (~m + 1), r = m + c;
        m = (((r ^ m) >> 2) / c) | r;
    }
}

long long subsets::index(uint32_t mask) const
{
    long long r = 0;
    for (int k = 1; mask; ++k) {
        int b = __builtin_ctz(mask);
        r += binomial[b][k];
        mask &= mask - 1;
    }
    return r;
}

namespace {

// Writes row r of the matrix of the piece into out (zeroed by the caller,
// cols() entries).  neg(x) is -x in the ring of the entries.
//
// From A_1 (given variable_of, the variable each basis element of A_1 is),
// the source is cut down: d_(i+1)(e_T (x) 1) = sum over t in T of
// +-e_(T\t) (x) x_t lies in the kernel of d_i, and its term at t = min T has
// coefficient +-1, so e_S (x) x_t with t < min S is a combination of the
// other basis elements modulo that kernel.  Leaving these C(n, i+1) out of
// the source (rows or columns) does not change the rank.
template <class E, class Neg>
class koszul_rows {
public:
    koszul_rows(const artinian& A, const koszul_piece& piece, const std::vector<std::vector<E>>& L, Neg neg,
                const std::vector<int>& variable_of)
        : n(static_cast<int>(L.size())), h0(A.h(piece.d)), h1(A.h(piece.d + 1)), piece(piece), L(L), neg(neg),
          big(n, piece.i), small(n, piece.i - 1)
    {
        if (variable_of.empty()) return;
        for (std::size_t k = 0; k < big.masks.size(); ++k)
            for (int j = 0; j < h0; ++j) {
                const bool image_term = variable_of[static_cast<std::size_t>(j)] < __builtin_ctz(big.masks[k]);
                column.push_back(image_term ? -1 : static_cast<int>(kept.size()));
                if (!image_term) kept.push_back(static_cast<long long>(k) * h0 + j);
            }
    }

    long long source() const { return kept.empty() ? piece.source : static_cast<long long>(kept.size()); }
    long long rows() const { return piece.rows_are_source() ? source() : piece.target; }
    long long cols() const { return piece.rows_are_source() ? piece.target : source(); }

    void fill(long long r, E* out) const
    {
        if (piece.rows_are_source()) {
            // e_S (x) o_j: the columns j of the matrices of x_s.
            if (!kept.empty()) r = kept[static_cast<std::size_t>(r)];
            const uint32_t S = big.masks[static_cast<std::size_t>(r / h0)];
            const int j = static_cast<int>(r % h0);
            int pos = 0;
            for (int s = 0; s < n; ++s) {
                if (!(S >> s & 1)) continue;
                E* block = out + small.index(S ^ (1u << s)) * h1;
                const E* Ls = L[static_cast<std::size_t>(s)].data();
                for (int q = 0; q < h1; ++q) {
                    const E& x = Ls[static_cast<std::size_t>(q) * h0 + j];
                    block[q] = pos % 2 ? neg(x) : x;
                }
                ++pos;
            }
        } else {
            // The coefficient of e_T (x) o'_q in the images: rows q of the
            // matrices of x_s for s outside T.
            const uint32_t T = small.masks[static_cast<std::size_t>(r / h1)];
            const int q = static_cast<int>(r % h1);
            for (int s = 0; s < n; ++s) {
                if (T >> s & 1) continue;
                const uint32_t S = T | (1u << s);
                const bool odd = __builtin_popcount(T & ((1u << s) - 1)) % 2;
                const long long at = big.index(S) * h0;
                const E* Ls = L[static_cast<std::size_t>(s)].data() + static_cast<std::size_t>(q) * h0;
                for (int j = 0; j < h0; ++j) {
                    const long long c = column.empty() ? at + j : column[static_cast<std::size_t>(at + j)];
                    if (c >= 0) out[c] = odd ? neg(Ls[j]) : Ls[j];
                }
            }
        }
    }

private:
    int n, h0, h1;
    koszul_piece piece;
    const std::vector<std::vector<E>>& L;
    Neg neg;
    subsets big, small;
    std::vector<long long> kept;  // the source indices kept, when cut down
    std::vector<int> column;      // a source index's place among them, -1 if left out
};

}  // namespace

namespace {

// The echelon rows of the modular elimination: row k has its pivot (entry
// 1) in column lead[k] and keeps only the entries from there on.
template <class Entry>
struct echelon_rows {
    std::vector<int> lead;
    std::vector<std::vector<Entry>> tail;
    const Entry* from(int k, int c) const
    {
        const std::size_t i = static_cast<std::size_t>(k);
        return tail[i].data() + (c - lead[i]);
    }
};

// The rank modulo p with entries stored as Entry and accumulated lazily in
// Acc (32 and 64 bits: the primes from 2^15 on; below, rank_by_panels
// does it faster).  Rows are taken in
// groups: the group is swept once against the echelon rows found before
// it, so that each echelon row is read from memory once for the group and
// not once for every row (the elimination is bound by that reading); then
// each row of the group is finished in turn against the echelon rows the
// earlier ones added.
template <class Entry, class Acc, class Rows>
long long rank_mod_p(const Rows& rows, long long R, int cols, long long most, uint32_t p)
{
    constexpr int group = 16;
    const Acc P2 = static_cast<Acc>(p) * p;
    echelon_rows<Entry> E;
    std::vector<int> pivot(static_cast<std::size_t>(cols), -1);
    std::vector<uint32_t> row(static_cast<std::size_t>(cols));
    std::vector<std::vector<Acc>> acc(group, std::vector<Acc>(static_cast<std::size_t>(cols)));
    std::vector<int> first(group);
    auto rank = [&] { return static_cast<long long>(E.lead.size()); };
    // Column c of a against echelon row e (-1: none there): true when a has
    // a non-zero entry there and no echelon row, which ends its reduction;
    // otherwise the entry is made 0.
    auto step = [&](std::vector<Acc>& a, int c, int e) {
        const Acc v = a[c] % p;
        a[c] = v;
        if (v == 0) return false;
        if (e < 0) return true;
        dense_kernels::lazy_axpy(a.data() + c, static_cast<Acc>(p - v), E.from(e, c), cols - c, P2);
        a[c] = 0;
        return false;
    };
    // Reduces a from column c on by the echelon rows, up to its first column
    // without one; that column, or -1 when the row became 0.
    auto reduce_from = [&](std::vector<Acc>& a, int c) {
        for (; c < cols; ++c)
            if (step(a, c, pivot[c])) return c;
        return -1;
    };
    for (long long r0 = 0; r0 < R && rank() < most; r0 += group) {
        const int g = static_cast<int>(std::min<long long>(group, R - r0));
        // The sweep: column by column, so that an echelon row serves the
        // whole group while it is in the cache.
        for (int k = 0; k < g; ++k) {
            std::fill(row.begin(), row.end(), 0u);
            rows.fill(r0 + k, row.data());
            std::copy(row.begin(), row.end(), acc[k].begin());
            first[k] = 0;
        }
        std::vector<int> active(static_cast<std::size_t>(g));
        for (int k = 0; k < g; ++k) active[k] = k;
        for (int c = 0; c < cols && !active.empty(); ++c) {
            const int e = pivot[c];
            for (std::size_t a = 0; a < active.size();) {
                if (step(acc[active[a]], c, e)) {  // the sweep of this row ends
                    first[active[a]] = c;
                    active.erase(active.begin() + static_cast<long>(a));
                    continue;
                }
                ++a;
            }
        }
        for (int k : active) first[k] = -1;  // reduced to 0
        for (int k = 0; k < g && rank() < most; ++k) {
            if (first[k] < 0) continue;
            const int lead = reduce_from(acc[k], first[k]);
            if (lead < 0) continue;
            dense_kernels::reduce(acc[k].data() + lead, cols - lead, p);
            const uint64_t inv = inverse_mod(static_cast<uint32_t>(acc[k][lead]), p);
            std::vector<Entry> tail(static_cast<std::size_t>(cols - lead));
            for (int c = lead; c < cols; ++c) tail[c - lead] = static_cast<Entry>(acc[k][c] * inv % p);
            pivot[lead] = static_cast<int>(rank());
            E.lead.push_back(lead);
            E.tail.push_back(std::move(tail));
        }
    }
    return rank();
}

// The rank modulo p < 2^15 by panels.  A panel is the set of echelon rows
// one group of rows produced; its rows are zero at the pivots of the panels
// before it and at each other's pivots, and zero before their own pivot.
// Hence the coefficients by which a panel reduces a row are the row's own
// entries at the panel's pivots, all read before the panel is applied, and
// the panel's rows go into the row together, two at a time through the
// 16-bit multiply-add, with the accumulator held in a register meanwhile.
// A group, reduced by every panel, is zero at every pivot found before it;
// the reduced echelon form of the group itself then gives the next panel.
struct panel {
    int from = 0;             // a multiple of 16 at or before every pivot
    int width = 0;            // words per pair: the padded columns from `from` on
    std::vector<int> pivots;  // of rows 0, 1, ...: pair m holds rows 2m and 2m+1
    std::vector<uint32_t> pairs;
    const uint32_t* pair(int m) const { return pairs.data() + static_cast<std::size_t>(m) * width - from; }
};

template <class Rows>
long long rank_by_panels(const Rows& rows, long long R, int cols, long long most, uint32_t p)
{
    constexpr int group = 16, tile = 1024;
    const uint32_t P2 = p * p;
    const int padded = (cols + 15) / 16 * 16;
    std::vector<panel> panels;
    long long rank = 0;
    std::vector<std::vector<uint32_t>> acc(group, std::vector<uint32_t>(static_cast<std::size_t>(padded)));
    // Per row of the group, the coefficient words and rows of the pairs
    // with a nonzero coefficient.
    std::vector<std::vector<uint32_t>> coefficient(group);
    std::vector<std::vector<const uint32_t*>> source(group);
    std::vector<uint16_t> tail(static_cast<std::size_t>(padded));
    for (long long r0 = 0; r0 < R && rank < most; r0 += group) {
        const int g = static_cast<int>(std::min<long long>(group, R - r0));
        for (int k = 0; k < g; ++k) {
            std::fill(acc[k].begin(), acc[k].end(), 0u);
            rows.fill(r0 + k, acc[k].data());
        }
        for (const panel& P : panels) {
            const int count = static_cast<int>(P.pivots.size()), npairs = (count + 1) / 2;
            for (int k = 0; k < g; ++k) {
                coefficient[k].clear();
                source[k].clear();
                for (int m = 0; m < npairs; ++m) {
                    auto negated = [&](int j) {
                        if (j >= count) return 0u;
                        const uint32_t v = acc[k][P.pivots[j]] % p;
                        return v == 0 ? 0u : p - v;
                    };
                    const uint32_t word = negated(2 * m) | negated(2 * m + 1) << 16;
                    if (word == 0) continue;
                    coefficient[k].push_back(word);
                    source[k].push_back(P.pair(m));
                }
            }
            for (int c = P.from; c < padded; c += tile) {
                const int end = std::min(padded, c + tile);
                for (int k = 0; k < g; ++k)
                    if (!coefficient[k].empty())
                        dense_kernels::add_pair_products(acc[k].data(), coefficient[k].data(), source[k].data(),
                                                         static_cast<int>(coefficient[k].size()), c, end, P2);
            }
        }
        // The reduced echelon form of the group: each new pivot row is
        // normalised and its column cleared in every other row of the group.
        std::vector<int> pivot_of(static_cast<std::size_t>(g), -1);
        for (int k = 0; k < g && rank < most; ++k) {
            std::vector<uint32_t>& a = acc[k];
            dense_kernels::reduce(a.data(), cols, p);
            int lead = 0;
            while (lead < cols && a[lead] == 0) ++lead;
            if (lead == cols) continue;
            const uint64_t inv = inverse_mod(a[lead], p);
            for (int c = lead; c < cols; ++c) tail[c] = static_cast<uint16_t>(a[c] * inv % p);
            for (int c = lead; c < cols; ++c) a[c] = tail[c];
            for (int j = 0; j < g; ++j) {
                if (j == k) continue;
                const uint32_t v = acc[j][lead] % p;
                if (v == 0) continue;
                dense_kernels::lazy_axpy(acc[j].data() + lead, p - v, tail.data() + lead, cols - lead, P2);
            }
            pivot_of[k] = lead;
            ++rank;
        }
        panel next;
        std::vector<int> members;
        for (int k = 0; k < g; ++k)
            if (pivot_of[k] >= 0) members.push_back(k);
        if (members.empty()) continue;
        next.from = padded;
        for (int k : members) {
            next.pivots.push_back(pivot_of[k]);
            next.from = std::min(next.from, pivot_of[k] / 16 * 16);
        }
        next.width = padded - next.from;
        const int npairs = (static_cast<int>(members.size()) + 1) / 2;
        next.pairs.assign(static_cast<std::size_t>(npairs) * next.width, 0u);
        for (std::size_t j = 0; j < members.size(); ++j) {
            std::vector<uint32_t>& a = acc[members[j]];
            dense_kernels::reduce(a.data() + next.from, cols - next.from, p);  // earlier members were changed
            uint32_t* out = next.pairs.data() + (j / 2) * static_cast<std::size_t>(next.width) - next.from;
            const int shift = j % 2 ? 16 : 0;
            for (int c = next.from; c < cols; ++c) out[c] |= a[c] << shift;
        }
        panels.push_back(std::move(next));
    }
    return rank;
}

}  // namespace

std::vector<int> variables_of_degree_one(const std::vector<std::vector<uint32_t>>& L0, int h1)
{
    std::vector<int> variable_of(static_cast<std::size_t>(h1), -1);
    const auto nonzero = [](uint32_t x) { return x != 0; };
    for (std::size_t s = 0; s < L0.size(); ++s) {
        const std::vector<uint32_t>& column = L0[s];
        const auto at = std::find_if(column.begin(), column.end(), nonzero);
        if (at == column.end() || std::count_if(column.begin(), column.end(), nonzero) != 1) return {};
        variable_of[static_cast<std::size_t>(at - column.begin())] = static_cast<int>(s);
    }
    if (std::count(variable_of.begin(), variable_of.end(), -1) > 0) return {};
    return variable_of;
}

long long koszul_rank_mod_p(const artinian& A, const koszul_piece& piece,
                            const std::vector<std::vector<uint32_t>>& L, uint32_t p, long long bound,
                            const std::vector<int>& variable_of)
{
    auto neg = [p](uint32_t x) { return x == 0 ? 0u : p - x; };
    koszul_rows<uint32_t, decltype(neg)> rows(A, piece, L, neg, variable_of);
    const long long R = rows.rows(), most = std::min({R, rows.cols(), bound});
    const int cols = static_cast<int>(rows.cols());
    if (p < (1u << 15)) return rank_by_panels(rows, R, cols, most, p);
    return rank_mod_p<uint32_t, uint64_t>(rows, R, cols, most, p);
}

long long koszul_rank_exact(const artinian& A, const koszul_piece& piece, const std::vector<std::vector<K>>& L)
{
    auto neg = [](const K& x) { return -x; };
    koszul_rows<K, decltype(neg)> rows(A, piece, L, neg, {});
    const long long R = piece.rows(), C = piece.cols();
    const int cols = static_cast<int>(C);
    std::vector<std::vector<K>> pivots;
    std::vector<int> pivot(static_cast<std::size_t>(cols), -1);
    std::vector<K> row(static_cast<std::size_t>(cols));
    const long long most = std::min(R, C);
    for (long long r = 0; r < R && static_cast<long long>(pivots.size()) < most; ++r) {
        std::fill(row.begin(), row.end(), K(0));
        rows.fill(r, row.data());
        int lead = -1;
        for (int c = 0; c < cols && lead < 0; ++c) {
            if (row[c] == 0) continue;
            if (pivot[c] < 0) {
                lead = c;
                break;
            }
            const K f = row[c];
            const std::vector<K>& P = pivots[static_cast<std::size_t>(pivot[c])];
            for (int k = c; k < cols; ++k)
                if (!(P[k] == 0)) row[k] -= f * P[k];
        }
        if (lead < 0) continue;
        K inv = row[lead];
        inv.invert();
        std::vector<K> P(static_cast<std::size_t>(cols));
        for (int c = lead; c < cols; ++c) P[c] = row[c] * inv;
        pivot[lead] = static_cast<int>(pivots.size());
        pivots.push_back(std::move(P));
    }
    return static_cast<long long>(pivots.size());
}
