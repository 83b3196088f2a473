// export_check m2|singular SCRIPT POINTS [N]
// Reads a script written by `tarv export` with a small parser of the part of
// the Macaulay2 or Singular language it uses (comments, the coefficient
// field, the ring with its ordering, the minimal polynomial of z, the ideal)
// and fails on anything else.  Then it evaluates the polynomials modulo a
// prime: every generator must vanish at every point of POINTS (a scheme
// file), and the minimal polynomial of z at the image of zeta_N (N given
// for the cyclotomic fields).  Over Q the prime is q = 1 mod N below 2^30,
// over F_p it is p.
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using u64 = uint64_t;

u64 power(u64 a, u64 e, u64 q)
{
    u64 r = 1;
    for (a %= q; e; e >>= 1, a = a * a % q)
        if (e & 1) r = r * a % q;
    return r;
}

bool is_prime(u64 p)
{
    if (p < 2) return false;
    for (u64 d = 2; d * d <= p; ++d)
        if (p % d == 0) return false;
    return true;
}

// A decimal number of any length modulo q.
u64 mod_text(const std::string& digits, u64 q)
{
    u64 r = 0;
    for (char c : digits) r = (r * 10 + static_cast<u64>(c - '0')) % q;
    return r;
}

struct failure {
    std::string what;
};

[[noreturn]] void fail(const std::string& what)
{
    throw failure{what};
}

// Tokens: names, unsigned integers, "=>", and single characters.
std::vector<std::string> tokenize(const std::string& text, const std::string& comment)
{
    std::vector<std::string> tokens;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, comment.size(), comment) == 0) continue;
        for (std::size_t i = 0; i < line.size();) {
            unsigned char c = static_cast<unsigned char>(line[i]);
            if (std::isspace(c)) {
                ++i;
            } else if (std::isalpha(c)) {
                std::size_t j = i;
                while (j < line.size() && std::isalnum(static_cast<unsigned char>(line[j]))) ++j;
                tokens.push_back(line.substr(i, j - i));
                i = j;
            } else if (std::isdigit(c)) {
                std::size_t j = i;
                while (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j]))) ++j;
                tokens.push_back(line.substr(i, j - i));
                i = j;
            } else if (line.compare(i, 2, "=>") == 0) {
                tokens.push_back("=>");
                i += 2;
            } else if (std::string("=[](){},;*+-/^").find(static_cast<char>(c)) != std::string::npos) {
                tokens.push_back(std::string(1, static_cast<char>(c)));
                ++i;
            } else {
                fail("unexpected character '" + std::string(1, static_cast<char>(c)) + "' in: " + line);
            }
        }
    }
    return tokens;
}

class parser {
public:
    parser(std::vector<std::string> tokens) : t(std::move(tokens)) {}

    const std::string& peek() const
    {
        static const std::string end = "<end>";
        return k < t.size() ? t[k] : end;
    }
    std::string next()
    {
        if (k == t.size()) fail("the script ends early");
        return t[k++];
    }
    void expect(const std::string& s)
    {
        std::string got = next();
        if (got != s) fail("expected '" + s + "', found '" + got + "' (token " + std::to_string(k) + ")");
    }
    bool accept(const std::string& s)
    {
        if (peek() != s) return false;
        ++k;
        return true;
    }
    bool done() const { return k == t.size(); }
    u64 number()
    {
        std::string s = next();
        if (s.empty() || !std::isdigit(static_cast<unsigned char>(s[0]))) fail("expected a number, found '" + s + "'");
        // Only characteristics, weights and exponents are used; long
        // coefficients are read by the evaluator.
        return s.size() > 18 ? 0 : std::stoull(s);
    }
    std::string name()
    {
        std::string s = next();
        if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) fail("expected a name, found '" + s + "'");
        return s;
    }

    // A polynomial in the declared names, as a list of tokens to evaluate later.
    std::vector<std::string> polynomial(const std::map<std::string, int>& names)
    {
        std::size_t from = k;
        expression(names);
        return std::vector<std::string>(t.begin() + static_cast<long>(from), t.begin() + static_cast<long>(k));
    }

private:
    void expression(const std::map<std::string, int>& names)
    {
        accept("-");
        term(names);
        while (accept("+") || accept("-")) term(names);
    }
    void term(const std::map<std::string, int>& names)
    {
        factor(names);
        while (accept("*")) factor(names);
    }
    void factor(const std::map<std::string, int>& names)
    {
        if (accept("(")) {
            expression(names);
            expect(")");
            return;
        }
        if (std::isdigit(static_cast<unsigned char>(peek()[0]))) {
            number();
            if (accept("/")) number();
            return;
        }
        std::string v = name();
        if (!names.count(v)) fail("'" + v + "' is no variable of the ring");
        if (accept("^")) number();
    }

    std::vector<std::string> t;
    std::size_t k = 0;
};

