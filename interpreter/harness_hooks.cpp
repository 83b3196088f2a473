#include "interpreter/harness_hooks.h"

#include <algorithm>

harness_hooks hooks;

bool file_name_allowed(const std::string& name)
{
    return !hooks.file_name_allowed || hooks.file_name_allowed(name);
}

int point_limit()
{
    return std::min(hooks.max_points, max_scheme_points());
}

std::string point_limit_refusal()
{
    return "number of points has to be at most " + std::to_string(point_limit()) + " !\n";
}
