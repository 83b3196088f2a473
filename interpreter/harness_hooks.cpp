#include "interpreter/harness_hooks.h"

#include <iostream>

harness_hooks hooks;

bool file_name_allowed(const std::string& name)
{
    return !hooks.file_name_allowed || hooks.file_name_allowed(name);
}

bool within_point_limit(int s)
{
    if (s <= hooks.max_points) return true;
    std::cout << "number of points is limited to " << hooks.max_points << " in this run !\n";
    return false;
}
