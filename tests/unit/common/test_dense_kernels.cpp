// add_pair_products, every version the processor runs, against plain
// modular arithmetic: residues at their
// largest (p - 1 everywhere, where the 32-bit sums come nearest to
// overflowing), the largest prime below 2^15, ranges of whole and partial
// blocks of 64 columns, no pairs and more pairs than one block holds.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "engine/dense_rows.h"

namespace {

uint32_t next_residue(uint64_t& state, uint32_t p, bool largest)
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return largest ? p - 1 : static_cast<uint32_t>((state >> 33) % p);
}

}  // namespace

TEST(DenseKernels, AddPairProductsAgreesWithModularArithmetic)
{
    uint64_t state = 1234;
    const auto versions = dense_kernels::add_pair_products_versions();
    ASSERT_FALSE(versions.empty());
    for (std::size_t version = 0; version < versions.size(); ++version)
    for (uint32_t p : {7u, 31991u, 32749u})
        for (bool largest : {false, true})
            for (int pairs : {0, 1, 3, 9})
                for (auto range : {std::pair<int, int>{0, 16}, {16, 80}, {48, 256}, {0, 208}}) {
                    const int begin = range.first, end = range.second, size = end + 32;
                    const uint32_t P2 = p * p;
                    std::vector<std::vector<uint32_t>> rows(static_cast<std::size_t>(pairs));
                    std::vector<const uint32_t*> x;
                    std::vector<uint32_t> g;
                    for (auto& row : rows) {
                        for (int c = 0; c < size; ++c)
                            row.push_back(next_residue(state, p, largest) | next_residue(state, p, largest) << 16);
                        x.push_back(row.data());
                        g.push_back(next_residue(state, p, largest) | next_residue(state, p, largest) << 16);
                    }
                    std::vector<uint32_t> acc;
                    for (int c = 0; c < size; ++c) acc.push_back(largest ? P2 - 1 : next_residue(state, p, false) * p);
                    const std::vector<uint32_t> before = acc;
                    versions[version](acc.data(), g.data(), x.data(), pairs, begin, end, P2);
                    for (int c = 0; c < size; ++c) {
                        if (c < begin || c >= end) {
                            EXPECT_EQ(acc[c], before[c]) << "column " << c << " outside the range changed";
                            continue;
                        }
                        uint64_t want = before[c] % p;
                        for (int m = 0; m < pairs; ++m) {
                            const uint32_t w = rows[m][c];
                            want += uint64_t(g[m] & 0xffff) * (w & 0xffff) + uint64_t(g[m] >> 16) * (w >> 16);
                        }
                        EXPECT_LT(acc[c], P2) << "p " << p << " column " << c;
                        EXPECT_EQ(acc[c] % p, want % p)
                            << "version " << version << " p " << p << " pairs " << pairs << " column " << c;
                    }
                }
}

// lanes_axpy against plain modular arithmetic, lane by lane: residues at
// their largest (sums nearest to overflowing), a position met again, lanes
// with factor 0, which must stay as they were.
TEST(DenseKernels, LanesAxpyAgreesWithModularArithmetic)
{
    constexpr int L = dense_kernels::lanes;
    uint64_t state = 99;
    for (uint32_t p : {7u, 251u, 32749u})
        for (bool largest : {false, true}) {
            const uint32_t P2 = p * p;
            const int positions = 40, n = 60;
            std::vector<uint32_t> rows(static_cast<std::size_t>(positions) * L);
            for (uint32_t& r : rows) r = next_residue(state, P2, largest);
            std::vector<uint64_t> want(rows.begin(), rows.end());
            std::vector<int> pos(n);
            std::vector<uint16_t> x(n);
            uint32_t f[L];
            for (int g = 0; g < L; ++g) f[g] = g % 5 == 0 ? 0 : next_residue(state, p, largest);
            for (int e = 0; e < n; ++e) {
                pos[e] = e == 7 ? pos[3] : static_cast<int>(next_residue(state, positions, false));
                x[e] = static_cast<uint16_t>(next_residue(state, p, largest));
                for (int g = 0; g < L; ++g) {
                    uint64_t& w = want[static_cast<std::size_t>(pos[e]) * L + g];
                    w = (w + uint64_t(f[g]) * x[e]) % P2;
                }
            }
            dense_kernels::lanes_axpy(rows.data(), pos.data(), x.data(), n, f, P2);
            for (std::size_t c = 0; c < rows.size(); ++c) {
                ASSERT_LT(rows[c], P2);
                // Reduced below P2 each step, the value is the sum modulo P2
                // as long as no step wraps: compare modulo p.
                EXPECT_EQ(rows[c] % p, want[c] % p) << "p = " << p << ", entry " << c;
            }
        }
}
