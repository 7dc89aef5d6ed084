// The usage text of the command-line forms (a folder, or a mode with a script
// and an optional folder), and the help of every form and option.
#pragma once

#include <string>

// Two empty lines, then the forms and the modes, one per line, each ended by
// a line end. Shown when a copy that opens the window is handed an option
// without its script.
std::u16string UsageText();
// `tallowick --help`: every form and option, the application folder and the
// exit codes.
std::u16string HelpText();
