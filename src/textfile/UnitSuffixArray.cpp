#include "textfile/UnitSuffixArray.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int32_t kNaiveLimit = 16;

template <typename TText>
std::vector<int32_t> NaiveSuffixArray(const TText& s, int32_t n) {
  std::vector<int32_t> sa(static_cast<size_t>(n));
  std::iota(sa.begin(), sa.end(), 0);
  std::sort(sa.begin(), sa.end(), [&](int32_t a, int32_t b) {
    while (a < n && b < n) {
      if (s[a] != s[b]) return s[a] < s[b];
      ++a, ++b;
    }
    return a == n && b != n;
  });
  return sa;
}

// Bucket boundaries by character: lStart[c] where the L-type suffixes of
// bucket c begin, sStart[c] where its S-type suffixes begin (lStart[c + 1]
// is the end of the bucket).
struct TBuckets {
  std::vector<int32_t> lStart;
  std::vector<int32_t> sStart;
};

template <typename TText>
TBuckets CountBuckets(const TText& s, int32_t n, const std::vector<uint8_t>& isS, int32_t upper) {
  TBuckets b{std::vector<int32_t>(static_cast<size_t>(upper) + 2),
             std::vector<int32_t>(static_cast<size_t>(upper) + 1)};
  for (int32_t i = 0; i < n; ++i) {
    if (isS[i]) {
      ++b.lStart[static_cast<size_t>(s[i]) + 1];
    } else {
      ++b.sStart[static_cast<size_t>(s[i])];
    }
  }
  for (int32_t c = 0; c <= upper; ++c) {
    b.sStart[c] += b.lStart[c];
    b.lStart[c + 1] += b.sStart[c];
  }
  return b;
}

// Induced sorting from the LMS positions `lms` placed in the given order.
template <typename TText>
void Induce(const TText& s, int32_t n, const std::vector<uint8_t>& isS, const TBuckets& b,
            const std::vector<int32_t>& lms, std::vector<int32_t>& sa) {
  std::fill(sa.begin(), sa.end(), -1);
  std::vector<int32_t> next(b.sStart);
  for (const int32_t d : lms) sa[next[s[d]]++] = d;
  next.assign(b.lStart.begin(), b.lStart.end() - 1);
  sa[next[s[n - 1]]++] = n - 1;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t v = sa[i];
    if (v >= 1 && !isS[v - 1]) sa[next[s[v - 1]]++] = v - 1;
  }
  next.assign(b.lStart.begin(), b.lStart.end());
  for (int32_t i = n - 1; i >= 0; --i) {
    const int32_t v = sa[i];
    if (v >= 1 && isS[v - 1]) sa[--next[static_cast<size_t>(s[v - 1]) + 1]] = v - 1;
  }
}

// Whether the LMS substrings starting at l and r (ending at lEnd, rEnd) are equal.
template <typename TText>
bool SameLmsSubstring(const TText& s, int32_t n, int32_t l, int32_t lEnd, int32_t r,
                      int32_t rEnd) {
  if (lEnd - l != rEnd - r) return false;
  while (l < lEnd && s[l] == s[r]) ++l, ++r;
  return l < n && r < n && s[l] == s[r];
}

// SA-IS over values 0..upper.
template <typename TText>
std::vector<int32_t> SaIs(const TText& s, int32_t n, int32_t upper) {
  if (n < kNaiveLimit) return NaiveSuffixArray(s, n);
  std::vector<uint8_t> isS(static_cast<size_t>(n), 0);
  for (int32_t i = n - 2; i >= 0; --i) {
    isS[i] = s[i] == s[i + 1] ? isS[i + 1] : static_cast<uint8_t>(s[i] < s[i + 1]);
  }
  const TBuckets buckets = CountBuckets(s, n, isS, upper);

  std::vector<int32_t> lmsIndex(static_cast<size_t>(n), -1);
  std::vector<int32_t> lms;
  for (int32_t i = 1; i < n; ++i) {
    if (!isS[i - 1] && isS[i]) {
      lmsIndex[i] = static_cast<int32_t>(lms.size());
      lms.push_back(i);
    }
  }
  const auto m = static_cast<int32_t>(lms.size());
  std::vector<int32_t> sa(static_cast<size_t>(n));
  Induce(s, n, isS, buckets, lms, sa);
  if (m == 0) return sa;

  std::vector<int32_t> sortedLms;
  sortedLms.reserve(static_cast<size_t>(m));
  for (const int32_t v : sa) {
    if (v >= 0 && lmsIndex[v] != -1) sortedLms.push_back(v);
  }
  const auto lmsEnd = [&](int32_t pos) {
    const int32_t k = lmsIndex[pos] + 1;
    return k < m ? lms[k] : n;
  };
  std::vector<int32_t> reduced(static_cast<size_t>(m));
  int32_t reducedUpper = 0;
  reduced[lmsIndex[sortedLms[0]]] = 0;
  for (int32_t i = 1; i < m; ++i) {
    const int32_t l = sortedLms[i - 1];
    const int32_t r = sortedLms[i];
    if (!SameLmsSubstring(s, n, l, lmsEnd(l), r, lmsEnd(r))) ++reducedUpper;
    reduced[lmsIndex[r]] = reducedUpper;
  }
  lmsIndex = std::vector<int32_t>();
  const std::vector<int32_t> reducedSa = SaIs(reduced, m, reducedUpper);
  for (int32_t i = 0; i < m; ++i) sortedLms[i] = lms[reducedSa[i]];
  Induce(s, n, isS, buckets, sortedLms, sa);
  return sa;
}

}  // namespace

std::vector<int32_t> BuildSuffixArray(std::u16string_view text) {
  return SaIs(text, static_cast<int32_t>(text.size()), 0xFFFF);
}
