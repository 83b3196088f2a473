#include "fields/Rational.h"

#include <cstring>
#include <istream>
#include <ostream>

#include "fields/rational_text.h"

// Decimal digits of |z|.  mpz_sizeinbase may overshoot by one in base 10,
// so large values are counted on their text; small ones fit a machine word.
static int digits(mpz_srcptr z)
{
    if (mpz_fits_slong_p(z)) {
        long w = mpz_get_si(z);
        unsigned long u = w < 0 ? 0UL - static_cast<unsigned long>(w) : static_cast<unsigned long>(w);
        int d = 1;
        while (u >= 10) {
            u /= 10;
            ++d;
        }
        return d;
    }
    std::string text(mpz_sizeinbase(z, 10) + 2, '\0');
    mpz_get_str(&text[0], 10, z);
    return static_cast<int>(std::strlen(text.c_str())) - (text[0] == '-' ? 1 : 0);
}

int len(const Rational& x)
{
    if (sgn(x.v) == 0) return 1;
    int width = sgn(x.v) < 0 ? 1 : 0;
    width += digits(x.v.get_num_mpz_t());
    if (x.v.get_den() != 1) width += 1 + digits(x.v.get_den_mpz_t());
    return width;
}

std::ostream& operator<<(std::ostream& s, const Rational& x)
{
    return s << x.v;
}

std::istream& operator>>(std::istream& s, Rational& x)
{
    mpq_class r;
    if (read_rational(s, r)) x.v = std::move(r);
    return s;
}
