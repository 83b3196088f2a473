// Interrupting the long computations: wherever a computation is interrupted,
// the scheme keeps what was stored before, the interrupted result counts as
// not computed, and computing everything afterwards gives exactly what an
// uninterrupted scheme gives.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/beta.h"
#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/invariants.h"
#include "engine/linid.h"
#include "engine/linom.h"
#include "engine/min_gens.h"
#include "engine/omega.h"
#include "engine/scheme.h"
#include "unit/test_support.h"

namespace {

using namespace test_support;

class InterruptTest : public quiet_test {
protected:
    void TearDown() override
    {
        interrupt_countdown = 0;
        interrupt_requested = 0;
    }
};

// Every long result of X, computed where missing, as text.
std::string all_results(scheme& X)
{
    std::ostringstream s;
    hilb_fct(s, X);
    beta_matrix(X);
    s << *X.beta_matrix;
    deg_min(s, X);
    disp_omega(s, X);
    if (linid(X)) disp_linid(s, X);
    if (linom(X)) disp_linom(s, X);
    return s.str();
}

// Runs all_results with the k-th check interrupting; true when it was.
bool interrupted_at(scheme& X, long k)
{
    interrupt_countdown = k;
    bool interrupted = false;
    try {
        all_results(X);
    } catch (const computation_interrupted&) {
        interrupted = true;
    }
    interrupt_countdown = 0;
    interrupt_requested = 0;
    return interrupted;
}

void expect_every_interrupt_harmless(const points& pts, int n)
{
    use(n, 1);
    auto reference = make_scheme(pts);
    const std::string expected = all_results(*reference);
    long k = 1;
    for (;; ++k) {
        auto X = make_scheme(pts);
        if (!interrupted_at(*X, k)) break;
        // A second interrupt on top of the first, as a user might.
        interrupted_at(*X, k);
        ASSERT_EQ(all_results(*X), expected) << "after an interrupt at check " << k;
    }
    EXPECT_GT(k, 10);  // the computations do pass through the checks
}

TEST_F(InterruptTest, EveryInterruptLeavesTheResultsOfAPlaneSetUnchanged)
{
    expect_every_interrupt_harmless({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 3}, {3, 1}, {5, 2}}, 2);
}

TEST_F(InterruptTest, EveryInterruptLeavesTheResultsOfASpaceSetUnchanged)
{
    expect_every_interrupt_harmless({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}, {2, 1, 3},
                                     {1, 3, 2}},
                                    3);
}

// Interrupting a computation that was already done keeps its result: the
// strand counts of linid come back after an interrupted putlinid.
TEST_F(InterruptTest, InterruptedRerunKeepsTheStrandCounts)
{
    use(2, 1);
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 3}, {3, 1}});
    ASSERT_TRUE(linid(*X));
    std::ostringstream before, after, file;
    disp_linid(before, *X);
    for (long k = 1; k <= 3; ++k) {
        interrupt_countdown = k;
        EXPECT_THROW(putlinid(*X, file), computation_interrupted);
        interrupt_countdown = 0;
        interrupt_requested = 0;
    }
    EXPECT_EQ(X->linid, 1);
    disp_linid(after, *X);
    EXPECT_EQ(after.str(), before.str());
}

// An interrupted second run of Buchberger-Moeller (the command bumo again)
// leaves it not computed rather than half stored.
TEST_F(InterruptTest, InterruptedRerunOfBuMoIsRunAgain)
{
    use(2, 1);
    auto X = make_scheme({{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 3}, {3, 1}});
    const std::string expected = all_results(*X);
    for (long k = 1; k <= 4; ++k) {
        interrupt_countdown = k;
        EXPECT_THROW(bu_mo(*X), computation_interrupted);
        interrupt_countdown = 0;
        interrupt_requested = 0;
        EXPECT_EQ(X->delta, 0);
        EXPECT_EQ(all_results(*X), expected);
    }
}

}  // namespace
