// The presentation of the canonical module over F_31991 compared with the
// graded Betti numbers of w_R that an independent computer-algebra system
// gave for the point sets of the shared reference folder: generators per
// degree (w_mingens, betti_w_0) and relations per degree (betti_w_1).  The
// reference twists w_R so that its generators of lowest degree sit in degree
// -sigma; here a generator pr_(u) sits in degree 1 - deg(u) and a column of
// degree index d in degree d + 1 - D, D the largest generator monomial degree.
#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gmpxx.h>
#include <gtest/gtest.h>

#include "engine/globals.h"
#include "engine/matrix.h"
#include "engine/omega.h"
#include "fields/field.h"
#include "interpreter/scheme.h"

namespace {

std::string folder()
{
    const std::string here = __FILE__;
    const std::string tail = "tests/unit/Fp/test_reference_omega_Fp.cpp";
    const std::string root = here.size() >= tail.size() ? here.substr(0, here.size() - tail.size()) : "";
    return root + "../shared/reference";
}

std::vector<std::string> point_sets(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".pts") == 0) names.push_back(n.substr(0, n.size() - 4));
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::map<std::string, std::string> answers(const std::string& path)
{
    std::map<std::string, std::string> keys;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const auto colon = line.find(": ");
        if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
        keys[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return keys;
}

// "d:count d:count ..." as a map from degree to count.
std::map<int, int> by_degree(const std::string& text)
{
    std::map<int, int> m;
    std::istringstream in(text);
    for (std::string item; in >> item;) {
        const auto colon = item.find(':');
        m[std::stoi(item.substr(0, colon))] += std::stoi(item.substr(colon + 1));
    }
    return m;
}

// A scheme file normalised to first coordinate 1.
scheme* read_points(const std::string& path)
{
    std::ifstream in(path);
    int length = 0, s = 0;
    in >> length >> s;
    EXPECT_EQ(length, proj);
    scheme* X = new scheme(s);
    for (int i = 0; i < s; ++i) {
        std::vector<Fp> x(length);
        for (Fp& c : x) {
            std::string token;
            in >> token;
            mpq_class q(token);
            q.canonicalize();
            EXPECT_TRUE(Fp::from_rational(q, c)) << token;
        }
        for (int j = 1; j < length; ++j) X->P->a[i][j - 1] = x[j] / x[0];
    }
    return X;
}

class ReferenceOmegaTest : public ::testing::Test {
protected:
    int saved_dim = dim, saved_proj = proj, saved_verbose = verbose, saved_prime = Fp::prime;
    int saved_ordering = monom_ordering;
    monom_order_fn saved[4] = {monom_ordering_lt, monom_ordering_le, proj_monom_ordering_lt,
                               proj_monom_ordering_le};
    std::ostringstream out, err;
    std::streambuf* saved_out = nullptr;
    std::streambuf* saved_err = nullptr;

    void SetUp() override
    {
        verbose = 0;
        Fp::prime = 31991;
        monom_ordering = 1;
        monom_ordering_lt = degrevlex_lt;
        monom_ordering_le = degrevlex_le;
        proj_monom_ordering_lt = proj_degrevlex_lt;
        proj_monom_ordering_le = proj_degrevlex_le;
        saved_out = std::cout.rdbuf(out.rdbuf());
        saved_err = std::cerr.rdbuf(err.rdbuf());
    }
    void TearDown() override
    {
        std::cout.rdbuf(saved_out);
        std::cerr.rdbuf(saved_err);
        dim = saved_dim;
        proj = saved_proj;
        verbose = saved_verbose;
        Fp::prime = saved_prime;
        monom_ordering = saved_ordering;
        monom_ordering_lt = saved[0];
        monom_ordering_le = saved[1];
        proj_monom_ordering_lt = saved[2];
        proj_monom_ordering_le = saved[3];
    }
};

TEST_F(ReferenceOmegaTest, GeneratorsAndRelationsPerDegreeAgree)
{
    const std::string dir = folder();
    const std::vector<std::string> names = point_sets(dir);
    if (names.empty()) GTEST_SKIP() << "no reference point sets in " << dir;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        auto ref = answers(dir + "/" + name + ".F31991.txt");
        ASSERT_FALSE(ref.empty());
        ASSERT_EQ(ref["order"], "degrevlex");
        dim = std::stoi(ref["n"]);
        proj = dim + 1;
        scheme* X = read_points(dir + "/" + name + ".pts");
        omega(*X);
        EXPECT_EQ(dim, std::stoi(ref["n"]));

        // Shift the reference degrees so that the lowest generator degree
        // matches ours (1 - D); the reference puts it at -sigma.
        const int D = X->O[X->pr[X->no_of_pr - 1]].tot_deg();
        const int shift = (1 - D) + std::stoi(ref["sigma"]);
        std::map<int, int> gens, rels;
        for (int d = 0; d <= X->sigma + 1; ++d)
            if (X->pr_deg[d]) gens[1 - d - shift] = X->pr_deg[d];
        for (int d = 0; d <= X->A_d_maxdeg; ++d)
            if (X->A_d_coldeg[d]) rels[d + 1 - D - shift] = X->A_d_coldeg[d];
        EXPECT_EQ(gens, by_degree(ref["w_mingens"]));
        EXPECT_EQ(gens, by_degree(ref["betti_w_0"]));
        EXPECT_EQ(rels, by_degree(ref["betti_w_1"]));
        EXPECT_EQ(X->no_of_pr, std::stoi(ref["w_mingens_total"]));
        EXPECT_EQ(X->no_of_pr, std::stoi(ref["type"]));
        delete X;
    }
    EXPECT_EQ(err.str(), "");
}

}  // namespace
