// libFuzzer target: arbitrary bytes as the standard input of one whole run of
// a program (start-up, the command loop, shut-down), in-process.
//
// Every run starts from a fresh state: tarv_main begins with set_defaults
// (settings, the field's defaults, the random generator at its seed, input
// not ended) and ends by deleting every stored scheme.  Standard output and
// standard error go to a null buffer, unless TARV_FUZZ_ECHO is set in the
// environment (to look at the run of one input).
//
// Files: each run works in a scratch folder of its own holding copies of the
// transcript data files (it returns to the folder it started from, where
// libFuzzer keeps its paths); names with a '/' or a leading '.' are refused
// (they read as files that cannot be opened), so nothing is written
// elsewhere.  After each run the files it named are removed, or restored
// when they are data files, so runs do not depend on each other.
//
// Work: at most max_points points per command and dimension at most
// max_dimension (TARV_FUZZ_MAX_POINTS and TARV_FUZZ_MAX_DIM in the
// environment change them), so the fuzzer spends its time on the parsing of
// commands and data rather than on long computations.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <streambuf>
#include <string>

#include "interpreter/harness_hooks.h"
#include "interpreter/program.h"
#include "interpreter/store.h"

#ifndef TARV_FUZZ_DATA_DIR
#error "TARV_FUZZ_DATA_DIR: the folder of the transcript data files"
#endif

namespace {

constexpr int max_points = 12;
constexpr int max_dimension = 4;

class null_buffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

null_buffer null_out;
bool echo = false;
std::string scratch, home;
std::map<std::string, std::string> data_files;  // name -> content
std::set<std::string> named_files;               // names allowed during the current run

bool scratch_name(const std::string& name)
{
    if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos) return false;
    named_files.insert(name);
    return true;
}

void write_file(const std::string& name, const std::string& content)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << content;
}

void load_data_files()
{
    DIR* d = opendir(TARV_FUZZ_DATA_DIR);
    if (!d) return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name[0] == '.') continue;
        std::ifstream in(std::string(TARV_FUZZ_DATA_DIR) + "/" + name, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        data_files[name] = content.str();
    }
    closedir(d);
}

// Removes the files of the last run and restores the data files it touched.
void tidy_scratch()
{
    for (const std::string& name : named_files) {
        auto data = data_files.find(name);
        if (data != data_files.end()) write_file(name, data->second);
        else unlink(name.c_str());
    }
    named_files.clear();
}

void enter(const std::string& folder)
{
    if (chdir(folder.c_str()) != 0) {
        std::perror(folder.c_str());
        std::abort();
    }
}

void remove_scratch()
{
    enter(scratch);
    tidy_scratch();
    for (const auto& data : data_files) unlink(data.first.c_str());
    enter(home);
    rmdir(scratch.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char folder[] = "/tmp/tarv_fuzz_XXXXXX";
    char* cwd = getcwd(nullptr, 0);
    if (!mkdtemp(folder) || !cwd) {
        std::perror("scratch folder");
        std::abort();
    }
    scratch = folder;
    home = cwd;
    std::free(cwd);
    enter(scratch);
    load_data_files();
    for (const auto& data : data_files) write_file(data.first, data.second);
    enter(home);
    std::atexit(remove_scratch);
    // tarv_main does this too; the first time it replaces the streams'
    // buffers, which must happen before the harness swaps them.
    std::ios::sync_with_stdio(false);
    echo = std::getenv("TARV_FUZZ_ECHO") != nullptr;
    hooks.file_name_allowed = scratch_name;
    const char* points = std::getenv("TARV_FUZZ_MAX_POINTS");
    const char* dimension = std::getenv("TARV_FUZZ_MAX_DIM");
    hooks.max_points = points ? std::atoi(points) : max_points;
    hooks.max_dimension = dimension ? std::atoi(dimension) : max_dimension;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::stringbuf input(std::string(reinterpret_cast<const char*>(data), size), std::ios::in);
    enter(scratch);
    std::streambuf* in = std::cin.rdbuf(&input);
    std::streambuf* out = std::cout.rdbuf(echo ? std::cout.rdbuf() : &null_out);
    std::streambuf* err = std::cerr.rdbuf(echo ? std::cerr.rdbuf() : &null_out);
    tarv_main();
    std::cin.rdbuf(in);
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);
    // A run must leave nothing stored.
    for (const var_struct& v : var)
        if (v.name[0] != '\0' || v.var_ptr) std::abort();
    tidy_scratch();
    enter(home);
    return 0;
}
