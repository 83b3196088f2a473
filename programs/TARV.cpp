// TARV over the rational numbers.
#include "interpreter/program.h"

int main(int argc, char** argv)
{
    return tarv_main(argc, argv);
}
