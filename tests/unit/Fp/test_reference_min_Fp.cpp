// Minimal generators, socle and type over F_31991 compared with the answers of
// an independent computer-algebra system for the shared reference point sets.
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "engine/min_gens.h"
#include "engine/socle.h"
#include "unit/reference_data.h"

namespace {

// "3:2 4:1" as degree -> count.
std::map<int, int> by_degree(const std::string& text)
{
    std::map<int, int> m;
    std::istringstream in(text);
    for (std::string item; in >> item;) {
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

class ReferenceMinSocle : public reference::Fixture {
protected:
    int saved_prime = Fp::prime;
    void SetUp() override
    {
        reference::Fixture::SetUp();
        Fp::prime = 31991;
    }
    void TearDown() override
    {
        Fp::prime = saved_prime;
        reference::Fixture::TearDown();
    }
};

TEST_F(ReferenceMinSocle, MinimalGeneratorsSocleAndTypeAgree)
{
    const std::vector<std::string> names = reference::cases();
    if (names.empty()) GTEST_SKIP() << "no reference point sets in " << reference::folder();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        auto ref = reference::answers(reference::folder() + "/" + name + ".F31991.txt");
        ASSERT_FALSE(ref.empty());
        dim = std::stoi(ref["n"]);
        proj = dim + 1;
        std::unique_ptr<scheme> X(reference::read_points(
            reference::folder() + "/" + name + ".pts",
            [](const mpq_class& q, K& x) { return Fp::from_rational(q, x); }));
        bu_mo(*X);
        min_Ix(*X);
        socle(*X);
        EXPECT_EQ(by_degree(*X->min_Ix), by_degree(ref["mingens"]));
        EXPECT_EQ(X->socle->no_of_gens, std::stoi(ref["type"]));
        EXPECT_EQ(by_degree(*X->socle), by_degree(ref["socle"]));
        // Points are arithmetically Gorenstein exactly when they have type 1.
        EXPECT_EQ(X->socle->no_of_gens == 1, ref["gor"] == "1");
    }
}

}  // namespace
