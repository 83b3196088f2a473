#include "engine/globals.h"

#include "engine/monom.h"

int dim = 3;
int proj = 4;
int verbose = 1;
int reported_errors = 0;
int LL = 80;
char Line[255];
int counter = 0;
char varstring[30] = "XYZTabcdefghijklmnopqrstuvw";
int monom_ordering = 1;
monom_order_fn monom_ordering_lt = degrevlex_lt;
monom_order_fn monom_ordering_le = degrevlex_le;
monom_order_fn proj_monom_ordering_lt = proj_degrevlex_lt;
monom_order_fn proj_monom_ordering_le = proj_degrevlex_le;
