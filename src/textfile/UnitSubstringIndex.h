// Finds the first occurrence of a pattern in one large, fixed text without
// scanning it: a suffix array with a range-minimum table over it. Used by
// TTextFileFormat so that searching a million-line file for every entry of a
// large list stays fast.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class TSubstringIndex {
 public:
  // Texts this long or longer are not indexed.
  static constexpr size_t kMaxText = 0x7FFFFFFF;

  // Indexes `text`, which must stay alive and unchanged while the index is used.
  // Linear time; about 4 bytes of memory per code unit (18 while building).
  void Build(std::u16string_view text);
  void Clear();
  bool Built() const { return built_; }

  // 0-based position of the first occurrence of `pattern` in the text, or npos;
  // npos for an empty pattern. O(|pattern| log n). REQUIRES: Built().
  size_t FirstOccurrence(std::u16string_view pattern) const;

 private:
  static constexpr size_t kBlock = 64;

  int Compare(int32_t suffix, std::u16string_view pattern) const;
  int32_t MinimumIn(size_t from, size_t to) const;  // smallest of sa_[from, to)

  std::u16string_view text_;
  bool built_ = false;
  std::vector<int32_t> sa_;
  // firstChar_[c] is where the suffixes beginning with code unit c begin in sa_.
  std::vector<int32_t> firstChar_;
  // level k holds the minimum of 2^k blocks of kBlock suffix-array entries.
  std::vector<std::vector<int32_t>> blockMin_;
};
