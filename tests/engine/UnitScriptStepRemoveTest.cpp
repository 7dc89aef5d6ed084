#include "engine/UnitScriptStepRemove.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "engine/UnitScriptStepAdd.h"
#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"

namespace {

using TRE = TScriptStepRemoveExpression;

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

// Runs `step` on the entry name + ext in `t`; returns "name|ext".
std::u16string ApplyIn(TScriptTestContext& t, TScriptStep& step, std::u16string name,
                     std::u16string ext, RenameRecord* record = nullptr) {
  RenameRecord rec = TestRecord(name + ext);
  if (record != nullptr) rec = *record;
  step.Execute(name, ext, rec, t.ctx);
  if (record != nullptr) *record = rec;
  return name + u"|" + ext;
}

std::u16string Apply(TScriptStep& step, std::u16string name, std::u16string ext = u".txt",
                   bool regExp = false) {
  TScriptTestContext t;
  t.ctx.UseRegExp = regExp;
  return ApplyIn(t, step, std::move(name), std::move(ext));
}

// A Remove/Replace Expression step with the given part set.
void SetPart(TRE& step, int part, int choice, std::u16string_view text) {
  static constexpr int kFlags[] = {TRE::cbreThatSTartsWIth, TRE::cbreHasInTheMiddle,
                                   TRE::cbreAndEndsWith};
  step.SetFlag(kFlags[part], true);
  step.SetChoice(kFlags[part] + 1, choice);
  step.SetText(kFlags[part] + 2, text);
}

// --- escaping ----------------------------------------------------------------

TEST(EscapeForExpressionTest, EscapesExactlyTheSpecialCharacters) {
  struct Case {
    const char16_t* text;
    const char16_t* expected;
  } cases[] = {
      {u"(", u"\\x28"},
      {u"$()*+.?[\\]^|", u"\\x24\\x28\\x29\\x2A\\x2B\\x2E\\x3F\\x5B\\x5C\\x5D\\x5E\\x7C"},
      {u"a-z{0}", u"a-z{0}"},  // ranges and braces keep their meaning
      {u"caf\u00e9 \u4e2d", u"caf\u00e9 \u4e2d"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeForExpression(c.text), c.expected) << Narrow(c.text);
  }
}

// --- TYPE 11 Remove/Replace Expression -------------------------------------

TEST(TScriptStepRemoveExpressionTest, WorkedExampleRemovesTheBracketedPart) {
  TRE step;
  SetPart(step, 0, 0, u"(");
  SetPart(step, 1, 1, u"abcdefghijklmnopqrstuvwxyz_");
  SetPart(step, 2, 0, u")");
  // Regular expressions even though the user chose simple wildcards.
  EXPECT_EQ(Apply(step, u"03 - game theory (feat_malik_b)", u".mp3", false),
            u"03 - game theory |.mp3");
}

TEST(TScriptStepRemoveExpressionTest, PartsPositionsAndChoices) {
  struct Case {
    int where, part, choice;
    const char16_t* text;
    const char16_t* name;
    const char16_t* expected;
  } cases[] = {
      {0, 0, 0, u"AB", u"xabyab", u"xy"},            // case-insensitive, every match
      {0, 1, 1, u"0-9", u"a12b345", u"ab"},          // "-" keeps its range meaning
      {0, 1, 2, u"a-z", u"ab12cd", u"abcd"},         // all characters except
      {0, 2, 3, u"]", u"a]b]c", u"c"},               // as few as possible, then "]"
      {2, 0, 0, u"ab", u"abab", u"ab"},              // at the Beginning only
      {1, 0, 0, u"ab", u"abab", u"ab"},              // at the Ending only
      {2, 0, 0, u"b", u"abab", u"abab"},             // not at the beginning: no match
      {0, 0, 0, u"*", u"a*b*", u"ab"},               // special characters are literal
      {0, 0, 0, u"", u"abc", u"abc"},                // an empty phrase adds nothing
      {0, 1, 1, u"", u"a]b", u"a]b"},                // "[]+" does not compile
      {0, 0, 0, u"{0}", u"abc", u"abc"},             // nothing to repeat: invalid
  };
  for (const Case& c : cases) {
    TRE step;
    step.SetChoice(TRE::cbxreBegginingEnding, c.where);
    SetPart(step, c.part, c.choice, c.text);
    EXPECT_EQ(Apply(step, c.name, u".txt"), std::u16string(c.expected) + u"|.txt")
        << Narrow(c.text) << " on " << Narrow(c.name);
  }
}

TEST(TScriptStepRemoveExpressionTest, NoPartSetChangesNothing) {
  for (int where = 0; where < 3; ++where) {
    TRE step;
    step.SetChoice(TRE::cbxreBegginingEnding, where);
    step.SetChoice(TRE::cbxRERemoveReplace, 1);
    step.SetText(TRE::txtREWith, u"X");
    EXPECT_EQ(Apply(step, u"abc", u".txt"), u"abc|.txt") << where;
  }
}

TEST(TScriptStepRemoveExpressionTest, InvalidExpressionLeavesNameAndReportsError) {
  TScriptTestContext t;
  TRE step;
  SetPart(step, 0, 0, u"a{2,1}");
  EXPECT_EQ(ApplyIn(t, step, u"aaa", u".txt"), u"aaa|.txt");
  EXPECT_NE(t.ctx.LastRegExpError(), 0);
}

TEST(TScriptStepRemoveExpressionTest, ReplaceAllSetsSelectedPositionAndStoresFirstMatch) {
  TScriptTestContext t;
  TRE step;
  step.SetChoice(TRE::cbxRERemoveReplace, 1);
  step.SetText(TRE::txtREWith, u"<?n01?>");
  step.SetFlag(TRE::cbreAndStore, true);
  SetPart(step, 1, 1, u"0-9");
  RenameRecord rec = TestRecord(u"a1b22.txt");
  rec.selectedposition = 3;
  rec.changedcount = 7;
  EXPECT_EQ(ApplyIn(t, step, u"a1b22", u".txt", &rec), u"a<7>b<7>|.txt");
  EXPECT_EQ(rec.selectedposition, 7);
  EXPECT_EQ(t.vars.GetTempText(), u"1");
}

TEST(TScriptStepRemoveExpressionTest, NthMatchOnly) {
  struct Case {
    const char16_t* n;
    int replace;
    const char16_t* expected;
    const char16_t* temp;
  } cases[] = {
      {u"2", 0, u"a1bb3", u"22"},
      {u"2", 1, u"a1b#b3", u"22"},  // inserted as written, at the match
      {u"3", 0, u"a1b22b", u"3"},
      {u"1", 0, u"ab22b3", u"1"},
      {u"0", 0, u"ab22b3", u"1"},         // 1 or less means the first
      {u"-2147483648", 0, u"ab22b3", u"1"},
      {u"", 0, u"ab22b3", u"1"},          // unreadable: 0
      {u"4", 1, u"a1b22b3", u"old"},      // fewer matches: unchanged
      {u"2147483647", 0, u"a1b22b3", u"old"},
  };
  for (const Case& c : cases) {
    TScriptTestContext t;
    t.vars.SetTempText(u"old");
    TRE step;
    step.SetChoice(TRE::cbxRERemoveReplace, c.replace);
    step.SetText(TRE::txtREWith, u"#");
    step.SetFlag(TRE::cbreRemoveNumber, true);
    step.SetText(TRE::txtRE1, c.n);
    step.SetFlag(TRE::cbreAndStore, true);
    SetPart(step, 1, 1, u"0-9");
    RenameRecord rec = TestRecord(u"a1b22b3.txt");
    rec.changedcount = 9;
    EXPECT_EQ(ApplyIn(t, step, u"a1b22b3", u".txt", &rec), std::u16string(c.expected) + u"|.txt")
        << Narrow(c.n);
    EXPECT_EQ(t.vars.GetTempText(), c.temp) << Narrow(c.n);
    EXPECT_EQ(rec.selectedposition, 1) << "the n-th mode keeps the position";
  }
}

// "a{0}" matches the empty string everywhere: the replace visits each place
// once, the n-th mode counts the empty matches, ?temp? gets the empty match.
TEST(TScriptStepRemoveExpressionTest, EmptyMatchesTerminateAndHaveDefinedResults) {
  struct Case {
    int replace;
    bool nth;
    const char16_t* n;
    const char16_t* expected;
    const char16_t* temp;
  } cases[] = {
      {0, false, u"1", u"abc", u""},
      {1, false, u"1", u"-a-b-c-", u""},
      {0, true, u"2", u"abc", u""},
      {1, true, u"2", u"a-bc", u""},  // the second empty match lies before "b"
      {1, true, u"4", u"abc-", u""},
      {1, true, u"5", u"abc", u"old"},  // only four places
  };
  for (const Case& c : cases) {
    TScriptTestContext t;
    t.vars.SetTempText(u"old");
    TRE step;
    step.SetChoice(TRE::cbxRERemoveReplace, c.replace);
    step.SetText(TRE::txtREWith, u"-");
    step.SetFlag(TRE::cbreRemoveNumber, c.nth);
    step.SetText(TRE::txtRE1, c.n);
    step.SetFlag(TRE::cbreAndStore, true);
    SetPart(step, 0, 0, u"a{0}");
    EXPECT_EQ(ApplyIn(t, step, u"abc", u""), std::u16string(c.expected) + u"|")
        << c.replace << c.nth << Narrow(c.n);
    EXPECT_EQ(t.vars.GetTempText(), c.temp) << c.replace << c.nth << Narrow(c.n);
  }
}

TEST(TScriptStepRemoveExpressionTest, AtTheRequiresTheFirstMatchAtTheChosenEnd) {
  // "\Z" also matches before a final line break; "at the" then refuses it.
  TRE step;
  step.SetChoice(TRE::cbxreBegginingEnding, 1);
  step.SetFlag(TRE::cbreAtThe, true);
  SetPart(step, 0, 0, u"b");
  EXPECT_EQ(Apply(step, u"ab\n", u""), u"ab\n|");
  step.SetFlag(TRE::cbreAtThe, false);
  EXPECT_EQ(Apply(step, u"ab\n", u""), u"a\n|");
  step.SetFlag(TRE::cbreAtThe, true);
  EXPECT_EQ(Apply(step, u"abb", u""), u"ab|");
}

TEST(TScriptStepRemoveExpressionTest, Sentence) {
  TRE step;
  EXPECT_EQ(SentenceText(step.GetSentence()), u"Remove the expression that");
  step.SetChoice(TRE::cbxRERemoveReplace, 1);
  step.SetChoice(TRE::cbxreBegginingEnding, 1);
  SetPart(step, 0, 0, u"(");
  SetPart(step, 1, 1, u"a-z");
  SetPart(step, 2, 2, u")");
  step.SetFlag(TRE::cbreAndStore, true);
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Replace the expression at the Ending of the filename that starts with '(' "
            u"middle is letters 'a-z' ends with not letters ')' Save in ?temp? variable");
  SetPart(step, 0, 3, u"x");
  step.SetFlag(TRE::cbreHasInTheMiddle, false);
  step.SetFlag(TRE::cbreAndEndsWith, false);
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Replace the expression at the Ending of the filename that starts with "
            u"a Phrase ending with 'x' Save in ?temp? variable");
}

