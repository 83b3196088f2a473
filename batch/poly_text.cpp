#include "batch/poly_text.h"

#include <sstream>

#include "engine/globals.h"
#include "engine/polynomial.h"

namespace {

// A coefficient as a factor; negative ones keep their sign in front.
std::string coefficient_text(const K& c)
{
    std::ostringstream s;
#if defined(TARV_FIELD_QN)
    if (is_el_Q(c)) {
        s << c.a[0].v;
        return s.str();
    }
    // (a0 + a1*z + ...), the nonzero coordinates.
    s << "(";
    bool first = true;
    for (std::size_t k = 0; k < c.a.size(); ++k) {
        const mpq_class& a = c.a[k].v;
        if (a == 0) continue;
        mpq_class m = abs(a);
        if (!first) s << (a < 0 ? " - " : " + ");
        else if (a < 0) s << "-";
        first = false;
        if (k == 0) {
            s << m;
            continue;
        }
        if (m != 1) s << m << "*";
        s << "z";
        if (k > 1) s << "^" << k;
    }
    s << ")";
#else
    s << c;
#endif
    return s.str();
}

}  // namespace

std::vector<std::string> ring_variables()
{
    std::vector<std::string> v;
    for (int k = 1; k <= dim; ++k) v.push_back("x" + std::to_string(k));
    v.push_back("x0");
    return v;
}

std::string homogeneous_text(const polynomial& f)
{
    if (f.no_of_monoms == 1 && f.coef[0] == 0) return "0";
    const int degree = f.term[0].tot_deg();
    std::string out;
    for (int t = 0; t < f.no_of_monoms; ++t) {
        std::string c = coefficient_text(f.coef[t]);
        bool negative = !c.empty() && c[0] == '-';
        if (negative) c.erase(0, 1);
        if (t == 0) out += negative ? "-" : "";
        else out += negative ? " - " : " + ";
        std::string monomial;
        const monom& m = f.term[t];
        for (int k = 0; k < dim; ++k)
            if (m.exp[k] > 0) {
                if (!monomial.empty()) monomial += "*";
                monomial += "x" + std::to_string(k + 1);
                if (m.exp[k] > 1) monomial += "^" + std::to_string(m.exp[k]);
            }
        const int e0 = degree - m.tot_deg();
        if (e0 > 0) {
            if (!monomial.empty()) monomial += "*";
            monomial += "x0";
            if (e0 > 1) monomial += "^" + std::to_string(e0);
        }
        if (monomial.empty()) out += c;
        else if (c == "1") out += monomial;
        else out += c + "*" + monomial;
    }
    return out;
}

std::string field_name()
{
#if defined(TARV_FIELD_FP)
    return "F" + std::to_string(Fp::prime);
#elif defined(TARV_FIELD_QN)
    return "Q(zeta_" + std::to_string(QN::N) + ")";
#else
    return "Q";
#endif
}

std::string minimal_polynomial_text()
{
#if defined(TARV_FIELD_QN)
    if (QN::n == 1) return "";
    // Phi_N = z^n - (QN_phi[0]), QN_phi[0] = z^n written in the basis.
    std::ostringstream s;
    s << "z^" << QN::n;
    for (int k = QN::n - 1; k >= 0; --k) {
        mpq_class c = -QN_phi[0].a[k].v;
        if (c == 0) continue;
        s << (c < 0 ? " - " : " + ");
        mpq_class m = abs(c);
        if (k == 0) s << m;
        else {
            if (m != 1) s << m << "*";
            s << "z";
            if (k > 1) s << "^" << k;
        }
    }
    return s.str();
#else
    return "";
#endif
}
