// The command-line arguments the four programs share: --version, --help,
// --batch and a script file to read the commands from.  Without arguments a
// program runs as it always did, reading standard input.
#pragma once

#include <iosfwd>
#include <string>

struct run_options {
    // No greeting, no settings display, no "% " prompt and no farewell; the
    // exit status is 1 when any command reported an error.
    bool batch = false;
    // Commands are read from this file instead of standard input ("" = stdin).
    std::string script;
    // The program's name as it was called, without its folder.
    std::string program;
};

// Reads the arguments into options.  Returns -1 when the program should go
// on to run, otherwise the exit status to end with at once: 0 after
// --version or --help (printed on out), 2 after an unknown option or a
// second script file (reported on err).
int read_command_line(int argc, const char* const* argv, run_options& options, std::ostream& out,
                      std::ostream& err);