// --- TYPE 6 Remove Words/Numbers -------------------------------------------

TEST(TScriptStepRemoveWordsTest, PhraseWordsAndNumbers) {
  using T = TScriptStepRemoveWords;
  struct Case {
    int choice, part;
    const char16_t* text;
    bool regExp;
    const char16_t* name;
    const char16_t* ext;
    const char16_t* expected;
  } cases[] = {
      {0, 0, u"a?c", false, u"xabcyAXC", u".abc", u"xy|.abc"},
      {0, 0, u"[0-9]+", true, u"a12b3", u".mp3", u"ab|.mp3"},
      {0, 0, u"", false, u"abc", u".txt", u"abc|.txt"},
      {0, 0, u"*", false, u"abc", u".txt", u"|.txt"},
      {0, 1, u"t", false, u"text", u".txt", u"text|.x"},
      {1, 0, u"the  a", false, u"the cat a dog", u".txt", u" ct  dog|.txt"},
      {1, 0, u"  ", false, u"a b", u".txt", u"a b|.txt"},
      {1, 0, u"", false, u"abc", u".txt", u"abc|.txt"},
      {2, 0, u"ignored", false, u"track 01 of 12", u".mp3", u"track  of |.mp3"},
      {2, 1, u"", false, u"a1", u".mp3", u"a1|.mp"},
  };
  for (const Case& c : cases) {
    T step;
    step.SetChoice(T::cbxRemovePhrase, c.choice);
    step.SetChoice(T::cbxRemovePhrasePart, c.part);
    step.SetText(T::txtRemovePhrase, c.text);
    EXPECT_EQ(Apply(step, c.name, c.ext, c.regExp), c.expected)
        << c.choice << " '" << Narrow(c.text) << "' on " << Narrow(c.name);
  }
}

