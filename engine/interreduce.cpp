#include "engine/interreduce.h"

#include "engine/interrupt.h"
#include "engine/progress.h"

int lead_pos(const polynomial* row, int c)
{
    int best = -1;
    for (int k = 0; k < c; ++k) {
        if (!sign(row[k])) continue;
        if (best == -1 || row[k].term[0] > row[best].term[0]) best = k;
    }
    return best;
}

void norm(polynomial** A, int A_c, int i, int jj)
{
    K c = A[i][jj].coef[0];
    c.invert();
    for (int k = 0; k < A_c; ++k) A[i][k] *= c;
}

void reduce_c(polynomial** A, int A_c, int k, int i, int jj)
{
    K c = A[i][jj].coef[0];
    for (int l = 0; l < A_c; ++l)
        if (sign(A[k][l])) A[i][l].sub_scaled(A[k][l], c);
}

int interreduce(polynomial** A, int A_r, int A_c, int* Lt)
{
    progress_report report("linear strand: reducing rows", A_r);
    for (int i = 0; i < A_r; ++i) {
        report.at(i);
        check_interrupt();
        for (;;) {
            int L = lead_pos(A[i], A_c);
            Lt[i] = L;
            if (L == -1) break;
            int j = 0;
            while (j < i && !(Lt[j] == L && A[j][L].term[0] == A[i][L].term[0])) ++j;
            if (j == i) {
                norm(A, A_c, i, L);
                break;
            }
            // Row j is monic at L with the same leading monomial, so the
            // leading term of A[i][L] cancels and the loop ends.
            reduce_c(A, A_c, j, i, L);
        }
    }
    return A_r;
}
