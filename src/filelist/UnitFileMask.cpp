#include "filelist/UnitFileMask.h"

#include <utility>

#include "platform/UnitText.h"

TFileMask::TFileMask(std::u16string_view mask) {
  for (size_t pos = 0; pos < mask.size();) {
    TElement element;
    const char16_t c = mask[pos++];
    if (c == u'*') {
      element.kind = TKind::AnyRun;
      if (!fElements.empty() && fElements.back().kind == TKind::AnyRun) continue;
    } else if (c == u'?') {
      element.kind = TKind::AnyOne;
    } else if (c == u'[' && ParseSet(mask, pos, element)) {
      element.kind = TKind::Set;
    } else {
      element.c = LowerChar(c);
    }
    if (element.kind != TKind::Literal) fLiteral = false;
    fElements.push_back(std::move(element));
  }
}

bool TFileMask::ParseSet(std::u16string_view mask, size_t& pos, TElement& set) {
  size_t i = pos;
  if (i < mask.size() && (mask[i] == u'!' || mask[i] == u'^')) {
    set.negated = true;
    ++i;
  }
  bool first = true;  // a "]" right after the opening is a member
  while (i < mask.size() && (mask[i] != u']' || first)) {
    first = false;
    char16_t low = LowerChar(mask[i]);
    char16_t high = low;
    if (i + 2 < mask.size() && mask[i + 1] == u'-' && mask[i + 2] != u']') {
      high = LowerChar(mask[i + 2]);
      if (high < low) std::swap(low, high);
      i += 2;
    }
    set.ranges.push_back({low, high});
    ++i;
  }
  if (i >= mask.size()) {
    set = TElement();
    return false;
  }
  pos = i + 1;
  return true;
}

bool TFileMask::ElementMatches(const TElement& element, char16_t c) {
  switch (element.kind) {
    case TKind::Literal: return element.c == c;
    case TKind::AnyOne: return true;
    case TKind::Set: {
      bool inside = false;
      for (const TRange& range : element.ranges) {
        if (c >= range.first && c <= range.last) inside = true;
      }
      return inside != element.negated;
    }
    case TKind::AnyRun: break;
  }
  return false;
}

bool TFileMask::Matches(std::u16string_view name) const {
  std::u16string lowered(name);
  for (char16_t& c : lowered) c = LowerChar(c);
  return MatchesLowered(lowered);
}

// Greedy matching that, on a mismatch, lets the latest "*" swallow one more
// character; earlier stars never need to be revisited.
bool TFileMask::MatchesLowered(std::u16string_view name) const {
  size_t m = 0;
  size_t n = 0;
  size_t starElement = std::u16string_view::npos;
  size_t starName = 0;
  while (n < name.size()) {
    if (m < fElements.size() && fElements[m].kind == TKind::AnyRun) {
      starElement = m++;
      starName = n;
    } else if (m < fElements.size() && ElementMatches(fElements[m], name[n])) {
      ++m;
      ++n;
    } else if (starElement != std::u16string_view::npos) {
      m = starElement + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < fElements.size() && fElements[m].kind == TKind::AnyRun) ++m;
  return m == fElements.size();
}
