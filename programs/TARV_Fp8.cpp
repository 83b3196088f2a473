// TARV over the prime field F_p, p <= 251, with table-driven arithmetic.
#include "interpreter/program.h"

int main()
{
    return tarv_main();
}
