// The usage text of the command-line forms (a folder, or a mode with a script
// and an optional folder), and the help of the options this platform adds.
#pragma once

#include <string>

// Two empty lines, then the forms and the modes, one per line, each ended by
// a line end.
std::u16string UsageText();
// The options of this platform (--preview, --describe, --expand, --undo,
// --help, --version), one block of lines.
std::u16string OptionsHelpText();
