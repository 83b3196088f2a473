// Hooks for a test harness that runs the command loop in-process (the fuzz
// targets in tests/fuzz): they keep every run small and its files inside one
// folder.  The programs never change them, so by default every file name is
// allowed and only the commands' own limits apply.
#pragma once

#include <climits>
#include <string>

#include "engine/globals.h"
#include "engine/scheme.h"

struct harness_hooks {
    // Asked about every file name a user gives, before the file is opened
    // for reading (scheme) or writing (the result files); a refused name
    // behaves as a file that cannot be opened.  nullptr allows every name.
    bool (*file_name_allowed)(const std::string& name) = nullptr;
    // The most points a command may make (get, scheme, random, random2 and
    // the cyclotomic point sets), and the largest order root accepts; the
    // commands also stay below max_scheme_points().
    int max_points = INT_MAX;
    // The largest dimension the command dim accepts.
    int max_dimension = max_dim;
};

extern harness_hooks hooks;

bool file_name_allowed(const std::string& name);

// The most points get, scheme, random and random2 may make: the smaller of
// hooks.max_points and max_scheme_points().
int point_limit();
// "number of points has to be at most <point_limit()> !\n", the refusal of a
// larger count.
std::string point_limit_refusal();
