// The linear strands of I_X and of w_R over F_31991 compared with the
// answers of an independent computer-algebra system for the point sets of the
// shared reference folder (keys linstrand_I and linstrand_w; the program's
// row for w_R holds the first n entries of linstrand_w, in reverse).
#include <string>
#include <vector>

#include "engine/linid.h"
#include "engine/linom.h"
#include "unit/reference_data.h"

namespace {

class ReferenceStrandTest : public reference::Fixture {
    test_support::characteristic_guard p{31991};
};

TEST_F(ReferenceStrandTest, StrandsAgree)
{
    reference::for_each_case(".F31991.txt", Fp::from_rational, [](reference::answer_map& ref, scheme& X) {
        const int n = dim;
        linid(X);
        linom(X);
        EXPECT_EQ(dim, n);
        const std::vector<int> I = reference::numbers(ref["linstrand_I"]), w = reference::numbers(ref["linstrand_w"]);
        ASSERT_GE(static_cast<int>(I.size()), n);
        ASSERT_GE(static_cast<int>(w.size()), n);
        std::vector<int> gotI(X.linres[0], X.linres[0] + n), wantI(I.begin(), I.begin() + n);
        EXPECT_EQ(gotI, wantI);
        std::vector<int> gotw, wantw(w.begin(), w.begin() + n);
        for (int p = 0; p < n; ++p) gotw.push_back(X.linres[1][n - 1 - p]);
        EXPECT_EQ(gotw, wantw);
    });
}

}  // namespace
