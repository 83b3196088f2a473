#include "batch/point_file.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "fields/rational_text.h"
#include "interpreter/input.h"
#include "interpreter/point_entry.h"

namespace {

// Whitespace-separated tokens with the line each starts on.
class token_reader {
public:
    explicit token_reader(std::istream& in) : in(in) {}

    // The next token; false at the end of the input.
    bool next(std::string& token)
    {
        int c;
        while ((c = in.get()) != EOF && std::isspace(c))
            if (c == '\n') ++position;
        if (c == EOF) return false;
        line_ = position;
        token.assign(1, static_cast<char>(c));
        while ((c = in.peek()) != EOF && !std::isspace(c)) token += static_cast<char>(in.get());
        return true;
    }
    // The line of the last token read (1 before the first).
    int line() const { return line_; }

private:
    std::istream& in;
    int position = 1, line_ = 1;
};

std::string at(int line)
{
    return "line " + std::to_string(line) + ": ";
}

bool read_count(token_reader& tokens, const char* what, int& value, std::string& error)
{
    std::string token;
    if (!tokens.next(token)) {
        error = at(tokens.line()) + "the file ends before " + what;
        return false;
    }
    if (!parse_int(token, value)) {
        error = at(tokens.line()) + "'" + token + "' is not " + what;
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<scheme> read_point_file(std::istream& in, std::string& error)
{
    token_reader tokens(in);
    int length, s;
    if (!read_count(tokens, "the point length", length, error)) return nullptr;
    if (length < 3 || length > max_dim + 1) {
        error = at(tokens.line()) + "point length " + std::to_string(length) + ": points of P^2 to P^" +
                std::to_string(max_dim) + " have 3 to " + std::to_string(max_dim + 1) + " coordinates";
        return nullptr;
    }
    if (!read_count(tokens, "the number of points", s, error)) return nullptr;
    dim = length - 1;
    proj = length;
    if (s < 1 || s > max_scheme_points()) {
        error = at(tokens.line()) + "the number of points has to be between 1 and " +
                std::to_string(max_scheme_points());
        return nullptr;
    }
    std::vector<K> coords;
    coords.reserve(static_cast<std::size_t>(s) * dim);
    std::vector<int> point_line(s);
    std::string token;
    for (int i = 0; i < s; ++i) {
        K x0;
        for (int j = 0; j <= dim; ++j) {
            if (!tokens.next(token)) {
                error = at(tokens.line()) + "the file ends inside point " + std::to_string(i + 1) + " of " +
                        std::to_string(s);
                return nullptr;
            }
            if (j == 0) point_line[i] = tokens.line();
            std::istringstream text(token);
            K x;
            std::string bad;
            read_result r = read_element(text, x, bad);
            if (r != read_result::ok || text.peek() != EOF) {
                error = at(tokens.line()) + "point " + std::to_string(i + 1) + ": " +
                        describe_bad_element(r == read_result::ok ? read_result::malformed : r, token);
                return nullptr;
            }
            if (j == 0) {
                if (x == 0) {
                    error = at(tokens.line()) + "point " + std::to_string(i + 1) +
                            " has first coordinate 0 (the points must lie off the hyperplane x_0 = 0)";
                    return nullptr;
                }
                x0 = x;
            } else {
                coords.push_back(x / x0);
            }
        }
    }
    if (tokens.next(token)) {
        error = at(tokens.line()) + "'" + token + "' after the last of the " + std::to_string(s) + " points";
        return nullptr;
    }
    auto X = std::make_unique<scheme>(s);
    for (int i = 0; i < s; ++i)
        for (int j = 0; j < dim; ++j) X->P->a[i][j] = coords[static_cast<std::size_t>(i) * dim + j];
    int i, k;
    if (find_equal_points(*X->P, i, k)) {
        error = at(point_line[k]) + "point " + std::to_string(k + 1) + " equals point " + std::to_string(i + 1) +
                " (line " + std::to_string(point_line[i]) + ")";
        return nullptr;
    }
    return X;
}
