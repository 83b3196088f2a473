// Minimal generators, socle and type over F_31991 compared with answers of an
// independent computer-algebra system for the point sets kept beside the
// source tree (shared/reference next to the repository).
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/min_gens.h"
#include "engine/socle.h"
#include "fields/field.h"
#include "interpreter/scheme.h"

namespace {

std::string reference_dir()
{
    // <repo>/tests/unit/Fp/<this file>; the data lies in <repo>/../shared.
    std::string here = __FILE__;
    for (int up = 0; up < 5; ++up) here = here.substr(0, here.find_last_of('/'));
    return here + "/shared/reference/";
}

// The key: value lines of an answer file.
std::map<std::string, std::string> read_answers(const std::string& path)
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

// "3:2 4:1" as degree -> count.
std::map<int, int> by_degree(const std::string& text)
{
    std::map<int, int> m;
    std::istringstream in(text);
    std::string item;
    while (in >> item) {
        auto colon = item.find(':');
        m[std::stoi(item.substr(0, colon))] = std::stoi(item.substr(colon + 1));
    }
    return m;
}

std::map<int, int> by_degree(const ideal& I)
{
    std::map<int, int> m;
    for (int i = 0; i < I.no_of_gens; ++i) ++m[I.gen[i].term[0].tot_deg()];
    return m;
}

class ReferenceMinSocle : public ::testing::TestWithParam<const char*> {
protected:
    int saved_dim = dim, saved_proj = proj, saved_verbose = verbose, saved_prime = Fp::prime;
    int saved_ordering = monom_ordering;
    monom_order_fn saved[4] = {monom_ordering_lt, monom_ordering_le, proj_monom_ordering_lt,
                               proj_monom_ordering_le};

    void SetUp() override
    {
        Fp::prime = 31991;
        verbose = 0;
        monom_ordering = 1;
        monom_ordering_lt = degrevlex_lt;
        monom_ordering_le = degrevlex_le;
        proj_monom_ordering_lt = proj_degrevlex_lt;
        proj_monom_ordering_le = proj_degrevlex_le;
    }
    void TearDown() override
    {
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

TEST_P(ReferenceMinSocle, MatchesReference)
{
    const std::string base = reference_dir() + GetParam();
    std::ifstream pts(base + ".pts");
    if (!pts) GTEST_SKIP() << "no reference data at " << base;
    auto ans = read_answers(base + ".F31991.txt");
    ASSERT_FALSE(ans.empty());

    int length = 0, s = 0;
    pts >> length >> s;
    ASSERT_GE(length, 3);
    dim = length - 1;
    proj = length;
    ASSERT_EQ(std::to_string(dim), ans["n"]);
    ASSERT_EQ(std::to_string(s), ans["s"]);
    scheme X(s);
    for (int i = 0; i < s; ++i) {
        std::vector<Fp> c(length);
        for (Fp& x : c) {
            int v;
            pts >> v;
            x = v;
        }
        for (int j = 0; j < dim; ++j) X.P->a[i][j] = c[j + 1] / c[0];
    }
    ASSERT_TRUE(pts);

    testing::internal::CaptureStdout();
    bu_mo(X);
    min_Ix(X);
    socle(X);
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(std::to_string(X.alpha), ans["alpha"]);
    EXPECT_EQ(std::to_string(X.sigma), ans["sigma"]);
    EXPECT_EQ(by_degree(*X.min_Ix), by_degree(ans["mingens"]));
    EXPECT_EQ(std::to_string(X.socle->no_of_gens), ans["type"]);
    EXPECT_EQ(by_degree(*X.socle), by_degree(ans["socle"]));
    // Points are arithmetically Gorenstein exactly when they have type 1.
    EXPECT_EQ(X.socle->no_of_gens == 1 ? "1" : "0", ans["gor"]);
}

INSTANTIATE_TEST_SUITE_P(PointSets, ReferenceMinSocle,
                         ::testing::Values("plane_cubic8", "plane_rand15", "space_grid233",
                                           "space_rand30", "space_rand60", "p4_rand20"));

}  // namespace
