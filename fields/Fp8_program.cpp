// The field of the program TARV_Fp8: F_p by lookup tables, p <= 251.
#include <istream>
#include <ostream>

#include "fields/field.h"
#include "fields/Fp.h"
#include "fields/rational_text.h"

void field_set_defaults()
{
    Fp8::prime = 101;
    Fp8::init();
}

void field_show_ring_name(std::ostream& s)
{
    s << "F" << Fp8::prime;
}

void field_show_extra_settings(std::ostream&) {}

int field_characteristic()
{
    return Fp8::prime;
}

int field_degree()
{
    return 1;
}

int field_max_characteristic()
{
    return 251;
}

void field_set_characteristic(int p)
{
    Fp8::prime = p;
    Fp8::init();
}

read_result read_element(std::istream& in, K& x, std::string& token)
{
    if (!read_token(in, token)) return read_result::end_of_input;
    mpq_class r;
    if (!parse_rational(token, r)) return read_result::malformed;
    Fp y;
    if (!Fp::from_rational(r, y)) return read_result::no_image;
    x = Fp8(y.q);
    return read_result::ok;
}
