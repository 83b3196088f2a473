// The Buchberger-Moeller results over F_31991 compared with the answers of an
// independent computer-algebra system for the shared reference point sets.
#include "unit/reference_data.h"

namespace {

class ReferenceTest : public reference::Fixture {
    test_support::characteristic_guard p{31991};
};

TEST_F(ReferenceTest, InvariantsOrderIdealAndGroebnerBasisAgree)
{
    reference::check_all(".F31991.txt", Fp::from_rational);
}

}  // namespace
