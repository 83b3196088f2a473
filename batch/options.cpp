#include "batch/options.h"

#include <cerrno>
#include <cstdlib>
#include <ostream>

namespace {

// The whole text as a decimal number in [low, high].
bool parse_bounded(const std::string& text, long low, long high, int& value)
{
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < low || v > high) return false;
    value = static_cast<int>(v);
    return true;
}

bool is_prime(int p)
{
    if (p < 2) return false;
    for (int d = 2; d * d <= p; ++d)
        if (p % d == 0) return false;
    return true;
}

// The engine over F_p keeps products of residues below 2^31.
constexpr int largest_prime = 32003;
constexpr int largest_order = 1000;

bool parse_field(const std::string& text, batch_options& o, std::string& error)
{
    if (text.compare(0, 3, "QN:") == 0) {
        if (!parse_bounded(text.substr(3), 1, largest_order, o.order)) {
            error = "--field QN:N needs an order N between 1 and " + std::to_string(largest_order);
            return false;
        }
        o.field = batch_field::cyclotomic;
        return true;
    }
    int p;
    if (!parse_bounded(text, 0, largest_prime, p) || (p != 0 && !is_prime(p))) {
        error = "--field takes 0 (the rationals), a prime p <= " + std::to_string(largest_prime) +
                " or QN:N, not '" + text + "'";
        return false;
    }
    o.field = p == 0 ? batch_field::rationals : batch_field::prime;
    o.characteristic = p;
    return true;
}

bool parse_command(const std::string& word, batch_options& o)
{
    if (word == "invariants") o.command = batch_command::invariants;
    else if (word == "betti") o.command = batch_command::betti;
    else if (word == "gb") o.command = batch_command::gb;
    else if (word == "export") o.command = batch_command::export_script;
    else return false;
    return true;
}

}  // namespace

void print_usage(std::ostream& s)
{
    s << "usage: tarv [--field 0|p|QN:N] [--order degrevlex|deglex] [--json] COMMAND FILE...\n"
         "commands:\n"
         "  invariants            Hilbert function, alpha, sigma, delta, Cayley-Bacharach,\n"
         "                        Gorenstein, type, degrees of the minimal generators\n"
         "  betti                 the graded Betti table of the coordinate ring S/I_X\n"
         "  gb                    the homogeneous reduced Groebner basis of I_X\n"
         "  export --to m2|singular\n"
         "                        a Macaulay2 or Singular script defining the ring and I_X\n"
         "FILE is a scheme file (point length, number of points, coordinates); '-' is\n"
         "standard input.  --field: 0 the rationals (default), p a prime <= 32003,\n"
         "QN:N the cyclotomic field of the N-th roots of unity.\n";
}

parse_outcome parse_options(int argc, const char* const* argv, batch_options& o, std::string& error)
{
    bool have_command = false, have_target = false, only_files = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (only_files || arg == "-" || arg.compare(0, 1, "-") != 0) {
            if (!have_command && !only_files) {
                if (!parse_command(arg, o)) {
                    error = "unknown command '" + arg + "'";
                    return parse_outcome::usage_error;
                }
                have_command = true;
            } else {
                o.files.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            only_files = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") return parse_outcome::help;
        if (arg == "--json") {
            o.json = true;
            continue;
        }
        // Options with a value: "--name value" or "--name=value".
        std::string name = arg, value;
        std::size_t eq = arg.find('=');
        if (eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        } else if (arg == "--field" || arg == "--order" || arg == "--to") {
            if (i + 1 == argc) {
                error = arg + " needs a value";
                return parse_outcome::usage_error;
            }
            value = argv[++i];
        }
        if (name == "--field") {
            if (!parse_field(value, o, error)) return parse_outcome::usage_error;
        } else if (name == "--order") {
            if (value == "degrevlex") o.ordering = 1;
            else if (value == "deglex") o.ordering = 0;
            else {
                error = "--order takes degrevlex or deglex, not '" + value + "'";
                return parse_outcome::usage_error;
            }
        } else if (name == "--to") {
            if (value == "m2") o.target = export_system::m2;
            else if (value == "singular") o.target = export_system::singular;
            else {
                error = "--to takes m2 or singular, not '" + value + "'";
                return parse_outcome::usage_error;
            }
            have_target = true;
        } else {
            error = "unknown option '" + arg + "'";
            return parse_outcome::usage_error;
        }
    }
    if (!have_command) {
        error = "no command given";
        return parse_outcome::usage_error;
    }
    if (have_target != (o.command == batch_command::export_script)) {
        error = have_target ? "--to belongs to the command export" : "export needs --to m2 or --to singular";
        return parse_outcome::usage_error;
    }
    if (o.files.empty()) {
        error = "no file given (use - for standard input)";
        return parse_outcome::usage_error;
    }
    return parse_outcome::run;
}
