#include "matching/UnitRegExpWildcards.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/UnitText.h"

namespace {

std::string Show(std::u16string_view text) { return Utf16ToUtf8(text); }

TRegExpWildcards Compiled(std::u16string_view expression, std::u16string_view text) {
  TRegExpWildcards r;
  r.SetSearchPattern(expression);
  r.SetSearchString(text);
  return r;
}

std::vector<std::pair<int, int>> AllMatches(TWildcards& w) {
  std::vector<std::pair<int, int>> matches;
  int s = 0;
  int e = 0;
  for (bool found = w.FindFirst(s, e); found && matches.size() < 100; found = w.FindNext(s, e)) {
    matches.emplace_back(s, e);
  }
  return matches;
}

struct TFindCase {
  std::u16string expression;
  std::u16string text;
  bool found;
  int startIndex;
  int endIndex;
};

struct TReplaceCase {
  std::u16string expression;
  std::u16string text;
  std::u16string replacement;
  std::u16string expected;
};

}  // namespace

TEST(TRegExpWildcardsTest, FindFirstFollowsTheDialect) {
  const std::vector<TFindCase> cases = {
      {u"abc", u"xABC", false, 0, 0},  // case-sensitive by default
      {u"(?i)abc", u"xABC", true, 2, 4},
      {u"\\Aab", u"abab", true, 1, 2},
      {u"ab\\Z", u"abab", true, 3, 4},
      {u"\\x41", u"zA", true, 2, 2},
      {u".+?", u"abc", true, 1, 1},   // lazy
      {u".+", u"abc", true, 1, 3},    // greedy
      {u"a.b", u"a\nb", true, 1, 3},  // "." matches a line break
      {u"^b", u"a\nb", false, 0, 0},  // multi-line mode is off
      {u"[^a-c]+", u"abcxyzabc", true, 4, 6},
      {u"\\d{2}", u"a1b22", true, 4, 5},
      {u"x*", u"abc", true, 1, 0},  // an empty match before the first character
      {u"$", u"abc", true, 4, 3},
      {u".", u"\U0001F600", true, 1, 2},  // a surrogate pair is one character
      {u"", u"abc", false, 0, 0},
  };
  for (const TFindCase& c : cases) {
    TRegExpWildcards r = Compiled(c.expression, c.text);
    int s = -5;
    int e = -5;
    EXPECT_EQ(r.FindFirst(s, e), c.found) << Show(c.expression) << " in " << Show(c.text);
    EXPECT_EQ(s, c.startIndex) << Show(c.expression) << " in " << Show(c.text);
    EXPECT_EQ(e, c.endIndex) << Show(c.expression) << " in " << Show(c.text);
    EXPECT_EQ(r.LastError(), 0) << Show(c.expression);
  }
}

TEST(TRegExpWildcardsTest, FindNextStepsOverEmptyMatchesWithoutSplittingPairs) {
  TRegExpWildcards digits = Compiled(u"\\d+", u"a12b3");
  EXPECT_EQ(AllMatches(digits), (std::vector<std::pair<int, int>>{{2, 3}, {5, 5}}));
  TRegExpWildcards empty = Compiled(u"x*", u"a\U0001F600");
  EXPECT_EQ(AllMatches(empty), (std::vector<std::pair<int, int>>{{1, 0}, {2, 1}, {4, 3}}));
  TRegExpWildcards mixed = Compiled(u"x*", u"axxb");
  EXPECT_EQ(AllMatches(mixed), (std::vector<std::pair<int, int>>{{1, 0}, {2, 3}, {4, 3}, {5, 4}}));
}

TEST(TRegExpWildcardsTest, SearchReplaceWithSubstitutesGroups) {
  const std::vector<TReplaceCase> cases = {
      {u"(\\d+)", u"a12b3", u"[$1]", u"a[12]b[3]"},
      {u"(\\d{4})(\\d{2})(\\d{2})", u"IMG_20130814", u"$1-$2-$3", u"IMG_2013-08-14"},
      {u"b", u"abc", u"<$0|$&>", u"a<b|b>c"},
      {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"abcdefghij", u"${10}$10", u"ja0"},
      {u"(a)|(b)", u"ab", u"[$2]", u"[][b]"},  // a group that did not take part is empty
      {u"(a)", u"a", u"$7", u""},              // so is one that does not exist
      {u"a", u"a", u"\\$1\\\\x\\", u"$1\\x\\"},
      {u"a", u"a", u"$ ${} ${x} ${1", u"$ ${} ${x} ${1"},
      {u"x*", u"abc", u"-", u"-a-b-c-"},
      {u"x*", u"axxb", u"-", u"-a--b-"},
      {u"x*", u"\U0001F600", u"-", u"-\U0001F600-"},
      {u"(?i)A", u"banana", u"x", u"bxnxnx"},
      {u"q", u"banana", u"x", u"banana"},
      {u"^.*$", u"", u"new", u"new"},
  };
  for (const TReplaceCase& c : cases) {
    TRegExpWildcards r;
    EXPECT_EQ(r.SearchReplaceWith(c.text, c.expression, c.replacement, true), c.expected)
        << Show(c.expression) << " in " << Show(c.text) << " by " << Show(c.replacement);
  }
}

