// Minimal generators, socle and type over F_31991 compared with the answers of
// an independent computer-algebra system for the shared reference point sets.
#include <map>
#include <string>

#include "engine/min_gens.h"
#include "engine/socle.h"
#include "unit/reference_data.h"

namespace {

std::map<int, int> by_degree(const ideal& I)
{
    std::map<int, int> m;
    for (int i = 0; i < I.no_of_gens; ++i) ++m[I.gen[i].term[0].tot_deg()];
    return m;
}

class ReferenceMinSocle : public reference::Fixture {
    test_support::characteristic_guard p{31991};
};

TEST_F(ReferenceMinSocle, MinimalGeneratorsSocleAndTypeAgree)
{
    reference::for_each_case(".F31991.txt", Fp::from_rational, [](reference::answer_map& ref, scheme& X) {
        bu_mo(X);
        min_Ix(X);
        socle(X);
        EXPECT_EQ(by_degree(*X.min_Ix), reference::by_degree(ref["mingens"]));
        EXPECT_EQ(X.socle->no_of_gens, std::stoi(ref["type"]));
        EXPECT_EQ(by_degree(*X.socle), reference::by_degree(ref["socle"]));
        // Points are arithmetically Gorenstein exactly when they have type 1.
        EXPECT_EQ(X.socle->no_of_gens == 1, ref["gor"] == "1");
    });
}

}  // namespace
