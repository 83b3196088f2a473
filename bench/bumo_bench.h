// Times the Buchberger-Moeller computation and, separately, the separators
// on random points of P^3; shared by the benchmarks of the fields.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
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

namespace bumo_bench {

inline double seconds_since(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

inline long peak_mib()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// s distinct random points with coordinates in [low, high].
inline scheme* random_scheme(int s, int low, int high, lagged_fibonacci& gen)
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

// Runs the sizes given on the command line, or the default ones; the
// separator lines the computations print are discarded.
inline int run(int argc, char** argv, std::vector<int> sizes, int low, int high)
{
    if (argc > 1) {
        sizes.clear();
        for (int a = 1; a < argc; ++a) sizes.push_back(std::atoi(argv[a]));
    }
    verbose = 0;
    lagged_fibonacci gen(1234);
    std::ostringstream sink;
    std::streambuf* out = std::cout.rdbuf(sink.rdbuf());
    for (int s : sizes) {
        scheme* X = random_scheme(s, low, high, gen);
        auto t0 = std::chrono::steady_clock::now();
        bu_mo(*X);
        double t_bumo = seconds_since(t0);
        t0 = std::chrono::steady_clock::now();
        sep(*X);
        double t_sep = seconds_since(t0);
        std::cout.rdbuf(out);
        std::cout << "s = " << s << ": bu_mo " << t_bumo << " s, sep " << t_sep << " s, rX " << X->sigma + 1 << ", "
                  << X->Ix->no_of_gens << " Groebner basis elements, peak memory " << peak_mib() << " MiB"
                  << std::endl;
        std::cout.rdbuf(sink.rdbuf());
        delete X;
        sink.str("");
    }
    std::cout.rdbuf(out);
    return 0;
}

}  // namespace bumo_bench
