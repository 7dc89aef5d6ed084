// Random patterns and texts through every operation of both matchers: nothing
// may crash, hang or report a range outside the text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "matching/UnitRegExpWildcards.h"
#include "matching/UnitWildcards.h"
#include "platform/UnitText.h"

namespace {

constexpr std::u16string_view kPatternChars = u"?*.[](){}\\^$|+aAb0 ";
constexpr std::u16string_view kReplacementChars = u"$1&{}\\x";
constexpr char16_t kTextUnits[] = {u'a', u'A',   u'b',   u'0',   u'.',   u' ',   u'\n', u'*',
                                   u'?', 0x00E9, 0x00C9, 0xD83D, 0xDE00, 0xDC80, 0xDBFF};

class TRandomInput {
 public:
  explicit TRandomInput(unsigned seed) : rng_(seed) {}

  int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  std::u16string From(std::u16string_view alphabet, int maxLength) {
    std::u16string out(static_cast<size_t>(Number(0, maxLength)), u' ');
    for (auto& c : out)
      c = alphabet[static_cast<size_t>(Number(0, static_cast<int>(alphabet.size()) - 1))];
    return out;
  }

  std::u16string Text(int maxLength) {
    return From(std::u16string_view(kTextUnits, std::size(kTextUnits)), maxLength);
  }

 private:
  std::mt19937 rng_;
};

// Plain glob matching of a whole text ("?" one unit, "*" any run).
bool GlobMatches(std::u16string_view pattern, std::u16string_view text) {
  std::string row(text.size() + 1, '\0');
  row.front() = 1;
  for (const char16_t p : pattern) {
    std::string next(text.size() + 1, '\0');
    if (p == u'*') next.front() = row.front();
    for (size_t i = 1; i <= text.size(); ++i) {
      if (p == u'*') {
        next[i] = row[i] || next[i - 1];
      } else if (p == u'?' || p == text[i - 1]) {
        next[i] = row[i - 1];
      }
    }
    row.swap(next);
  }
  return row[text.size()] != 0;
}

std::string Label(const char* kind, std::u16string_view pattern, std::u16string_view text) {
  return std::string(kind) + " pattern '" + Utf16ToUtf8(pattern) + "' text '" + Utf16ToUtf8(text) +
         "'";
}

// FindFirst then FindNext to the end: ranges in bounds, ascending, and finite.
void CheckFindLoop(TWildcards& m, int length, const std::string& label) {
  int s = 0;
  int e = 0;
  int previousEnd = 0;
  int rounds = 0;
  for (bool found = m.FindFirst(s, e); found; found = m.FindNext(s, e)) {
    ASSERT_GE(s, 1) << label;
    ASSERT_LE(s, e + 1) << label;
    ASSERT_LE(e, length) << label;
    ASSERT_GE(s, previousEnd + 1) << label;
    previousEnd = e;
    ASSERT_LT(++rounds, 2 * length + 4) << label << ": FindNext does not end";
  }
}

void CheckOperations(TWildcards& m, TRandomInput& input, std::u16string_view pattern,
                     const std::u16string& text, const std::string& label) {
  m.SetSearchPattern(pattern);
  m.SetSearchString(text);
  const int length = static_cast<int>(text.size());
  CheckFindLoop(m, length, label);

  int s = 0;
  int e = 0;
  const bool found = m.FindFirst(s, e);
  EXPECT_EQ(m.FirstFound(), found) << label;
  EXPECT_EQ(m.Matches(), found && s == 1 && e == length) << label;
  EXPECT_LE(m.FindString().size(), text.size()) << label;
  EXPECT_LE(m.GetStr(input.Number(-3, length + 3), input.Number(-3, length + 3)).size(),
            text.size());

  const std::u16string replacement = input.From(kReplacementChars, 4);
  const std::u16string replaced = m.SearchReplaceWith(replacement, input.Number(0, 1) == 1);
  if (!m.FirstFound()) {
    EXPECT_EQ(replaced, text) << label;
  }
  EXPECT_EQ(m.GetSearchString(), text) << label;
  m.FindNext(s, e);  // after a replace the scan position is reset
  (void)m.SearchReplaceWith(text, pattern, replacement, true);

  // A shorter text must not inherit the scan position of the longer one.
  m.SetSearchString(text.substr(0, text.size() / 2));
  if (m.FindNext(s, e)) {
    EXPECT_GE(s, 1) << label;
    EXPECT_LE(e, length / 2) << label;
  }
}

}  // namespace

TEST(MatcherRandomTest, EveryOperationStaysInBounds) {
  TRandomInput input(20240611);
  TWildcards wildcards;
  TRegExpWildcards regex;
  for (int round = 0; round < 3000; ++round) {
    const std::u16string pattern = input.From(kPatternChars, 8);
    const std::u16string text = input.Text(20);
    CheckOperations(wildcards, input, pattern, text, Label("wildcard", pattern, text));
    CheckOperations(regex, input, pattern, text, Label("regex", pattern, text));
    if (HasFailure()) return;
  }
}

TEST(MatcherRandomTest, WildcardMatchesAreGlobMatches) {
  // The automaton backtracks only a little, so it may miss a match, but what it
  // reports must fit the pattern.
  TRandomInput input(7);
  constexpr std::u16string_view kGlobChars = u"?*aAb";
  for (int round = 0; round < 3000; ++round) {
    const std::u16string pattern = input.From(kGlobChars, 6);
    const std::u16string text = input.Text(16);
    TWildcards w;
    w.SetSearchPattern(pattern);
    w.SetSearchString(text);
    int s = 0;
    int e = 0;
    for (bool found = w.FindFirst(s, e); found; found = w.FindNext(s, e)) {
      const std::u16string piece =
          LowerCase(text.substr(static_cast<size_t>(s - 1), static_cast<size_t>(e - s + 1)));
      ASSERT_TRUE(GlobMatches(LowerCase(pattern), piece))
          << Label("wildcard", pattern, text) << " reported " << s << ".." << e;
    }
  }
}

TEST(MatcherRandomTest, FileModeStaysInBounds) {
  TRandomInput input(99);
  constexpr std::u16string_view kFileChars = u"?*.aAb";
  for (int round = 0; round < 2000; ++round) {
    const std::u16string pattern = input.From(kFileChars, 6);
    const std::u16string name = input.Text(12);
    TWildcards w;
    ASSERT_TRUE(w.AssignFilemode(true).ok());
    w.SetSearchPattern(pattern);
    w.SetSearchString(name);
    CheckFindLoop(w, static_cast<int>(name.size()), Label("file mode", pattern, name));
    (void)w.SearchReplaceWith(u"x", true);
  }
}
