// The field of the program TARV_QN: the cyclotomic field Q(zeta_N).
#include <istream>
#include <ostream>

#include "fields/field.h"
#include "fields/rational_text.h"

// The byte the program prints for the root of unity zeta.
static const char zeta = '\xE6';

void field_set_defaults()
{
    QN::set(5);
}

void field_show_ring_name(std::ostream& s)
{
    s << "Q(" << zeta << ")";
}

void field_show_extra_settings(std::ostream& s)
{
    const char* indent = "                    ";
    s << indent << zeta << " = " << QN::N << "-th root of unity\n";
    s << indent << "a Q-basis for Q(" << zeta << ") is " << zeta << "^0,...," << zeta << "^" << QN::n - 1 << "\n";
}

int field_characteristic()
{
    return 0;
}

int field_degree()
{
    return QN::n;
}

int field_max_characteristic()
{
    return 0;
}

// The characteristic of Q(zeta) is fixed.
void field_set_characteristic(int) {}

read_result read_element(std::istream& in, K& x, std::string& token)
{
    if (!read_token(in, token)) return read_result::end_of_input;
    // "1, 0, -1/2, 3" and "(1, 0, -1/2, 3)": a comma at the end of a word
    // continues the vector in the next word.
    std::string more;
    while (token.back() == ',' && read_token(in, more)) token += more;
    if (!parse_QN(token, x)) return read_result::malformed;
    return read_result::ok;
}
