#include "interpreter/command_line.h"

#include <ostream>

static const char* const tarv_version = "1.0";

// The program's name as it was called, without its folder.
static std::string program_name(int argc, const char* const* argv)
{
    std::string name = argc > 0 && argv[0] ? argv[0] : "TARV";
    std::size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

static void usage(std::ostream& s, const std::string& name)
{
    s << "usage: " << name << " [--batch] [SCRIPT]\n"
      << "       " << name << " --help | --version\n"
      << "Reads commands from SCRIPT, or from standard input without it; 'help' at the\n"
      << "prompt lists the commands.\n"
      << "  --batch    no greeting, no prompt, no farewell; the exit status is 1 when\n"
      << "             any command reported an error, 0 otherwise\n"
      << "  --help     print this text and exit\n"
      << "  --version  print the version and exit\n";
}

int read_command_line(int argc, const char* const* argv, run_options& options, std::ostream& out,
                      std::ostream& err)
{
    const std::string name = program_name(argc, argv);
    options.program = name;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--version") {
            out << name << " " << tarv_version << "\n";
            return 0;
        }
        if (arg == "--help") {
            usage(out, name);
            return 0;
        }
        if (arg == "--batch") {
            options.batch = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << name << ": unknown option '" << arg << "'\n";
            usage(err, name);
            return 2;
        } else if (options.script.empty()) {
            options.script = arg;
        } else {
            err << name << ": one script file only, '" << arg << "' is one too many\n";
            usage(err, name);
            return 2;
        }
    }
    return -1;
}
