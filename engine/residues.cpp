#include "engine/residues.h"

#include "engine/modular_rows.h"

#include <gmpxx.h>

namespace {

#if defined(TARV_FIELD_Q) || defined(TARV_FIELD_QN)
bool is_prime(uint32_t p)
{
    if (p < 2) return false;
    for (uint32_t d = 2; d * d <= p; ++d)
        if (p % d == 0) return false;
    return true;
}

bool rational_image(const mpq_class& x, uint32_t p, uint32_t& r)
{
    uint32_t den = static_cast<uint32_t>(mpz_fdiv_ui(x.get_den_mpz_t(), p));
    if (den == 0) return false;
    uint64_t num = mpz_fdiv_ui(x.get_num_mpz_t(), p);
    r = static_cast<uint32_t>(num * inverse_mod(den, p) % p);
    return true;
}
#endif

#if defined(TARV_FIELD_QN)
// An element of order exactly N in F_p^*, p = 1 mod N.
uint32_t root_of_unity(uint32_t p, uint32_t N)
{
    for (uint32_t g = 2; g < p; ++g) {
        const uint32_t w = static_cast<uint32_t>(power_mod(g, (p - 1) / N, p));
        bool order_N = true;
        for (uint32_t q = 2; q <= N && order_N; ++q)
            if (N % q == 0 && is_prime(q) && power_mod(w, N / q, p) == 1) order_N = false;
        if (order_N) return w;
    }
    return 1;
}
#endif

}  // namespace

uint32_t inverse_mod(uint32_t a, uint32_t p)
{
    return static_cast<uint32_t>(power_mod(a, p - 2, p));
}

bool ranks_are_exact_mod_p()
{
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    return true;
#else
    return false;
#endif
}

residue_map choose_residue_map(int attempt, uint32_t below)
{
    residue_map m;
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    (void)attempt;
    (void)below;
    m.p = static_cast<uint32_t>(K::prime);
#else
    uint32_t step = 1;
#if defined(TARV_FIELD_QN)
    step = static_cast<uint32_t>(QN::N);
#endif
    uint32_t p = (below - 1) / step * step + 1;
    for (int found = -1; found < attempt;) {
        p -= step;
        if (is_prime(p)) ++found;
    }
    m.p = p;
#if defined(TARV_FIELD_QN)
    uint32_t w = root_of_unity(p, step);
    for (uint32_t k = 0, x = 1; k < step; ++k, x = static_cast<uint32_t>(uint64_t(x) * w % p)) m.zeta_powers.push_back(x);
#endif
#endif
    return m;
}

bool residue_map::image(const K& x, uint32_t& r) const
{
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    r = static_cast<uint32_t>(x.q);
    return true;
#elif defined(TARV_FIELD_Q)
    return rational_image(x.v, p, r);
#elif defined(TARV_FIELD_QN)
    uint64_t sum = 0;
    for (std::size_t k = 0; k < x.a.size(); ++k) {
        uint32_t c;
        if (!rational_image(x.a[k].v, p, c)) return false;
        sum = (sum + uint64_t(c) * zeta_powers[k]) % p;
    }
    r = static_cast<uint32_t>(sum);
    return true;
#else
    (void)x;
    (void)r;
    return false;
#endif
}
