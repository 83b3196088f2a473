#include "interpreter/commands.h"

#include <iostream>
#include <string>

#include "engine/beta.h"
#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/invariants.h"
#include "engine/linid.h"
#include "engine/linom.h"
#include "engine/linres.h"
#include "engine/min_gens.h"
#include "engine/omega.h"
#include "engine/socle.h"
#include "engine/uniformity.h"
#include "interpreter/cyclotomic_commands.h"
#include "interpreter/input.h"
#include "interpreter/point_entry.h"
#include "interpreter/put_omega.h"
#include "interpreter/random_points.h"
#include "interpreter/result_files.h"
#include "interpreter/session.h"
#include "interpreter/settings.h"
#include "interpreter/store.h"
#include "interpreter/strand_files.h"

const command_struct command[no_of_commands] = {
    {"alpha", 3, [](int v) { alpha_X(std::cout, scheme_at(v)); }},
    {"betamat", 3, [](int v) { disp_beta_matrix(scheme_at(v)); }},
    {"bumo", 3, [](int v) { bu_mo(scheme_at(v)); }},
    {"char", -1, [](int) { characteristic(); }},
    {"cyclotom", -1, [](int) { cyclotom(); }},
    {"cyclotom2", -1, [](int) { cyclotom2(); }},
    {"cyclpol", -1, [](int) { cyclpol(); }},
    {"deglex", -1, [](int) { deglex(); }},
    {"degrevlex", -1, [](int) { degrevlex(); }},
    {"del", 0, [](int v) { del(v, 0); }},
    {"del_all", -1, [](int) { del_all(0); }},
    {"delta", 3, [](int v) { delta_X(std::cout, scheme_at(v)); }},
    {"deltafn", 3, [](int v) { delta_fct(std::cout, scheme_at(v)); }},
    {"dim", -1, [](int) { set_dim(); }},
    {"display", 0, [](int v) { display(v, 1); }},
    {"display_all", -1, [](int) { list_all(1); }},
    {"exit", -1, [](int) { quit = 1; }},
    {"gbasis", 3, [](int v) { groebner(scheme_at(v)); }},
    {"gencycl", -1, [](int) { gencycl(); }},
    {"get", -1, [](int) { get_scheme(); }},
    {"help", -1, [](int) { help(); }},
    {"hilbertfn", 3, [](int v) { hilb_fct(std::cout, scheme_at(v)); }},
    {"identifiers", -1, [](int) {
         identifiers();
         if (!input_ended()) show_settings();
     }},
    {"is_cb", 3, [](int v) { is_CB(std::cout, scheme_at(v)); }},
    {"is_duf", 3, [](int v) { is_delta_uf(scheme_at(v)); }},
    {"is_gor", 3, [](int v) { is_ar_Go(std::cout, scheme_at(v)); }},
    {"is_uf", 3, [](int v) {
         int n;
         if (read_number(n)) is_n_uf(scheme_at(v), n);
     }},
    {"lingenpos", 3, [](int v) { lingenpos(scheme_at(v)); }},
    {"linid", 3, [](int v) {
         if (linid(scheme_at(v))) disp_linid(std::cout, scheme_at(v));
     }},
    {"linom", 3, [](int v) {
         if (linom(scheme_at(v))) disp_linom(std::cout, scheme_at(v));
     }},
    {"linomsyz", 3, [](int v) { linomsyz(scheme_at(v)); }},
    {"linres", 3, [](int v) {
         if (!linid(scheme_at(v)) || !linom(scheme_at(v))) return;
         disp_linres(std::cout, scheme_at(v));
     }},
    {"linsyz", 3, [](int v) { linsyz(scheme_at(v)); }},
    {"list", -1, [](int) { list_all(0); }},
    {"min", 3, [](int v) { disp_min(scheme_at(v)); }},
    {"mindegs", 3, [](int v) { deg_min(std::cout, scheme_at(v)); }},
    {"omega", 3, [](int v) { disp_omega(std::cout, scheme_at(v)); }},
    {"omegamat", 3, [](int v) { disp_omegamat(std::cout, scheme_at(v)); }},
    {"orderideal", 3, [](int v) { order_ideal(std::cout, scheme_at(v)); }},
    {"putbeta", 3, [](int v) { putbeta(v); }},
    {"putgbasis", 3, [](int v) { putGroebner(v); }},
    {"putlinid", 3, [](int v) {
         std::string name;
         if (read_file_name(name)) putlinid(scheme_at(v), name, new_file_mode);
     }},
    {"putlinom", 3, [](int v) {
         std::string name;
         if (read_file_name(name)) putlinom(scheme_at(v), name, new_file_mode);
     }},
    {"putlinomsyz", 3, [](int v) { putlinomsyz(scheme_at(v)); }},
    {"putlinres", 3, [](int v) {
         std::string name;
         // One file: when it cannot be created, one report and nothing more.
         if (read_file_name(name) && putlinid(scheme_at(v), name, new_file_mode))
             putlinom(scheme_at(v), name, append_file_mode);
     }},
    {"putlinsyz", 3, [](int v) { putlinsyz(scheme_at(v)); }},
    {"putmin", 3, [](int v) { putmin(v); }},
    {"putomega", 3, [](int v) { putA_d(v); }},
    {"putscheme", 3, [](int v) { putscheme(v); }},
    {"putsep", 3, [](int v) { putsep(v); }},
    {"quiet", -1, [](int) { verbose = 0; }},
    {"quit", -1, [](int) { quit = 1; }},
    {"random", -1, [](int) { random1(); }},
    {"random2", -1, [](int) { random2(); }},
    {"range", -1, [](int) { range(); }},
    {"ring", -1, [](int) { show_settings(); }},
    {"root", -1, [](int) { root(); }},
    {"scheme", -1, [](int) { create(3); }},
    {"sep", 3, [](int v) { separators(scheme_at(v)); }},
    {"sigma", 3, [](int v) { sigma_X(std::cout, scheme_at(v)); }},
    {"socle", 3, [](int v) { disp_socle(std::cout, scheme_at(v)); }},
    {"type", 3, [](int v) { typ(scheme_at(v)); }},
    {"verbose", -1, [](int) { verbose = 1; }},
    {"write", 3, [](int v) { write(v); }},
    {"writelinid", 3, [](int v) { writelinid(scheme_at(v)); }},
    {"writelinom", 3, [](int v) { writelinom(scheme_at(v)); }},
    {"writelinres", 3, [](int v) { writelinres(scheme_at(v)); }},
};