TEST(TScriptStepRemoveWordsTest, WordsAreExpandedOneByOne) {
  using T = TScriptStepRemoveWords;
  T step;
  step.SetChoice(T::cbxRemovePhrase, 1);
  step.SetText(T::txtRemovePhrase, u"?n01? x");
  EXPECT_EQ(Apply(step, u"1ax1"), u"a|.txt");
}

TEST(TScriptStepRemoveWordsTest, Sentence) {
  using T = TScriptStepRemoveWords;
  T step;
  step.SetText(T::txtRemovePhrase, u"x");
  EXPECT_EQ(SentenceText(step.GetSentence()), u"Remove the Phrase 'x' from the Name");
  step.SetChoice(T::cbxRemovePhrase, 2);
  step.SetChoice(T::cbxRemovePhrasePart, 1);
  EXPECT_EQ(SentenceText(step.GetSentence()), u"Remove all Numbers from the Extension");
}

// --- TYPE 7 Remove Beginning/Ending ----------------------------------------

TEST(TScriptStepRemoveCharactersTest, CountsPositionsAndParts) {
  using T = TScriptStepRemoveCharacters;
  struct Case {
    const char16_t* count;
    int position, part;
    const char16_t* name;
    const char16_t* ext;
    const char16_t* expected;
  } cases[] = {
      {u"3", 0, 0, u"abcdef", u".txt", u"def|.txt"},
      {u"10", 1, 0, u"abcd", u".txt", u"|.txt"},
      {u"1", 1, 1, u"abc", u".txt", u"abc|.tx"},
      {u"5", 1, 1, u"abc", u".txt", u"abc|."},
      {u"1", 0, 1, u"abc", u".txt", u"abc|.xt"},
      {u"1", 1, 1, u"abc", u"", u"abc|."},   // no extension: a lone dot
      {u"0", 0, 0, u"abc", u".txt", u"abc|.txt"},
      {u"", 0, 0, u"abc", u".txt", u"abc|.txt"},  // unreadable: 0
      {u"-5", 1, 0, u"abc", u".txt", u"abc|.txt"},
      {u"-2147483648", 0, 0, u"abc", u".txt", u"abc|.txt"},
      {u"2147483647", 0, 0, u"abc", u".txt", u"|.txt"},
  };
  for (const Case& c : cases) {
    T step;
    step.SetText(T::txtR2X, c.count);
    step.SetChoice(T::cbxRemoveCharPosition, c.position);
    step.SetChoice(T::cbxRemoveCharactersPart, c.part);
    EXPECT_EQ(Apply(step, c.name, c.ext), c.expected)
        << Narrow(c.count) << " " << c.position << c.part << " " << Narrow(c.name);
  }
}

