// The regular-expression twin of TWildcards: the same matcher interface over
// PCRE2 (16-bit), chosen by the option "Use full Regular Expressions".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "matching/UnitWildcards.h"

struct pcre2_real_code_16;
struct pcre2_real_match_data_16;
struct pcre2_real_match_context_16;

// Dialect: case-sensitive unless the expression switches case off with "(?i)",
// "." matches line breaks, greedy quantifiers, multi-line mode off; "\A", "\Z",
// "\xHH", classes and lazy quantifiers as usual. Texts and expressions may hold
// lone surrogates (the escapes of undecodable bytes in file names): each counts
// as one character of its own that "." and negated classes match. (The engine
// sees them as U+E000..U+E7FF, so an expression naming those private-use
// characters finds them too.)
//
// Replacement texts: "$0".."$9", "${nn}" and "$&" insert a group (0 = the whole
// match; a group that did not take part, or does not exist, inserts nothing),
// a backslash takes the next character literally, everything else is literal.
// Replacing honours `replaceall`; empty matches never loop ("x*" replaced by
// "-" in "abc" gives "-a-b-c-").
//
// An invalid expression is never an error to the caller: FindFirst finds
// nothing and SearchReplaceWith returns the text unchanged. LastError tells:
//   0      no error;
//   > 0    the expression does not compile: PCRE2's compile error number (101 and up);
//   < 0    the last match failed with a PCRE2 error, for example
//          PCRE2_ERROR_MATCHLIMIT (-47) when an expression backtracks too much.
// PCRE2's "no match" (-1) is not an error.
class TRegExpWildcards : public TWildcards {
 public:
  TRegExpWildcards();
  ~TRegExpWildcards() override;
  TRegExpWildcards(TRegExpWildcards&&) noexcept;
  TRegExpWildcards& operator=(TRegExpWildcards&&) noexcept;

  // File-name mode exists only for simple wildcards: calling this is a
  // programming error, reported as a status with "Illegal use of Wildcard class.".
  TStatus AssignFilemode(bool value) override;
  void SetSearchString(std::u16string_view str) override;
  // Compiles the expression (kept as given in spattern); an unchanged
  // expression is not compiled again.
  void SetSearchPattern(std::u16string_view str) override;
  bool FindFirst(int& startIndex, int& endIndex) override;
  // After an empty match the next search first tries a non-empty match at the
  // same place, then moves on by one character (never splitting a surrogate pair).
  bool FindNext(int& startIndex, int& endIndex) override;
  std::u16string SearchReplaceWith(std::u16string_view str, bool replaceall) override;
  std::u16string SearchReplaceWith(std::u16string_view s, std::u16string_view sFind,
                                   std::u16string_view sReplace, bool replaceall) override;
  int LastError() const override;

 private:
  struct TReplacePiece;  // a literal or a group of a parsed replacement text
  struct TCodeDeleter {
    void operator()(pcre2_real_code_16* code) const;
  };
  struct TMatchDataDeleter {
    void operator()(pcre2_real_match_data_16* data) const;
  };
  struct TMatchContextDeleter {
    void operator()(pcre2_real_match_context_16* context) const;
  };

  // Runs the expression from 0-based `offset`; on a hit sets the indexes and
  // curIndex. Records match errors in fMatchError.
  bool MatchAt(size_t offset, unsigned options, int& startIndex, int& endIndex);
  // The 0-based offset one character after `offset`.
  size_t NextCharacter(size_t offset) const;
  static std::vector<TReplacePiece> ParseReplacement(std::u16string_view text);
  void AppendReplacement(std::u16string& out) const;
  std::u16string_view Subject() const;

  std::unique_ptr<pcre2_real_code_16, TCodeDeleter> re;
  std::unique_ptr<pcre2_real_match_data_16, TMatchDataDeleter> fMatchData;
  std::unique_ptr<pcre2_real_match_context_16, TMatchContextDeleter> fMatchContext;
  bool fHasCompiled = false;
  int fCompileError = 0;
  int fMatchError = 0;
  bool fLastMatchEmpty = false;   // FindNext must not find the same empty match again
  std::u16string fMappedContent;  // scontent with lone surrogates mapped, when it has any
  bool fUseMapped = false;
  std::u16string fTemplateSource;  // the replacement text last parsed
  std::vector<TReplacePiece> fTemplate;
  unsigned fMatchPairs = 0;  // ovector pairs the last match set
};
