// Names in the forms the commands print: escaped for the tab-separated table,
// or as JSON string literals.
#pragma once

#include <string>
#include <string_view>

// A name for the tab-separated output: backslash, TAB, CR and LF escaped.
std::u16string EscapeForTable(std::u16string_view text);
// EscapeForTable appended to `out`, for writers of many rows.
void AppendEscapedForTable(std::u16string& out, std::u16string_view text);
// A JSON string literal.
std::u16string JsonString(std::u16string_view text);
