#include "interpreter/displays.h"

#include <ostream>

#include "engine/globals.h"
#include "engine/invariants.h"
#include "engine/linid.h"
#include "engine/linom.h"
#include "engine/linres.h"
#include "engine/min_gens.h"
#include "engine/omega.h"
#include "engine/scheme.h"
#include "engine/socle.h"

// The points: <1:x_1:...:x_n> for each point, with nothing in between.
static void disp_scheme(std::ostream& s, const scheme& X)
{
    for (int i = 0; i < X.s; ++i) {
        s << "<1";
        for (int j = 0; j < X.P->cols; ++j) s << ":" << X.P->a[i][j];
        s << ">";
    }
}

std::ostream& operator<<(std::ostream& s, scheme& X)
{
    s << "scheme consists of " << X.s << " points:\n";
    disp_scheme(s, X);
    s << "\n" << Line;
    if (X.delta != 0) {
        order_ideal(s, X);
        hilb_fct(s, X);
        delta_fct(s, X);
        sigma_X(s, X);
        delta_X(s, X);
        alpha_X(s, X);
    }
    if (X.sep == 1) {
        is_CB(s, X);
        is_ar_Go(s, X);
    }
    if (X.min_Ix || !X.min_degs.empty()) deg_min(s, X);
    // The socle counts as computed once its size was (type, is_gor).
    if (X.socle || X.socle_count) disp_socle(s, X);
    if (X.no_of_pr != 0) disp_omega(s, X);
    if (X.linid == 1 && X.linom == 1) {
        disp_linres(s, X);
    } else {
        if (X.linom == 1) disp_linom(s, X);
        if (X.linid == 1) disp_linid(s, X);
    }
    return s;
}
