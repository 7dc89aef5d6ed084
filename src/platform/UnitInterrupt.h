// Interrupt requests from the terminal or the system (SIGINT, SIGTERM,
// SIGHUP) turned into a flag that long runs poll, so a rename run stops
// between two entries instead of dying with files under temporary names.
#pragma once

// From now on the three signals only set the flag; the process goes on.
void CatchInterrupts();
// The number of the first signal caught since CatchInterrupts, or 0.
int CaughtInterrupt();
// The exit code a process interrupted by `signal` ends with (128 + number).
int InterruptExitCode(int signal);
// "SIGINT", "SIGTERM", "SIGHUP", or "a signal" for another.
const char16_t* InterruptName(int signal);