TEST(TScriptStepRemoveCharactersTest, StoredTextIsAddedByALaterStep) {
  TScriptTestContext t;
  TScriptStepRemoveCharacters remove;
  remove.SetText(TScriptStepRemoveCharacters::txtR2X, u"3");
  remove.SetFlag(TScriptStepRemoveCharacters::cbAndStore, true);
  TScriptStepAddBeginningEnding add;
  add.SetText(TScriptStepAddBeginningEnding::txtAdd, u"?temp?");
  add.SetChoice(TScriptStepAddBeginningEnding::cbxAddAtThe, 1);
  std::u16string name = u"abcdef";
  std::u16string ext = u".txt";
  RenameRecord rec = TestRecord(u"abcdef.txt");
  remove.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(name, u"def");
  EXPECT_EQ(t.vars.GetTempText(), u"abc");
  add.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(name, u"defabc");
}

TEST(TScriptStepRemoveCharactersTest, ReplaceWithSetsSelectedPosition) {
  using T = TScriptStepRemoveCharacters;
  struct Case {
    int position, part;
    const char16_t* with;
    const char16_t* expected;
  } cases[] = {
      {0, 0, u"<?n01?>", u"<4>cd|.txt"},
      {1, 0, u"<?n01?>", u"ab<4>|.txt"},
      {0, 1, u"X", u"abcd|.Xt"},
      {1, 1, u".bak", u"abcd|.t.bak"},
      {0, 1, u".", u"abcd|.t"},  // the text already begins with a dot
  };
  for (const Case& c : cases) {
    TScriptTestContext t;
    T step;
    step.SetText(T::txtR2X, u"2");
    step.SetChoice(T::cbxRemoveCharPosition, c.position);
    step.SetChoice(T::cbxRemoveCharactersPart, c.part);
    step.SetFlag(T::cbRCReplace, true);
    step.SetText(T::txtRCReplace, c.with);
    RenameRecord rec = TestRecord(u"abcd.txt");
    rec.changedcount = 4;
    EXPECT_EQ(ApplyIn(t, step, u"abcd", u".txt", &rec), c.expected) << Narrow(c.with);
    EXPECT_EQ(rec.selectedposition, 4);
  }
}

