// The engine over several cyclotomic fields Q(zeta_N): the Buchberger-Moeller
// results and the separators of point sets with irrational coordinates keep
// their defining properties, and the scheme invariants of points with
// rational coordinates do not depend on N.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/bumo.h"
#include "engine/min_gens.h"
#include "engine/socle.h"
#include "fields/QN.h"
#include "unit/bumo_checks.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

// Restores Q(zeta_5), the field the program starts with, after each test.
class SeveralFieldsTest : public quiet_test {
protected:
    void TearDown() override { QN::set(5); }
};

// A random element with small integer coordinates over the power basis.
QN random_element(xorshift32& draw)
{
    QN x(0);
    for (int i = 0; i < QN::n; ++i) x.a[i] = draw.in(-2, 2);
    return x;
}

std::unique_ptr<scheme> random_cyclotomic_scheme(int s, xorshift32& draw)
{
    auto X = std::make_unique<scheme>(s);
    for (int i = 0; i < s; ++i) {
        bool repeated;
        do {
            for (int j = 0; j < dim; ++j) X->P->a[i][j] = random_element(draw);
            repeated = false;
            for (int k = 0; k < i && !repeated; ++k) {
                int j = 0;
                while (j < dim && X->P->a[i][j] == X->P->a[k][j]) ++j;
                repeated = j == dim;
            }
        } while (repeated);
    }
    return X;
}

TEST_F(SeveralFieldsTest, IrrationalPointSetsSatisfyTheDefiningProperties)
{
    xorshift32 draw(2024);
    for (int N : {3, 4, 6, 7, 8, 12}) {
        QN::set(N);
        for (int n : {2, 3})
            for (int ordering : {0, 1}) {
                use(n, ordering);
                SCOPED_TRACE("N = " + std::to_string(N) + ", n = " + std::to_string(n));
                auto X = random_cyclotomic_scheme(n == 2 ? 8 : 10, draw);
                bu_mo(*X);
                need_groebner(*X);
                check_bu_mo(*X);
                sep(*X);
                check_hilbert_and_separators(*X);
            }
    }
}

TEST_F(SeveralFieldsTest, InvariantsOfRationalPointsDoNotDependOnTheField)
{
    use(3, 1);
    const points pts = lagged_points(14, 0, 5, 99);
    std::vector<int> baseline;
    for (int N : {5, 3, 4, 8}) {
        QN::set(N);
        auto X = make_scheme(pts);
        min_Ix(*X);
        socle(*X);
        std::vector<int> invariants(X->hilb_fct, X->hilb_fct + X->sigma + 2);
        for (int g = 0; g < X->min_Ix->no_of_gens; ++g) invariants.push_back(X->min_Ix->gen[g].term[0].tot_deg());
        invariants.push_back(X->socle->no_of_gens);
        if (baseline.empty()) baseline = invariants;
        EXPECT_EQ(invariants, baseline) << "N = " << N;
    }
}

}  // namespace
