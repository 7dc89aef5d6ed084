#include "matching/UnitWildcards.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/UnitText.h"

namespace {

std::string Show(std::u16string_view text) { return Utf16ToUtf8(text); }

struct TFindCase {
  std::u16string pattern;
  std::u16string text;
  bool found;
  int startIndex;
  int endIndex;
};

TWildcards Compiled(std::u16string_view pattern, std::u16string_view text) {
  TWildcards w;
  w.SetSearchPattern(pattern);
  w.SetSearchString(text);
  return w;
}

// All matches FindFirst / FindNext report, as (start, end) pairs.
std::vector<std::pair<int, int>> AllMatches(TWildcards& w) {
  std::vector<std::pair<int, int>> matches;
  int s = 0;
  int e = 0;
  for (bool found = w.FindFirst(s, e); found && matches.size() < 100; found = w.FindNext(s, e)) {
    matches.emplace_back(s, e);
  }
  return matches;
}

}  // namespace

TEST(TWildcardsTest, FindFirstReportsTheRangeOfTheFirstMatch) {
  const std::vector<TFindCase> cases = {
      {u"?", u"", false, 0, 0},
      {u"?", u"x", true, 1, 1},
      {u"*", u"", false, 0, 0},
      {u"*", u"abc", true, 1, 3},
      {u"?*", u"ab", true, 1, 2},
      {u"01??12", u"01ab12", true, 1, 6},
      {u"01??12", u"x01ab12y", true, 2, 7},
      {u"ABC", u"abc", true, 1, 3},
      {u"abc", u"xAbC", true, 2, 4},
      {u"\u00C9t\u00C9", u"\u00E9T\u00E9", true, 1, 3},
      {u"a*b", u"axbyb", true, 1, 3},  // an inner "*" is not greedy
      {u"a*", u"xxaYY", true, 3, 5},   // a trailing "*" runs to the end
      {u"*b", u"aab", true, 1, 3},     // a leading "*" reaches back to the scan start
      {u"a*b*c", u"xaXbYcZ", true, 2, 6},
      {u"ab", u"xab", true, 2, 3},
      {u"ab", u"aab", true, 2, 3},  // the first literal retries the failing character
      {u"??a", u"xyba", true, 2, 4},
      {u"?a", u"bcad", true, 2, 3},
      {u"a?", u"a", false, 0, 0},
      // A trailing "*" also stands for zero characters at the end of the text.
      {u"a*", u"xxa", true, 3, 3},
      {u"?*", u"x", true, 1, 1},
      {u"a*b*", u"ab", true, 1, 2},
      {u"*.mp3", u"Song.MP3", true, 1, 8},
      // After a failed literal the automaton falls back only to its restart state.
      {u"aab", u"aaab", false, 0, 0},
      {u"a*bc", u"abbc", false, 0, 0},
      // Surrogates: pairs are lower-cased as one character, lone ones compare as units.
      {u"\U00010400", u"x\U00010428", true, 2, 3},
      {u"\xDC80",
       u"a\xDC80"
       u"b",
       true, 2, 2},
      {u"?", u"\xD800", true, 1, 1},
  };
  for (const TFindCase& c : cases) {
    TWildcards w = Compiled(c.pattern, c.text);
    int s = -5;
    int e = -5;
    EXPECT_EQ(w.FindFirst(s, e), c.found) << Show(c.pattern) << " in " << Show(c.text);
    EXPECT_EQ(s, c.startIndex) << Show(c.pattern) << " in " << Show(c.text);
    EXPECT_EQ(e, c.endIndex) << Show(c.pattern) << " in " << Show(c.text);
  }
}

TEST(TWildcardsTest, EmptyPatternFindsNothing) {
  TWildcards w = Compiled(u"", u"abc");
  int s = 0;
  int e = 0;
  EXPECT_FALSE(w.FindFirst(s, e));
  EXPECT_FALSE(w.FindNext(s, e));
  EXPECT_TRUE(w.GetStates().empty());
}

TEST(TWildcardsTest, MatchesOnlyWhenTheWholeTextIsOneMatch) {
  TWildcards whole = Compiled(u"01??12", u"01AB12");
  EXPECT_TRUE(whole.Matches());
  TWildcards part = Compiled(u"01??12", u"x01ab12y");
  EXPECT_FALSE(part.Matches());
  EXPECT_EQ(part.FindString(), u"01ab12");
  TWildcards trailingStar = Compiled(u"Song*", u"song");
  EXPECT_TRUE(trailingStar.Matches());
  TWildcards none = Compiled(u"q", u"abc");
  EXPECT_FALSE(none.Matches());
  EXPECT_EQ(none.FindString(), u"");
}

