#include "interpreter/displays.h"

#include <ostream>

#include "engine/globals.h"
#include "interpreter/scheme.h"

std::ostream& operator<<(std::ostream& s, scheme& X)
{
    s << "scheme consists of " << X.s << " points:\n";
    disp_scheme(s, X);
    s << "\n" << Line;
    return s;
}
