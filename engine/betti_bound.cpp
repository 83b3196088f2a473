#include "engine/betti_bound.h"

#include <algorithm>

#include "engine/globals.h"
#include "engine/koszul.h"
#include "engine/scheme.h"

namespace {

// The primes tried over Q and Q(zeta_N): each fails only when it divides a
// denominator of the border forms.
constexpr int prime_attempts = 8;

// dim set to the affine dimension while the Artinian reduction is made.
struct affine_dim {
    int saved;
    explicit affine_dim(int n) : saved(dim) { dim = n; }
    ~affine_dim() { dim = saved; }
};

}  // namespace

bool strand_steps_from_betti = true;

betti_bound::betti_bound(const scheme& X) : X_(X), n_(dim) {}

betti_bound::~betti_bound() = default;

bool betti_bound::ready()
{
    if (tried_) return A_ != nullptr;
    tried_ = true;
    if (!X_.groebner || X_.Ix == nullptr) return false;
    affine_dim affine(n_);
    auto A = std::make_unique<artinian>(X_);
    // Every variable must be an element of O (independent in A_1): else I_X
    // holds linear forms and the table is that of fewer variables.
    for (int k = 0; k < A->n; ++k)
        if (A->times[static_cast<std::size_t>(k)] < 0) return false;
    for (int attempt = 0; attempt < prime_attempts; ++attempt) {
        if (attempt > 0 && ranks_are_exact_mod_p()) return false;
        map_ = choose_residue_map(attempt);
        std::vector<std::vector<uint32_t>> forms;
        if (!border_forms(X_, *A, residue_ops{map_}, forms)) continue;
        L_.assign(static_cast<std::size_t>(A->top), {});
        for (int d = 0; d < A->top; ++d)
            for (int k = 0; k < A->n; ++k) L_[d].push_back(multiplication_matrix(*A, residue_ops{map_}, forms, k, d));
        if (A->top >= 1) variable_of_ = variables_of_degree_one(L_[0], A->h(1));
        A_ = std::move(A);
        return true;
    }
    return false;
}

int betti_bound::top()
{
    return ready() ? A_->top : -1;
}

// The rank modulo the prime of d_i on wedge^i (x) A_d, -1 when too large.
long long betti_bound::rank(int i, int d)
{
    const int n = A_->n;
    if (i < 1 || i > n || d < 0 || d >= A_->top) return 0;  // a zero space on one side
    // The variables are independent in A_1, so A agrees with the polynomial
    // ring up to degree 1, whose Koszul complex is exact there.
    if (d == 0) return binomial(n, i);
    const auto key = std::make_pair(i, d);
    const auto known = ranks_.find(key);
    if (known != ranks_.end()) return known->second;
    const koszul_piece piece{i, d, binomial(n, i) * A_->h(d), binomial(n, i - 1) * A_->h(d + 1)};
    long long r = -1;
    if (std::min(piece.source, piece.target) <= koszul_side_limit) {
        // d_i d_(i+1) = 0: the rank is at most source - r(i+1, d-1).
        const long long below = rank(i + 1, d - 1);
        const long long bound = below < 0 ? piece.source : piece.source - below;
        r = koszul_rank_mod_p(*A_, piece, L_[static_cast<std::size_t>(d)], map_.p, bound,
                              d == 1 ? variable_of_ : std::vector<int>{});
    }
    ranks_[key] = r;
    return r;
}

long long betti_bound::upper(int i, int d)
{
    if (!ready() || i < 0 || d < 0) return -1;
    if (i == 0) return d == 0 ? 1 : 0;
    const long long a = rank(i, d), b = rank(i + 1, d - 1);
    if (a < 0 || b < 0) return -1;
    return binomial(A_->n, i) * A_->h(d) - a - b;
}

double betti_bound::pending_rank(int i, int d)
{
    if (i < 1 || i > A_->n || d < 1 || d >= A_->top || ranks_.count({i, d})) return 0;
    const koszul_piece piece{i, d, binomial(A_->n, i) * A_->h(d), binomial(A_->n, i - 1) * A_->h(d + 1)};
    const double rows = static_cast<double>(piece.rows()), cols = static_cast<double>(piece.cols());
    return rows * cols * std::min(rows, cols) + pending_rank(i + 1, d - 1);
}

double betti_bound::pending(int i, int d)
{
    return pending_rank(i, d) + pending_rank(i + 1, d - 1);
}

long long betti_bound::step_syzygies(int i, int next, int d, long long count, double budget)
{
    if (!strand_steps_from_betti || d < 0 || !ready() || pending(i, d) + pending(next, d) > budget) return -1;
    if (upper(i, d) != count) return -1;
    const long long b = upper(next, d);
    return b == 0 || ranks_are_exact_mod_p() ? b : -1;
}
