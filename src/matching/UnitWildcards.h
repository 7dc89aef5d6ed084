// The text matcher of the renaming steps and the file-list filter: "?" is one
// character, "*" any run, case is ignored. TRegExpWildcards offers the same
// interface over regular expressions; callers hold a TWildcards& to either.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "matching/UnitStates.h"
#include "platform/UnitStatus.h"

// Positions are 1-based UTF-16 code-unit indexes; a match is the inclusive
// range startIndex..endIndex. A compiled pattern is kept: call SetSearchPattern
// once and SetSearchString for every text (in either order).
//
// The pattern compiles into a chain of TState objects without backtracking: a
// literal that fails falls back only to the first literal after the latest "*"
// (or the pattern's first literal), so "aab" is not found in "aaab". A "*"
// inside the pattern is not greedy, a leading "*" reaches back to where the
// scan began and a trailing "*" runs to the end of the text (standing for
// nothing when the text ends right there).
class TWildcards {
 public:
  TWildcards() = default;
  virtual ~TWildcards() = default;
  TWildcards(TWildcards&&) noexcept = default;
  TWildcards& operator=(TWildcards&&) noexcept = default;
  TWildcards(const TWildcards&) = delete;
  TWildcards& operator=(const TWildcards&) = delete;

  // File-name mode, for the file-list filter; takes effect with the next
  // SetSearchPattern. There "*" and "*.*" accept every name and a trailing "."
  // accepts only names without an extension. Always Ok here; the regular-
  // expression variant refuses it.
  virtual TStatus AssignFilemode(bool value);
  virtual void SetSearchString(std::u16string_view str);
  virtual void SetSearchPattern(std::u16string_view str);
  // The first match, searching from position 1. On false both indexes are 0.
  virtual bool FindFirst(int& startIndex, int& endIndex);
  // The next match after the previous one.
  virtual bool FindNext(int& startIndex, int& endIndex);
  // The search string with its first (or every) match replaced by `str`. The
  // search string itself stays as it was, so FirstFound afterwards tells
  // whether it held a match.
  virtual std::u16string SearchReplaceWith(std::u16string_view str, bool replaceall);
  // Searches `s` for `sFind` and replaces with `sReplace`. Here the pattern
  // "*" gives `sReplace` (even for an empty `s`) and an empty pattern gives `s`.
  virtual std::u16string SearchReplaceWith(std::u16string_view s, std::u16string_view sFind,
                                           std::u16string_view sReplace, bool replaceall);
  // The last error code of a regular-expression engine, 0 when none; always 0 here.
  virtual int LastError() const { return 0; }

  // Whether FindFirst finds anything (the range is discarded).
  bool FirstFound();
  // Whether the whole search string is one match.
  bool Matches();
  // The text of the first match, or empty.
  std::u16string FindString();
  // Characters startindex..endindex of the search string, clipped to it.
  std::u16string GetStr(int startindex, int endindex) const;

  const std::u16string& GetSearchString() const { return scontent; }
  const std::u16string& GetSearchPattern() const { return spattern; }
  bool GetIsFilemode() const { return isFilemode; }
  bool GetIsAlwaysTrue() const { return isAlwaysTrue; }
  bool GetIsExtensionless() const { return isExtensionless; }
  const std::vector<TState>& GetStates() const { return states; }

 protected:
  // Positions beyond this are never searched (they would not fit an int).
  static constexpr size_t kMaxPosition = 0x7FFFFFFE;
  static int ClippedLength(const std::u16string& text);

  std::u16string scontent;  // the text searched
  std::u16string spattern;  // the normalised lower-case pattern (regex: as given)
  int curIndex = 0;         // where the next scan starts
  bool isFilemode = false;
  bool isAlwaysTrue = false;     // file-name mode: "*" or "*.*"
  bool isExtensionless = false;  // file-name mode: the pattern ended with "."
  std::vector<TState> states;    // index 0 is the start state

 private:
  void CompileStates();
  bool Scan(int& startIndex, int& endIndex);

  std::u16string fLowerContent;  // scontent in lower case, what the scan reads
  std::u16string fCompiledFrom;  // the pattern as last given, to skip recompiling
  bool fCompiledInFilemode = false;
  bool fHasCompiled = false;
  int fFirstLiteralState = -1;  // first state holding a literal, -1 when none
  bool fLeadingStar = false;    // the wildcards before the first literal hold a "*"
};
