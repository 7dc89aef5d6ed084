// `tallowick --expand TEXT FILE`: TEXT with its meta variables expanded for
// FILE as the first and only checked entry of a list holding only FILE.
#pragma once

#include <string>

struct TCliServices;

// Prints the expansion and a line end; exit code 0, or 2 with a message when
// FILE cannot be read or a tag reader fails.
int RunExpandCommand(const TCliServices& services, const std::u16string& text,
                     const std::u16string& file);
