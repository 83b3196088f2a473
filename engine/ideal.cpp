#include "engine/ideal.h"

#include <ostream>

ideal::ideal(int s) : no_of_gens(s), gen(new polynomial[s]) {}

ideal::ideal(const ideal& I) : no_of_gens(I.no_of_gens), gen(new polynomial[I.no_of_gens])
{
    for (int i = 0; i < no_of_gens; ++i) gen[i] = I.gen[i];
}

ideal& ideal::operator=(const ideal& I)
{
    if (this == &I) return *this;
    polynomial* g = new polynomial[I.no_of_gens];
    for (int i = 0; i < I.no_of_gens; ++i) g[i] = I.gen[i];
    delete[] gen;
    gen = g;
    no_of_gens = I.no_of_gens;
    return *this;
}

ideal::~ideal()
{
    delete[] gen;
}

std::ostream& operator<<(std::ostream& s, const ideal& I)
{
    for (int i = 0; i < I.no_of_gens; ++i) s << I.gen[i] << "\n";
    return s;
}
