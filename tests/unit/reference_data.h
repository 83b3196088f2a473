// Reference answers for point sets, computed by an independent computer-algebra
// system and kept in ../shared/reference beside the repository: each set
// NAME.pts (a scheme file) has NAME.F31991.txt and NAME.QQ.txt with lines
// "key: value".  This header reads them and checks the Buchberger-Moeller
// results, the separators and the invariants of a scheme against them.
#pragma once

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmpxx.h>
#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/matrix.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace reference {

inline std::string folder()
{
    std::string here = __FILE__;
    const std::string tail = "tests/unit/reference_data.h";
    std::string root = here.size() >= tail.size() ? here.substr(0, here.size() - tail.size()) : "";
    return root + "../shared/reference";
}

// The names of the point sets, sorted.
inline std::vector<std::string> cases()
{
    std::vector<std::string> names;
    if (DIR* d = opendir(folder().c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".pts") == 0) names.push_back(n.substr(0, n.size() - 4));
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline std::map<std::string, std::string> answers(const std::string& path)
{
    std::map<std::string, std::string> keys;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        auto colon = line.find(": ");
        if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
        keys[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return keys;
}

inline std::vector<int> numbers(const std::string& text)
{
    std::istringstream in(text);
    std::vector<int> v;
    int x;
    while (in >> x) v.push_back(x);
    return v;
}

// A monomial such as X*Y^2 or 1, the variables named by position in vars.
inline monom parse_monom(const std::string& text, const std::vector<std::string>& vars)
{
    monom m;
    if (text == "1") return m;
    std::istringstream in(text);
    std::string factor;
    while (std::getline(in, factor, '*')) {
        auto hat = factor.find('^');
        std::string name = factor.substr(0, hat);
        int e = hat == std::string::npos ? 1 : std::stoi(factor.substr(hat + 1));
        int v = int(std::find(vars.begin(), vars.end(), name) - vars.begin());
        EXPECT_LT(v, dim) << "unknown variable " << name;
        if (v < dim) m.exp[v] = static_cast<int16_t>(e);
    }
    return m;
}

// The field element of a rational number; false when it has none.
using to_field = std::function<bool(const mpq_class&, K&)>;

// "c*m + m - c ..." as (monomial, coefficient) pairs.
inline std::vector<std::pair<monom, K>> parse_poly(const std::string& text, const std::vector<std::string>& vars,
                                                    const to_field& convert)
{
    std::vector<std::pair<monom, K>> terms;
    std::istringstream in(text);
    std::string word;
    bool negative = false;
    while (in >> word) {
        if (word == "+" || word == "-") {
            negative = word == "-";
            continue;
        }
        mpq_class c = 1;
        std::string mon = word;
        if (std::isdigit(static_cast<unsigned char>(word[0]))) {
            auto star = word.find('*');
            c = mpq_class(word.substr(0, star));
            c.canonicalize();
            mon = star == std::string::npos ? "1" : word.substr(star + 1);
        }
        if (negative) c = -c;
        negative = false;
        K k;
        EXPECT_TRUE(convert(c, k)) << word;
        terms.emplace_back(parse_monom(mon, vars), k);
    }
    return terms;
}

// "d:count d:count ..." as a map from degree to count.
inline std::map<int, int> by_degree(const std::string& text)
{
    std::map<int, int> m;
    std::istringstream in(text);
    for (std::string item; in >> item;) {
        const auto colon = item.find(':');
        m[std::stoi(item.substr(0, colon))] += std::stoi(item.substr(colon + 1));
    }
    return m;
}

// Reads a scheme file (point length, count, homogeneous coordinates),
// normalised to first coordinate 1.
inline std::unique_ptr<scheme> read_points(const std::string& path, const to_field& convert)
{
    std::ifstream in(path);
    int length = 0, s = 0;
    in >> length >> s;
    EXPECT_EQ(length, proj);
    auto X = std::make_unique<scheme>(s);
    for (int i = 0; i < s; ++i) {
        std::vector<K> x(length);
        for (int j = 0; j < length; ++j) {
            std::string token;
            in >> token;
            mpq_class q(token);
            q.canonicalize();
            EXPECT_TRUE(convert(q, x[j])) << token;
        }
        for (int j = 1; j < length; ++j) X->P->a[i][j - 1] = x[j] / x[0];
    }
    return X;
}

using answer_map = std::map<std::string, std::string>;

// Runs check(answers, X) for every reference point set: the answers of the
// given file suffix (".F31991.txt", ".QQ.txt"), made for deg-rev-lex, set dim
// and proj, and X holds the points.  Skips when there are no point sets.
inline void for_each_case(const std::string& suffix, const to_field& convert,
                          const std::function<void(answer_map&, scheme&)>& check)
{
    const std::vector<std::string> names = cases();
    if (names.empty()) GTEST_SKIP() << "no reference point sets in " << folder();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        answer_map ref = answers(folder() + "/" + name + suffix);
        ASSERT_FALSE(ref.empty());
        ASSERT_EQ(ref["order"], "degrevlex");
        dim = std::stoi(ref["n"]);
        proj = dim + 1;
        check(ref, *read_points(folder() + "/" + name + ".pts", convert));
    }
}

// Runs bu_mo and sep on every reference point set with the answers of the
// given file suffix and compares: Hilbert function and its difference,
// alpha, sigma, delta, the order ideal, the Groebner basis, the degrees of
// the separators, cb and gor.  The caller sets deg-rev-lex and the field.
inline void check_all(const std::string& suffix, const to_field& convert)
{
    for_each_case(suffix, convert, [&](answer_map& ref, scheme& X) {
        std::vector<std::string> vars;
        std::istringstream vin(ref["vars"]);
        for (std::string v; vin >> v;) vars.push_back(v);
        ASSERT_EQ(int(vars.size()), proj);

        ASSERT_EQ(X.s, std::stoi(ref["s"]));
        bu_mo(X);
        need_groebner(X);

        std::vector<int> hf = numbers(ref["hf"]), hfdelta = numbers(ref["hfdelta"]);
        ASSERT_EQ(int(hf.size()), X.sigma + 2);
        for (int d = 0; d <= X.sigma + 1; ++d) {
            EXPECT_EQ(X.hilb_fct[d], hf[d]) << "H(" << d << ")";
            EXPECT_EQ(X.delta_fct[d], hfdelta[d]) << "delta H(" << d << ")";
        }
        EXPECT_EQ(X.alpha, std::stoi(ref["alpha"]));
        EXPECT_EQ(X.sigma, std::stoi(ref["sigma"]));
        EXPECT_EQ(X.delta, std::stoi(ref["delta"]));

        std::istringstream oin(ref["oi"]);
        int i = 0;
        for (std::string m; oin >> m; ++i) {
            ASSERT_LT(i, X.s);
            EXPECT_TRUE(X.O[i] == parse_monom(m, vars)) << "O[" << i << "] should be " << m;
        }
        EXPECT_EQ(i, X.s);

        ASSERT_EQ(X.Ix->no_of_gens, std::stoi(ref["gb_count"]));
        for (int g = 0; g < X.Ix->no_of_gens; ++g) {
            auto terms = parse_poly(ref["gb_" + std::to_string(g + 1)], vars, convert);
            const polynomial& f = X.Ix->gen[g];
            ASSERT_EQ(f.no_of_monoms, int(terms.size())) << "g" << g + 1;
            for (int t = 0; t < f.no_of_monoms; ++t) {
                auto it = std::find_if(terms.begin(), terms.end(),
                                       [&](const std::pair<monom, K>& mc) { return mc.first == f.term[t]; });
                ASSERT_TRUE(it != terms.end()) << "g" << g + 1 << " term " << t;
                EXPECT_TRUE(it->second == f.coef[t]) << "g" << g + 1 << " term " << t;
            }
        }

        sep(X);
        std::vector<int> sepdeg = numbers(ref["sepdeg"]);
        ASSERT_EQ(int(sepdeg.size()), X.s);
        for (int p = 0; p < X.s; ++p) EXPECT_EQ(X.separator->gen[p].term[0].tot_deg(), sepdeg[p]) << p;
        EXPECT_EQ(X.is_CB, std::stoi(ref["cb"]));
        EXPECT_EQ(X.is_ar_Go, std::stoi(ref["gor"]));
    });
}

// Sets deg-rev-lex and keeps the output of the computations; the globals
// come back afterwards.
class Fixture : public test_support::quiet_test {
protected:
    void SetUp() override { test_support::use_degrevlex(); }
};

}  // namespace reference
