// The result files of the linear strands: the matrices of the steps and the
// tables, each through the common file procedure (prompt, any-length name,
// permission bits 0664, error 30 when the file cannot be opened, in which
// case nothing is computed).
#pragma once

#include <string>

class scheme;

// Open modes of putlinid and putlinom.
constexpr int new_file_mode = 2;     // create or truncate
constexpr int append_file_mode = 8;  // append at the end

// The blocks of the strand of I_X (w_R) written to file_name opened with
// mode; the command putlinres writes both into one file.  putlinid is false
// when the file could not be opened (error 30 given, nothing computed), the
// strand was too large to be computed, or the file not written.
bool putlinid(scheme& X, const std::string& file_name, int mode);
void putlinom(scheme& X, const std::string& file_name, int mode);

// Commands putlinsyz and putlinomsyz: ask for the file, then write the
// syzygies of the strand of I_X (the first syzygies of w_R).
void putlinsyz(scheme& X);
void putlinomsyz(scheme& X);

// Commands writelinid, writelinom, writelinres: ask for the file and write
// the table exactly as the screen shows it, separator line included.  They
// compute nothing: a table no computation has filled reads as zeros.
void writelinid(scheme& X);
void writelinom(scheme& X);
void writelinres(scheme& X);
