// The field of the program TARV: the rational numbers.
#include <istream>
#include <ostream>

#include "fields/field.h"
#include "fields/rational_text.h"

void field_set_defaults() {}

void field_show_ring_name(std::ostream& s)
{
    s << "Q";
}

void field_show_extra_settings(std::ostream&) {}

int field_characteristic()
{
    return 0;
}

int field_degree()
{
    return 1;
}

int field_max_characteristic()
{
    return 0;
}

// The characteristic of Q is fixed.
void field_set_characteristic(int) {}

read_result read_element(std::istream& in, K& x, std::string& token)
{
    if (!read_token(in, token)) return read_result::end_of_input;
    mpq_class r;
    if (!parse_rational(token, r)) return read_result::malformed;
    x.v = std::move(r);
    return read_result::ok;
}
