// The program run: defaults, greeting, settings display, the command loop
// with its dispatch, help and the numbered errors.
#pragma once

#include <iosfwd>
#include <string>

// 1 ends the command loop.
extern int quit;

// The state of a fresh start: settings, the field's defaults, the random
// generator at its seed, input not yet ended.
void set_defaults();
void hello();
void show_settings();
void help();
void parser();
void execute(int cmd, int var1);
void error(int err);
void mem_warn();

// Prints the separator line on standard output.
void print_line();
