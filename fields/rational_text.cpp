#include "fields/rational_text.h"

#include <cctype>
#include <climits>
#include <istream>

bool read_token(std::istream& in, std::string& token, std::size_t max_chars)
{
    token.clear();
    int c;
    while ((c = in.peek()) != EOF && std::isspace(c)) in.get();
    if (c == EOF) {
        in.setstate(std::ios::eofbit);
        return false;
    }
    while (token.size() < max_chars && (c = in.peek()) != EOF && !std::isspace(c))
        token.push_back(static_cast<char>(in.get()));
    return true;
}

// An optional sign followed by one or more decimal digits.
static bool is_integer_text(const std::string& t, std::size_t from, std::size_t to, bool allow_sign)
{
    if (allow_sign && from < to && (t[from] == '-' || t[from] == '+')) ++from;
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(t[i]))) return false;
    return true;
}

bool parse_rational(const std::string& token, mpq_class& r)
{
    std::size_t slash = token.find('/');
    std::size_t end_num = slash == std::string::npos ? token.size() : slash;
    if (!is_integer_text(token, 0, end_num, true)) return false;
    std::string num = token.substr(token[0] == '+' ? 1 : 0, end_num - (token[0] == '+' ? 1 : 0));
    mpz_class n(num, 10), d(1);
    if (slash != std::string::npos) {
        if (!is_integer_text(token, slash + 1, token.size(), false)) return false;
        d = mpz_class(token.substr(slash + 1), 10);
        if (d == 0) return false;
    }
    r = mpq_class(n, d);
    r.canonicalize();
    return true;
}

bool parse_int(const std::string& token, int& v)
{
    if (!is_integer_text(token, 0, token.size(), true)) return false;
    mpz_class z(token[0] == '+' ? token.substr(1) : token, 10);
    if (z < INT_MIN || z > INT_MAX) return false;
    v = static_cast<int>(z.get_si());
    return true;
}

bool read_rational(std::istream& in, mpq_class& r)
{
    std::string token;
    if (!read_token(in, token)) return false;
    if (!parse_rational(token, r)) {
        in.setstate(std::ios::failbit);
        return false;
    }
    return true;
}