TEST(TWildcardsTest, FindNextContinuesAfterThePreviousMatch) {
  TWildcards letters = Compiled(u"a", u"banana");
  EXPECT_EQ(AllMatches(letters), (std::vector<std::pair<int, int>>{{2, 2}, {4, 4}, {6, 6}}));
  TWildcards leadingStar = Compiled(u"*a", u"banana");
  EXPECT_EQ(AllMatches(leadingStar), (std::vector<std::pair<int, int>>{{1, 2}, {3, 4}, {5, 6}}));
  TWildcards trailingStar = Compiled(u"n*", u"banana");
  EXPECT_EQ(AllMatches(trailingStar), (std::vector<std::pair<int, int>>{{3, 6}}));
}

TEST(TWildcardsTest, EquivalentPatternsCompileToTheSameAutomaton) {
  const std::vector<std::pair<std::u16string, std::u16string>> pairs = {
      {u"*?", u"?*"}, {u"a**b", u"a*b"}, {u"x*?*?y", u"x??*y"}, {u"***", u"*"}, {u"AbC", u"abc"}};
  for (const auto& [first, second] : pairs) {
    TWildcards a;
    a.SetSearchPattern(first);
    TWildcards b;
    b.SetSearchPattern(second);
    EXPECT_EQ(a.GetSearchPattern(), b.GetSearchPattern()) << Show(first) << " vs " << Show(second);
    EXPECT_EQ(a.GetStates(), b.GetStates()) << Show(first) << " vs " << Show(second);
  }
}

TEST(TWildcardsTest, AutomatonFallsBackToTheLiteralAfterTheLatestStar) {
  TWildcards w;
  w.SetSearchPattern(u"a?b*cd*");
  const std::vector<TState>& states = w.GetStates();
  ASSERT_EQ(states.size(), 6u);
  std::vector<TState> expected = {{u'a', 1, 0}, {u'?', 2, 2}, {u'b', 3, 0},
                                  {u'c', 4, 3}, {u'd', 5, 3}, {u'*', 5, 5}};
  expected.front().SetIsStarting(true);
  expected.back().SetIsEnding(true);
  EXPECT_EQ(states, expected);
}

TEST(TWildcardsTest, FileModeAppliesTheNameRules) {
  struct TCase {
    std::u16string pattern;
    std::u16string name;
    bool accepted;
  };
  const std::vector<TCase> cases = {
      {u"*", u"readme", true},       {u"*", u"a.txt", true},        {u"*.*", u"readme", true},
      {u"*.*", u"", true},           {u"*.", u"readme", true},      {u"*.", u"readme.", true},
      {u"*.", u"readme.txt", false}, {u"*.mp3", u"Song.MP3", true}, {u"*.mp3", u"song.mp4", false},
      {u"abc.", u"xabc", true},      {u"abc.", u"abc.txt", false},
  };
  for (const TCase& c : cases) {
    TWildcards w;
    EXPECT_TRUE(w.AssignFilemode(true).ok());
    w.SetSearchPattern(c.pattern);
    w.SetSearchString(c.name);
    EXPECT_EQ(w.FirstFound(), c.accepted) << Show(c.pattern) << " on " << Show(c.name);
  }
}

TEST(TWildcardsTest, FileModeFlagsAndAlwaysTrueRange) {
  TWildcards w;
  ASSERT_TRUE(w.AssignFilemode(true).ok());
  w.SetSearchPattern(u"*.");
  EXPECT_TRUE(w.GetIsAlwaysTrue());
  EXPECT_TRUE(w.GetIsExtensionless());
  w.SetSearchPattern(u"*.*");
  EXPECT_TRUE(w.GetIsAlwaysTrue());
  EXPECT_FALSE(w.GetIsExtensionless());
  w.SetSearchString(u"photo.jpg");
  int s = 0;
  int e = 0;
  EXPECT_TRUE(w.FindFirst(s, e));
  EXPECT_EQ(s, 1);
  EXPECT_EQ(e, 9);
  EXPECT_FALSE(w.FindNext(s, e));
}

TEST(TWildcardsTest, AlwaysTruePatternLeavesNothingOfAnEarlierPattern) {
  TWildcards w;
  ASSERT_TRUE(w.AssignFilemode(true).ok());
  w.SetSearchPattern(u"o");
  w.SetSearchPattern(u"*");
  w.SetSearchString(u"photo.jpg");
  EXPECT_EQ(w.SearchReplaceWith(u"0", true), u"photo.jpg");
  EXPECT_TRUE(w.FirstFound());
}

TEST(TWildcardsTest, LeavingFileModeRecompilesTheSamePattern) {
  TWildcards w;
  ASSERT_TRUE(w.AssignFilemode(true).ok());
  w.SetSearchPattern(u"x.");
  ASSERT_TRUE(w.AssignFilemode(false).ok());
  w.SetSearchPattern(u"x.");
  w.SetSearchString(u"ax.b");
  EXPECT_EQ(w.FindString(), u"x.");
  EXPECT_FALSE(w.GetIsExtensionless());
}

