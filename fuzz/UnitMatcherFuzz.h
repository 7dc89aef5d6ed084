// The checks both matcher targets make: every match lies inside the search
// string, each FindNext starts after the previous match, the walk ends, and
// the derived queries agree with FindFirst.
#pragma once

#include <string>

#include "matching/UnitWildcards.h"

inline void CheckMatcher(TWildcards& matcher, bool emptyMatchesPossible) {
  const auto check = [](bool condition) {
    if (!condition) __builtin_trap();
  };
  const auto length = static_cast<long long>(matcher.GetSearchString().size());
  int start = 0;
  int end = 0;
  bool found = matcher.FindFirst(start, end);
  const int firstStart = start;
  const int firstEnd = end;
  // Every match moves on by one position at least, an empty one after a
  // non-empty one at the same place aside.
  long long steps = 0;
  int previousEnd = 0;
  while (found) {
    check(start >= previousEnd + 1 && end <= length);
    check(emptyMatchesPossible ? start <= end + 1 : start <= end);
    check(++steps <= 2 * length + 2);
    previousEnd = end;
    found = matcher.FindNext(start, end);
  }
  check(start == 0 && end == 0);

  check(matcher.FirstFound() == (firstStart != 0));
  check(matcher.FindString() == (firstStart != 0 ? matcher.GetStr(firstStart, firstEnd) : u""));
  if (matcher.Matches()) check(firstStart == 1 && firstEnd == length);
}
