// TARV over the rational numbers.
#include "interpreter/program.h"

int main()
{
    return tarv_main();
}
