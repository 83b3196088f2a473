#include "interpreter/put_omega.h"

#include <fstream>

#include "engine/omega.h"
#include "engine/polynomial.h"
#include "engine/scheme.h"
#include "interpreter/result_files.h"
#include "interpreter/session.h"
#include "interpreter/store.h"

void putA_d(int v)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    scheme& X = scheme_at(v);
    if (X.no_of_pr == 0)
        omega(X);
    else
        print_line();
    out << X.no_of_pr << "\n" << X.A_d_cols << "\n";
    for (int n = 0; n < X.A_d_cols; ++n)
        for (int m = 0; m < X.no_of_pr; ++m) {
            X.A_d[m * X.A_d_cols + n].put(out);
            out << "\n";
        }
    close_result_file(out);
}
