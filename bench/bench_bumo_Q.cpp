// bu_mo and sep over Q on random points of P^3 with coordinates -50..50.
//   bench_bumo_Q [s ...]      default sizes: 50 100 200
#include "bench/bumo_bench.h"

int main(int argc, char** argv)
{
    return bumo_bench::run(argc, argv, {50, 100, 200}, -50, 50);
}
