#include "batch/betti.h"

#include <map>
#include <utility>

#include "batch/artinian.h"
#include "batch/koszul.h"
#include "batch/residues.h"
#include "engine/bumo.h"
#include "engine/scheme.h"

namespace {

// The multiplication matrices of the variables from A_d to A_(d+1), for all
// d < top, in the ring of ops.
template <class Ops>
bool multiplication_matrices(const scheme& X, const artinian& A, const Ops& ops,
                             std::vector<std::vector<std::vector<typename Ops::elem>>>& L)
{
    std::vector<std::vector<typename Ops::elem>> forms;
    if (!border_forms(X, A, ops, forms)) return false;
    L.assign(static_cast<std::size_t>(A.top), {});
    for (int d = 0; d < A.top; ++d)
        for (int k = 0; k < A.n; ++k) L[d].push_back(multiplication_matrix(A, ops, forms, k, d));
    return true;
}

// The primes tried over Q and Q(zeta_N) before giving up: each fails only
// when it divides a denominator of the border forms.
constexpr int prime_attempts = 50;

}  // namespace

bool compute_betti(scheme& X, betti_table& table, std::string& error)
{
    if (X.delta == 0) bu_mo(X);
    const artinian A(X);
    const int n = A.n;
    table = betti_table();
    table.n = n;

    // The pieces with a nonzero matrix: 1 <= i <= n, A_d and A_(d+1) nonzero.
    std::map<std::pair<int, int>, koszul_piece> pieces;
    for (int d = 0; d < A.top; ++d)
        for (int i = 1; i <= n; ++i) {
            koszul_piece p{i, d, binomial(n, i) * A.h(d), binomial(n, i - 1) * A.h(d + 1)};
            if (std::min(p.source, p.target) > koszul_side_limit) {
                error = "the Koszul matrix of homological degree " + std::to_string(i) + " from degree " +
                        std::to_string(d) + " of the Artinian reduction is " + std::to_string(p.source) + " x " +
                        std::to_string(p.target) + ", beyond the limit of " + std::to_string(koszul_side_limit) +
                        " on its smaller side";
                return false;
            }
            pieces[{i, d}] = p;
        }

    residue_map map;
    std::vector<std::vector<std::vector<uint32_t>>> Lp;
    for (int attempt = 0;; ++attempt) {
        if (attempt == prime_attempts || (attempt > 0 && ranks_are_exact_mod_p())) {
            error = "no prime found for the ranks";
            return false;
        }
        map = choose_residue_map(attempt);
        if (multiplication_matrices(X, A, residue_ops{map}, Lp)) break;
    }
    table.prime = map.p;
    table.by_field_prime = ranks_are_exact_mod_p();

    std::map<std::pair<int, int>, long long> rank;
    for (const auto& [key, piece] : pieces) rank[key] = koszul_rank_mod_p(A, piece, Lp[key.second], map.p);
    auto r = [&](int i, int d) {
        auto it = rank.find({i, d});
        return it == rank.end() ? 0LL : it->second;
    };
    table.ranks = static_cast<int>(pieces.size());

    if (!table.by_field_prime) {
        std::vector<std::vector<std::vector<K>>> Lk;
        std::map<std::pair<int, int>, long long> checked;
        for (const auto& [key, piece] : pieces) {
            const int i = key.first, d = key.second;
            long long bound = std::min(piece.source - r(i + 1, d - 1), piece.target - r(i - 1, d + 1));
            if (rank[key] == bound) {
                ++table.certified;
                checked[key] = rank[key];
                continue;
            }
            if (Lk.empty()) multiplication_matrices(X, A, field_ops{}, Lk);
            checked[key] = koszul_rank_exact(A, piece, Lk[d]);
            ++table.exact;
        }
        rank = checked;
    }

    int last_row = 0;
    std::vector<std::vector<long long>> beta(static_cast<std::size_t>(A.top) + 1,
                                             std::vector<long long>(static_cast<std::size_t>(n) + 1, 0));
    for (int d = 0; d <= A.top; ++d)
        for (int i = 0; i <= n; ++i) {
            long long b = binomial(n, i) * A.h(d) - r(i, d) - r(i + 1, d - 1);
            beta[d][i] = b;
            if (b != 0) last_row = std::max(last_row, d);
        }
    beta.resize(static_cast<std::size_t>(last_row) + 1);
    table.beta = beta;
    return true;
}
