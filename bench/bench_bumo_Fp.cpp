// Times the Buchberger-Moeller computation (and, separately, the separators)
// on random points of P^3 with coordinates 0..50 over F_31991.
//   bench_bumo_Fp [s ...]      default sizes: 100 300 1000 2000
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/matrix.h"
#include "fields/field.h"
#include "interpreter/random_points.h"
#include "interpreter/scheme.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

long peak_mib()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// s distinct random points with coordinates 0..50.
scheme* random_scheme(int s, lagged_fibonacci& gen)
{
    std::vector<repeat_finder::point> pts(s, repeat_finder::point(dim));
    for (auto& p : pts)
        for (int& x : p) x = gen.uniform(0, 50);
    repeat_finder repeats(pts);
    int i, k;
    while (repeats.first_pair(i, k)) {
        for (int& x : pts[k]) x = gen.uniform(0, 50);
        repeats.replace(k, pts[k]);
    }
    scheme* X = new scheme(s);
    for (int a = 0; a < s; ++a)
        for (int j = 0; j < dim; ++j) X->P->a[a][j] = K(pts[a][j]);
    return X;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = {100, 300, 1000, 2000};
    if (argc > 1) {
        sizes.clear();
        for (int a = 1; a < argc; ++a) sizes.push_back(std::atoi(argv[a]));
    }
    verbose = 0;
    Fp::prime = 31991;
    lagged_fibonacci gen(1234);
    std::ostringstream sink;
    std::streambuf* out = std::cout.rdbuf(sink.rdbuf());  // the separator lines
    std::ostringstream report;
    for (int s : sizes) {
        scheme* X = random_scheme(s, gen);
        auto t0 = std::chrono::steady_clock::now();
        bu_mo(*X);
        double t_bumo = seconds_since(t0);
        t0 = std::chrono::steady_clock::now();
        sep(*X);
        double t_sep = seconds_since(t0);
        report << "s = " << s << ": bu_mo " << t_bumo << " s, sep " << t_sep << " s, |O| degree "
               << X->sigma + 1 << ", " << X->Ix->no_of_gens << " Groebner basis elements, peak memory "
               << peak_mib() << " MiB\n";
        delete X;
        sink.str("");
    }
    std::cout.rdbuf(out);
    std::cout << report.str();
    return 0;
}
