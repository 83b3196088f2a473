// Times whole runs of a program as a user meets them: the program is started
// with a command script on standard input (set the dimension, make random
// points, one command), and the wall time and peak memory of the run are
// printed, one line per command.
//   bench_commands PROGRAM [-d dim] [-s points] [-r repeats] [COMMAND ...]
// A COMMAND is the command word, with its arguments after the identifier
// written after a colon ("is_uf:2"); by default every command that takes
// a point set and prints no polynomials of the results.  With repeats the
// shortest of that many runs is shown (the machine may be shared).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct run_result {
    double seconds = 0;
    long peak_kb = 0;
    int status = 0;
};

// Runs program with script on its standard input, output discarded.
run_result run(const char* program, const std::string& script)
{
    run_result r;
    int in[2];
    if (pipe(in) != 0) return r;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        close(in[1]);
        FILE* null = std::fopen("/dev/null", "w");
        if (null) {
            dup2(fileno(null), 1);
            dup2(fileno(null), 2);
        }
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    size_t done = 0;
    while (done < script.size()) {
        ssize_t n = write(in[1], script.data() + done, script.size() - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    close(in[1]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peak_kb = usage.ru_maxrss;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: bench_commands PROGRAM [-d dim] [-s points] [-r repeats] [COMMAND ...]\n";
        return 2;
    }
    const char* program = argv[1];
    int dim = 3, points = 100, repeats = 1;
    std::vector<std::string> commands;
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-d") && i + 1 < argc) dim = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "-s") && i + 1 < argc) points = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "-r") && i + 1 < argc) repeats = std::atoi(argv[++i]);
        else commands.push_back(argv[i]);
    }
    if (commands.empty())
        commands = {"bumo",   "hilbertfn", "alpha",  "sigma", "delta",   "deltafn", "orderideal", "is_cb",
                    "is_gor", "type",      "mindegs", "socle", "sep",     "min",     "betamat",    "is_uf:2",
                    "omega",  "lingenpos", "linid",  "linom", "linres"};
    std::cout << "program " << program << ", " << points << " random points of P^" << dim << "\n";
    std::cout << "command          seconds   peak KB\n";
    for (const std::string& c : commands) {
        std::string word = c, args;
        if (auto colon = c.find(':'); colon != std::string::npos) {
            word = c.substr(0, colon);
            args = " " + c.substr(colon + 1);
        }
        const std::string script = "dim " + std::to_string(dim) + "\nrandom A " + std::to_string(points) + "\n" +
                                   word + " A" + args + "\nquit\n";
        run_result best;
        for (int k = 0; k < repeats; ++k) {
            run_result r = run(program, script);
            if (k == 0 || r.seconds < best.seconds) best = r;
        }
        std::printf("%-15s %8.2f %9ld%s\n", c.c_str(), best.seconds, best.peak_kb,
                    best.status == 0 ? "" : "  (exit status not 0)");
        std::fflush(stdout);
    }
    return 0;
}
