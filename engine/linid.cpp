#include "engine/linid.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/betti_bound.h"
#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/min_gens.h"
#include "engine/scheme.h"
#include "engine/strand_rows.h"
#include "fields/field.h"
#include "fields/text.h"

raised_dim::raised_dim() : saved(dim) { dim = proj; }
raised_dim::~raised_dim() { dim = saved; }

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
    betti_bound betti(X);
    {
        raised_dim raised;
        const ideal& M = *X.min_Ix;
        // Step 0: the leading run of the generators (sorted by degree).
        int e = 0;
        if (M.no_of_gens > 0) {
            int d = M.gen[0].term[0].tot_deg();
            while (e < M.no_of_gens && M.gen[e].term[0].tot_deg() == d) ++e;
        }
        strand_rows A;
        {
            std::vector<std::vector<polynomial>> gens;
            for (int i = 0; i < e; ++i) gens.push_back({M.gen[i]});
            if (!to_strand_rows(gens, 1, A)) {
                ++reported_errors;
                std::cout << "linear strand: the generators are not forms of one degree\n";
                for (int j = 0; j < n; ++j) counts[j] = 0;
                return false;
            }
        }
        std::vector<int> Lt(e, 0);
        int count = e;
        counts[0] = e;
        if (verbose) std::cout << "I_X has " << e << " generators of degree " << X.alpha << "\n";
        bool generators = true;
        long long number = strand_pairs(A, Lt, generators);
        for (int N = 0;;) {
            if (count != 0) {
                if (out == strand_output::file_blocks) {
                    *file << "\n" << N + 1 << ". matrix of linear resolution of I_X : \n"
                          << A.cols << "\n" << count << "\n";
                    put_strand_rows(*file, A, Lt);
                } else if (N >= 1 && out == strand_output::screen_rows) {
                    print_strand_rows(A, Lt);
                } else if (N >= 1 && out == strand_output::file_rows) {
                    *file << A.cols << "\n" << count << "\n";
                    put_strand_rows(*file, A, Lt);
                }
            }
            // The strand of I_X is row alpha - 1 of the Betti table: count =
            // beta_(N+1, N+alpha), and the step finds beta_(N+2, N+1+alpha)
            // syzygies.  (In the first step, the generators', pairs may
            // reduce to 0 with syzygies that interreduce to nothing, so the
            // marks do not follow from the table there.)
            const long long syzygies =
                generators || number == 0
                    ? -1
                    : betti.step_syzygies(N + 1, N + 2, X.alpha - 1, count, betti_budget * strand_step_work(A, number));
            strand_rows B;
            if (!strand_syzygies(A, Lt, number, generators, B, syzygies)) {
                for (int j = 0; j < n; ++j) counts[j] = 0;
                return false;
            }
            generators = false;
            std::swap(A, B);
            ++N;
            if (A.rows() == 0) break;
            interreduce(A, Lt);
            count = strand_count(Lt);
            if (N < n) counts[N] = count;
            if (verbose) std::cout << count << " syzygies in degree " << X.alpha - N << " found\n";
            // The row holds steps 0 .. n-1 and the strand of I_X is no
            // longer; step n is computed to see it end, and not continued.
            number = N == n ? 0 : strand_pairs(A, Lt, generators);
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
