// Names as one field of a tab-separated line of UTF-8 text: every byte of
// the name kept, with \, tab, LF and CR written \\, \t, \n and \r.
#pragma once

#include <string>
#include <string_view>

std::string EscapedName(std::u16string_view name);
void AppendEscapedName(std::string& out, std::u16string_view name);
// Reads a field EscapedName wrote; false for a \ that starts no escape.
bool UnescapedName(std::string_view field, std::u16string& name);