// Evaluates a polynomial's tokens modulo q with the values of the names.
class evaluator {
public:
    evaluator(const std::vector<std::string>& t, u64 q, const std::map<std::string, u64>& values)
        : t(t), q(q), values(values)
    {
    }
    u64 value()
    {
        u64 v = expression();
        if (k != t.size()) fail("trailing tokens in a polynomial");
        return v;
    }

private:
    bool accept(const std::string& s)
    {
        if (k < t.size() && t[k] == s) {
            ++k;
            return true;
        }
        return false;
    }
    u64 expression()
    {
        bool minus = accept("-");
        u64 v = term();
        if (minus) v = (q - v) % q;
        for (;;) {
            if (accept("+")) v = (v + term()) % q;
            else if (accept("-")) v = (v + q - term()) % q;
            else return v;
        }
    }
    u64 term()
    {
        u64 v = factor();
        while (accept("*")) v = v * factor() % q;
        return v;
    }
    u64 factor()
    {
        if (accept("(")) {
            u64 v = expression();
            accept(")");
            return v;
        }
        const std::string& s = t[k++];
        if (std::isdigit(static_cast<unsigned char>(s[0]))) {
            u64 v = mod_text(s, q);
            if (accept("/")) {
                u64 d = mod_text(t[k++], q);
                if (d == 0) fail("a denominator divisible by the prime");
                v = v * power(d, q - 2, q) % q;
            }
            return v;
        }
        u64 v = values.at(s);
        if (accept("^")) v = power(v, std::stoull(t[k++]), q);
        return v;
    }

    const std::vector<std::string>& t;
    u64 q;
    const std::map<std::string, u64>& values;
    std::size_t k = 0;
};

struct script {
    std::vector<std::string> variables;  // in ring order
    u64 characteristic = 0;
    bool has_z = false;
    std::vector<std::string> minimal;  // tokens of the minimal polynomial of z
    std::vector<std::vector<std::string>> generators;
};

std::map<std::string, int> name_set(const std::vector<std::string>& names)
{
    std::map<std::string, int> m;
    for (const auto& n : names) m[n] = 1;
    return m;
}

void ordering_weights(parser& p, std::size_t count)
{
    std::size_t n = 0;
    do {
        p.number();
        ++n;
    } while (p.accept(","));
    if (n != count) fail("the weights do not match the variables");
}

script parse_m2(parser& p)
{
    script s;
    std::string coefficients;
    if (p.peek() == "kk") {
        p.expect("kk"), p.expect("="), p.expect("toField"), p.expect("("), p.expect("QQ"), p.expect("[");
        p.expect("z"), p.expect("]"), p.expect("/"), p.expect("ideal"), p.expect("(");
        s.minimal = p.polynomial({{"z", 1}});
        p.expect(")"), p.expect(")"), p.expect(";");
        s.has_z = true;
    }
    p.expect("S"), p.expect("=");
    std::string field = p.name();
    if (field == "ZZ") {
        p.expect("/");
        s.characteristic = p.number();
        if (!is_prime(s.characteristic)) fail("ZZ/n with n not prime");
    } else if (field != "QQ" && !(field == "kk" && s.has_z)) {
        fail("unknown coefficient field " + field);
    }
    p.expect("[");
    do s.variables.push_back(p.name());
    while (p.accept(",") && p.peek() != "MonomialOrder");
    p.expect("MonomialOrder"), p.expect("=>");
    if (p.accept("{")) {
        p.expect("Weights"), p.expect("=>"), p.expect("{");
        ordering_weights(p, s.variables.size());
        p.expect("}"), p.expect(","), p.expect("Lex"), p.expect("}");
    } else {
        p.expect("GRevLex");
    }
    p.expect("]"), p.expect(";");
    p.expect("I"), p.expect("="), p.expect("ideal"), p.expect("(");
    auto names = name_set(s.variables);
    if (s.has_z) names["z"] = 1;
    do s.generators.push_back(p.polynomial(names));
    while (p.accept(","));
    p.expect(")"), p.expect(";");
    return s;
}

