// Vectors being reduced flag their blocks of 64 entries that may hold a
// non-zero entry (an unflagged block is zero), so the next non-zero entry is
// found a block at a time and writing an entry costs one store of a flag.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The first position from p on whose entry is non-zero (nonzero(q) tests
// entry q), -1 when there is none; flag holds one word per block and a
// sentinel.  With unflag set, blocks found zero are unflagged on the way:
// entries before p must then be zero already (the vector is reduced from
// the front).
template <class NonZero>
int first_flagged_nonzero(std::vector<uint32_t>& flag, std::size_t n, int p, NonZero nonzero, bool unflag = true)
{
    std::size_t b = static_cast<std::size_t>(p) >> 6;
    const std::size_t blocks = flag.size() - 1;
    for (; b < blocks; ++b) {
        if (!flag[b]) continue;
        const std::size_t end = std::min(n, (b + 1) * 64);
        for (std::size_t q = std::max(static_cast<std::size_t>(p), b * 64); q < end; ++q)
            if (nonzero(q)) return static_cast<int>(q);
        if (unflag) flag[b] = 0;
    }
    return -1;
}
