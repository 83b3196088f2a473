// A fixed number of polynomials: Groebner bases, separators, generators.
#pragma once

#include <iosfwd>

#include "engine/polynomial.h"

class ideal {
public:
    int no_of_gens;
    polynomial* gen;  // array-new, owned

    // s zero polynomials.
    explicit ideal(int s);
    ideal(const ideal& I);
    ideal& operator=(const ideal& I);
    ~ideal();
};

// Each generator in screen form followed by a newline.
std::ostream& operator<<(std::ostream& s, const ideal& I);
