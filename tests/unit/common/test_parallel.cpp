// parallel_items: every item is done exactly once, whatever the number of
// items against the number of threads.
#include <atomic>
#include <vector>

#include <gtest/gtest.h>

#include "engine/parallel.h"

TEST(ParallelItems, EveryItemOnceForFewAndManyItems)
{
    for (size_t n : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(37)}) {
        std::vector<std::atomic<int>> done(n);
        for (auto& d : done) d = 0;
        parallel_items(n, [&](size_t k) { ++done[k]; });
        for (size_t k = 0; k < n; ++k) EXPECT_EQ(done[k], 1) << "item " << k << " of " << n;
    }
}
