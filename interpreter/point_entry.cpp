#include "interpreter/point_entry.h"

#include <iostream>

#include "engine/globals.h"
#include "engine/matrix.h"
#include "fields/field.h"
#include "fields/rational_text.h"
#include "interpreter/harness_hooks.h"
#include "interpreter/input.h"
#include "interpreter/scheme.h"
#include "interpreter/session.h"
#include "interpreter/store.h"

// Reads the proj homogeneous coordinates of point i and stores its affine
// coordinates x_j / x_0 in row i of P.  A first coordinate 0 is taken as 1,
// with a warning whose second line is second_warning.
static read_result read_point(std::istream& in, matrix& P, int i, const char* second_warning,
                              bool skip_char_after_first, std::string& token)
{
    K x0;
    read_result r = read_element(in, x0, token);
    if (r != read_result::ok) return r;
    if (x0 == 0) {
        std::cerr << "first coordinate is expected to be different from zero\n" << second_warning;
        x0 = 1;
    }
    if (skip_char_after_first) in.get();
    for (int j = 0; j < dim; ++j) {
        K xj;
        r = read_element(in, xj, token);
        if (r != read_result::ok) return r;
        P.a[i][j] = xj / x0;
    }
    return read_result::ok;
}

bool find_equal_points(const matrix& P, int& i, int& k)
{
    for (i = 0; i < P.rows; ++i)
        for (k = i + 1; k < P.rows; ++k) {
            int j = 0;
            while (j < P.cols && P.a[i][j] == P.a[k][j]) ++j;
            if (j == P.cols) return true;
        }
    return false;
}

static const char* const count_refusal = "number of points has to be greater than zero !\n";

void get_scheme()
{
    int v = new_var(3);
    if (v < 0) return;
    std::cout << "enter number of points : ";
    int s;
    if (!read_number(s)) {
        release_var(v);
        return;
    }
    if (s < 1) {
        std::cout << count_refusal;
        release_var(v);
        return;
    }
    if (!within_point_limit(s)) {
        release_var(v);
        return;
    }
    scheme* X = new scheme(s);
    for (int i = 0; i < s; ++i) {
        std::string token;
        read_result r = read_point(std::cin, *X->P, i, "first coordinate treated as '1'\n", true, token);
        if (r != read_result::ok) {
            if (r == read_result::end_of_input) end_of_input();
            else {
                std::cerr << "point " << i + 1 << ": " << describe_bad_element(r, token) << "\n";
                discard_line();
            }
            delete X;
            release_var(v);
            return;
        }
        std::cout << i + 1 << ". point entered : <1";
        for (int j = 0; j < dim; ++j) std::cout << ":" << X->P->a[i][j];
        std::cout << ">\n";
    }
    int i, k;
    if (find_equal_points(*X->P, i, k)) {
        std::cerr << "points " << i + 1 << " and " << k + 1 << " are equal: scheme not stored\n";
        delete X;
        release_var(v);
        return;
    }
    var[v].var_ptr = X;
}

int read_scheme(std::istream& in, int v, const std::string& file_name)
{
    const std::string where = "file '" + file_name + "': ";
    std::string token;
    int length = 0, s = 0;
    for (int* value : {&length, &s}) {
        if (!read_token(in, token)) {
            std::cerr << where << "the file ends before the number of points\n";
            return 2;
        }
        if (!parse_int(token, *value)) {
            std::cerr << where << "'" << token << "' is not a number\n";
            return 2;
        }
        if (value == &length && length != proj) {
            error(31);
            return 1;
        }
    }
    if (s < 1) {
        std::cerr << where << count_refusal;
        return 2;
    }
    if (!within_point_limit(s)) return 2;
    scheme* X = new scheme(s);
    for (int i = 0; i < s; ++i) {
        read_result r = read_point(in, *X->P, i, "first coordinate as '1'\n", false, token);
        if (r == read_result::ok) continue;
        std::cerr << where << "point " << i + 1 << ": ";
        if (r == read_result::end_of_input) std::cerr << "the file ends before all " << s << " points are read\n";
        else std::cerr << describe_bad_element(r, token) << "\n";
        delete X;
        return 2;
    }
    int i, k;
    if (find_equal_points(*X->P, i, k)) {
        std::cerr << where << "points " << i + 1 << " and " << k + 1 << " are equal: scheme not stored\n";
        delete X;
        return 2;
    }
    var[v].var_ptr = X;
    return 0;
}
