// The whole run of a program: start-up, the command loop and shut-down.
#pragma once

// A run reading standard input, as without command-line arguments.
int tarv_main();
// A run with the program's arguments (interpreter/command_line.h); the exit
// status.
int tarv_main(int argc, char** argv);
