// What the unit tests share: fixtures that give the engine's globals back,
// fixed-seed generators, point sets and schemes built from small integers,
// monomials, text forms and a little linear algebra.  Every field build
// compiles these helpers, so they use the field only through small integers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/monom.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "interpreter/random_points.h"

namespace test_support {

// --- the engine's globals ---

// Saves every global the engine reads and gives it back at the end of the
// scope.
class saved_globals {
public:
    saved_globals()
    {
        std::memcpy(line, Line, sizeof Line);
        std::memcpy(names, varstring, sizeof varstring);
    }
    ~saved_globals()
    {
        dim = d;
        proj = p;
        verbose = v;
        LL = ll;
        counter = c;
        monom_ordering = ordering;
        monom_ordering_lt = lt;
        monom_ordering_le = le;
        proj_monom_ordering_lt = proj_lt;
        proj_monom_ordering_le = proj_le;
        std::memcpy(Line, line, sizeof Line);
        std::memcpy(varstring, names, sizeof varstring);
    }
    saved_globals(const saved_globals&) = delete;
    saved_globals& operator=(const saved_globals&) = delete;

private:
    int d = dim, p = proj, v = verbose, ll = LL, c = counter, ordering = monom_ordering;
    monom_order_fn lt = monom_ordering_lt, le = monom_ordering_le;
    monom_order_fn proj_lt = proj_monom_ordering_lt, proj_le = proj_monom_ordering_le;
    char line[sizeof Line];
    char names[sizeof varstring];
};

// Makes p the characteristic while in scope (for the prime fields).
class characteristic_guard {
public:
    explicit characteristic_guard(int p) { field_set_characteristic(p); }
    ~characteristic_guard() { field_set_characteristic(saved); }
    characteristic_guard(const characteristic_guard&) = delete;
    characteristic_guard& operator=(const characteristic_guard&) = delete;

private:
    int saved = field_characteristic();
};

// Projective n-space: n affine variables, n + 1 projective ones.
inline void set_dim(int n)
{
    dim = n;
    proj = n + 1;
}

// Ordering 0 (deg-lex) or 1 (deg-rev-lex) and its four comparisons.
inline void use_ordering(int ordering)
{
    set_ordering(ordering);
}
inline void use_deglex() { use_ordering(0); }
inline void use_degrevlex() { use_ordering(1); }

inline void use(int n, int ordering)
{
    set_dim(n);
    use_ordering(ordering);
}

// Sends what is written on a stream into another one while in scope.
class redirect {
public:
    redirect(std::ostream& from, std::ostream& to) : stream(from), saved(from.rdbuf(to.rdbuf())) {}
    ~redirect() { stream.rdbuf(saved); }
    redirect(const redirect&) = delete;
    redirect& operator=(const redirect&) = delete;

private:
    std::ostream& stream;
    std::streambuf* saved;
};

// A test of engine code: it starts from the field's start-up state without
// progress reports, and the globals it changes come back afterwards.
class engine_test : public ::testing::Test {
protected:
    engine_test()
    {
        field_set_defaults();
        verbose = 0;
    }

private:
    saved_globals saved;
};

// An engine test that keeps what the computations print (separator lines,
// progress reports) in out and err instead of the test output.
class quiet_test : public engine_test {
protected:
    std::ostringstream out, err;

private:
    redirect to_out{std::cout, out}, to_err{std::cerr, err};
};

// Runs f with standard output captured; returns what it printed.
template <class F>
std::string printed(F f)
{
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}

// --- fixed-seed generators, the same sequence on every platform and field ---

// Small integers from the generator G's next().
template <class G>
class draws {
public:
    // In 0..n-1, uniform enough for test data.
    int below(int n) { return static_cast<int>(static_cast<G*>(this)->next() % static_cast<uint64_t>(n)); }
    // In lo..hi.
    int in(int lo, int hi) { return lo + below(hi - lo + 1); }
};

// Marsaglia's xorshift on 32 bits (shifts 13, 17, 5).
class xorshift32 : public draws<xorshift32> {
public:
    explicit xorshift32(uint32_t seed) : x(seed) {}
    uint64_t next()
    {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    }

private:
    uint32_t x;
};

// Marsaglia's xorshift on 64 bits (shifts 13, 7, 17); draws use the whole
// state.
class xorshift64 : public draws<xorshift64> {
public:
    static constexpr uint64_t default_seed = 0x9e3779b97f4a7c15ULL;
    explicit xorshift64(uint64_t seed = default_seed) : x(seed) {}
    uint64_t next()
    {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    }

private:
    uint64_t x;
};

// The same states as xorshift64; draws use their upper 32 bits.
class xorshift64_high : public draws<xorshift64_high> {
public:
    explicit xorshift64_high(uint64_t seed = xorshift64::default_seed) : g(seed) {}
    uint64_t next() { return g.next() >> 32; }

private:
    xorshift64 g;
};

// xorshift64* (shifts 12, 25, 27, then a multiplication); draws use the top
// 31 bits of the product.
class xorshift64star : public draws<xorshift64star> {
public:
    explicit xorshift64star(uint64_t seed) : x(seed | 1) {}
    uint64_t next()
    {
        x ^= x >> 12;
        x ^= x << 25;
        x ^= x >> 27;
        return x * 0x2545F4914F6CDD1DULL >> 33;
    }

private:
    uint64_t x;
};

// splitmix64.
class splitmix64 : public draws<splitmix64> {
public:
    explicit splitmix64(uint64_t seed) : x(seed) {}
    uint64_t next()
    {
        uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

private:
    uint64_t x;
};

// --- field elements, points and schemes ---

inline K k(int v)
{
    K x(0);
    x = v;
    return x;
}

// Affine points with integer coordinates, dim of them per point.
using points = std::vector<std::vector<int>>;

// Equal as points over the field (the first dim coordinates).
inline bool same_point(const std::vector<int>& p, const std::vector<int>& q)
{
    for (int j = 0; j < dim; ++j)
        if (k(p[j]) != k(q[j])) return false;
    return true;
}

// s points whose coordinates coordinate() draws; a point equal to an earlier
// one over the field is dropped and drawn anew.
template <class Draw>
points distinct_points(int s, Draw coordinate)
{
    points pts;
    while (static_cast<int>(pts.size()) < s) {
        std::vector<int> p(dim);
        for (int& c : p) c = coordinate();
        if (std::none_of(pts.begin(), pts.end(), [&](const std::vector<int>& q) { return same_point(p, q); }))
            pts.push_back(p);
    }
    return pts;
}

// s distinct points with coordinates in [low, high] from the lagged
// Fibonacci generator of the random commands: all drawn first, then each
// repeat found drawn anew.
inline points lagged_points(int s, int low, int high, uint32_t seed)
{
    lagged_fibonacci gen(seed);
    points pts(s, std::vector<int>(dim));
    for (auto& p : pts)
        for (int& x : p) x = gen.uniform(low, high);
    repeat_finder repeats(pts);
    int i, again;
    while (repeats.first_pair(i, again)) {
        for (int& x : pts[again]) x = gen.uniform(low, high);
        repeats.replace(again, pts[again]);
    }
    return pts;
}

// The scheme of the given affine points (first homogeneous coordinate 1).
inline std::unique_ptr<scheme> make_scheme(const points& pts)
{
    auto X = std::make_unique<scheme>(static_cast<int>(pts.size()));
    for (size_t i = 0; i < pts.size(); ++i)
        for (int j = 0; j < dim; ++j) X->P->a[i][j] = k(pts[i][j]);
    return X;
}

// f at the point (1 : P[i]) of X: the homogenizing variable stands for 1.
inline K value_at(const polynomial& f, const scheme& X, int i)
{
    K sum(0);
    if (sign(f) == 0) return sum;
    for (int t = 0; t < f.no_of_monoms; ++t) {
        K term = f.coef[t];
        for (int j = 0; j < dim; ++j)
            for (int e = 0; e < f.term[t].exp[j]; ++e) term *= X.P->a[i][j];
        sum += term;
    }
    return sum;
}

// --- monomials ---

// Exponents in variable order; a projective monomial gets dim = proj.
inline monom mono(std::initializer_list<int> e, bool projective = false)
{
    monom m;
    int i = 0;
    for (int x : e) m.exp[i++] = static_cast<int16_t>(x);
    if (projective) m.dim = static_cast<int16_t>(proj);
    return m;
}

// The variable number i, or its e-th power.
inline monom var(int i, int e = 1)
{
    monom m;
    m.exp[i] = static_cast<int16_t>(e);
    return m;
}

// The exponent vectors of degree d in the proj variables, the first exponent
// falling fastest to the back (none when d < 0).
inline std::vector<std::vector<int>> exponents_of_degree(int d)
{
    std::vector<std::vector<int>> all;
    std::vector<int> e(proj, 0);
    auto fill = [&](auto& self, int i, int left) -> void {
        if (i == proj - 1) {
            e[i] = left;
            all.push_back(e);
            return;
        }
        for (int x = left; x >= 0; --x) {
            e[i] = x;
            self(self, i + 1, left - x);
        }
    };
    if (d >= 0) fill(fill, 0, d);
    return all;
}

// --- text forms ---

// As printed on the screen (operator<<).
template <class T>
std::string screen_text(const T& x)
{
    std::ostringstream s;
    s << x;
    return s.str();
}

// As written to a file (put).
template <class T>
std::string file_text(const T& x)
{
    std::ostringstream s;
    x.put(s);
    return s.str();
}

// --- linear algebra ---

// Solves m in place, columns and rows taken in their own order; the
// dimension of the kernel.
inline int kernel_dimension(matrix& m)
{
    std::vector<int> c(m.cols), r(std::max(m.rows, 1));
    std::iota(c.begin(), c.end(), 0);
    std::iota(r.begin(), r.end(), 0);
    return m.solve(c.data(), r.data());
}

}  // namespace test_support
