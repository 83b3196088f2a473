// Text input shared by every field: whitespace-delimited tokens, integers and
// rational numbers written as an optionally signed integer with an optional
// "/denominator".
#pragma once

#include <iosfwd>
#include <string>

#include <gmpxx.h>

// Skips whitespace (newlines included) and reads up to max_chars characters
// of non-whitespace; the rest of a longer word stays in the stream.
// False at end of input.
bool read_token(std::istream& in, std::string& token, std::size_t max_chars = std::string::npos);

// Strict parses of a whole token; false when the token is malformed (or, for
// rationals, has the denominator 0, or, for ints, does not fit).
bool parse_rational(const std::string& token, mpq_class& r);
bool parse_int(const std::string& token, int& v);

// Reads one token as a rational number; sets failbit on a malformed token.
bool read_rational(std::istream& in, mpq_class& r);