TEST(TScriptStepRemoveCharactersTest, SentenceAndResetKeepsReplacement) {
  using T = TScriptStepRemoveCharacters;
  T step;
  step.SetText(T::txtR2X, u"3");
  step.SetChoice(T::cbxRemoveCharPosition, 1);
  step.SetFlag(T::cbAndStore, true);
  step.SetFlag(T::cbRCReplace, true);
  step.SetText(T::txtRCReplace, u"x");
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Remove '3' characters from the Name's Ending Save in ?temp? variable "
            u"Replace with  'x'");
  step.Reset();
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Remove '1' characters from the Name's Beginning Replace with  'x'");
}

// --- TYPE 8 Remove by Position ---------------------------------------------

TEST(TScriptStepRemoveSubstringTest, OnlyAndEverythingBut) {
  using T = TScriptStepRemoveSubstring;
  struct Case {
    int type;
    const char16_t *x, *y;
    const char16_t* name;
    const char16_t* expected;
  } cases[] = {
      {1, u"5", u"7", u"FileXXXname1", u"Filename1"},
      {0, u"5", u"7", u"FileXXXname1", u"XXX"},
      {1, u"3", u"99", u"abcdef", u"ab"},
      {0, u"3", u"99", u"abcdef", u"cdef"},
      {1, u"4", u"2", u"abcdef", u"abcdef"},  // Y < X: nothing
      {0, u"4", u"2", u"abcdef", u""},
      {1, u"0", u"3", u"abcdef", u"def"},     // positions below 1 do not exist
      {0, u"-5", u"2", u"abcdef", u"ab"},
      {1, u"7", u"9", u"abcdef", u"abcdef"},  // past the end
      {1, u"-2147483648", u"2147483647", u"abcdef", u""},
      {0, u"2147483647", u"2147483647", u"abcdef", u""},
      {1, u"", u"", u"abcdef", u"bcdef"},     // both unreadable: 1
  };
  for (const Case& c : cases) {
    T step;
    step.SetChoice(T::cbxRemoveType, c.type);
    step.SetText(T::txtR3X, c.x);
    step.SetText(T::txtR3Y, c.y);
    EXPECT_EQ(Apply(step, c.name), std::u16string(c.expected) + u"|.txt")
        << c.type << " " << Narrow(c.x) << " thru " << Narrow(c.y);
  }
}

