// The pieces of the POSIX shell scripts the batch-file generator and the undo
// batch file write: UTF-8 text, LF line ends, every path single-quoted.
#pragma once

#include <string>
#include <string_view>

// The first line of every script, with its line end.
inline constexpr std::string_view kShellScriptHeader = "#!/bin/sh\n";

// `path` as one shell word that the shell takes literally: its bytes (names
// that are not UTF-8 keep their exact bytes) between single quotes, each '
// written as '\''.
std::string ShellQuote(std::u16string_view path);

// `command` (inserted as it stands), a blank, the quoted `from`, a blank, the
// quoted `to`; no line end.
std::string ShellMoveCommand(std::u16string_view command, std::u16string_view from,
                             std::u16string_view to);
