// The presentation of the canonical module over F_31991 compared with the
// graded Betti numbers of w_R that an independent computer-algebra system
// gave for the point sets of the shared reference folder: generators per
// degree (w_mingens, betti_w_0) and relations per degree (betti_w_1).  The
// reference twists w_R so that its generators of lowest degree sit in degree
// -sigma; here a generator pr_(u) sits in degree 1 - deg(u) and a column of
// degree index d in degree d + 1 - D, D the largest generator monomial degree.
#include <map>
#include <string>

#include "engine/omega.h"
#include "unit/reference_data.h"

namespace {

class ReferenceOmegaTest : public reference::Fixture {
    test_support::characteristic_guard p{31991};
};

TEST_F(ReferenceOmegaTest, GeneratorsAndRelationsPerDegreeAgree)
{
    reference::for_each_case(".F31991.txt", Fp::from_rational, [](reference::answer_map& ref, scheme& X) {
        omega(X);
        EXPECT_EQ(dim, std::stoi(ref["n"]));

        // Shift the reference degrees so that the lowest generator degree
        // matches ours (1 - D); the reference puts it at -sigma.
        const int D = X.O[X.pr[X.no_of_pr - 1]].tot_deg();
        const int shift = (1 - D) + std::stoi(ref["sigma"]);
        std::map<int, int> gens, rels;
        for (int d = 0; d <= X.sigma + 1; ++d)
            if (X.pr_deg[d]) gens[1 - d - shift] = X.pr_deg[d];
        for (int d = 0; d <= X.A_d_maxdeg; ++d)
            if (X.A_d_coldeg[d]) rels[d + 1 - D - shift] = X.A_d_coldeg[d];
        EXPECT_EQ(gens, reference::by_degree(ref["w_mingens"]));
        EXPECT_EQ(gens, reference::by_degree(ref["betti_w_0"]));
        EXPECT_EQ(rels, reference::by_degree(ref["betti_w_1"]));
        EXPECT_EQ(X.no_of_pr, std::stoi(ref["w_mingens_total"]));
        EXPECT_EQ(X.no_of_pr, std::stoi(ref["type"]));
    });
    EXPECT_EQ(err.str(), "");
}

}  // namespace
