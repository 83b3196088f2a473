// The batch tool tarv: what its command line asks for, and one entry point
// per coefficient field.  Each entry lives in a shared library of its own
// (tarv_batch_<tag>) holding that field's engine; the program calls the one
// the command line chose.
#pragma once

#include <string>
#include <vector>

enum class batch_command { invariants, betti, gb, export_script };
enum class batch_field { prime, rationals, cyclotomic };
enum class export_system { m2, singular };

struct batch_options {
    batch_field field = batch_field::rationals;
    int characteristic = 0;  // the prime of batch_field::prime
    int order = 0;           // N of Q(zeta_N)
    int ordering = 1;        // 1 deg-rev-lex, 0 deg-lex
    bool json = false;
    batch_command command = batch_command::invariants;
    export_system target = export_system::m2;
    std::vector<std::string> files;  // "-" is standard input
};

#define TARV_BATCH_ENTRY __attribute__((visibility("default")))

// Processes every file in turn and reports each on standard output (errors
// on standard error as well).  0 when every file succeeded, else 1.
TARV_BATCH_ENTRY int batch_run_fp(const batch_options& options);
TARV_BATCH_ENTRY int batch_run_q(const batch_options& options);
TARV_BATCH_ENTRY int batch_run_qn(const batch_options& options);

// The Betti table over F_p of points given by their affine coordinates
// modulo p (s points of P^n, row-major, p <= 32003), computed by the F_p
// engine: the ranks for the point sets over Q and Q(zeta_N), whose tables
// are the same as those of their reductions when the conditions in
// batch/betti.h hold.  hilbert receives H_R(0..top+1), beta[row][i] the table
// (rows up to the last nonzero one).  False when the points are not distinct
// or a Koszul matrix is too large (too_large set).
struct modular_betti {
    std::vector<long long> hilbert;
    std::vector<std::vector<long long>> beta;
    bool too_large = false;  // refused for the size of a Koszul matrix
};
TARV_BATCH_ENTRY bool batch_betti_fp(int n, int s, int p, int ordering, const std::vector<int>& coordinates,
                                     modular_betti& result);
