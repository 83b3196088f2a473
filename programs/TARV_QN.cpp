// TARV over the cyclotomic field Q(zeta_N) of N-th roots of unity.
#include "interpreter/program.h"

int main(int argc, char** argv)
{
    return tarv_main(argc, argv);
}
