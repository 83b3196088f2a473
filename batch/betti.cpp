#include "batch/betti.h"

#include <algorithm>
#include <map>
#include <utility>

#include "engine/artinian.h"
#include "engine/koszul.h"
#include "engine/residues.h"
#include "batch/engine_setup.h"
#include "batch/entry.h"
#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/parallel.h"
#include "engine/scheme.h"
#include "interpreter/point_entry.h"

namespace {

// The multiplication matrices of the variables from A_d to A_(d+1), for all
// d < top, in the ring of ops.
template <class Ops>
bool multiplication_matrices(const scheme& X, const artinian& A, const std::vector<int>& variables, const Ops& ops,
                             std::vector<std::vector<std::vector<typename Ops::elem>>>& L)
{
    std::vector<std::vector<typename Ops::elem>> forms;
    if (!border_forms(X, A, ops, forms)) return false;
    L.assign(static_cast<std::size_t>(A.top), {});
    for (int d = 0; d < A.top; ++d)
        for (int k : variables) L[d].push_back(multiplication_matrix(A, ops, forms, k, d));
    return true;
}

// The primes tried over Q and Q(zeta_N) before giving up: each fails only
// when it divides a denominator of the border forms.
constexpr int prime_attempts = 50;

#if !defined(TARV_FIELD_FP)
// Whether the table has no two nonzero entries that a family could cancel:
// beta(i, j) and beta(i+1, j), i.e. rows r and r-1 of columns i and i+1.
bool no_cancellable_pair(const std::vector<std::vector<long long>>& beta)
{
    for (std::size_t r = 1; r < beta.size(); ++r)
        for (std::size_t i = 0; i + 1 < beta[r].size(); ++i)
            if (beta[r][i] != 0 && beta[r - 1][i + 1] != 0) return false;
    return true;
}

// The attempts at primes <= 32003 for the reduced points.
constexpr int reduction_attempts = 8;

// The table by the F_p engine on the points reduced modulo a prime, when
// the conditions of betti.h certify it.
bool betti_by_reduction(const scheme& X, betti_table& table)
{
    const int n = dim, s = X.s;
    for (int attempt = 0; attempt < reduction_attempts; ++attempt) {
        residue_map map = choose_residue_map(attempt, 32004);
        std::vector<int> coordinates;
        bool integral = true;
        for (int i = 0; i < s && integral; ++i)
            for (int j = 0; j < n && integral; ++j) {
                uint32_t r;
                integral = map.image(X.P->a[i][j], r);
                coordinates.push_back(static_cast<int>(r));
            }
        modular_betti result;
        if (!integral || !batch_betti_fp(n, s, static_cast<int>(map.p), monom_ordering, coordinates, result)) {
            if (result.too_large) return false;
            continue;
        }
        for (std::size_t d = 0; d < result.hilbert.size(); ++d)
            if (result.hilbert[d] != std::min<long long>(s, binomial(n + static_cast<int>(d), n))) return false;
        if (!no_cancellable_pair(result.beta)) return false;
        table = betti_table();
        table.n = n;
        table.beta = result.beta;
        table.prime = map.p;
        table.by_reduction = true;
        return true;
    }
    return false;
}
#endif

}  // namespace

