#include "engine/linres.h"

#include <ostream>
#include <string>
#include <vector>

#include "engine/globals.h"
#include "engine/linid.h"
#include "engine/scheme.h"
#include "fields/text.h"

void disp_linres(std::ostream& s, scheme& X)
{
    const int n = dim;
    const int* I = X.linres[0];
    const int* w_R = X.linres[1];
    std::vector<int> w(n);
    int width = 6;
    for (int j = 0; j < n; ++j) {
        w[j] = 3;
        if (len(I[j]) > w[j]) w[j] = len(I[j]);
        if (len(w_R[j]) > w[j]) w[j] = len(w_R[j]);
        width += w[j] + 1;
    }
    const std::string rule(width, '-');
    s << "    | ";
    for (int j = 0; j < n; ++j) put_cell(s, j + 1, w[j]);
    s << "\n" << rule << "\ndeg | ";
    for (int j = 0; j < n; ++j) put_cell(s, X.alpha - j, w[j]);
    s << "\nI_X | ";
    for (int j = 0; j < n; ++j) put_cell(s, I[j], w[j]);
    s << "\n" << rule << "\nw_R | ";
    for (int j = 0; j < n; ++j) put_cell(s, w_R[j], w[j]);
    s << "\ndeg | ";
    for (int j = 0; j < n; ++j) put_cell(s, j - X.sigma - n + 1, w[j]);
    s << "\n" << Line;
}
