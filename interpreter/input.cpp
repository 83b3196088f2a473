#include "interpreter/input.h"

#include <iostream>

#include "engine/globals.h"
#include "fields/rational_text.h"
#include "interpreter/session.h"

static bool ended = false;

volatile std::sig_atomic_t waiting_for_input = 0;

void end_of_input()
{
    ended = true;
    quit = 1;
}

bool input_ended()
{
    return ended;
}

void reset_end_of_input()
{
    ended = false;
}

void discard_line()
{
    int c;
    while ((c = std::cin.peek()) != EOF && c != '\n') std::cin.get();
}

bool read_word(std::string& word, std::size_t max_chars)
{
    if (read_token(std::cin, word, max_chars)) return true;
    end_of_input();
    return false;
}

bool read_number(int& v)
{
    std::string token;
    if (!read_word(token, std::string::npos)) return false;
    if (parse_int(token, v)) return true;
    ++reported_errors;
    std::cerr << "'" << token << "' is not a number\n";
    discard_line();
    return false;
}

std::string describe_bad_element(read_result r, const std::string& token)
{
    if (r == read_result::uneven_components)
        return "'" + token + "' does not split into coordinates of " + std::to_string(field_degree()) +
               " numbers each";
    if (r == read_result::no_image) return "'" + token + "' has no image in the coefficient field";
    return "'" + token + "' is not a coordinate";
}

bool read_coordinate(K& x)
{
    std::string token;
    read_result r = read_element(std::cin, x, token);
    if (r == read_result::ok) return true;
    if (r == read_result::end_of_input) {
        end_of_input();
        return false;
    }
    ++reported_errors;
    std::cerr << describe_bad_element(r, token) << "\n";
    discard_line();
    return false;
}

line_buffer::int_type line_buffer::underflow()
{
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    line_.clear();
    int_type c;
    waiting_for_input = 1;
    while ((c = source_->sbumpc()) != traits_type::eof()) {
        line_.push_back(traits_type::to_char_type(c));
        if (c == '\n') break;
    }
    waiting_for_input = 0;
    if (line_.empty()) return traits_type::eof();
    ++lines_;
    setg(&line_[0], &line_[0], &line_[0] + line_.size());
    return traits_type::to_int_type(*gptr());
}

std::string line_buffer::rest_of_line() const
{
    std::string rest(gptr(), egptr());
    if (!rest.empty() && rest.back() == '\n') rest.pop_back();
    return rest;
}

const line_buffer* line_source(std::istream& in)
{
    return dynamic_cast<const line_buffer*>(in.rdbuf());
}
