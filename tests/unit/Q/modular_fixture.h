// What the tests of the modular computations over Q share: a fixture that
// sets the dimension and keeps standard output (the separator lines) out of
// the test report, and point sets as schemes.
#pragma once

#include <cstdint>
#include <iostream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>
#include <gmpxx.h>

#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "interpreter/random_points.h"

class ModularFixture : public ::testing::Test {
protected:
    int saved_dim = dim, saved_proj = proj, saved_verbose = verbose;
    std::ostringstream out;
    std::streambuf* saved_out = nullptr;

    void SetUp() override
    {
        verbose = 0;
        saved_out = std::cout.rdbuf(out.rdbuf());
    }
    void TearDown() override
    {
        std::cout.rdbuf(saved_out);
        dim = saved_dim;
        proj = saved_proj;
        verbose = saved_verbose;
    }
    // Affine n-space.
    static void use(int n)
    {
        dim = n;
        proj = n + 1;
    }
};

using points = std::vector<std::vector<mpq_class>>;

// A scheme of the affine points pts (dim set before).
inline scheme* make_scheme(const points& pts)
{
    scheme* X = new scheme(static_cast<int>(pts.size()));
    for (size_t i = 0; i < pts.size(); ++i)
        for (int j = 0; j < dim; ++j) X->P->a[i][j] = Rational(pts[i][j]);
    return X;
}

// s points with coordinates uniform in [low, high] (repeats possible).
inline points uniform_points(int s, int low, int high, uint32_t seed)
{
    lagged_fibonacci gen(seed);
    points q(s, std::vector<mpq_class>(dim));
    for (auto& p : q)
        for (auto& x : p) x = gen.uniform(low, high);
    return q;
}