TEST(TRegExpWildcardsTest, ReplaceFirstOnlyWhenAsked) {
  TRegExpWildcards r = Compiled(u"a", u"banana");
  EXPECT_EQ(r.SearchReplaceWith(u"x", false), u"bxnana");
  EXPECT_EQ(r.SearchReplaceWith(u"x", true), u"bxnxnx");
  EXPECT_TRUE(r.FirstFound());
  EXPECT_EQ(r.GetSearchString(), u"banana");
}

TEST(TRegExpWildcardsTest, InvalidExpressionFindsNothingAndChangesNothing) {
  for (const std::u16string expression : {u"(", u"[a-", u"a{2,1}", u"*", u"\\C"}) {
    TRegExpWildcards r = Compiled(expression, u"a(b");
    int s = 0;
    int e = 0;
    EXPECT_FALSE(r.FindFirst(s, e)) << Show(expression);
    EXPECT_FALSE(r.FindNext(s, e)) << Show(expression);
    EXPECT_NE(r.LastError(), 0) << Show(expression);
    EXPECT_EQ(r.SearchReplaceWith(u"x", true), u"a(b") << Show(expression);
    EXPECT_EQ(r.SearchReplaceWith(u"q(r", expression, u"x", true), u"q(r") << Show(expression);
    EXPECT_NE(r.LastError(), 0) << Show(expression);
  }
}

TEST(TRegExpWildcardsTest, LastErrorClearsWithAValidExpression) {
  TRegExpWildcards r = Compiled(u"(", u"abc");
  EXPECT_GT(r.LastError(), 0);
  r.SetSearchPattern(u"b");
  EXPECT_TRUE(r.FirstFound());
  EXPECT_EQ(r.LastError(), 0);
}

TEST(TRegExpWildcardsTest, RunawayBacktrackingStopsWithAnError) {
  TRegExpWildcards r = Compiled(u"^(a|aa)+(?!)", std::u16string(40, u'a'));
  EXPECT_FALSE(r.FirstFound());
  EXPECT_LT(r.LastError(), 0);
  EXPECT_EQ(r.SearchReplaceWith(u"x", true), std::u16string(40, u'a'));
}

TEST(TRegExpWildcardsTest, LoneSurrogatesAreCharactersOfTheirOwn) {
  // "caf" + the escape of the undecodable byte 0xE9 + ".txt"
  const std::u16string name = u"caf\xDCE9.txt";
  TRegExpWildcards r;
  EXPECT_EQ(r.SearchReplaceWith(name, u"^(.*)\\.txt$", u"$1", true), u"caf\xDCE9");
  EXPECT_EQ(r.SearchReplaceWith(name, u"[^a-z.]", u"_", true), u"caf_.txt");
  EXPECT_EQ(r.SearchReplaceWith(name, u"\xDCE9", u"e", true), u"cafe.txt");
  EXPECT_EQ(r.SearchReplaceWith(u"\xDCE9\xDCEA", u"(.)(.)", u"$2$1", true), u"\xDCEA\xDCE9");
  EXPECT_EQ(r.LastError(), 0);
  TRegExpWildcards high = Compiled(u"b$",
                                   u"a\xD83D"
                                   u"b");
  int s = 0;
  int e = 0;
  ASSERT_TRUE(high.FindFirst(s, e));
  EXPECT_EQ(s, 3);
  EXPECT_EQ(e, 3);
}

TEST(TRegExpWildcardsTest, FileModeIsRefused) {
  TRegExpWildcards r;
  const TStatus status = r.AssignFilemode(true);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.reason(), u"Illegal use of Wildcard class.");
  EXPECT_FALSE(r.GetIsFilemode());
}

TEST(TRegExpWildcardsTest, WorksThroughTheBaseInterface) {
  TRegExpWildcards regex;
  TWildcards& w = regex;
  w.SetSearchPattern(u"(\\w+)\\.(\\w+)");
  w.SetSearchString(u"song.mp3");
  EXPECT_TRUE(w.Matches());
  EXPECT_EQ(w.FindString(), u"song.mp3");
  EXPECT_EQ(w.SearchReplaceWith(u"$2.$1", true), u"mp3.song");
  EXPECT_EQ(w.SearchReplaceWith(u"abc", u"", u"x", true), u"abc");
  EXPECT_EQ(w.SearchReplaceWith(u"abc", u"*", u"x", true), u"abc");  // "*" is no expression
  EXPECT_NE(w.LastError(), 0);
}

TEST(TRegExpWildcardsTest, MovedMatcherKeepsItsCompiledExpression) {
  TRegExpWildcards original = Compiled(u"(\\d+)", u"a1");
  TRegExpWildcards moved = std::move(original);
  moved.SetSearchString(u"x42y");
  EXPECT_EQ(moved.SearchReplaceWith(u"<$1>", true), u"x<42>y");
}

TEST(TRegExpWildcardsTest, HugeTextWithEmptyMatchesReplacesEveryGap) {
  const std::u16string text(200000, u'a');
  TRegExpWildcards r;
  const std::u16string result = r.SearchReplaceWith(text, u"x*", u"-", true);
  EXPECT_EQ(result.size(), 2 * text.size() + 1);
  EXPECT_EQ(r.LastError(), 0);
}
