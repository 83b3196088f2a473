// Widths of printed numbers; every column layout of the program uses len(int).
#pragma once

// Characters of x in decimal, a minus sign included, with the digits capped
// at 5: 1 for |x| <= 9, ..., 5 for every |x| >= 10000 (plus 1 when x < 0).
int len(int x);
