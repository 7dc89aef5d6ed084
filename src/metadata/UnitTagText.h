// How the metadata readers turn stored bytes into text.
#pragma once

#include <string>
#include <string_view>

// Tag bytes as text: UTF-8 when they are well-formed UTF-8 (what current
// writers store), otherwise Windows-1252, the code page of older tags.
std::u16string TagBytesToText(std::string_view bytes);
// `bytes` up to (not including) the first zero byte.
std::string_view UpToZero(std::string_view bytes);
// Removes trailing blanks and zero characters.
std::u16string TrimTrailingBlanksAndZeros(std::u16string text);