TEST(TWildcardsTest, SearchReplaceWithReplacesFirstOrEveryMatch) {
  struct TCase {
    std::u16string pattern;
    std::u16string text;
    std::u16string replacement;
    bool replaceall;
    std::u16string expected;
  };
  const std::vector<TCase> cases = {
      {u"a", u"banana", u"x", true, u"bxnxnx"},
      {u"a", u"banana", u"x", false, u"bxnana"},
      {u"A", u"bAnAna", u"x", true, u"bxnxnx"},
      {u"an", u"banana", u"AN", true, u"bANANa"},
      {u"a", u"banana", u"aa", true, u"baanaanaa"},  // replaced text is not searched again
      {u"b*", u"banana", u"x", true, u"x"},          // a whole-text match gives the replacement
      {u"?", u"ab", u"xy", true, u"xyxy"},
      {u"n*", u"banana", u"", true, u"ba"},
      {u"q", u"banana", u"x", true, u"banana"},
      {u"", u"banana", u"x", true, u"banana"},
      {u"a", u"", u"x", true, u""},
  };
  for (const TCase& c : cases) {
    TWildcards w = Compiled(c.pattern, c.text);
    EXPECT_EQ(w.SearchReplaceWith(c.replacement, c.replaceall), c.expected)
        << Show(c.pattern) << " in " << Show(c.text) << (c.replaceall ? " (all)" : " (first)");
    EXPECT_EQ(w.GetSearchString(), c.text) << "search string kept for " << Show(c.pattern);
  }
}

TEST(TWildcardsTest, FirstFoundAfterReplaceTellsWhetherTheTextHeldAMatch) {
  TWildcards w;
  EXPECT_EQ(w.SearchReplaceWith(u"banana", u"a", u"x", true), u"bxnxnx");
  EXPECT_TRUE(w.FirstFound());
  EXPECT_EQ(w.SearchReplaceWith(u"cherry", u"a", u"x", true), u"cherry");
  EXPECT_FALSE(w.FirstFound());
}

TEST(TWildcardsTest, FindNextAfterReplaceStartsAtTheBeginning) {
  TWildcards w = Compiled(u"a", u"banana");
  (void)w.SearchReplaceWith(u"x", true);
  int s = 0;
  int e = 0;
  ASSERT_TRUE(w.FindNext(s, e));
  EXPECT_EQ(s, 2);
  EXPECT_EQ(e, 2);
}

TEST(TWildcardsTest, FourArgumentFormHandlesStarAndEmptyPatterns) {
  TWildcards w;
  EXPECT_EQ(w.SearchReplaceWith(u"abc", u"*", u"R", true), u"R");
  EXPECT_EQ(w.SearchReplaceWith(u"", u"*", u"R", true), u"R");
  EXPECT_EQ(w.SearchReplaceWith(u"abc", u"", u"R", true), u"abc");
  EXPECT_EQ(w.SearchReplaceWith(u"a.b.c", u".", u"_", false), u"a_b.c");
}

TEST(TWildcardsTest, GetStrClipsToTheText) {
  TWildcards w = Compiled(u"x", u"abcdef");
  EXPECT_EQ(w.GetStr(2, 4), u"bcd");
  EXPECT_EQ(w.GetStr(-3, 2), u"ab");
  EXPECT_EQ(w.GetStr(5, 99), u"ef");
  EXPECT_EQ(w.GetStr(4, 3), u"");
  EXPECT_EQ(w.GetStr(7, 9), u"");
}

TEST(TWildcardsTest, OneCompiledPatternServesManyTexts) {
  TWildcards w;
  w.SetSearchPattern(u"img_*_");
  const std::vector<std::pair<std::u16string, std::u16string>> names = {
      {u"IMG_20130814_123456", u"photo 123456"},
      {u"notes", u"notes"},
      {u"img_1_img_2_x", u"photo photo x"},
  };
  for (const auto& [name, expected] : names) {
    w.SetSearchString(name);
    EXPECT_EQ(w.SearchReplaceWith(u"photo ", true), expected) << Show(name);
  }
}

TEST(TWildcardsTest, HugeTextsAndWildcardOnlyPatternsStayLinear) {
  const std::u16string text(200000, u'a');
  for (const std::u16string pattern : {u"*", u"?", u"*?*?*", u"a*b", u"ab"}) {
    TWildcards w = Compiled(pattern, text);
    const std::u16string result = w.SearchReplaceWith(u"x", true);
    EXPECT_LE(result.size(), text.size()) << Show(pattern);
  }
}
