// The settings commands and the settings the interpreter keeps.
#pragma once

// Inclusive bounds of random coordinates.
extern int range1, range2;

// The ordering selected by deg-lex (0) or deg-rev-lex (1).
void set_ordering(int ordering);

void set_dim();
void deglex();
void degrevlex();
void characteristic();
void range();
void identifiers();
