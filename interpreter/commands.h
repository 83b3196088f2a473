// The command table: every command word, what its first argument must be,
// and the operation it runs.  This is the one place that names commands.
#pragma once

struct command_struct {
    char name[13];
    // 3: an identifier of a stored scheme; 0: an identifier of any type;
    // -1: no identifier, the command reads its own arguments.
    int par1_typ;
    // Runs the command on the identifier index (-1 for par1_typ -1).
    void (*action)(int var1);
};

constexpr int no_of_commands = 67;
extern const command_struct command[no_of_commands];

// Typing a stored identifier alone runs this command on it.
constexpr int display_command = 14;
