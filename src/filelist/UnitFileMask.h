// A file-name mask of the exclude list: "*" any run, "?" one character,
// "[abc]", "[a-z]" and "[!a-z]" (or "[^a-z]") one character of (or not of) a
// set; everything else literal. Case is ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TFileMask {
 public:
  explicit TFileMask(std::u16string_view mask);

  // Whether the whole of `name` matches. Time is at most proportional to the
  // length of the name times the length of the mask.
  bool Matches(std::u16string_view name) const;
  // Matches for a name already in lower case (LowerChar of each code unit).
  bool MatchesLowered(std::u16string_view loweredName) const;
  // True when the mask has no "*", "?" or set: it matches one name only.
  bool IsLiteral() const { return fLiteral; }

 private:
  enum class TKind { Literal, AnyOne, AnyRun, Set };
  struct TRange {
    char16_t first;
    char16_t last;
  };
  struct TElement {
    TKind kind = TKind::Literal;
    char16_t c = 0;        // Literal, lower case
    bool negated = false;  // Set
    std::vector<TRange> ranges;  // Set, lower case
  };

  // Parses a set starting after "[" at `pos`; false when it is not closed.
  static bool ParseSet(std::u16string_view mask, size_t& pos, TElement& set);
  static bool ElementMatches(const TElement& element, char16_t c);

  std::vector<TElement> fElements;
  bool fLiteral = true;
};
