// Over Q, a quick sufficient test that rows of a rational matrix are
// independent: their reductions modulo a word prime that divides no
// denominator.  A rank modulo p is at most the rank over Q, so rows
// independent modulo p are independent over Q; rows dependent modulo p
// still need the exact test.  For the other fields nothing is reduced and
// the test never succeeds.
#pragma once

#include <cstdint>
#include <vector>

class matrix;

// a^e modulo p (p < 2^32).
uint64_t power_mod(uint64_t a, uint64_t e, uint64_t p);
// The rank modulo p of a rows x cols matrix (row-major, entries below p),
// which is destroyed.
int rank_mod(std::vector<uint32_t>& m, int rows, int cols, uint64_t p);

class modular_rows {
public:
    explicit modular_rows(const matrix& M);

    // Whether the rows rows[0..n-1] of M are independent modulo the prime
    // (false also when no prime was found or the field is not Q).
    bool independent(const int* rows, int n) const;

private:
    int cols = 0;
    uint64_t p = 0;  // 0: no reduction
    std::vector<uint32_t> entries;  // row-major
};
