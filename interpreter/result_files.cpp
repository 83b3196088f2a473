#include "interpreter/result_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <iostream>

#include "engine/beta.h"
#include "engine/bumo.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/min_gens.h"
#include "engine/scheme.h"
#include "interpreter/displays.h"
#include "interpreter/harness_hooks.h"
#include "interpreter/input.h"
#include "interpreter/session.h"
#include "interpreter/store.h"

bool read_file_name(std::string& name)
{
    std::cout << "enter filename : ";
    return read_word(name, std::string::npos);
}

// open(2) fixes the permission bits of a new file, which the standard
// streams cannot; the stream then reopens the file it has made.
bool open_result_file(std::ofstream& out, const std::string& name, bool append)
{
    if (!file_name_allowed(name)) return false;
    const int flags = O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC);
    const int fd = ::open(name.c_str(), flags, 0664);
    if (fd < 0) return false;
    ::close(fd);
    out.open(name, append ? std::ios::app : std::ios::trunc);
    return static_cast<bool>(out);
}

bool ask_result_file(std::ofstream& out, bool append)
{
    std::string name;
    if (!read_file_name(name)) return false;
    if (open_result_file(out, name, append)) return true;
    error(30);
    return false;
}

bool close_result_file(std::ofstream& out)
{
    out.close();
    if (!out.fail()) return true;
    ++reported_errors;
    std::cout << "can't write file\n";
    return false;
}

// A list of polynomials as a one-column matrix.
static void put_ideal(std::ostream& out, const ideal& I)
{
    out << 1 << "\n" << I.no_of_gens << "\n";
    for (int i = 0; i < I.no_of_gens; ++i) {
        I.gen[i].put(out);
        out << "\n";
    }
}

void write(int v)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    out << scheme_at(v);
    if (close_result_file(out)) print_line();
}

void putscheme(int v)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    const scheme& X = scheme_at(v);
    out << proj << "\n" << X.s << "\n";
    for (int i = 0; i < X.s; ++i) {
        out << 1 << "\n";
        for (int j = 0; j < dim; ++j) out << X.P->a[i][j] << "\n";
    }
    if (close_result_file(out)) print_line();
}

void putbeta(int v)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    scheme& X = scheme_at(v);
    if (X.beta_matrix) print_line();
    else beta_matrix(X);
    const matrix& M = *X.beta_matrix;
    out << M.cols << "\n" << M.rows << "\n";
    for (int i = 0; i < M.rows; ++i)
        for (int j = 0; j < M.cols; ++j) out << M.a[i][j] << "\n";
    close_result_file(out);
}

void putsep(int v)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    scheme& X = scheme_at(v);
    if (X.sep) print_line();
    else if (X.delta == 0) bu_mo(X);
    if (!X.sep_polys) sep(X);
    put_ideal(out, *X.separator);
    close_result_file(out);
}

void putGroebner(int v)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    scheme& X = scheme_at(v);
    if (X.delta != 0) print_line();
    else bu_mo(X);
    need_groebner(X);
    put_ideal(out, *X.Ix);
    close_result_file(out);
}

void putmin(int v)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    scheme& X = scheme_at(v);
    if (X.min_Ix) print_line();
    else min_Ix(X);
    put_ideal(out, *X.min_Ix);
    close_result_file(out);
}
