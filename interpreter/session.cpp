#include "interpreter/session.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>

#include <gmp.h>
#include <signal.h>
#include <unistd.h>

#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/monom.h"
#include "engine/progress.h"
#include "fields/field.h"
#include "interpreter/command_line.h"
#include "interpreter/commands.h"
#include "interpreter/input.h"
#include "interpreter/program.h"
#include "interpreter/random_points.h"
#include "interpreter/settings.h"
#include "interpreter/store.h"

int quit = 0;

// A batch run prints no greeting, prompt or farewell.
static bool batch_run = false;

void print_line()
{
    std::cout << Line;
}

void mem_warn()
{
    std::cout.flush();
    std::cerr << "\nNew: can't allocate enough memory\n";
    std::cerr.flush();
    std::_Exit(10);
}

// GMP reports exhausted memory through the same handler as operator new.
static void* gmp_alloc(std::size_t n)
{
    void* p = std::malloc(n);
    if (!p) mem_warn();
    return p;
}

static void* gmp_realloc(void* old, std::size_t, std::size_t n)
{
    void* p = std::realloc(old, n);
    if (!p) mem_warn();
    return p;
}

static void gmp_free(void* p, std::size_t)
{
    std::free(p);
}

void set_defaults()
{
    dim = 3;
    proj = dim + 1;
    verbose = 1;
    LL = 80;
    std::memset(Line, '-', 253);
    Line[253] = '\n';
    Line[254] = '\0';
    Line[LL] = '\0';
    Line[LL - 1] = '\n';
    std::strcpy(varstring, "XYZTabcdefghijklmnopqrstuvw");
    set_ordering(1);
    quit = 0;
    reset_end_of_input();
    random_generator().reseed(random_seed);
    counter = 0;
    field_set_defaults();
    if (field_characteristic() == 0) {
        range1 = -50;
        range2 = 50;
    } else {
        range1 = 0;
        range2 = std::min(50, field_characteristic() - 1);
    }
}

void hello()
{
    print_line();
    std::cout << "welcome to TARV\n";
    print_line();
}

void show_settings()
{
    std::cout << "dimension         : " << dim << "\n";
    std::cout << "ring              : ";
    field_show_ring_name(std::cout);
    std::cout << "[" << std::string(varstring, static_cast<std::size_t>(proj)) << "]\n";
    field_show_extra_settings(std::cout);
    std::cout << "monomial ordering : ";
    if (monom_ordering == 0) std::cout << "deg-lex\n";
    else if (monom_ordering == 1) std::cout << "deg-rev-lex\n";
    print_line();
}

void help()
{
    std::cout << "list of commands in alphabetical order :";
    int columns = LL / 13;
    for (int i = 0; i < no_of_commands; ++i) {
        if (i % columns == 0) std::cout << "\n";
        std::cout << command[i].name << std::string(13 - std::strlen(command[i].name), ' ');
    }
    std::cout << "\n";
    print_line();
}

void error(int err)
{
    const char* message = nullptr;
    switch (err) {
    case 30: message = "can't open file\n"; break;
    case 31: message = "can't read scheme because of different dimensions\n"; break;
    case 102: message = "command or indentifier unknown\n"; break;
    case 104: message = "command needs indentifier\n"; break;
    case 105: message = "indentifiers have to consist only of alnums\n"; break;
    case 107: message = "indentifier unknown\n"; break;
    case 108: message = "indentifier of wrong typ\n"; break;
    case 110: message = "identifier memory exceeded\n"; break;
    case 111: message = "indentifier already exists\n"; break;
    default: return;
    }
    ++reported_errors;
    std::cout << message;
}

void execute(int cmd, int var1)
{
    const command_struct& c = command[cmd];
    if (c.par1_typ >= 0) {
        if (var1 == -2) { error(107); return; }
        if (var1 == -1) { error(104); return; }
        if (c.par1_typ > 0 && var[var1].typ != c.par1_typ) { error(108); return; }
    }
    interrupt_requested = 0;
    try {
        c.action(var1);
    } catch (const computation_interrupted&) {
        // Every result stored before the interrupt stays; the one being
        // computed is not stored.
        std::cout << "\ninterrupted\n";
        print_line();
        ++reported_errors;
    }
    interrupt_requested = 0;
}

// Step 6 of the loop: the rest of the line after a command.  Blanks are
// skipped; anything else is reported as unexpected.  The newline stays.
static void clean_line()
{
    int c;
    while ((c = std::cin.peek()) != EOF && c != '\n') {
        std::cin.get();
        if (std::isspace(c)) continue;
        std::string rest(1, static_cast<char>(c));
        while ((c = std::cin.peek()) != EOF && c != '\n') rest.push_back(static_cast<char>(std::cin.get()));
        std::cout << "unexpected '" << rest << "'\n";
        ++reported_errors;
        break;
    }
}

void parser()
{
    while (!quit) {
        int cmd = -1, var1 = -1;
        if (!batch_run) std::cout << "% ";
        std::string cc;
        if (!read_word(cc, max_name)) break;
        for (int i = 0; i < no_of_commands; ++i)
            if (cc == command[i].name) { cmd = i; break; }
        if (cmd >= 0) {
            if (command[cmd].par1_typ >= 0 && std::cin.peek() != '\n') {
                std::string name;
                if (!read_word(name, max_name)) break;
                read_var(var1, name);
            }
            execute(cmd, var1);
        } else {
            read_var(var1, cc);
            if (var1 >= 0) execute(display_command, var1);
            else error(102);
        }
        if (input_ended()) break;
        clean_line();
    }
}

// Ctrl-C while a command computes interrupts it; while the program waits
// for input it ends the program, as without this handler.
extern "C" void on_interrupt(int)
{
    if (waiting_for_input) {
        std::signal(SIGINT, SIG_DFL);
        std::raise(SIGINT);
        return;
    }
    interrupt_requested = 1;
}

static void catch_interrupts()
{
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

// One run reading the commands from input (standard input or a script).
static int run(std::streambuf* input, bool batch)
{
    std::set_new_handler(mem_warn);
    mp_set_memory_functions(gmp_alloc, gmp_realloc, gmp_free);
    std::streambuf* standard_input = std::cin.rdbuf();
    line_buffer lines(input);
    std::cin.rdbuf(&lines);
    batch_run = batch;
    reported_errors = 0;
    set_defaults();
    if (!batch) {
        hello();
        show_settings();
    }
    parser();
    del_all(1);
    if (!batch) {
        print_line();
        std::cout << "thanks for using TARV\n";
        print_line();
    }
    std::cout.flush();
    std::cin.rdbuf(standard_input);
    return batch && reported_errors > 0 ? 1 : 0;
}

// Unsynchronised streams are faster; this replaces their buffers, so it
// comes before a run takes hold of the buffer of std::cin.
int tarv_main()
{
    std::ios::sync_with_stdio(false);
    return run(std::cin.rdbuf(), false);
}

int tarv_main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    catch_interrupts();
    progress_to_terminal = isatty(STDERR_FILENO) != 0;
    run_options options;
    int status = read_command_line(argc, argv, options, std::cout, std::cerr);
    if (status >= 0) return status;
    if (options.script.empty()) return run(std::cin.rdbuf(), options.batch);
    std::ifstream script(options.script);
    if (!script.is_open()) {
        std::cerr << options.program << ": can't open file '" << options.script << "'\n";
        return 2;
    }
    return run(script.rdbuf(), options.batch);
}
