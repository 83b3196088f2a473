// The Buchberger-Moeller results over F_31991 compared with the answers of an
// independent computer-algebra system for the shared reference point sets.
#include "unit/reference_data.h"

namespace {

class ReferenceTest : public reference::Fixture {
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

TEST_F(ReferenceTest, InvariantsOrderIdealAndGroebnerBasisAgree)
{
    reference::check_all(".F31991.txt", [](const mpq_class& q, K& x) { return Fp::from_rational(q, x); });
}

}  // namespace