TEST(TScriptStepRemoveSubstringTest, MoveAndStore) {
  using T = TScriptStepRemoveSubstring;
  struct Case {
    const char16_t* z;
    const char16_t* expected;
  } cases[] = {
      {u"4", u"defabc"},  // past the shortened name: appended
      {u"2", u"dabcef"},
      {u"0", u"abcdef"},  // below 1: at the start
      {u"", u"abcdef"},   // unreadable: 0
      {u"-2147483648", u"abcdef"},
      {u"2147483647", u"defabc"},
  };
  for (const Case& c : cases) {
    TScriptTestContext t;
    T step;
    step.SetText(T::txtR3X, u"1");
    step.SetText(T::txtR3Y, u"3");
    step.SetFlag(T::cbAndMove, true);
    step.SetText(T::txtR3Z, c.z);
    step.SetFlag(T::cbAndStoreRM, true);
    EXPECT_EQ(ApplyIn(t, step, u"abcdef", u".txt"), std::u16string(c.expected) + u"|.txt")
        << Narrow(c.z);
    EXPECT_EQ(t.vars.GetTempText(), u"abc");
  }
}

TEST(TScriptStepRemoveSubstringTest, Sentence) {
  using T = TScriptStepRemoveSubstring;
  T step;
  EXPECT_EQ(SentenceText(step.GetSentence()), u"Remove Only characters '1' thru '10'");
  step.SetFlag(T::cbAndMove, true);
  step.SetFlag(T::cbAndStoreRM, true);
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Remove Only characters '1' thru '10' Move to position '1' "
            u"Save in ?temp? variable");
}

// --- TYPE 9 Remove Before/After --------------------------------------------

TEST(TScriptStepRemoveBeforeAfterTest, BeforeAndAfterThePhrase) {
  using T = TScriptStepRemoveBeforeAfter;
  struct Case {
    int after;
    const char16_t* phrase;
    bool regExp;
    const char16_t* name;
    const char16_t* expected;
    const char16_t* temp;
  } cases[] = {
      {0, u"-", false, u"Artist - Song", u"- Song", u"Artist "},
      {1, u"-", false, u"Artist - Song", u"Artist -", u" Song"},
      {0, u"s?n", false, u"A-SONG-song", u"SONG-song", u"A-"},  // first match only
      {1, u"[0-9]+", true, u"ab12cd34", u"ab12", u"cd34"},
      {0, u"x", false, u"abc", u"abc", u"old"},  // not found: ?temp? untouched
      {0, u"", false, u"abc", u"abc", u"old"},
      {1, u"(", true, u"a(b", u"a(b", u"old"},     // invalid expression
      {0, u"^", true, u"abc", u"abc", u""},        // empty match at the start
      {1, u"^", true, u"abc", u"", u"abc"},
  };
  for (const Case& c : cases) {
    TScriptTestContext t;
    t.ctx.UseRegExp = c.regExp;
    t.vars.SetTempText(u"old");
    T step;
    step.SetChoice(T::cbxBeforeAfter, c.after);
    step.SetText(T::txtRemove2Phrase, c.phrase);
    step.SetFlag(T::cbAndStoreRM2, true);
    EXPECT_EQ(ApplyIn(t, step, c.name, u".txt"), std::u16string(c.expected) + u"|.txt")
        << c.after << " '" << Narrow(c.phrase) << "' on " << Narrow(c.name);
    EXPECT_EQ(t.vars.GetTempText(), c.temp) << Narrow(c.phrase);
  }
}

TEST(TScriptStepRemoveBeforeAfterTest, ReplaceWithSetsSelectedPosition) {
  using T = TScriptStepRemoveBeforeAfter;
  for (int after = 0; after < 2; ++after) {
    TScriptTestContext t;
    T step;
    step.SetChoice(T::cbxBeforeAfter, after);
    step.SetText(T::txtRemove2Phrase, u"-");
    step.SetFlag(T::cbRBReplace, true);
    step.SetText(T::txtRBReplace, u"?n02?");
    RenameRecord rec = TestRecord(u"a-b.txt");
    rec.changedcount = 5;
    EXPECT_EQ(ApplyIn(t, step, u"a-b", u".txt", &rec), after ? u"a-05|.txt" : u"05-b|.txt");
    EXPECT_EQ(rec.selectedposition, 5);
  }
}

