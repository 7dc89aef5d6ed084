// The natural order of names that hold numbers ("file2" before "file10"),
// used by the Name column of the file list.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

// Compares two texts token by token: a run of up to 9 decimal digits of any
// script is one number token (a longer run goes on as a new token), every other
// UTF-16 code unit one character token. Two numbers compare by value, a number
// against a character as the character "9", characters by code (A-Z as a-z),
// and a text that ends first sorts first. Returns < 0, 0 or > 0.
//
// Unlike a fixed token buffer, whole texts are compared, so the result is a
// strict weak order for any input: safe for std::sort.
int NaturalCompare(std::u16string_view a, std::u16string_view b);

// The first 24 bytes of an encoding of a sequence of texts whose byte order is
// the order of comparing the texts one after the other with NaturalCompare.
// Sorting compares these in place of the texts, which it reaches only when
// two prefixes are equal and at least one is truncated.
struct TNaturalPrefix {
  uint64_t words[3] = {};
  bool truncated = false;  // the encoding goes on past the prefix
};

TNaturalPrefix NaturalSortPrefix(std::initializer_list<std::u16string_view> texts);

// < 0 or > 0 when the prefixes decide the order of their texts; 0 with
// `decided` true when the texts are equal, with `decided` false when the
// texts must be compared in full.
int CompareNaturalPrefixes(const TNaturalPrefix& a, const TNaturalPrefix& b, bool& decided);
