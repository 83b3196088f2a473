#include "engine/uniformity.h"

#include <iostream>
#include <vector>

#include "engine/beta.h"
#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/matrix.h"
#include "engine/modular_rows.h"
#include "engine/scheme.h"

subset::subset(int m_, int n) : m(m_), index(new int[m_ + 1])
{
    for (int i = 0; i < m; ++i) index[i] = i;
    index[m] = n;
}

subset::~subset()
{
    delete[] index;
}

// Increase the lowest index that can grow without meeting its successor,
// resetting every index below it to its least value.
bool subset::next()
{
    for (int i = 0; i < m; ++i) {
        ++index[i];
        if (index[i] != index[i + 1]) {
            moved_last = i == m - 1;
            return true;
        }
        if (i == m - 1) break;
        index[i] = i;
    }
    moved_last = true;
    return false;
}

static void report_dependence(const subset& S, int m)
{
    std::cout << "\nlinear dependence between ";
    for (int i = 0; i < m; ++i) std::cout << "f" << S[i] + 1 << ", ";
    std::cout << "\ntherefore ";
}

// The countdown after a step: "[s - last index + 1]", ending with [1].
static void count_down(const subset& S, int m, int s)
{
    if (verbose && S.last_moved()) std::cout << "[" << s - S[m - 1] + 1 << "]";
    check_interrupt();
}

void is_delta_uf(scheme& X)
{
    if (X.delta == 0) bu_mo(X);
    if (!X.sep_polys) sep(X);
    // One top-degree monomial: the leading forms are uniform exactly when
    // every separator has the top degree, the Cayley-Bacharach property.
    if (X.delta == 1) {
        if (X.is_CB)
            std::cout << "scheme has Cayley-Bacharach property\n"
                      << "since delta = 1, scheme has also delta uniform property\n"
                      << "and is even 2-uniform\n";
        else
            std::cout << "scheme has NOT Cayley-Bacharach property\n"
                      << "hence it cannot have delta uniform property\n";
        std::cout << Line;
        return;
    }
    if (!X.beta_matrix) beta_matrix(X);

    const int delta = X.delta;
    std::vector<int> cols(delta);
    for (int k = 0; k < delta; ++k) cols[k] = k;
    bool uniform = true;
    // Rows independent modulo a prime have a minor that is not 0 over Q.
    const modular_rows quick(*X.beta_matrix);
    subset S(delta, X.s);
    for (;;) {
        if (!quick.independent(S.idx(), delta) && X.beta_matrix->minor(delta, cols.data(), S.idx()) == 0) {
            report_dependence(S, delta);
            uniform = false;
            break;
        }
        bool more = S.next();
        count_down(S, delta, X.s);
        if (!more) break;
    }
    if (verbose) std::cout << "\n";
    std::cout << (uniform ? "scheme has delta uniform property\n"
                          : "scheme has NOT delta uniform property\n")
              << Line;
}

void is_n_uf(scheme& X, int n)
{
    if (n <= 0) {
        ++reported_errors;
        std::cout << "n-unifomity only defined for n > 0 !!!\n" << Line;
        return;
    }
    if (X.delta == 0) bu_mo(X);
    if (n == X.delta) {
        is_delta_uf(X);
        return;
    }
    if (n > X.delta) {
        std::cout << "sorry, but checking n-unifomity for n > delta is not supported yet\n" << Line;
        return;
    }
    if (!X.beta_matrix) beta_matrix(X);

    // n rows of the beta matrix are independent when their kernel has the
    // dimension delta - n.
    const int delta = X.delta;
    matrix M(delta, n);
    std::vector<int> c(delta), r(n);
    bool uniform = true;
    const modular_rows quick(*X.beta_matrix);
    subset S(n, X.s);
    for (;;) {
        if (quick.independent(S.idx(), n)) {
            bool more = S.next();
            count_down(S, n, X.s);
            if (!more) break;
            continue;
        }
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < delta; ++k) M.a[i][k] = X.beta_matrix->a[S[i]][k];
        for (int k = 0; k < delta; ++k) c[k] = k;
        for (int i = 0; i < n; ++i) r[i] = i;
        if (M.solve(c.data(), r.data()) > delta - n) {
            report_dependence(S, n);
            uniform = false;
            break;
        }
        bool more = S.next();
        count_down(S, n, X.s);
        if (!more) break;
    }
    std::cout << (uniform ? "\nscheme has " : "scheme has NOT ") << n << "-uniform property\n"
              << Line;
}

// The points as rows (1, x_1, ..., x_n).  At most n + 1 points are in
// linearly general position when they are linearly independent, that is
// when some maximal minor is non-zero; more points are when every n + 1 of
// them are, that is when no (n + 1) x (n + 1) minor vanishes.
void lingenpos(scheme& X)
{
    const int s = X.s;
    const int p = dim + 1;
    matrix C(p, s);
    for (int i = 0; i < s; ++i) {
        C.a[i][0] = 1;
        for (int j = 0; j < dim; ++j) C.a[i][j + 1] = X.P->a[i][j];
    }
    bool general;
    if (s <= p) {
        std::vector<int> rows(s);
        for (int i = 0; i < s; ++i) rows[i] = i;
        general = false;
        subset S(s, p);
        do {
            if (C.minor(s, S.idx(), rows.data()) != 0) {
                general = true;
                break;
            }
        } while (S.next());
    } else {
        std::vector<int> cols(p);
        for (int j = 0; j < p; ++j) cols[j] = j;
        general = true;
        subset S(p, s);
        do {
            if (C.minor(p, cols.data(), S.idx()) == 0) {
                general = false;
                break;
            }
        } while (S.next());
    }
    std::cout << (general ? "scheme is in linearly general position\n"
                          : "scheme is not in linearly general position\n")
              << Line;
}
