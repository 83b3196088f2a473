// Times the Buchberger-Moeller computation and, separately, the separators
// on random points of P^3; built once for each field's engine
// (bench_bumo_Fp, bench_bumo_Fp8, bench_bumo_Q).
//   bench_bumo_<field> [-p prime] [-r repeats] [s ...]
// Defaults: F_31991 (Fp) and F_101 (Fp8) on coordinates 0..50 with
// s = 100 300 1000 2000; Q on coordinates -50..50 with s = 50 100 200.
// The prime can be chosen in the builds over F_p.  With repeats, each size
// runs that often on the same points and the shortest times are shown (the
// machine is shared; the minimum is the steadiest figure).
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
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
#include "engine/scheme.h"
#include "fields/field.h"
#include "interpreter/random_points.h"

namespace {

#if defined(TARV_FIELD_Q)
const std::vector<int> default_sizes = {50, 100, 200};
const int low = -50, high = 50;
#else
const std::vector<int> default_sizes = {100, 300, 1000, 2000};
const int low = 0, high = 50;
#endif

// Wall-clock and processor seconds; the processor time is the steadier
// figure on a loaded machine.
struct seconds {
    double wall = 1e300, cpu = 1e300;
};

// Times f() and keeps the shortest times in best.
template <class F>
void time_it(seconds& best, F f)
{
    auto wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    f();
    best.wall = std::min(best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count());
    best.cpu = std::min(best.cpu, double(std::clock() - cpu) / CLOCKS_PER_SEC);
}

std::ostream& operator<<(std::ostream& out, const seconds& t)
{
    return out << t.wall << " s (cpu " << t.cpu << " s)";
}

long peak_mib()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// s random points with coordinates in [low, high], distinct as integers
// (and so in the field as long as the prime exceeds high - low).
std::vector<repeat_finder::point> random_points(int s, lagged_fibonacci& gen)
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
    return pts;
}

scheme* make_scheme(const std::vector<repeat_finder::point>& pts)
{
    const int s = static_cast<int>(pts.size());
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
    // Freed memory stays with the process: otherwise each repeat pays for
    // the page faults of a heap the allocator gave back to the system, more
    // or less by chance of the heap's layout.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    field_set_defaults();
    std::vector<int> sizes;
    int repeats = 1;
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "-r") == 0 && a + 1 < argc) {
            repeats = std::max(1, std::atoi(argv[++a]));
            continue;
        }
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
        const auto pts = random_points(s, gen);
        seconds t_bumo, t_sep;
        int rX = 0, gens = 0;
        for (int r = 0; r < repeats; ++r) {
            scheme* X = make_scheme(pts);
            time_it(t_bumo, [&] { bu_mo(*X); });
            time_it(t_sep, [&] { sep(*X); });
            rX = X->sigma + 1;
            gens = X->Ix->no_of_gens;
            delete X;
            sink.str("");
        }
        std::cout.rdbuf(out);
        std::cout << "s = " << s << ": bu_mo " << t_bumo << ", sep " << t_sep << ", rX " << rX << ", " << gens
                  << " Groebner basis elements, peak memory " << peak_mib() << " MiB" << std::endl;
        std::cout.rdbuf(sink.rdbuf());
    }
    std::cout.rdbuf(out);
    return 0;
}
