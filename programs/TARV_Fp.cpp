// TARV over the prime field F_p, p <= 32003 chosen at run time.
#include "interpreter/program.h"

int main()
{
    return tarv_main();
}
