// Suffix arrays in linear time (induced sorting, SA-IS), the base of the
// substring index that keeps searches in large text files fast.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The start positions of all suffixes of `text` in ascending order of the
// suffixes (code-unit order; a suffix that is a prefix of another comes first).
// REQUIRES: text.size() < 2^31.
std::vector<int32_t> BuildSuffixArray(std::u16string_view text);
