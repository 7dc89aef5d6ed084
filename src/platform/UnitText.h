// Conversions between the bytes of the outside world and the UTF-16 text used
// inside, plus the small case helpers every subsystem shares.
#pragma once

#include <string>
#include <string_view>

// Decodes UTF-8. Every byte that is not part of a valid sequence becomes
// U+DC80 + (byte - 0x80) (bytes below 0x80 are always valid), so any byte
// string decodes and Utf16ToUtf8 gives it back exactly.
std::u16string Utf8ToUtf16(std::string_view bytes);
// Encodes UTF-8; U+DC80..U+DCFF standing alone turn back into their byte,
// other lone surrogates are written as their three-byte form.
std::string Utf16ToUtf8(std::u16string_view text);
// Utf16ToUtf8 appended to `out`, and the length in bytes it would have.
void AppendUtf16AsUtf8(std::string& out, std::u16string_view text);
size_t Utf8Length(std::u16string_view text);

// True when `bytes` is well-formed UTF-8 (no escapes would be needed).
bool IsValidUtf8(std::string_view bytes);

// Windows-1252, the "ANSI" code page of stored tags and file contents.
std::u16string Windows1252ToUtf16(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?".
std::string Utf16ToWindows1252(std::u16string_view text);

// Plain ASCII: each char widened / each code unit narrowed ("?" above 0x7F).
std::u16string AsciiToUtf16(std::string_view ascii);
std::string Utf16ToAscii(std::u16string_view text);

// Case mapping one code point at a time (ICU simple case mapping), so the
// result always has the same length and positions keep their meaning.
std::u16string LowerCase(std::u16string_view text);
std::u16string UpperCase(std::u16string_view text);
char16_t LowerChar(char16_t c);
// ASCII-only folding: only A-Z / a-z change.
std::u16string AsciiLowerCase(std::u16string_view text);
std::u16string AsciiUpperCase(std::u16string_view text);
// True when `a` and `b` differ in the case of ASCII letters at most; no copy is made.
bool SameAsciiTextIgnoringCase(std::u16string_view a, std::u16string_view b);

// Whole-text comparison and search ignoring case (LowerCase rules).
bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b);
// 0-based index of the first occurrence of `needle` at or after `from`, or npos.
size_t FindIgnoringCase(std::u16string_view haystack, std::u16string_view needle, size_t from = 0);
// Replaces every occurrence of `what` (ignoring case) by `with`; the search
// resumes after each inserted text.
std::u16string ReplaceAllIgnoringCase(std::u16string_view text, std::u16string_view what,
                                      std::u16string_view with);
// Replaces every occurrence of `what` (exact) by `with`.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view what,
                          std::u16string_view with);

// Removes blanks and control characters (<= U+0020) at both ends.
std::u16string Trim(std::u16string_view text);

// Reads a whole decimal integer the way numeric step parameters are read:
// optional blanks are not allowed, an optional sign, then digits, or "0x"/"$"
// followed by hex digits. Returns false on anything else or on overflow.
bool TryStrToInt(std::u16string_view text, int& value);
bool TryStrToInt64(std::u16string_view text, long long& value);
// The value of digit `c` in `base` (10 or 16, either letter case), or -1.
int DigitValue(char16_t c, int base);
// Decimal text of a number.
std::u16string IntToStr(long long value);

// The US-ASCII best fit of one character: its canonical decomposition (NFD)
// with the combining marks dropped, when exactly one ASCII character is left
// (é gives e); otherwise "?". ASCII characters map to themselves.
char16_t AsciiBestFit(char32_t c);
