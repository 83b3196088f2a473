// A progress line for the long stretches of min, omega and the linear
// strands that print nothing of their own: "<what> <done>/<total>",
// rewritten in place on standard error.  It appears only when the
// interpreter found standard error to be a terminal (so scripted output
// never changes), only after a stretch has run for a second, and it is
// erased when the stretch ends.
#pragma once

#include <chrono>

// Set by the interpreter when standard error is a terminal.
extern bool progress_to_terminal;

class progress_report {
public:
    progress_report(const char* what, long total);
    ~progress_report();
    progress_report(const progress_report&) = delete;
    progress_report& operator=(const progress_report&) = delete;

    // Erases the line (once the stretch is over, or when it is left by an
    // exception).
    void finish();

    // done of the total steps are behind.
    void at(long done)
    {
        if (progress_to_terminal) show(done);
    }

private:
    void show(long done);

    const char* what_;
    long total_;
    std::chrono::steady_clock::time_point next_;
    bool shown_ = false;
};
