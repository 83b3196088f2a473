// TARV over the prime field F_p, p <= 251, with table-driven arithmetic.
#include "interpreter/program.h"

int main(int argc, char** argv)
{
    return tarv_main(argc, argv);
}
