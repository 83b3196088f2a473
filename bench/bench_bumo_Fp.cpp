// bu_mo and sep over F_31991 on random points of P^3 with coordinates 0..50.
//   bench_bumo_Fp [s ...]      default sizes: 100 300 1000 2000
#include "bench/bumo_bench.h"

int main(int argc, char** argv)
{
    Fp::prime = 31991;
    return bumo_bench::run(argc, argv, {100, 300, 1000, 2000}, 0, 50);
}