bool compute_betti(scheme& X, betti_table& table, std::string& error)
{
#if !defined(TARV_FIELD_FP)
    if (betti_by_reduction(X, table)) return true;
#endif
    need_groebner(X);
    const artinian A(X);
    table = betti_table();
    table.n = A.n;
    // The variables that are elements of O generate A: the others are
    // linear combinations of them in A_1, i.e. I_X holds A.n - n linear
    // forms.  A is resolved over the polynomial ring in these n variables;
    // over all of them the resolution is that one tensored with the Koszul
    // complex of the linear forms.
    std::vector<int> variables;
    for (int k = 0; k < A.n; ++k)
        if (A.times[static_cast<std::size_t>(k)] >= 0) variables.push_back(k);
    const int n = static_cast<int>(variables.size());

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
        if (multiplication_matrices(X, A, variables, residue_ops{map}, Lp)) break;
    }
    table.prime = map.p;
    table.by_field_prime = ranks_are_exact_mod_p();

    // The n variables are independent in A_1, so A agrees with the
    // polynomial ring up to degree 1, whose Koszul complex is exact: d_i is
    // injective on wedge^i (x) A_0.
    std::map<std::pair<int, int>, long long> rank;
    auto r = [&](int i, int d) {
        auto it = rank.find({i, d});
        return it == rank.end() ? 0LL : it->second;
    };
    // Degree by degree, so that r(i+1, d-1) bounds r(i, d); the pieces of a
    // degree are independent and shared between the cores, the largest
    // first.
    for (int d = 0; d < A.top; ++d) {
        std::vector<std::pair<int, koszul_piece>> level;
        for (const auto& [key, piece] : pieces)
            if (key.second == d) level.emplace_back(key.first, piece);
        if (d == 0) {
            for (const auto& [i, piece] : level) rank[{i, d}] = piece.source;
            continue;
        }
        std::vector<long long> bound, found(level.size());
        for (const auto& [i, piece] : level) bound.push_back(piece.source - r(i + 1, d - 1));
        auto work = [&](const koszul_piece& piece, long long b) {
            return static_cast<double>(piece.rows()) * static_cast<double>(piece.cols()) *
                   static_cast<double>(std::min(piece.cols(), b));
        };
        std::vector<std::size_t> order(level.size());
        for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
        std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
            return work(level[x].second, bound[x]) > work(level[y].second, bound[y]);
        });
        // From A_1 = span of the variables: which basis element each is
        // (column 0 of the multiplication by x_s from A_0; the variables are
        // elements of O, so it has one non-zero entry).  Anything else, and
        // no source element is left out.
        std::vector<int> variable_of;
        if (d == 1) variable_of = variables_of_degree_one(Lp[0], A.h(1));
        parallel_items(order.size(), [&](std::size_t k) {
            const std::size_t j = order[k];
            found[j] = koszul_rank_mod_p(A, level[j].second, Lp[d], map.p, bound[j], variable_of);
        });
        for (std::size_t j = 0; j < level.size(); ++j) rank[{level[j].first, d}] = found[j];
    }
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
            if (Lk.empty()) multiplication_matrices(X, A, variables, field_ops{}, Lk);
            checked[key] = koszul_rank_exact(A, piece, Lk[d]);
            ++table.exact;
        }
        rank = checked;
    }

    int last_row = 0;
    const int linear_forms = A.n - n;
    std::vector<std::vector<long long>> beta(static_cast<std::size_t>(A.top) + 1,
                                             std::vector<long long>(static_cast<std::size_t>(A.n) + 1, 0));
    for (int d = 0; d <= A.top; ++d)
        for (int i = 0; i <= n; ++i) {
            long long b = binomial(n, i) * A.h(d) - r(i, d) - r(i + 1, d - 1);
            for (int k = 0; k <= linear_forms; ++k) beta[d][i + k] += binomial(linear_forms, k) * b;
            if (b != 0) last_row = std::max(last_row, d);
        }
    beta.resize(static_cast<std::size_t>(last_row) + 1);
    table.beta = beta;
    return true;
}

#if defined(TARV_FIELD_FP)
bool batch_betti_fp(int n, int s, int p, int ordering, const std::vector<int>& coordinates, modular_betti& result)
{
    set_engine_defaults(ordering);
    Fp::prime = p;
    dim = n;
    proj = n + 1;
    scheme X(s);
    for (int i = 0; i < s; ++i)
        for (int j = 0; j < n; ++j) X.P->a[i][j] = Fp(coordinates[static_cast<std::size_t>(i) * n + j]);
    int i, k;
    if (find_equal_points(*X.P, i, k)) return false;
    betti_table table;
    std::string error;
    if (!compute_betti(X, table, error)) {
        result.too_large = true;
        return false;
    }
    result.hilbert.assign(X.hilb_fct, X.hilb_fct + X.sigma + 2);
    result.beta = table.beta;
    return true;
}
#endif
