// The full display of a scheme: heading, points, and each result that
// exists, shown by the same display operation as its own command.  The
// display never computes anything.
#pragma once

#include <iosfwd>

class scheme;

std::ostream& operator<<(std::ostream& s, scheme& X);
