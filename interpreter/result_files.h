// Result files: the common procedure of every file-writing command and the
// writers of the scheme, its beta matrix, separators, Groebner basis and
// minimal generators.
//
// A result file holds a matrix as text, one item per line: the number of
// columns, the number of rows, then the entries row by row.  A list of
// polynomials is one column; polynomials use the file form (polynomial::put).
//
// Every writer runs, in this order: ask_result_file (prompt, name, open;
// error 30 and stop when the file cannot be opened); make sure the result
// exists (compute it, which ends with its own separator line, or print the
// separator line when it exists); write; close_result_file.
#pragma once

#include <fstream>
#include <string>

// Prints "enter filename : " and reads one word of any length.  False at the
// end of input (the run then ends; nothing else is printed).
bool read_file_name(std::string& name);

// Opens name for writing, truncated (or, with append, positioned at its end),
// creating it with permission bits 0664 before the umask.  False when it
// cannot be opened; no message.
bool open_result_file(std::ofstream& out, const std::string& name, bool append = false);

// read_file_name, then open_result_file; error 30 when the file cannot be
// opened.  False means: stop, compute nothing.
bool ask_result_file(std::ofstream& out, bool append = false);

// Closes a result file.  When writing failed (a full disk, say) the file is
// incomplete: prints "can't write file\n" and returns false.
bool close_result_file(std::ofstream& out);

// The commands, on the stored scheme at index v.
void write(int v);        // the full display of the scheme
void putscheme(int v);    // the points, as a scheme file
void putbeta(int v);      // the beta matrix
void putsep(int v);       // the separators
void putGroebner(int v);  // the Groebner basis (command putgbasis)
void putmin(int v);       // the minimal generators of the projective ideal
