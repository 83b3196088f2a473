// Reading the words and numbers of commands from standard input.  Every
// number a command asks for is read by read_number, every coordinate by
// read_coordinate; a malformed token is reported on standard error, the rest
// of its line is discarded and the caller stops.  End of input ends the run
// as quit does.
#pragma once

#include <csignal>
#include <iosfwd>
#include <streambuf>
#include <string>

#include "fields/field.h"

// Reads one whitespace-delimited word of at most max_chars characters (the
// rest of a longer word stays in the input).  False at end of input.
bool read_word(std::string& word, std::size_t max_chars);

// Reads an integer; false (with the message given) on a malformed token or at
// end of input.
bool read_number(int& v);

// Reads a coordinate of a point typed at the terminal.
bool read_coordinate(K& x);

// The text of a read_element failure, e.g. "malformed number 'x'".
std::string describe_bad_element(read_result r, const std::string& token);

// Marks the end of standard input: the command loop stops as after quit.
void end_of_input();
bool input_ended();
// A new run reads input again (set_defaults).
void reset_end_of_input();

// Discards the rest of the current line (the newline stays in the input).
void discard_line();

// A stream buffer that reads its source one line at a time, so that the
// unread rest of the current line can be looked at before it is consumed
// (point entry in TARV_QN decides from it how coordinates are typed).
class line_buffer : public std::streambuf {
public:
    explicit line_buffer(std::streambuf* source) : source_(source) {}
    // The unread characters of the line in the buffer, without its newline.
    std::string rest_of_line() const;
    // The number of lines taken from the source so far: it tells whether
    // two readings happened on the same line.
    long line_number() const { return lines_; }
    std::streambuf* source() const { return source_; }

protected:
    int_type underflow() override;

private:
    std::streambuf* source_;
    std::string line_;
    long lines_ = 0;
};

// Set while a line_buffer waits for its source: a Ctrl-C then ends the
// program as it always did, instead of interrupting a computation.
extern volatile std::sig_atomic_t waiting_for_input;

// The line_buffer in reads through, or nullptr.
const line_buffer* line_source(std::istream& in);
