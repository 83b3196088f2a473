// The command line of tarv.
#pragma once

#include <iosfwd>
#include <string>

#include "batch/entry.h"

// What parse_options found.
enum class parse_outcome { run, help, usage_error };

// Reads argv[1..argc-1]; on usage_error, error says what is wrong.
parse_outcome parse_options(int argc, const char* const* argv, batch_options& options, std::string& error);

void print_usage(std::ostream& s);
