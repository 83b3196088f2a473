// The linear strands of I_X and of w_R over F_31991 compared with the
// answers of an independent computer-algebra system for the point sets of the
// shared reference folder (keys linstrand_I and linstrand_w; the program's
// row for w_R holds the first n entries of linstrand_w, in reverse).
#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gmpxx.h>
#include <gtest/gtest.h>

#include "engine/globals.h"
#include "engine/linid.h"
#include "engine/linom.h"
#include "engine/matrix.h"
#include "fields/field.h"
#include "interpreter/scheme.h"

namespace {

std::string folder()
{
    const std::string here = __FILE__;
    const std::string tail = "tests/unit/Fp/test_reference_strands_Fp.cpp";
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

std::vector<int> numbers(const std::string& text)
{
    std::vector<int> v;
    std::istringstream in(text);
    for (int x; in >> x;) v.push_back(x);
    return v;
}

// A scheme file, normalised to first coordinate 1; dim is set from it.
std::unique_ptr<scheme> read_points(const std::string& path)
{
    std::ifstream in(path);
    int length = 0, s = 0;
    in >> length >> s;
    dim = length - 1;
    proj = length;
    auto X = std::make_unique<scheme>(s);
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

class ReferenceStrandTest : public ::testing::Test {
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

TEST_F(ReferenceStrandTest, StrandsAgree)
{
    const std::string dir = folder();
    const std::vector<std::string> names = point_sets(dir);
    if (names.empty()) GTEST_SKIP() << "no reference point sets in " << dir;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        auto X = read_points(dir + "/" + name + ".pts");
        auto ref = answers(dir + "/" + name + ".F31991.txt");
        const int n = dim;
        linid(*X);
        linom(*X);
        EXPECT_EQ(dim, n);
        const std::vector<int> I = numbers(ref["linstrand_I"]), w = numbers(ref["linstrand_w"]);
        ASSERT_GE(static_cast<int>(I.size()), n);
        ASSERT_GE(static_cast<int>(w.size()), n);
        std::vector<int> gotI(X->linres[0], X->linres[0] + n), wantI(I.begin(), I.begin() + n);
        EXPECT_EQ(gotI, wantI);
        std::vector<int> gotw, wantw(w.begin(), w.begin() + n);
        for (int p = 0; p < n; ++p) gotw.push_back(X->linres[1][n - 1 - p]);
        EXPECT_EQ(gotw, wantw);
    }
}

}  // namespace
