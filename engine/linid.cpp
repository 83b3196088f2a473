#include "engine/linid.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/globals.h"
#include "engine/interreduce.h"
#include "engine/interrupt.h"
#include "engine/min_gens.h"
#include "engine/progress.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "fields/text.h"

raised_dim::raised_dim() : saved(dim) { dim = proj; }
raised_dim::~raised_dim() { dim = saved; }

strand_matrix::strand_matrix(int rows, int cols) : r(rows), c(cols), row(nullptr)
{
    if (r == 0) return;
    row = new polynomial*[r];
    for (int i = 0; i < r; ++i) row[i] = new polynomial[c];
}

strand_matrix::~strand_matrix()
{
    for (int i = 0; i < r; ++i) delete[] row[i];
    delete[] row;
}

void strand_matrix::swap(strand_matrix& m)
{
    std::swap(r, m.r);
    std::swap(c, m.c);
    std::swap(row, m.row);
}

namespace {

const monom& lead(const polynomial& f) { return f.term[0]; }

// The pair (i, j) of the first step of I_X is linear when the lcm of the
// leading monomials lies one degree above that of row i.
bool linear_pair(const monom& mi, const monom& mj)
{
    return lcm(mi, mj).tot_deg() <= mi.tot_deg() + 1;
}

}  // namespace

long long strand_pairs(const strand_matrix& A, const int* Lt, bool generators)
{
    long long number = 0;
    for (int i = 0; i < A.r; ++i) {
        if (Lt[i] == -1) continue;
        for (int j = i + 1; j < A.r; ++j) {
            if (Lt[j] != Lt[i]) continue;
            if (generators && !linear_pair(lead(A.row[i][Lt[i]]), lead(A.row[j][Lt[j]]))) continue;
            ++number;
        }
    }
    return number;
}

