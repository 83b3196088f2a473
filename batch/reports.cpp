#include "batch/reports.h"

#include <algorithm>
#include <map>
#include <ostream>

#include "batch/betti.h"
#include "batch/json.h"
#include "batch/poly_text.h"
#include "engine/bumo.h"
#include "engine/ideal.h"
#include "engine/min_gens.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "engine/socle.h"

namespace {

json_object head_json(const report_head& head)
{
    json_object o;
    o.add_text("file", head.file).add_text("field", head.field).add_text("order", head.ordering);
    o.add("n", head.n).add("points", head.points);
    return o;
}

void head_text(std::ostream& out, const report_head& head)
{
    out << "file: " << head.file << "\n"
        << "points: " << head.points << " in P^" << head.n << " over " << head.field << ", " << head.ordering << "\n";
}

void need_bu_mo(scheme& X)
{
    if (X.delta == 0) bu_mo(X);
}

// Number of minimal generators of I_X in each degree.
std::map<int, int> generator_degrees(scheme& X)
{
    const std::vector<int> counts = min_generator_counts(X);
    std::map<int, int> count;
    for (size_t d = 0; d < counts.size(); ++d)
        if (counts[d] > 0) count[static_cast<int>(d)] = counts[d];
    return count;
}

std::vector<long long> row_totals(const std::vector<std::vector<long long>>& beta)
{
    std::vector<long long> total(beta.empty() ? 0 : beta[0].size(), 0);
    for (const auto& row : beta)
        for (std::size_t i = 0; i < row.size(); ++i) total[i] += row[i];
    return total;
}

// The homogenized reduced Groebner basis, one text per element.
std::vector<std::string> groebner_texts(scheme& X)
{
    need_groebner(X);
    std::vector<std::string> g;
    for (int i = 0; i < X.Ix->no_of_gens; ++i) g.push_back(homogeneous_text(X.Ix->gen[i]));
    return g;
}

}  // namespace

void print_betti_table(std::ostream& out, const std::vector<std::vector<long long>>& beta)
{
    const std::vector<long long> total = row_totals(beta);
    const std::size_t columns = total.size();
    std::vector<std::size_t> width(columns, 1);
    for (std::size_t i = 0; i < columns; ++i) {
        width[i] = std::max(std::to_string(i).size(), std::to_string(total[i]).size());
        for (const auto& row : beta) width[i] = std::max(width[i], std::to_string(row[i]).size());
    }
    std::size_t label = std::string("total:").size();
    label = std::max(label, std::to_string(beta.size() - 1).size() + 1);
    auto cell = [&](std::size_t i, const std::string& text) {
        out << " " << std::string(width[i] - text.size(), ' ') << text;
    };
    out << std::string(label, ' ');
    for (std::size_t i = 0; i < columns; ++i) cell(i, std::to_string(i));
    out << "\n" << std::string(label - 6, ' ') << "total:";
    for (std::size_t i = 0; i < columns; ++i) cell(i, std::to_string(total[i]));
    out << "\n";
    for (std::size_t r = 0; r < beta.size(); ++r) {
        const std::string name = std::to_string(r) + ":";
        out << std::string(label - name.size(), ' ') << name;
        for (std::size_t i = 0; i < columns; ++i) cell(i, beta[r][i] ? std::to_string(beta[r][i]) : ".");
        out << "\n";
    }
}

bool report_invariants(std::ostream& out, const report_head& head, scheme& X, bool json, std::string&)
{
    need_bu_mo(X);
    // Over Q the flags, the type and the generator degrees come from ranks
    // modulo primes where those prove them.
    if (!X.sep && !decide_cayley_bacharach(X)) sep(X);
    const int type = socle_size(X);
    std::vector<long long> H, dH;
    for (int d = 0; d <= X.sigma + 1; ++d) {
        H.push_back(X.hilb_fct[d]);
        dH.push_back(X.delta_fct[d]);
    }
    const std::map<int, int> degrees = generator_degrees(X);
    int generators = 0;
    for (const auto& [d, count] : degrees) generators += count;
    if (json) {
        json_object o = head_json(head);
        json_object gens;
        for (const auto& [d, count] : degrees) gens.add(std::to_string(d), count);
        o.add("hilbert_function", json_array(H)).add("hilbert_difference", json_array(dH));
        o.add("alpha", X.alpha).add("sigma", X.sigma).add("delta", X.delta);
        o.add_bool("cayley_bacharach", X.is_CB).add_bool("gorenstein", X.is_ar_Go).add("type", type);
        o.add("generator_degrees", gens.str()).add("generators", generators);
        out << o.str() << "\n";
        return true;
    }
    head_text(out, head);
    out << "Hilbert function:";
    for (long long h : H) out << " " << h;
    out << "\nits first difference:";
    for (long long h : dH) out << " " << h;
    out << "\nalpha: " << X.alpha << "\nsigma: " << X.sigma << "\ndelta: " << X.delta
        << "\nCayley-Bacharach: " << (X.is_CB ? "yes" : "no")
        << "\narithmetically Gorenstein: " << (X.is_ar_Go ? "yes" : "no") << "\ntype: " << type
        << "\nminimal generators of I_X (degree:count):";
    for (const auto& [d, count] : degrees) out << " " << d << ":" << count;
    out << " (" << generators << " in all)\n";
    return true;
}

bool report_betti(std::ostream& out, const report_head& head, scheme& X, bool json, std::string& error)
{
    betti_table table;
    if (!compute_betti(X, table, error)) return false;
    // How the ranks were obtained, for the reader to judge.
    std::string how, method;
    if (table.by_field_prime) {
        method = "field";
        how = "ranks over " + head.field;
    } else if (table.by_reduction) {
        method = "reduction";
        how = "the table of the points modulo " + std::to_string(table.prime) +
              ", equal to it: maximal Hilbert function, no cancellable pair";
    } else {
        method = "ranks";
        how = "ranks modulo " + std::to_string(table.prime) + ": " + std::to_string(table.certified) + " of " +
              std::to_string(table.ranks) + " certified by the bounds of the complex";
        if (table.exact) how += ", " + std::to_string(table.exact) + " recomputed over " + head.field;
    }
    if (json) {
        json_object o = head_json(head);
        std::vector<std::string> rows;
        for (const auto& row : table.beta) rows.push_back(json_array(row));
        json_object ranks;
        ranks.add_text("method", method).add("prime", table.prime).add("ranks", table.ranks);
        ranks.add("certified", table.by_field_prime ? table.ranks : table.certified);
        ranks.add("exact_in_field", table.exact);
        o.add("betti", json_array(rows)).add("totals", json_array(row_totals(table.beta)));
        o.add("certificate", ranks.str());
        out << o.str() << "\n";
        return true;
    }
    head_text(out, head);
    out << "graded Betti numbers of S/I_X (row r, column i: beta_(i,i+r); " << how << "):\n";
    print_betti_table(out, table.beta);
    return true;
}

bool report_gb(std::ostream& out, const report_head& head, scheme& X, bool json, std::string&)
{
    const std::vector<std::string> g = groebner_texts(X);
    if (json) {
        std::vector<std::string> items;
        for (const std::string& t : g) items.push_back(json_string(t));
        out << head_json(head).add("groebner_basis", json_array(items)).str() << "\n";
        return true;
    }
    head_text(out, head);
    out << "reduced Groebner basis of I_X (" << g.size() << " elements):\n";
    for (std::size_t i = 0; i < g.size(); ++i) out << "g" << i + 1 << " = " << g[i] << "\n";
    return true;
}
