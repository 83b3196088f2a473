// Reduction of the coefficient field modulo a prime, for the ranks of the
// Betti table.  Over F_p the field's own prime is used and the reduction is
// the identity; over Q and Q(zeta_N) a prime p below 2^26 (p = 1 mod N) is
// chosen, and an element maps to F_p when p divides none of its
// denominators (zeta goes to an element of order N).  That map is a ring
// homomorphism, so the rank of a reduced matrix is at most the rank over K.
#pragma once

#include <cstdint>
#include <vector>

#include "fields/field.h"

struct residue_map {
    uint32_t p = 0;
    std::vector<uint32_t> zeta_powers;  // Q(zeta_N): omega^0 .. omega^(N-1)

    // The image of x; false when a denominator is divisible by p.
    bool image(const K& x, uint32_t& r) const;
};

// True when the field is F_p itself and the ranks need no certificate.
bool ranks_are_exact_mod_p();

// The attempt-th prime map (attempt 0, 1, ...): the field's own prime over
// F_p (attempt 0 only), else primes (p = 1 mod N over Q(zeta_N)) downwards
// from below.
constexpr uint32_t word_primes_below = 1u << 26;
residue_map choose_residue_map(int attempt, uint32_t below = word_primes_below);

// The inverse mod p (a != 0).
uint32_t inverse_mod(uint32_t a, uint32_t p);
