// The beta matrix: the leading forms of all separators written as
// combinations of the leading forms of delta chosen separators.
#pragma once

class scheme;

// Fills X.beta_matrix (delta columns, one row per point) and X.basis (the
// points whose separators were chosen), computing the Buchberger-Moeller
// results and the separators first when they are missing.  Does nothing when
// the beta matrix exists already.
void beta_matrix(scheme& X);

// The command betamat: the chosen separators and the matrix, then the
// separator line; computes the matrix first when it is missing.
void disp_beta_matrix(scheme& X);