bool strand_syzygies(const strand_matrix& A, const int* Lt, long long pairs, bool generators,
                     strand_matrix& B)
{
    if (pairs * (A.r + A.c) * field_degree() > max_strand_cells) {
        ++reported_errors;
        std::cout << "linear strand too large to be computed !\n";
        return false;
    }
    const int number = static_cast<int>(pairs);
    const int c = A.c;
    strand_matrix next(number, A.r);
    // The irreducible S-vectors: monic at their leading positions Gb2Lt,
    // with the row of B each came from.
    strand_matrix Gb2pol(number, c);
    std::vector<int> Gb2Lt(number), Gb2_B_r(number);
    int Gb2 = 0;
    std::vector<polynomial> tmp(c > 0 ? c : 1);
    if (verbose && number != 0) std::cout << "eliminating syzygies ...\n";
    int B_r = 0;
    progress_report report("linear strand: pairs", number);
    for (int i = 0; i < A.r; ++i) {
        if (Lt[i] == -1) continue;
        for (int j = i + 1; j < A.r && B_r < number; ++j) {
            if (Lt[j] != Lt[i]) continue;
            const monom& mi = lead(A.row[i][Lt[i]]);
            const monom& mj = lead(A.row[j][Lt[j]]);
            monom ui, uj;
            if (generators) {
                if (!linear_pair(mi, mj)) continue;
                monom m = lcm(mi, mj);
                ui = m / mi;
                uj = m / mj;
            } else {
                // Both rows are monic at the common pivot column.
                ui = mj;
                uj = mi;
            }
            // The countdown of verbose mode, or else a progress line.
            if (verbose) std::cout << "[" << number - B_r << "]" << std::flush;
            else report.at(B_r);
            check_interrupt();
            polynomial* Brow = next.row[B_r];
            Brow[i] = -polynomial(ui);
            Brow[j] = polynomial(uj);
            for (int k = 0; k < c; ++k) {
                polynomial a = A.row[j][k];
                a *= uj;
                polynomial b = A.row[i][k];
                b *= ui;
                a -= b;
                tmp[k] = std::move(a);
            }
            // Reduce tmp, keeping it equal to Brow applied to A.
            for (;;) {
                int L = lead_pos(tmp.data(), c);
                if (L == -1) break;  // Brow is a syzygy
                const monom m = lead(tmp[L]);
                const K lc = tmp[L].coef[0];
                int g = 0;
                while (g < Gb2 && !(Gb2Lt[g] == L && lead(Gb2pol.row[g][L]) == m)) ++g;
                if (g < Gb2) {
                    for (int k = 0; k < c; ++k)
                        if (sign(Gb2pol.row[g][k])) tmp[k].sub_scaled(Gb2pol.row[g][k], lc);
                    const polynomial* from = next.row[Gb2_B_r[g]];
                    for (int k = 0; k < A.r; ++k)
                        if (sign(from[k])) Brow[k].sub_scaled(from[k], lc);
                    continue;
                }
                int r = 0;
                while (r < A.r && !(Lt[r] == L && Zn_order_lt(lead(A.row[r][L]), m))) ++r;
                if (r < A.r) {
                    monom q = m / lead(A.row[r][L]);
                    for (int k = 0; k < c; ++k) {
                        if (!sign(A.row[r][k])) continue;
                        polynomial t = A.row[r][k];
                        t *= q;
                        t *= lc;
                        tmp[k] -= t;
                    }
                    polynomial t(q);
                    t *= lc;
                    Brow[r] -= t;
                    continue;
                }
                // Irreducible: a new element of the echelon basis.
                std::cout << ".";
                K inv = lc;
                inv.invert();
                for (int k = 0; k < c; ++k) tmp[k] *= inv;
                for (int k = 0; k < A.r; ++k) Brow[k] *= inv;
                for (int k = 0; k < c; ++k) Gb2pol.row[Gb2][k] = tmp[k];
                Gb2Lt[Gb2] = L;
                Gb2_B_r[Gb2] = B_r;
                ++Gb2;
                break;
            }
            ++B_r;
        }
    }
    if (verbose) std::cout << "\n";
    // Pairs whose S-vector did not vanish give no syzygy.
    for (int g = 0; g < Gb2; ++g)
        for (int k = 0; k < A.r; ++k) next.row[Gb2_B_r[g]][k] = 0;
    B.swap(next);
    return true;
}

int strand_count(const int* Lt, int r)
{
    int l = 0;
    for (int i = 0; i < r; ++i)
        if (Lt[i] != -1) ++l;
    return l;
}

void print_strand_rows(const strand_matrix& A, const int* Lt)
{
    for (int i = 0; i < A.r; ++i) {
        if (Lt[i] == -1) continue;
        std::cout << "[ ";
        counter = 2;
        for (int k = 0; k < A.c; ++k) {
            if (k > 0) std::cout << ";\n";
            std::cout << A.row[i][k];
            counter = 0;
        }
        std::cout << " ]\n";
    }
}

void put_strand_rows(std::ostream& file, const strand_matrix& A, const int* Lt)
{
    for (int i = 0; i < A.r; ++i) {
        if (Lt[i] == -1) continue;
        for (int k = 0; k < A.c; ++k) {
            A.row[i][k].put(file);
            file << "\n";
        }
    }
}

void put_cell(std::ostream& s, int value, int w)
{
    s << value;
    for (int b = w - len(value) + 1; b > 0; --b) s << ' ';
}

