// TARV over the prime field F_p, p <= 32003 chosen at run time.
#include "interpreter/program.h"

int main(int argc, char** argv)
{
    return tarv_main(argc, argv);
}
