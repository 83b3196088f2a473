// The field of the program TARV_Fp.
#include <algorithm>
#include <istream>
#include <ostream>

#include "fields/field.h"
#include "fields/rational_text.h"

void field_set_defaults()
{
    Fp::prime = 31991;
}

void field_show_ring_name(std::ostream& s)
{
    s << "F" << Fp::prime;
}

void field_show_extra_settings(std::ostream&) {}

int field_characteristic()
{
    return Fp::prime;
}

int field_degree()
{
    return 1;
}

int field_max_characteristic()
{
    return 32003;
}

void field_set_characteristic(int p)
{
    Fp::prime = p;
}

read_result read_element(std::istream& in, K& x, std::string& token)
{
    if (!read_token(in, token)) return read_result::end_of_input;
    mpq_class r;
    if (!parse_rational(token, r)) return read_result::malformed;
    if (!Fp::from_rational(r, x)) return read_result::no_image;
    return read_result::ok;
}
