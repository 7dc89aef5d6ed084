// The format part of a meta variable ("?name:format?"): padding, decimals,
// dates, date arithmetic, hexadecimal, sub-strings and numbers as letters.
#pragma once

#include <string>
#include <string_view>

// Applies `format` (read in lower case; its first letter selects the operation)
// to `value`. A format that cannot be read, or a value it cannot use, leaves
// the value unchanged.
std::u16string ApplyFormat(std::u16string_view value, std::u16string_view format);

// Lengths and positions in a format above this are taken as unreadable, so a
// format can never ask for a huge string.
inline constexpr int kMaxFormatLength = 10000;
