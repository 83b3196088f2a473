// Scheme files for the batch tool: the point length n + 1, the number of
// points s, then s times n + 1 homogeneous coordinates, whitespace-separated.
// Unlike the interactive reader it sets the dimension from the file and
// refuses (naming the line) whatever it cannot take as a point set: a bad
// number, too few or too many tokens, a point with first coordinate 0,
// equal points.
#pragma once

#include <istream>
#include <memory>
#include <string>

class scheme;

// The points of the file as a new scheme, with the global dim and proj set to
// its dimension; nullptr with the reason in error ("line 3: ...") otherwise.
std::unique_ptr<scheme> read_point_file(std::istream& in, std::string& error);
