// Command putomega: the presentation matrix A_d of the canonical module
// written to a result file.
#pragma once

// Writes no_of_pr and A_d_cols, then the entries of A_d column by column
// (generator by generator within a column), for the scheme at index v;
// computes the presentation first when it is absent.
void putA_d(int v);
