#include "interpreter/strand_files.h"

#include <fstream>

#include "engine/linid.h"
#include "engine/linom.h"
#include "engine/linres.h"
#include "engine/scheme.h"
#include "interpreter/result_files.h"
#include "interpreter/session.h"

namespace {

bool open_with_mode(std::ofstream& out, const std::string& file_name, int mode)
{
    if (open_result_file(out, file_name, mode == append_file_mode)) return true;
    error(30);
    return false;
}

}  // namespace

bool putlinid(scheme& X, const std::string& file_name, int mode)
{
    std::ofstream out;
    if (!open_with_mode(out, file_name, mode)) return false;
    return putlinid(X, out) && close_result_file(out);
}

void putlinom(scheme& X, const std::string& file_name, int mode)
{
    std::ofstream out;
    if (!open_with_mode(out, file_name, mode)) return;
    putlinom(X, out);
    close_result_file(out);
}

void putlinsyz(scheme& X)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    putlinsyz(X, out);
    close_result_file(out);
}

void putlinomsyz(scheme& X)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    putlinomsyz(X, out);
    close_result_file(out);
}

void writelinid(scheme& X)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    disp_linid(out, X);
    close_result_file(out);
}

void writelinom(scheme& X)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    disp_linom(out, X);
    close_result_file(out);
}

void writelinres(scheme& X)
{
    std::ofstream out;
    if (!ask_result_file(out)) return;
    disp_linres(out, X);
    close_result_file(out);
}
