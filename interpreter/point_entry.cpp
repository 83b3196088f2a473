#include "interpreter/point_entry.h"

#include <iostream>
#include <sstream>
#include <vector>

#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "fields/rational_text.h"
#include "interpreter/harness_hooks.h"
#include "interpreter/input.h"
#include "interpreter/session.h"
#include "interpreter/store.h"

// The coordinates of the points of get and scheme, one after another.  Over
// Q(zeta_N) a coordinate is one word (a rational, "1,0,-1/2,3" or
// "(1,0,-1/2,3)"), or its n components separated by blanks: a line of plain
// numbers holding more of them than the coordinates still to be read can
// take one number each is read n numbers per coordinate.  A line of fewer
// numbers keeps the one-number-per-coordinate reading it always had.  A
// line is judged once, from where the reading first looks at it, so that a
// long line costs its length and not its square.
class coordinate_reader {
public:
    coordinate_reader(std::istream& in, long long coordinates) : in_(in), still_needed_(coordinates) {}

    read_result next(K& x, std::string& token)
    {
        if (field_degree() > 1 && vectors_on_line_ == 0) {
            read_result r = look_at_line(token);
            if (r != read_result::ok) return r;
        }
        read_result r = vectors_on_line_ > 0 ? read_components(x, token) : read_element(in_, x, token);
        if (r == read_result::ok) --still_needed_;
        return r;
    }

private:
    // Decides how the numbers of the line ahead are meant.
    read_result look_at_line(std::string& token)
    {
        in_ >> std::ws;
        const line_buffer* lines = line_source(in_);
        if (!lines || lines->line_number() == judged_line_) return read_result::ok;
        judged_line_ = lines->line_number();
        std::string rest = lines->rest_of_line();
        std::istringstream words(rest);
        std::string word;
        long long numbers = 0;
        mpq_class value;
        while (words >> word) {
            if (!parse_rational(word, value)) return read_result::ok;
            ++numbers;
        }
        if (numbers <= still_needed_) return read_result::ok;
        if (numbers % field_degree() != 0) {
            token = rest;
            return read_result::uneven_components;
        }
        vectors_on_line_ = numbers / field_degree();
        return read_result::ok;
    }

    read_result read_components(K& x, std::string& token)
    {
        --vectors_on_line_;
        std::string joined, word;
        for (int i = 0; i < field_degree(); ++i) {
            if (!read_token(in_, word)) return read_result::end_of_input;
            joined += (i > 0 ? "," : "") + word;
        }
        std::istringstream vector(joined);
        return read_element(vector, x, token);
    }

    std::istream& in_;
    long long still_needed_;
    long long vectors_on_line_ = 0;
    long judged_line_ = -1;
};

// Reads the proj homogeneous coordinates of a point and appends its affine
// coordinates x_j / x_0 to coords.  A first coordinate 0 is taken as 1, with
// a warning whose second line is second_warning.
static read_result read_point(coordinate_reader& reader, std::istream& in, std::vector<K>& coords,
                              const char* second_warning, bool skip_char_after_first, std::string& token)
{
    K x0;
    read_result r = reader.next(x0, token);
    if (r != read_result::ok) return r;
    if (x0 == 0) {
        std::cerr << "first coordinate is expected to be different from zero\n" << second_warning;
        x0 = 1;
    }
    if (skip_char_after_first) in.get();
    for (int j = 0; j < dim; ++j) {
        K xj;
        r = reader.next(xj, token);
        if (r != read_result::ok) return r;
        coords.push_back(xj / x0);
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

// A new scheme of the s points whose affine coordinates are coords (dim per
// point).  The scheme is made only after all its points are read: its work
// storage grows with s^2, and a count is only a claim until the points are
// there.
static scheme* make_scheme(int s, const std::vector<K>& coords)
{
    scheme* X = new scheme(s);
    for (int i = 0; i < s; ++i)
        for (int j = 0; j < dim; ++j) X->P->a[i][j] = coords[static_cast<std::size_t>(i) * dim + j];
    return X;
}

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
        ++reported_errors;
        std::cout << count_refusal;
        release_var(v);
        return;
    }
    if (s > point_limit()) {
        ++reported_errors;
        std::cout << point_limit_refusal();
        release_var(v);
        return;
    }
    std::vector<K> coords;
    coordinate_reader reader(std::cin, static_cast<long long>(s) * proj);
    for (int i = 0; i < s; ++i) {
        std::string token;
        read_result r = read_point(reader, std::cin, coords, "first coordinate treated as '1'\n", true, token);
        if (r != read_result::ok) {
            if (r == read_result::end_of_input) end_of_input();
            else {
                ++reported_errors;
                std::cerr << "point " << i + 1 << ": " << describe_bad_element(r, token) << "\n";
                discard_line();
            }
            release_var(v);
            return;
        }
        std::cout << i + 1 << ". point entered : <1";
        for (int j = 0; j < dim; ++j) std::cout << ":" << coords[static_cast<std::size_t>(i) * dim + j];
        std::cout << ">\n";
    }
    scheme* X = make_scheme(s, coords);
    int i, k;
    if (find_equal_points(*X->P, i, k)) {
        ++reported_errors;
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
            ++reported_errors;
            std::cerr << where << "the file ends before the number of points\n";
            return 2;
        }
        if (!parse_int(token, *value)) {
            ++reported_errors;
            std::cerr << where << "'" << token << "' is not a number\n";
            return 2;
        }
        if (value == &length && length != proj) {
            error(31);
            return 1;
        }
    }
    if (s < 1) {
        ++reported_errors;
        std::cerr << where << count_refusal;
        return 2;
    }
    if (s > point_limit()) {
        ++reported_errors;
        std::cerr << where << point_limit_refusal();
        return 2;
    }
    std::vector<K> coords;
    coordinate_reader reader(in, static_cast<long long>(s) * proj);
    for (int i = 0; i < s; ++i) {
        read_result r = read_point(reader, in, coords, "first coordinate as '1'\n", false, token);
        if (r == read_result::ok) continue;
        ++reported_errors;
        std::cerr << where << "point " << i + 1 << ": ";
        if (r == read_result::end_of_input) std::cerr << "the file ends before all " << s << " points are read\n";
        else std::cerr << describe_bad_element(r, token) << "\n";
        return 2;
    }
    scheme* X = make_scheme(s, coords);
    int i, k;
    if (find_equal_points(*X->P, i, k)) {
        ++reported_errors;
        std::cerr << where << "points " << i + 1 << " and " << k + 1 << " are equal: scheme not stored\n";
        delete X;
        return 2;
    }
    var[v].var_ptr = X;
    return 0;
}
