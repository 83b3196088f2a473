// The cyclotomic commands of TARV_QN.
#include "interpreter/cyclotomic_commands.h"

#include <algorithm>
#include <iostream>
#include <string>

#include "engine/globals.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "fields/QN.h"
#include "fields/cyclotomic_points.h"
#include "fields/rational_text.h"
#include "interpreter/harness_hooks.h"
#include "interpreter/input.h"
#include "interpreter/session.h"
#include "interpreter/store.h"

void root()
{
    int order;
    if (!read_number(order)) return;
    if (order <= 1) {
        ++reported_errors;
        std::cout << "\nroots of N with N > 1 !!!\n";
        return;
    }
    const int max_order = std::min(QN::max_order, hooks.max_points);
    if (order > max_order) {
        ++reported_errors;
        std::cout << "\nroots of N with N <= " << max_order << " !!!\n";
        return;
    }
    QN::set(order);
    del_all(0);
    show_settings();
}

void cyclpol()
{
    // Univariate in the first variable for the duration.
    int saved_dim = dim;
    dim = 1;
    // zeta^n = sum of the entries of QN_phi[0] times zeta^i; for N = 1 the
    // table is empty and Phi_1 = x - 1.
    QN lower_zero(1);
    const QN& lower = QN_phi.empty() ? lower_zero : QN_phi[0];
    polynomial f(0);
    for (int i = 0; i < QN::n; ++i) {
        if (lower.a[i] == 0) continue;
        monom m;
        m.exp[0] = static_cast<int16_t>(i);
        polynomial term(m);
        term *= QN(lower.a[i]);
        f -= term;
    }
    monom top;
    top.exp[0] = static_cast<int16_t>(QN::n);
    f += polynomial(top);
    counter = 0;
    std::cout << "the " << QN::N << "-th cyclotomic polynomial over Q is :\n" << f << "\n";
    print_line();
    dim = saved_dim;
}

// The common start of the three builders: the plane, a new name and s > 0.
static bool read_builder_start(std::string& name, int& s)
{
    if (dim != 2) {
        ++reported_errors;
        std::cerr << "dimension = 2 required !!! \n";
        return false;
    }
    if (!read_new_name(name)) return false;
    if (!read_number(s)) return false;
    if (s <= 0) {
        ++reported_errors;
        std::cout << "first parameter has to be greater than zero !\n";
        return false;
    }
    const int max_s = std::min(QN::max_order, hooks.max_points);
    if (s > max_s) {
        ++reported_errors;
        std::cout << "first parameter has to be at most " << max_s << " !\n";
        return false;
    }
    if (!scheme_fits(s, euler_phi(s))) {
        ++reported_errors;
        std::cout << "first parameter too large: the scheme could not be held in memory !\n";
        return false;
    }
    return true;
}

// Switches the field to Q(zeta_s) and stores a new scheme of s points under
// name.  Schemes stored under another field must never meet the new one, so
// they are taken out first, with the usual reports; until the builder
// succeeds they are kept in aside, with the field it left in old_order.
static scheme* store_builder_scheme(const std::string& name, int s, set_aside_entries& aside, int& old_order)
{
    old_order = QN::N;
    if (s != QN::N) aside = set_aside_all();
    int v = reserve_var(name, 3);
    if (v < 0) return nullptr;
    QN::set(s);
    scheme* X = new scheme(s);
    var[v].var_ptr = X;
    for (int i = 0; i < s; ++i) X->P->a[i][0] = root_power(i);
    return X;
}

// The builder succeeded: the schemes of the old field go for good.
static scheme* store_builder_scheme(const std::string& name, int s)
{
    set_aside_entries aside;
    int old_order;
    scheme* X = store_builder_scheme(name, s, aside, old_order);
    if (X) drop(aside);
    else put_back(aside);
    return X;
}

void cyclotom()
{
    std::string name;
    int s, a;
    if (!read_builder_start(name, s)) return;
    if (!read_number(a)) return;
    if (!(0 < a && a < s)) {
        ++reported_errors;
        std::cout << "second parameter has to be greater than zero and less than the first parameter!\n";
        return;
    }
    scheme* X = store_builder_scheme(name, s);
    if (!X) return;
    for (int i = 0; i < s; ++i) X->P->a[i][1] = root_power(static_cast<long long>(i) * a);
    show_settings();
}

void cyclotom2()
{
    std::string name;
    int s, a, b;
    if (!read_builder_start(name, s)) return;
    if (!read_number(a)) return;
    if (!(0 < a && a < s)) {
        ++reported_errors;
        std::cout << "second parameter has to be greater than zero and less than the first parameter!\n";
        return;
    }
    if (!read_number(b)) return;
    if (!(0 < b && b < a)) {
        ++reported_errors;
        std::cout << "third parameter has to be greater than zero and less than the second parameter!\n";
        return;
    }
    scheme* X = store_builder_scheme(name, s);
    if (!X) return;
    for (int i = 0; i < s; ++i)
        X->P->a[i][1] = root_power(static_cast<long long>(i) * a) + root_power(static_cast<long long>(i) * b);
    show_settings();
}

// The coefficients c_(s-1), ..., c_0 are typed after the prompts, which
// follow the reports of the schemes taken out for the new field; a refused
// coefficient puts back those schemes and the old field, so that nothing
// changes.
void gencycl()
{
    std::string name;
    int s;
    if (!read_builder_start(name, s)) return;
    set_aside_entries aside;
    int old_order;
    scheme* X = store_builder_scheme(name, s, aside, old_order);
    if (!X) {
        put_back(aside);
        return;
    }
    for (int i = 0; i < s; ++i) X->P->a[i][1] = 0;
    std::cout << "enter coefficients :\n";
    for (int j = s - 1; j >= 0; --j) {
        std::cout << "c_" << j << " : ";
        std::string token;
        mpq_class c;
        bool ok = read_word(token, std::string::npos);
        if (ok && !parse_rational(token, c)) {
            ++reported_errors;
            std::cerr << "'" << token << "' is not a number\n";
            discard_line();
            ok = false;
        }
        if (!ok) {
            // Nothing half-made stays stored, and what was stored before
            // comes back with its field.
            int v;
            read_var(v, name);
            del(v, 1);
            if (old_order != QN::N) {
                QN::set(old_order);
                put_back(aside);
                if (!input_ended()) std::cerr << "gencycl refused: the schemes and the field are as before\n";
            }
            return;
        }
        Rational coefficient(c);
        for (int i = 0; i < s; ++i) X->P->a[i][1] += root_power(static_cast<long long>(i) * j) * coefficient;
    }
    drop(aside);
    show_settings();
}