script parse_singular(parser& p)
{
    script s;
    p.expect("ring"), p.expect("S"), p.expect("=");
    if (p.accept("(")) {
        p.expect("0"), p.expect(","), p.expect("z"), p.expect(")");
        s.has_z = true;
    } else {
        s.characteristic = p.number();
        if (s.characteristic != 0 && !is_prime(s.characteristic)) fail("characteristic not prime");
    }
    p.expect(","), p.expect("(");
    do s.variables.push_back(p.name());
    while (p.accept(","));
    p.expect(")"), p.expect(",");
    if (p.accept("(")) {
        p.expect("a"), p.expect("(");
        ordering_weights(p, s.variables.size());
        p.expect(")"), p.expect(","), p.expect("lp"), p.expect(")");
    } else {
        p.expect("dp");
    }
    p.expect(";");
    if (s.has_z) {
        p.expect("minpoly"), p.expect("=");
        s.minimal = p.polynomial({{"z", 1}});
        p.expect(";");
    }
    p.expect("ideal"), p.expect("I"), p.expect("=");
    auto names = name_set(s.variables);
    if (s.has_z) names["z"] = 1;
    do s.generators.push_back(p.polynomial(names));
    while (p.accept(","));
    p.expect(";");
    return s;
}

// A coordinate of a scheme file modulo q: a rational number, or the vector
// "(a0,...,a(n-1))" over the powers of zeta with zeta = omega.
u64 coordinate(const std::string& token, u64 q, u64 omega)
{
    std::string text = token;
    if (!text.empty() && text.front() == '(') text = text.substr(1, text.size() - 2);
    std::istringstream parts(text);
    std::string part;
    u64 value = 0, zeta = 1;
    while (std::getline(parts, part, ',')) {
        bool minus = !part.empty() && part[0] == '-';
        if (minus) part.erase(0, 1);
        std::size_t slash = part.find('/');
        u64 num = mod_text(part.substr(0, slash), q), den = 1;
        if (slash != std::string::npos) den = mod_text(part.substr(slash + 1), q);
        u64 v = num * power(den, q - 2, q) % q;
        if (minus) v = (q - v) % q;
        value = (value + v * zeta) % q;
        zeta = zeta * omega % q;
    }
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::cerr << "usage: export_check m2|singular SCRIPT POINTS [N]\n";
        return 2;
    }
    const std::string system = argv[1];
    const u64 N = argc > 4 ? std::stoull(argv[4]) : 1;
    try {
        std::ifstream in(argv[2]);
        std::stringstream text;
        text << in.rdbuf();
        parser p(tokenize(text.str(), system == "m2" ? "--" : "//"));
        script s = system == "m2" ? parse_m2(p) : parse_singular(p);
        if (!p.done()) fail("tokens after the ideal: '" + p.peek() + "'");
        if (s.generators.empty()) fail("no generators");

        u64 q = s.characteristic, omega = 1;
        if (q == 0) {
            q = (u64(1) << 30) / N * N + 1;
            while (!is_prime(q)) q -= N;
        }
        if (s.has_z) {
            // An element of order exactly N.
            for (u64 g = 2;; ++g) {
                omega = power(g, (q - 1) / N, q);
                bool exact = true;
                for (u64 r = 2; r <= N; ++r)
                    if (N % r == 0 && is_prime(r) && power(omega, N / r, q) == 1) exact = false;
                if (exact) break;
            }
            std::map<std::string, u64> at{{"z", omega}};
            if (evaluator(s.minimal, q, at).value() != 0) fail("the minimal polynomial does not vanish at zeta");
        }

        std::ifstream points(argv[3]);
        std::size_t length, count;
        points >> length >> count;
        if (length != s.variables.size()) fail("the ring has " + std::to_string(s.variables.size()) + " variables");
        for (std::size_t i = 0; i < count; ++i) {
            std::map<std::string, u64> at{{"z", omega}};
            std::vector<u64> x(length);
            for (auto& c : x) {
                std::string token;
                points >> token;
                c = coordinate(token, q, omega);
            }
            // The file's first coordinate is x0, the last ring variable.
            at[s.variables.back()] = x[0];
            for (std::size_t j = 1; j < length; ++j) at[s.variables[j - 1]] = x[j];
            for (std::size_t g = 0; g < s.generators.size(); ++g)
                if (evaluator(s.generators[g], q, at).value() != 0)
                    fail("generator " + std::to_string(g + 1) + " does not vanish at point " + std::to_string(i + 1));
        }
        std::cout << s.generators.size() << " generators in " << s.variables.size()
                  << " variables, vanishing at the " << count << " points\n";
    } catch (const failure& f) {
        std::cerr << argv[2] << ": " << f.what << "\n";
        return 1;
    }
    return 0;
}
