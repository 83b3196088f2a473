// Point entry at the terminal (get) and scheme files (scheme).  Points are
// stored normalised to first coordinate 1.
#pragma once

#include <istream>
#include <string>

class matrix;

void get_scheme();

// Reads a scheme file into the reserved entry v.  0: stored; 1: the file's
// point length differs from proj (error 31); 2: refused for another reason
// (message given).  Nothing is stored unless the result is 0.
int read_scheme(std::istream& in, int v, const std::string& file_name);

// Looks for two equal points (rows of P); true with their indices i < k.
bool find_equal_points(const matrix& P, int& i, int& k);
