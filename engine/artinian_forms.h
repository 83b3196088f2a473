// The templates of artinian.h.
#pragma once

#include "engine/ideal.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

template <class Ops>
bool border_forms(const scheme& X, const artinian& A, const Ops& ops,
                  std::vector<std::vector<typename Ops::elem>>& forms)
{
    using elem = typename Ops::elem;
    forms.assign(A.border.size(), {});
    for (std::size_t b = 0; b < A.border.size(); ++b) {
        const int d = A.border[b].tot_deg();
        std::vector<elem>& f = forms[b];
        f.assign(static_cast<std::size_t>(A.h(d)), ops.zero());
        if (f.empty()) continue;
        if (A.corner[b] >= 0) {
            // A monic basis element t + (lower terms): in A the monomial t is
            // minus the rest of the leading form, a combination of O.
            const polynomial& g = X.Ix->gen[A.corner[b]];
            for (int j = 1; j < g.no_of_monoms; ++j) {
                if (g.term[j].tot_deg() != d) continue;
                int o = -1;
                for (int i = A.start[d]; i < A.start[d + 1]; ++i)
                    if (X.O[i] == g.term[j]) o = i;
                elem c;
                if (o < 0 || !ops.image(g.coef[j], c)) return false;
                f[static_cast<std::size_t>(o - A.start[d])] = ops.neg(c);
            }
            continue;
        }
        // border[b] = x_l * u with u = border[parent] of degree d - 1, whose
        // form is known; x_l times each element of O in it is an element of
        // O or a border monomial smaller than border[b], known as well.
        const std::vector<elem>& u = forms[static_cast<std::size_t>(A.parent[b])];
        const int l = A.var[b];
        for (int j = 0; j < A.h(d - 1); ++j) {
            const elem& c = u[static_cast<std::size_t>(j)];
            if (c == ops.zero()) continue;
            int w = A.times[static_cast<std::size_t>(A.start[d - 1] + j) * A.n + l];
            if (w >= 0) {
                ops.add_mul(f[static_cast<std::size_t>(w - A.start[d])], c, ops.one());
                continue;
            }
            const std::vector<elem>& fw = forms[static_cast<std::size_t>(-1 - w)];
            for (std::size_t i = 0; i < f.size(); ++i)
                if (!(fw[i] == ops.zero())) ops.add_mul(f[i], c, fw[i]);
        }
    }
    return true;
}

template <class Ops>
std::vector<typename Ops::elem> multiplication_matrix(const artinian& A, const Ops& ops,
                                                      const std::vector<std::vector<typename Ops::elem>>& forms,
                                                      int k, int d)
{
    const int rows = A.h(d + 1), cols = A.h(d);
    std::vector<typename Ops::elem> M(static_cast<std::size_t>(rows) * cols, ops.zero());
    for (int j = 0; j < cols; ++j) {
        int w = A.times[static_cast<std::size_t>(A.start[d] + j) * A.n + k];
        if (w >= 0) {
            M[static_cast<std::size_t>(w - A.start[d + 1]) * cols + j] = ops.one();
            continue;
        }
        const auto& f = forms[static_cast<std::size_t>(-1 - w)];
        for (int i = 0; i < rows; ++i) M[static_cast<std::size_t>(i) * cols + j] = f[static_cast<std::size_t>(i)];
    }
    return M;
}
