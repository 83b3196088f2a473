#include "interpreter/strand_files.h"

#include <fstream>

#include "engine/linid.h"
#include "engine/linom.h"
#include "engine/linres.h"
#include "interpreter/result_files.h"
#include "interpreter/scheme.h"
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
    putlinid(X, out);
    return true;
}

void putlinom(scheme& X, const std::string& file_name, int mode)
{
    std::ofstream out;
    if (open_with_mode(out, file_name, mode)) putlinom(X, out);
}

void putlinsyz(scheme& X)
{
    std::ofstream out;
    if (ask_result_file(out)) putlinsyz(X, out);
}

void putlinomsyz(scheme& X)
{
    std::ofstream out;
    if (ask_result_file(out)) putlinomsyz(X, out);
}

void writelinid(scheme& X)
{
    std::ofstream out;
    if (ask_result_file(out)) disp_linid(out, X);
}

void writelinom(scheme& X)
{
    std::ofstream out;
    if (ask_result_file(out)) disp_linom(out, X);
}

void writelinres(scheme& X)
{
    std::ofstream out;
    if (ask_result_file(out)) disp_linres(out, X);
}
