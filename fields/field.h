// Binds the coefficient field K of the engine to the field of the program
// being built, and declares what each program's field adds to the settings
// and to point entry.  Exactly one TARV_FIELD_* macro is defined per build.
#pragma once

#include <iosfwd>
#include <string>

#if defined(TARV_FIELD_FP)
#include "fields/Fp.h"
using K = Fp;
#elif defined(TARV_FIELD_FP8)
#include "fields/Fp8.h"
using K = Fp8;
#elif defined(TARV_FIELD_Q)
#include "fields/Rational.h"
using K = Rational;
#elif defined(TARV_FIELD_QN)
#include "fields/QN.h"
using K = QN;
#else
#error "no coefficient field selected: define one TARV_FIELD_* macro"
#endif

// The field's own start-up state (characteristic, or Q(zeta_5)).
void field_set_defaults();

// The field as the settings show it: F31991, Q, Q(zeta).
void field_show_ring_name(std::ostream& s);
// Further settings lines (only the cyclotomic field has any).
void field_show_extra_settings(std::ostream& s);

// The characteristic, 0 for the fields over Q.
int field_characteristic();
// The largest characteristic the command char accepts; 0 when the program's
// characteristic cannot be changed.
int field_max_characteristic();
// Makes the prime p (already checked) the characteristic.
void field_set_characteristic(int p);
// The numbers (residues or rationals) an element holds: the degree n of
// Q(zeta_N), 1 for the other fields.
int field_degree();

// uneven_components: a line of blank-separated components of TARV_QN
// coordinates whose count is not a multiple of the field degree.
enum class read_result { ok, end_of_input, malformed, no_image, uneven_components };

// Reads one coordinate of a point.  On a token that is no field element
// (malformed) or a rational number without image in the field (no_image)
// nothing is stored in x and token holds the offending text.
read_result read_element(std::istream& in, K& x, std::string& token);
