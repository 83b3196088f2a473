// The Buchberger-Moeller results over Q compared with the answers of an
// independent computer-algebra system for the shared reference point sets.
#include "unit/reference_data.h"

namespace {

class ReferenceTest : public reference::Fixture {};

TEST_F(ReferenceTest, InvariantsOrderIdealAndGroebnerBasisAgree)
{
    reference::check_all(".QQ.txt", [](const mpq_class& q, K& x) {
        x = Rational(q);
        return true;
    });
}

}  // namespace
