#include "engine/progress.h"

#include <iostream>

bool progress_to_terminal = false;

progress_report::progress_report(const char* what, long total)
    : what_(what), total_(total), next_(std::chrono::steady_clock::now() + std::chrono::seconds(1))
{
}

void progress_report::show(long done)
{
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return;
    next_ = now + std::chrono::milliseconds(200);
    std::cerr << "\r" << what_ << " " << done << "/" << total_ << "  " << std::flush;
    shown_ = true;
}

void progress_report::finish()
{
    if (shown_) std::cerr << "\r\033[K" << std::flush;
    shown_ = false;
    total_ = 0;
}

progress_report::~progress_report()
{
    finish();
}