namespace {

// What a run of the steps produces besides the counts.
enum class strand_output { counts, screen_rows, file_blocks, file_rows };

// False when a step was too large; the counts are then cleared.
bool run_steps(scheme& X, strand_output out, std::ostream* file)
{
    if (!X.min_Ix) min_Ix(X);
    const int n = dim;
    int* counts = X.linres[0];
    {
        raised_dim raised;
        const ideal& M = *X.min_Ix;
        // Step 0: the leading run of the generators (sorted by degree).
        int e = 0;
        if (M.no_of_gens > 0) {
            int d = lead(M.gen[0]).tot_deg();
            while (e < M.no_of_gens && lead(M.gen[e]).tot_deg() == d) ++e;
        }
        strand_matrix A(e, 1);
        for (int i = 0; i < e; ++i) A.row[i][0] = M.gen[i];
        std::vector<int> Lt(e, 0);
        int count = e;
        counts[0] = e;
        if (verbose) std::cout << "I_X has " << e << " generators of degree " << X.alpha << "\n";
        bool generators = true;
        long long number = strand_pairs(A, Lt.data(), generators);
        for (int N = 0;;) {
            if (count != 0) {
                if (out == strand_output::file_blocks) {
                    *file << "\n" << N + 1 << ". matrix of linear resolution of I_X : \n"
                          << A.c << "\n" << count << "\n";
                    put_strand_rows(*file, A, Lt.data());
                } else if (N >= 1 && out == strand_output::screen_rows) {
                    print_strand_rows(A, Lt.data());
                } else if (N >= 1 && out == strand_output::file_rows) {
                    *file << A.c << "\n" << count << "\n";
                    put_strand_rows(*file, A, Lt.data());
                }
            }
            strand_matrix B(0, 0);
            if (!strand_syzygies(A, Lt.data(), number, generators, B)) {
                for (int j = 0; j < n; ++j) counts[j] = 0;
                return false;
            }
            generators = false;
            A.swap(B);
            ++N;
            if (A.r == 0) break;
            Lt.assign(A.r, -1);
            interreduce(A.row, A.r, A.c, Lt.data());
            count = strand_count(Lt.data(), A.r);
            if (N < n) counts[N] = count;
            if (verbose) std::cout << count << " syzygies in degree " << X.alpha - N << " found\n";
            // The row holds steps 0 .. n-1 and the strand of I_X is no
            // longer; step n is computed to see it end, and not continued.
            number = N == n ? 0 : strand_pairs(A, Lt.data(), generators);
        }
    }
    if (verbose) std::cout << Line;
    return true;
}

void clear_counts(scheme& X)
{
    for (int j = 0; j < dim; ++j) X.linres[0][j] = 0;
}

// Every run starts from cleared counts.  An interrupted run puts back the
// counts it started from: those of a strand computed before, or zeros.
bool run_steps_keeping_counts(scheme& X, strand_output out, std::ostream* file)
{
    const std::vector<int> before(X.linres[0], X.linres[0] + dim);
    clear_counts(X);
    try {
        return run_steps(X, out, file);
    } catch (const computation_interrupted&) {
        std::copy(before.begin(), before.end(), X.linres[0]);
        throw;
    }
}

}  // namespace

bool linid(scheme& X)
{
    if (X.linid) return true;
    if (!run_steps_keeping_counts(X, strand_output::counts, nullptr)) return false;
    X.linid = 1;
    return true;
}

bool linsyz(scheme& X)
{
    return run_steps_keeping_counts(X, strand_output::screen_rows, nullptr);
}

bool putlinid(scheme& X, std::ostream& file)
{
    if (!run_steps_keeping_counts(X, strand_output::file_blocks, &file)) return false;
    X.linid = 1;
    return true;
}

bool putlinsyz(scheme& X, std::ostream& file)
{
    return run_steps_keeping_counts(X, strand_output::file_rows, &file);
}

void disp_linid(std::ostream& s, scheme& X)
{
    const int n = dim;
    const int* counts = X.linres[0];
    std::vector<int> w(n);
    int rule = 6;
    for (int j = 0; j < n; ++j) {
        w[j] = len(counts[j]) > 3 ? len(counts[j]) : 3;
        rule += w[j] + 1;
    }
    s << "    | ";
    for (int j = 0; j < n; ++j) put_cell(s, j + 1, w[j]);
    s << "\n" << std::string(rule, '-') << "\n";
    s << "deg | ";
    for (int j = 0; j < n; ++j) put_cell(s, X.alpha - j, w[j]);
    s << "\nI_X | ";
    for (int j = 0; j < n; ++j) put_cell(s, counts[j], w[j]);
    s << "\n" << Line;
}
