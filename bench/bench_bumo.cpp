// Times the Buchberger-Moeller computation and, separately, the separators
// on random points of P^3; built once for each field's engine
// (bench_bumo_Fp, bench_bumo_Fp8, bench_bumo_Q).
//   bench_bumo_<field> [-p prime] [s ...]
// Defaults: F_31991 (Fp) and F_101 (Fp8) on coordinates 0..50 with
// s = 100 300 1000 2000; Q on coordinates -50..50 with s = 50 100 200.
// The prime can be chosen in the builds over F_p.
#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <vector>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "fields/field.h"
#include "interpreter/random_points.h"
#include "interpreter/scheme.h"

namespace {

#if defined(TARV_FIELD_Q)
const std::vector<int> default_sizes = {50, 100, 200};
const int low = -50, high = 50;
#else
const std::vector<int> default_sizes = {100, 300, 1000, 2000};
const int low = 0, high = 50;
#endif

// Wall-clock and processor seconds since a start; the processor time is the
// steadier figure on a loaded machine.
struct stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();

    void print(std::ostream& out, const char* what) const
    {
        out << what << " " << std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count()
            << " s (cpu " << double(std::clock() - cpu) / CLOCKS_PER_SEC << " s)";
    }
};

long peak_mib()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// s random points with coordinates in [low, high], distinct as integers
// (and so in the field as long as the prime exceeds high - low).
scheme* random_scheme(int s, lagged_fibonacci& gen)
{
    std::vector<repeat_finder::point> pts(s, repeat_finder::point(dim));
    for (auto& p : pts)
        for (int& x : p) x = gen.uniform(low, high);
    repeat_finder repeats(pts);
    int i, k;
    while (repeats.first_pair(i, k)) {
        for (int& x : pts[k]) x = gen.uniform(low, high);
        repeats.replace(k, pts[k]);
    }
    scheme* X = new scheme(s);
    for (int a = 0; a < s; ++a)
        for (int j = 0; j < dim; ++j) {
            K x(0);
            x = pts[a][j];
            X->P->a[a][j] = x;
        }
    return X;
}

}  // namespace

int main(int argc, char** argv)
{
    field_set_defaults();
    std::vector<int> sizes;
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "-p") == 0 && a + 1 < argc) {
            int p = std::atoi(argv[++a]);
            if (p < 2 || p > field_max_characteristic()) {
                std::cerr << "the prime must lie between 2 and " << field_max_characteristic() << "\n";
                return 1;
            }
            field_set_characteristic(p);
        } else {
            sizes.push_back(std::atoi(argv[a]));
        }
    }
    if (sizes.empty()) sizes = default_sizes;
    verbose = 0;
    std::cout << "field ";
    field_show_ring_name(std::cout);
    std::cout << ", P^" << dim << ", coordinates " << low << ".." << high << std::endl;
    lagged_fibonacci gen(1234);
    // The separator lines the computations print are discarded.
    std::ostringstream sink;
    std::streambuf* out = std::cout.rdbuf(sink.rdbuf());
    for (int s : sizes) {
        scheme* X = random_scheme(s, gen);
        std::ostringstream line;
        line << "s = " << s << ": ";
        stopwatch t_bumo;
        bu_mo(*X);
        t_bumo.print(line, "bu_mo");
        stopwatch t_sep;
        sep(*X);
        t_sep.print(line, ", sep");
        std::cout.rdbuf(out);
        std::cout << line.str() << ", rX " << X->sigma + 1 << ", " << X->Ix->no_of_gens
                  << " Groebner basis elements, peak memory " << peak_mib() << " MiB" << std::endl;
        std::cout.rdbuf(sink.rdbuf());
        delete X;
        sink.str("");
    }
    std::cout.rdbuf(out);
    return 0;
}
