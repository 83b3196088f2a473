// Global settings read by the engine.  They change only through the settings
// commands of the interpreter; the engine reads them directly.
#pragma once

class monom;

using monom_order_fn = int (*)(const monom&, const monom&);

// n, the dimension of projective n-space, and n + 1, the number of ring variables.
extern int dim;
extern int proj;

// 1: long computations report progress on standard error.
extern int verbose;

// The errors reported to the user so far (refused commands, unreadable
// input); a batch run ends with a non-zero status when there were any.
extern int reported_errors;

// Output line length and the separator line (LL - 1 dashes and a newline).
extern int LL;
extern char Line[255];

// Current output column while a polynomial is printed on screen.
extern int counter;

// One character per ring variable; the last of the first proj is the
// homogenizing variable.
extern char varstring[30];

// 0 = deg-lex, 1 = deg-rev-lex, with the four comparisons in use.
extern int monom_ordering;
extern monom_order_fn monom_ordering_lt;
extern monom_order_fn monom_ordering_le;
extern monom_order_fn proj_monom_ordering_lt;
extern monom_order_fn proj_monom_ordering_le;

// The largest dimension the program accepts: every variable needs a name.
constexpr int max_dim = 26;