TEST(TScriptStepRemoveBeforeAfterTest, SentenceAndResetKeepsReplacement) {
  using T = TScriptStepRemoveBeforeAfter;
  T step;
  step.SetChoice(T::cbxBeforeAfter, 1);
  step.SetText(T::txtRemove2Phrase, u"-");
  step.SetFlag(T::cbAndStoreRM2, true);
  step.SetFlag(T::cbRBReplace, true);
  step.SetText(T::txtRBReplace, u"x");
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Remove everything After the phrase '-' Save in ?temp? variable");
  step.Reset();
  EXPECT_EQ(SentenceText(step.GetSentence()), u"Remove everything Before the phrase ''");
  EXPECT_TRUE(step.Flag(T::cbRBReplace));
  EXPECT_EQ(step.Text(T::txtRBReplace), u"x");
}

// --- TYPE 13 ------------------------------------------------------------------

TEST(TScriptStepRemoveWordNumberTest, NeverChangesAndHasAnEmptySentence) {
  TScriptStepRemoveWordNumber step;
  step.SetText(TScriptStepRemoveWordNumber::txtrwCharacters, u"a");
  EXPECT_EQ(Apply(step, u"aaa"), u"aaa|.txt");
  EXPECT_TRUE(step.GetSentence().empty());
}

// --- robustness ----------------------------------------------------------------

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
  static constexpr char16_t kAlphabet[] = u"ab AB01.-_()[]{}*?+^$|\\,0123456789\u00e9\xD800";
  std::uniform_int_distribution<size_t> length(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, std::size(kAlphabet) - 2);
  std::u16string text(length(rng), u'a');
  for (char16_t& c : text) c = kAlphabet[pick(rng)];
  return text;
}

std::u16string RandomNumber(std::mt19937& rng) {
  static constexpr const char16_t* kNumbers[] = {u"", u"0", u"1", u"2", u"3", u"-1", u"100",
                                                 u"-2147483648", u"2147483647", u"x", u"99999999999"};
  return kNumbers[std::uniform_int_distribution<size_t>(0, std::size(kNumbers) - 1)(rng)];
}

// Random values for every parameter, choices and numbers out of range included.
void Randomize(TScriptStep& step, std::mt19937& rng) {
  const auto params = step.Parameters();
  for (int i = 0; i < static_cast<int>(params.size()); ++i) {
    const TParamDef& def = params[static_cast<size_t>(i)];
    if (def.kind == TParamKind::Flag) step.SetFlag(i, rng() % 2 == 0);
    if (def.kind == TParamKind::Choice) {
      step.SetChoice(i, static_cast<int>(rng() % (def.items.size() + 1)));
    }
    if (def.kind == TParamKind::Text) {
      step.SetText(i, rng() % 2 == 0 ? RandomNumber(rng) : RandomText(rng, 6));
    }
  }
}

TEST(TScriptStepRemoveTest, RandomParametersNeverCrash) {
  std::mt19937 rng(20240611);
  TScriptTestContext t;
  std::vector<std::unique_ptr<TScriptStep>> steps;
  steps.push_back(std::make_unique<TScriptStepRemoveExpression>());
  steps.push_back(std::make_unique<TScriptStepRemoveWords>());
  steps.push_back(std::make_unique<TScriptStepRemoveCharacters>());
  steps.push_back(std::make_unique<TScriptStepRemoveSubstring>());
  steps.push_back(std::make_unique<TScriptStepRemoveBeforeAfter>());
  const std::u16string longName(10000, u'a');
  for (int round = 0; round < 3000; ++round) {
    TScriptStep& step = *steps[static_cast<size_t>(round) % steps.size()];
    Randomize(step, rng);
    t.ctx.UseRegExp = rng() % 2 == 0;
    std::u16string name = round % 500 == 0 ? longName + RandomText(rng, 5) : RandomText(rng, 300);
    std::u16string ext = RandomText(rng, 5);
    const size_t before = name.size();
    RenameRecord rec = TestRecord(name + ext);
    step.Execute(name, ext, rec, t.ctx);
    // Remove Words and Remove by Position never add text to the name.
    const auto type = step.ScriptType();
    if (type == TScriptType::stRemoveWords || type == TScriptType::stRemoveSubstring) {
      ASSERT_LE(name.size(), before) << Narrow(SentenceText(step.GetSentence()));
    }
  }
}

}  // namespace
