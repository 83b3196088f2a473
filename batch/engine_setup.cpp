#include "batch/engine_setup.h"

#include <cstring>

#include "engine/globals.h"
#include "engine/monom.h"

void set_engine_defaults(int ordering)
{
    verbose = 0;
    LL = 80;
    std::memset(Line, '-', static_cast<std::size_t>(LL - 1));
    Line[LL - 1] = '\n';
    Line[LL] = '\0';
    counter = 0;
    set_ordering(ordering);
}
