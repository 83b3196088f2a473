#include "interpreter/harness_hooks.h"

harness_hooks hooks;

bool file_name_allowed(const std::string& name)
{
    return !hooks.file_name_allowed || hooks.file_name_allowed(name);
}

std::string point_limit_refusal()
{
    return "number of points has to be at most " + std::to_string(hooks.max_points) + " !\n";
}
