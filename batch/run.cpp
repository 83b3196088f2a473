// The entry point of one field's batch library: settings from the command
// line, then every file in turn.
#include <fstream>
#include <iostream>

#include "batch/engine_setup.h"
#include "batch/entry.h"
#include "batch/json.h"
#include "batch/point_file.h"
#include "batch/poly_text.h"
#include "batch/reports.h"
#include "engine/globals.h"
#include "engine/monom.h"
#include "engine/scheme.h"
#include "fields/field.h"

#if defined(TARV_FIELD_FP)
#define BATCH_ENTRY batch_run_fp
#elif defined(TARV_FIELD_Q)
#define BATCH_ENTRY batch_run_q
#elif defined(TARV_FIELD_QN)
#define BATCH_ENTRY batch_run_qn
#endif

namespace {

// The engine's settings as the interactive programs start, without progress
// reports, and the field of the command line.
void set_up(const batch_options& o)
{
    set_engine_defaults(o.ordering);
#if defined(TARV_FIELD_FP)
    Fp::prime = o.characteristic;
#elif defined(TARV_FIELD_QN)
    QN::set(o.order);
#endif
}

// Reports a file that failed: on standard error, and in JSON mode also as
// the file's object on standard output.
void report_failure(std::ostream& out, const batch_options& o, const std::string& file, const std::string& message)
{
    std::cerr << "tarv: " << file << ": " << message << "\n";
    if (o.json) {
        json_object j;
        j.add_text("file", file).add_text("error", message);
        out << j.str() << "\n";
    }
}

bool process(std::ostream& out, const batch_options& o, const std::string& name, std::istream& in)
{
    std::string error;
    std::unique_ptr<scheme> X = read_point_file(in, error);
    if (!X) {
        report_failure(out, o, name, error);
        return false;
    }
    report_head head{name, field_name(), o.ordering == 1 ? "degrevlex" : "deglex", dim, X->s};
    bool ok = false;
    switch (o.command) {
    case batch_command::invariants: ok = report_invariants(out, head, *X, o.json, error); break;
    case batch_command::betti: ok = report_betti(out, head, *X, o.json, error); break;
    case batch_command::gb: ok = report_gb(out, head, *X, o.json, error); break;
    case batch_command::export_script: ok = report_export(out, head, *X, o.json, o.target, error); break;
    }
    if (!ok) report_failure(out, o, name, error);
    return ok;
}

// Swallows what the engine's algorithms print for the interactive programs
// (their separator lines).
class null_buffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
};

}  // namespace

int BATCH_ENTRY(const batch_options& o)
{
    set_up(o);
    // The reports go to standard output through out; std::cout, which the
    // engine writes to, is silenced for the run.
    null_buffer silence;
    std::ostream out(std::cout.rdbuf());
    std::streambuf* standard_output = std::cout.rdbuf(&silence);
    int status = 0;
    bool reported = false;
    for (const std::string& file : o.files) {
        // Plain reports are separated by an empty line.
        if (!o.json && reported && o.command != batch_command::export_script) out << "\n";
        bool ok;
        if (file == "-") {
            ok = process(out, o, "<stdin>", std::cin);
        } else {
            std::ifstream in(file);
            if (!in) {
                report_failure(out, o, file, "cannot open the file");
                ok = false;
            } else {
                ok = process(out, o, file, in);
            }
        }
        if (!ok) status = 1;
        reported = reported || ok;
        out.flush();
    }
    std::cout.rdbuf(standard_output);
    return status;
}
