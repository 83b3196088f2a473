#include "batch/koszul.h"

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
template <class E, class Neg>
class koszul_rows {
public:
    koszul_rows(const artinian& A, const koszul_piece& piece, const std::vector<std::vector<E>>& L, Neg neg)
        : n(static_cast<int>(L.size())), h0(A.h(piece.d)), h1(A.h(piece.d + 1)), piece(piece), L(L), neg(neg),
          big(n, piece.i), small(n, piece.i - 1)
    {
    }

    void fill(long long r, E* out) const
    {
        if (piece.rows_are_source()) {
            // e_S (x) o_j: the columns j of the matrices of x_s.
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
                E* block = out + big.index(S) * h0;
                const E* Ls = L[static_cast<std::size_t>(s)].data() + static_cast<std::size_t>(q) * h0;
                for (int j = 0; j < h0; ++j) block[j] = odd ? neg(Ls[j]) : Ls[j];
            }
        }
    }

private:
    int n, h0, h1;
    koszul_piece piece;
    const std::vector<std::vector<E>>& L;
    Neg neg;
    subsets big, small;
};

}  // namespace

long long koszul_rank_mod_p(const artinian& A, const koszul_piece& piece,
                            const std::vector<std::vector<uint32_t>>& L, uint32_t p)
{
    auto neg = [p](uint32_t x) { return x == 0 ? 0u : p - x; };
    koszul_rows<uint32_t, decltype(neg)> rows(A, piece, L, neg);
    const long long R = piece.rows(), C = piece.cols();
    const int cols = static_cast<int>(C);
    const uint64_t P2 = uint64_t(p) * p;
    // Echelon form by rows: pivot[c] is the stored row (pivot entry 1, zero
    // before c) with its pivot in column c.
    std::vector<std::vector<uint32_t>> pivots;
    std::vector<int> pivot(static_cast<std::size_t>(cols), -1);
    std::vector<uint32_t> row(static_cast<std::size_t>(cols));
    std::vector<uint64_t> acc(static_cast<std::size_t>(cols));
    const long long most = std::min(R, C);
    for (long long r = 0; r < R && static_cast<long long>(pivots.size()) < most; ++r) {
        std::fill(row.begin(), row.end(), 0u);
        rows.fill(r, row.data());
        std::copy(row.begin(), row.end(), acc.begin());
        int lead = -1;
        for (int c = 0; c < cols; ++c) {
            uint64_t v = acc[c] % p;
            acc[c] = v;
            if (v == 0) continue;
            if (pivot[c] < 0) {
                if (lead < 0) lead = c;
                continue;
            }
            if (lead >= 0) continue;  // reduce only up to the first free column
            const std::vector<uint32_t>& P = pivots[static_cast<std::size_t>(pivot[c])];
            dense_kernels::lazy_axpy(acc.data() + c, p - v, P.data() + c, cols - c, P2);
            acc[c] = 0;
        }
        if (lead < 0) continue;
        // Reduce the rest fully so that the stored row has residues; later
        // pivots are not eliminated from it (echelon, not reduced, form).
        dense_kernels::reduce(acc.data(), cols, p);
        std::vector<uint32_t> P(static_cast<std::size_t>(cols));
        const uint64_t inv = inverse_mod(static_cast<uint32_t>(acc[lead]), p);
        for (int c = lead; c < cols; ++c) P[c] = static_cast<uint32_t>(acc[c] * inv % p);
        pivot[lead] = static_cast<int>(pivots.size());
        pivots.push_back(std::move(P));
    }
    return static_cast<long long>(pivots.size());
}

long long koszul_rank_exact(const artinian& A, const koszul_piece& piece, const std::vector<std::vector<K>>& L)
{
    auto neg = [](const K& x) { return -x; };
    koszul_rows<K, decltype(neg)> rows(A, piece, L, neg);
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
