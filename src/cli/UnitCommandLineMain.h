// The whole command line of the tallowick executable: picks the command that
// the arguments name (--help, --version, --preview, --describe, --expand,
// --undo, a batch mode, or a start that opens the window) and runs it.
#pragma once

#include <string>
#include <vector>

struct TCliServices;

// `args` are the arguments after the program name, as the system gave them.
// Returns the exit code.
int RunCommandLine(const TCliServices& services, const std::vector<std::string>& args);
