// The cyclotomic commands in the programs over Q and F_p: a hint, nothing read.
#include "interpreter/cyclotomic_commands.h"

#include <iostream>

#include "engine/globals.h"
#include "interpreter/session.h"

static void point_set_hint()
{
    ++reported_errors;
    std::cout << "please use 'TARV_QN' for computing cyclotomic schemes\n";
    print_line();
}

static void field_hint()
{
    ++reported_errors;
    std::cout << "please use 'TARV_QN' for computations over the field with n-th roots of unity\n";
    print_line();
}

void root() { field_hint(); }
void cyclpol() { field_hint(); }
void cyclotom() { point_set_hint(); }
void cyclotom2() { point_set_hint(); }
void gencycl() { point_set_hint(); }
