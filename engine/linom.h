// The linear strand of the minimal free resolution of the canonical module
// w_R, starting at its generators of the highest degree -sigma: their
// number, their linear first syzygies (the linear columns of the
// presentation matrix A_d), the linear syzygies among those, and so on.
// The steps are those of the strand of I_X (engine/linid.h).
//
// The counts go to X.linres[1] in reverse: entry n-1 holds the generators,
// entry n-1-N the linear N-th syzygies.  A step N >= n has no entry; it is
// computed (and written by putlinom) but not stored.
#pragma once

#include <iosfwd>

class scheme;

// Command linom: computes X.linres[1] once (flag X.linom); runs omega first
// when the presentation is absent.  linom and putlinom are false when a step
// is too large to be computed (strand_syzygies, engine/linid.h): the counts
// are then cleared and the flag stays 0.
bool linom(scheme& X);
// The table of X.linres[1]: column p holds the linear p-th syzygies (p = 0:
// the generators) under the degree -sigma - p; computes nothing.
void disp_linom(std::ostream& s, scheme& X);
// Command linomsyz: the first step only (the flag is untouched); prints the
// linear first syzygies as "[ e_1;\n... ]" rows.
void linomsyz(scheme& X);
// The first step only, written: the number of columns, the count and the
// surviving rows' entries in file form; nothing when there is no syzygy.
void putlinomsyz(scheme& X, std::ostream& file);
// Recomputes X.linres[1] (setting the flag) and writes, for every step
// N >= 1 with a non-zero count, "\n", N, ". matrix of linear resolution of
// w_R : \n", the number of columns, the count and the rows.
bool putlinom(scheme& X, std::ostream& file);
