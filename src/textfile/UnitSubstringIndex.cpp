#include "textfile/UnitSubstringIndex.h"

#include <algorithm>
#include <cstddef>

#include "textfile/UnitSuffixArray.h"

void TSubstringIndex::Build(std::u16string_view text) {
  Clear();
  if (text.size() >= kMaxText) return;
  text_ = text;
  sa_ = BuildSuffixArray(text);
  firstChar_.assign(0x10001, 0);
  for (const char16_t c : text) ++firstChar_[static_cast<size_t>(c) + 1];
  for (size_t c = 1; c < firstChar_.size(); ++c) firstChar_[c] += firstChar_[c - 1];
  std::vector<int32_t> level((sa_.size() + kBlock - 1) / kBlock);
  for (size_t b = 0; b < level.size(); ++b) {
    const auto first = sa_.begin() + static_cast<std::ptrdiff_t>(b * kBlock);
    const auto last = sa_.begin() + static_cast<std::ptrdiff_t>(std::min(sa_.size(), (b + 1) * kBlock));
    level[b] = *std::min_element(first, last);
  }
  blockMin_.push_back(std::move(level));
  for (size_t width = 1; 2 * width <= blockMin_[0].size(); width *= 2) {
    const std::vector<int32_t>& prev = blockMin_.back();
    std::vector<int32_t> next(prev.size() - width);
    for (size_t i = 0; i < next.size(); ++i) next[i] = std::min(prev[i], prev[i + width]);
    blockMin_.push_back(std::move(next));
  }
  built_ = true;
}

void TSubstringIndex::Clear() {
  text_ = {};
  built_ = false;
  sa_.clear();
  sa_.shrink_to_fit();
  firstChar_.clear();
  blockMin_.clear();
}

int TSubstringIndex::Compare(int32_t suffix, std::u16string_view pattern) const {
  const std::u16string_view head = text_.substr(static_cast<size_t>(suffix), pattern.size());
  return head.compare(pattern);
}

int32_t TSubstringIndex::MinimumIn(size_t from, size_t to) const {
  const size_t firstFull = (from + kBlock - 1) / kBlock;
  const size_t lastFull = to / kBlock;  // blocks [firstFull, lastFull) lie inside
  if (firstFull >= lastFull) return *std::min_element(sa_.begin() + static_cast<std::ptrdiff_t>(from),
                                                      sa_.begin() + static_cast<std::ptrdiff_t>(to));
  int32_t best = INT32_MAX;
  for (size_t i = from; i < firstFull * kBlock; ++i) best = std::min(best, sa_[i]);
  for (size_t i = lastFull * kBlock; i < to; ++i) best = std::min(best, sa_[i]);
  const size_t count = lastFull - firstFull;
  size_t k = 0;
  while ((size_t{2} << k) <= count) ++k;
  const std::vector<int32_t>& level = blockMin_[k];
  return std::min({best, level[firstFull], level[lastFull - (size_t{1} << k)]});
}

size_t TSubstringIndex::FirstOccurrence(std::u16string_view pattern) const {
  if (!built_ || pattern.empty()) return std::u16string_view::npos;
  // Suffixes are ordered by their first code unit first: start in its bucket.
  const auto bucketBegin = sa_.begin() + firstChar_[pattern[0]];
  const auto bucketEnd = sa_.begin() + firstChar_[static_cast<size_t>(pattern[0]) + 1];
  struct TOrder {
    const TSubstringIndex* index;
    bool operator()(int32_t suffix, std::u16string_view p) const {
      return index->Compare(suffix, p) < 0;
    }
    bool operator()(std::u16string_view p, int32_t suffix) const {
      return index->Compare(suffix, p) > 0;
    }
  };
  const auto [from, to] = std::equal_range(bucketBegin, bucketEnd, pattern, TOrder{this});
  if (from == to) return std::u16string_view::npos;
  return static_cast<size_t>(
      MinimumIn(static_cast<size_t>(from - sa_.begin()), static_cast<size_t>(to - sa_.begin())));
}
