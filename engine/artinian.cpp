#include "engine/artinian.h"

#include "engine/bumo.h"
#include "engine/ideal.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

namespace {

std::string key(const monom& t, int n)
{
    return std::string(reinterpret_cast<const char*>(t.exp), sizeof(t.exp[0]) * static_cast<std::size_t>(n));
}

}  // namespace

artinian::artinian(const scheme& X) : n(dim)
{
    std::unordered_map<std::string, int> in_O, in_B, leads;
    top = 0;
    for (int o = 0; o < X.s; ++o) {
        in_O[key(X.O[o], n)] = o;
        top = std::max(top, X.O[o].tot_deg());
    }
    start.assign(static_cast<std::size_t>(top) + 2, X.s);
    for (int o = X.s - 1; o >= 0; --o) start[static_cast<std::size_t>(X.O[o].tot_deg())] = o;
    for (int d = top; d >= 0; --d) start[d] = std::min(start[d], start[d + 1]);
    for (int b = 0; b < X.no_of_border; ++b) {
        border.push_back(X.B[b]);
        in_B[key(X.B[b], n)] = b;
    }
    for (int g = 0; g < X.Ix->no_of_gens; ++g) leads[key(X.Ix->gen[g].term[0], n)] = g;

    times.assign(static_cast<std::size_t>(X.s) * n, 0);
    for (int o = 0; o < X.s; ++o)
        for (int k = 0; k < n; ++k) {
            monom t = X.O[o];
            ++t.exp[k];
            const std::string tk = key(t, n);
            auto it = in_O.find(tk);
            times[static_cast<std::size_t>(o) * n + k] = it != in_O.end() ? it->second : -1 - in_B.at(tk);
        }

    corner.assign(border.size(), -1);
    parent.assign(border.size(), -1);
    var.assign(border.size(), -1);
    for (std::size_t b = 0; b < border.size(); ++b) {
        auto g = leads.find(key(border[b], n));
        if (g != leads.end()) {
            corner[b] = g->second;
            continue;
        }
        // Not a leading term: some x_l divides it with a quotient outside
        // O, and that quotient is a border monomial.
        for (int l = 0; l < n && var[b] < 0; ++l) {
            if (border[b].exp[l] == 0) continue;
            monom u = border[b];
            --u.exp[l];
            auto it = in_B.find(key(u, n));
            if (it != in_B.end()) {
                parent[b] = it->second;
                var[b] = l;
            }
        }
    }
}
