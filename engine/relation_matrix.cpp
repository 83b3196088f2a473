#include "engine/relation_matrix.h"

#if defined(TARV_FIELD_Q)

#include <algorithm>

#include "engine/gauss_jordan.h"
#include "engine/interrupt.h"
#include "engine/progress.h"
#include "engine/scaled_vector.h"

namespace {

// Divides the row by the gcd of its entries.
void remove_content(std::vector<mpz_class>& row, mpz_class& g)
{
    g = 0;
    for (const mpz_class& x : row) {
        if (sgn(x) == 0) continue;
        mpz_gcd(g.get_mpz_t(), g.get_mpz_t(), x.get_mpz_t());
        if (g == 1) return;
    }
    if (sgn(g) == 0) return;
    for (mpz_class& x : row)
        if (sgn(x) != 0) mpz_divexact(x.get_mpz_t(), x.get_mpz_t(), g.get_mpz_t());
}

// Whole-row steps for gauss_jordan on integer rows up to a factor.
struct scaled_row_ops {
    static constexpr bool row_ops = true;
    std::vector<std::vector<mpz_class>>& rows;
    mutable mpz_class f, p, g;  // work numbers

    static bool is_zero(const mpz_class& x) { return sgn(x) == 0; }
    // The pivot is left as it is: the row is the monic one times it.
    static void make_monic(int, int) {}
    // row := (p / g) row - (f / g) pivot_row, p and f the entries of the
    // pivot row and the row in column col, g their gcd.
    void eliminate(int row, int pivot_row, int col) const
    {
        std::vector<mpz_class>& x = rows[row];
        const std::vector<mpz_class>& y = rows[pivot_row];
        mpz_gcd(g.get_mpz_t(), y[col].get_mpz_t(), x[col].get_mpz_t());
        mpz_divexact(p.get_mpz_t(), y[col].get_mpz_t(), g.get_mpz_t());
        mpz_divexact(f.get_mpz_t(), x[col].get_mpz_t(), g.get_mpz_t());
        for (size_t j = 0; j < x.size(); ++j) {
            if (sgn(x[j]) != 0 && p != 1) x[j] *= p;
            if (sgn(y[j]) != 0) mpz_submul(x[j].get_mpz_t(), f.get_mpz_t(), y[j].get_mpz_t());
        }
        remove_content(x, g);
    }
};

}  // namespace

relation_matrix::relation_matrix(int n)
    : n_(n), rows_(static_cast<size_t>(n), std::vector<mpz_class>(static_cast<size_t>(n))),
      written_(static_cast<size_t>(n))
{
}

K& relation_matrix::at(int row, int col)
{
    std::vector<K>& w = written_[row];
    if (w.empty()) {
        w.assign(static_cast<size_t>(n_), K(0));
        written_rows_.push_back(row);
    }
    return w[col];
}

int relation_matrix::solve(int* c, int* r)
{
    // The rows written become integer rows: their values times the least
    // common denominator, divided by their content.
    mpz_class d, g;
    for (int row : written_rows_) {
        std::vector<K>& w = written_[row];
        common_denominator(w.data(), w.size(), d);
        std::vector<mpz_class>& out = rows_[row];
        for (int j = 0; j < n_; ++j) numerator_over(w[j], d, out[j]);
        remove_content(out, g);
        std::vector<K>().swap(w);
    }
    written_rows_.clear();

    progress_report report("row reduction", n_);
    return gauss_jordan(
        n_, n_, c, r, [&](int i, int j) -> mpz_class& { return rows_[r[i]][c[j]]; }, scaled_row_ops{rows_, {}, {}, {}},
        [&](int i) {
            report.at(i);
            check_interrupt();
        },
        [](bool) {});
}

#else

relation_matrix::relation_matrix(int n) : m_(n, n) {}

K& relation_matrix::at(int row, int col)
{
    return m_.a[row][col];
}

int relation_matrix::solve(int* c, int* r)
{
    return m_.solve(c, r);
}

#endif
