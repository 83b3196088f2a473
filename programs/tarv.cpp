// tarv: the batch tool.  Reads the command line and runs the engine of the
// chosen coefficient field on every file.
#include <iostream>
#include <string>

#include "batch/entry.h"
#include "batch/options.h"

int main(int argc, char** argv)
{
    batch_options options;
    std::string error;
    switch (parse_options(argc, argv, options, error)) {
    case parse_outcome::help:
        print_usage(std::cout);
        return 0;
    case parse_outcome::usage_error:
        std::cerr << "tarv: " << error << "\n";
        print_usage(std::cerr);
        return 2;
    case parse_outcome::run:
        break;
    }
    switch (options.field) {
    case batch_field::prime:
        return batch_run_fp(options);
    case batch_field::cyclotomic:
        return batch_run_qn(options);
    case batch_field::rationals:
        break;
    }
    return batch_run_q(options);
}
