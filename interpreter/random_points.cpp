#include "interpreter/random_points.h"

#include <iostream>

#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/scheme.h"
#include "interpreter/harness_hooks.h"
#include "interpreter/input.h"
#include "interpreter/session.h"
#include "interpreter/settings.h"
#include "interpreter/store.h"

lagged_fibonacci& random_generator()
{
    static lagged_fibonacci gen(random_seed);
    return gen;
}

namespace {

using point = repeat_finder::point;

point draw_point()
{
    point p(dim);
    for (int j = 0; j < dim; ++j) p[j] = random_generator().uniform(range1, range2);
    return p;
}

// The number of points of the range box, or more than s when that is larger.
long long box_points(int s)
{
    const long long m = static_cast<long long>(range2) - range1 + 1;
    long long n = 1;
    for (int j = 0; j < dim && n <= s; ++j) n *= m;
    return n;
}

// Reads the identifier and the count; the entry (or -1) and the count.
int read_request(int& s)
{
    int v = new_var(3);
    if (v < 0) return -1;
    if (!read_number(s)) {
        release_var(v);
        return -1;
    }
    if (s < 1) {
        ++reported_errors;
        std::cout << "number of points has to be greater than zero !\n";
        release_var(v);
        return -1;
    }
    return v;
}

void refuse_count(int v)
{
    ++reported_errors;
    std::cout << "the range [" << range1 << "," << range2 << "] cannot supply that many distinct points !\n";
    release_var(v);
}

// A count the range can supply may still be more than a scheme may have.
bool refuse_over_limit(int v, int s)
{
    if (s <= point_limit()) return false;
    ++reported_errors;
    std::cout << point_limit_refusal();
    release_var(v);
    return true;
}

// Draws points first..s-1 at random after the given fixed ones, redraws the
// later point of the first equal pair until all differ, and stores the scheme
// at entry v.  Distinct integers in the range are distinct field elements.
void make_scheme(int v, int s, std::vector<point> points)
{
    for (int i = static_cast<int>(points.size()); i < s; ++i) points.push_back(draw_point());
    repeat_finder repeats(points);
    int i, k;
    while (repeats.first_pair(i, k)) {
        points[k] = draw_point();
        repeats.replace(k, points[k]);
    }
    scheme* X = new scheme(s);
    for (int i2 = 0; i2 < s; ++i2)
        for (int j = 0; j < dim; ++j) X->P->a[i2][j] = K(points[i2][j]);
    var[v].var_ptr = X;
    print_line();
}

}  // namespace

void random1()
{
    int s;
    int v = read_request(s);
    if (v < 0) return;
    if (s > box_points(s)) {
        refuse_count(v);
        return;
    }
    if (refuse_over_limit(v, s)) return;
    make_scheme(v, s, {});
}

void random2()
{
    int s;
    int v = read_request(s);
    if (v < 0) return;
    // The origin, then the point with coordinate k equal to 1, k = 1..n.
    std::vector<point> fixed;
    for (int k = 0; k <= dim && k < s; ++k) {
        point p(dim, 0);
        if (k > 0) p[k - 1] = 1;
        fixed.push_back(p);
    }
    // The random points must fit beside the fixed ones that lie in the range.
    long long free_points = box_points(s);
    if (range1 <= 0 && range2 >= 0) free_points -= 1;
    if (range1 <= 0 && range2 >= 1) free_points -= dim;
    long long drawn = s - static_cast<long long>(fixed.size());
    if (drawn > 0 && drawn > free_points) {
        refuse_count(v);
        return;
    }
    if (refuse_over_limit(v, s)) return;
    make_scheme(v, s, fixed);
}
