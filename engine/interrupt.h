// Interrupting a long computation (Ctrl-C).  The program's SIGINT handler
// sets the flag; the long loops of the engine call check_interrupt at points
// where every result they store in a scheme is either complete or not yet
// stored, so that unwinding from there leaves each scheme as it was, with
// the interrupted result not computed.  The command loop catches the
// exception.
#pragma once

#include <csignal>

inline volatile std::sig_atomic_t interrupt_requested = 0;

struct computation_interrupted {};

// For tests: the check that brings a positive count to 0 interrupts as if
// Ctrl-C had been pressed just before it.
inline long interrupt_countdown = 0;

inline void check_interrupt()
{
    if (interrupt_countdown > 0 && --interrupt_countdown == 0) interrupt_requested = 1;
    if (interrupt_requested) throw computation_interrupted();
}
