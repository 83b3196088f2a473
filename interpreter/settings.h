// The settings commands and the settings the interpreter keeps.
#pragma once

// Inclusive bounds of random coordinates.
extern int range1, range2;

void set_dim();
void deglex();
void degrevlex();
void characteristic();
void range();
void identifiers();
