// export --to m2|singular: a script that makes the ring S = K[x1..xn, x0]
// with the ordering of the run (deg-rev-lex or deg-lex on x1 > ... > xn,
// ties broken by x0 as in the engine) and the ideal I_X by its homogeneous
// minimal generators.
#include <ostream>
#include <sstream>

#include "batch/json.h"
#include "batch/poly_text.h"
#include "batch/reports.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/min_gens.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"

namespace {

std::string joined(const std::vector<std::string>& items, const std::string& separator)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? separator : "") + items[i];
    return out;
}

// Weights 1 on x1..xn and 0 on x0: on forms of one degree, deg-lex on the
// affine variables is the lexicographic order after these weights.
std::string affine_weights()
{
    std::vector<std::string> w(static_cast<std::size_t>(dim), "1");
    w.push_back("0");
    return joined(w, ",");
}

std::string m2_script(const report_head& head, const std::vector<std::string>& gens)
{
    std::ostringstream s;
    s << "-- I_X of " << head.points << " points of P^" << head.n << " over " << head.field << " (" << head.file
      << "), made by tarv\n";
    std::string coefficients;
    if (field_characteristic() > 0) {
        coefficients = "ZZ/" + std::to_string(field_characteristic());
    } else if (minimal_polynomial_text().empty()) {
        coefficients = "QQ";
    } else {
        s << "kk = toField(QQ[z] / ideal(" << minimal_polynomial_text() << "));\n";
        coefficients = "kk";
    }
    s << "S = " << coefficients << "[" << joined(ring_variables(), ", ") << ", MonomialOrder => ";
    if (monom_ordering == 1) s << "GRevLex";
    else s << "{Weights => {" << affine_weights() << "}, Lex}";
    s << "];\n";
    s << "I = ideal(\n    " << joined(gens, ",\n    ") << ");\n";
    return s.str();
}

std::string singular_script(const report_head& head, const std::vector<std::string>& gens)
{
    std::ostringstream s;
    s << "// I_X of " << head.points << " points of P^" << head.n << " over " << head.field << " (" << head.file
      << "), made by tarv\n";
    const std::string minimal = minimal_polynomial_text();
    s << "ring S = ";
    if (field_characteristic() > 0) s << field_characteristic();
    else if (minimal.empty()) s << "0";
    else s << "(0, z)";
    s << ", (" << joined(ring_variables(), ", ") << "), ";
    if (monom_ordering == 1) s << "dp";
    else s << "(a(" << affine_weights() << "), lp)";
    s << ";\n";
    if (!minimal.empty()) s << "minpoly = " << minimal << ";\n";
    s << "ideal I =\n    " << joined(gens, ",\n    ") << ";\n";
    return s.str();
}

}  // namespace

bool report_export(std::ostream& out, const report_head& head, scheme& X, bool json, export_system target,
                   std::string&)
{
    if (!X.min_Ix) min_Ix(X);
    std::vector<std::string> gens;
    for (int i = 0; i < X.min_Ix->no_of_gens; ++i) {
        // min_Ix holds homogenized elements; writing out their affine part
        // homogenizes again, to the same forms.
        gens.push_back(homogeneous_text(X.min_Ix->gen[i]));
    }
    const std::string script = target == export_system::m2 ? m2_script(head, gens) : singular_script(head, gens);
    if (json) {
        json_object o;
        o.add_text("file", head.file).add_text("system", target == export_system::m2 ? "m2" : "singular");
        o.add_text("script", script);
        out << o.str() << "\n";
        return true;
    }
    out << script;
    return true;
}
