// `tallowick --expand TEXT FILE`: TEXT with its meta variables expanded for
// FILE as the first and only checked entry of a list holding only FILE.
#pragma once

#include <string>

class TCommandOutput;
class TSession;

// Expands with the session's expansion (the settings already applied).
// Prints the expansion and a line end; exit code 0, or 2 with a message when
// FILE cannot be read or a tag reader fails.
int RunExpandCommand(TSession& session, const std::u16string& text, const std::u16string& file,
                     TCommandOutput& output);
