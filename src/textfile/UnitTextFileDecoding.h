// Turns the bytes of a text file used as a name source into UTF-16 text.
#pragma once

#include <string>
#include <string_view>

// The byte-order mark decides: UTF-8, UTF-16 little- or big-endian (an odd last
// byte is dropped; unpaired surrogates stay as they are). Without a mark the
// bytes are UTF-8 when they are valid UTF-8, otherwise Windows-1252.
std::u16string DecodeTextFile(std::string_view bytes);
