// Times `tarv betti` on random point sets, the targets of the batch tool:
//   1000 points of P^3 over F_31991 (target 0.5 s),
//   26 points of P^12 over F_31991 (target 5 s),
//   300 points of P^3 over Q (target 5 s).
//   bench_tarv [-r repeats] [-q]    (-q: leave out the P^12 set, which takes minutes)
// Each set is written to a scheme file and run through the entry point the
// program tarv calls, reading the file included; the shortest of the repeats
// is shown, wall-clock and processor time.
//
// Figures on the development machine (2 shared cores, Release build):
//   1000 points of P^3 over F_31991:  0.06 s (cpu 0.06 s)          target 0.5 s
//   300 points of P^3 over Q:         0.010 s (cpu 0.010 s)        target 5 s
//     (the table of the points modulo 32003, certified as in batch/betti.h)
//   26 points of P^12 over F_31991:   2.8 s (cpu 5.3 s)             target 5 s
//     (the program tarv on the same set: 3.3-3.9 s, peak memory 190 MB):
//     the Koszul matrices from wedge^i (x) A_1 to wedge^(i-1) (x) A_2 are up to
//     10296 x 11088 and are eliminated densely by panels of 16 echelon rows
//     (16-bit pair multiply-adds), the matrices of a degree on both cores;
//     11.5 s with groups of rows swept by one echelon row at a time, 140 s
//     with one row at a time on one core.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "batch/entry.h"

namespace {

struct bench_set {
    const char* name;
    int n, s, low, high;
    bool rational;
    double target;
};

// s distinct random points of P^n with first coordinate 1.
void write_points(const std::string& file, const bench_set& b, std::mt19937& random)
{
    std::uniform_int_distribution<int> coordinate(b.low, b.high);
    std::set<std::vector<int>> points;
    while (static_cast<int>(points.size()) < b.s) {
        std::vector<int> p(static_cast<std::size_t>(b.n));
        for (int& x : p) x = coordinate(random);
        points.insert(p);
    }
    std::ofstream out(file);
    out << b.n + 1 << "\n" << b.s << "\n";
    for (const auto& p : points) {
        out << 1;
        for (int x : p) out << " " << x;
        out << "\n";
    }
}

class null_buffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
};

}  // namespace

int main(int argc, char** argv)
{
    int repeats = 3;
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-r" && i + 1 < argc) repeats = std::atoi(argv[++i]);
        else if (a == "-q") quick = true;
    }
    const std::vector<bench_set> sets = {
        {"1000 points of P^3 over F_31991", 3, 1000, 0, 31990, false, 0.5},
        {"26 points of P^12 over F_31991", 12, 26, 0, 31990, false, 5},
        {"300 points of P^3 over Q", 3, 300, -50, 50, true, 5},
    };
    std::mt19937 random(20261209);
    char folder[] = "/tmp/bench_tarv_XXXXXX";
    if (!mkdtemp(folder)) return 1;
    for (const bench_set& b : sets) {
        if (quick && b.n == 12) continue;
        const std::string file = std::string(folder) + "/points.pts";
        write_points(file, b, random);
        batch_options o;
        o.command = batch_command::betti;
        o.field = b.rational ? batch_field::rationals : batch_field::prime;
        o.characteristic = b.rational ? 0 : 31991;
        o.files = {file};
        double wall = 1e300, cpu = 1e300;
        for (int r = 0; r < repeats; ++r) {
            null_buffer silence;
            std::streambuf* standard = std::cout.rdbuf(&silence);
            auto w = std::chrono::steady_clock::now();
            std::clock_t c = std::clock();
            int status = b.rational ? batch_run_q(o) : batch_run_fp(o);
            cpu = std::min(cpu, double(std::clock() - c) / CLOCKS_PER_SEC);
            wall = std::min(wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - w).count());
            std::cout.rdbuf(standard);
            if (status != 0) std::cout << b.name << ": failed\n";
        }
        std::cout << "tarv betti, " << b.name << ": " << wall << " s (cpu " << cpu << " s), target " << b.target
                  << " s\n";
        std::remove(file.c_str());
    }
    rmdir(folder);
    return 0;
}
