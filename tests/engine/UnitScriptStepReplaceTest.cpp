#include "engine/UnitScriptStepReplace.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"

namespace {

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }


// --- TYPE 3 ---------------------------------------------------------------

TEST(TScriptStepReplaceNameExtensionTest, ReplacesEntireNameOrExtension) {
  struct Case {
    int part;
    const char16_t* with;
    const char16_t* expected;
  } cases[] = {
      {0, u"new", u"new|.txt"},
      {0, u"", u"|.txt"},
      {1, u"jpg", u"a|jpg"},  // the dot goes with the extension
      {1, u".jpg", u"a|.jpg"},
      {0, u"?n03?", u"001|.txt"},
  };
  for (const Case& c : cases) {
    TScriptStepReplaceNameExtension step;
    step.SetChoice(step.cbxReplacePart, c.part);
    step.SetText(step.txtReplacePhrase, u"ignored");
    step.SetText(step.txtReplaceWith, c.with);
    EXPECT_EQ(Narrow(RunStep(step, u"a", u".txt")), Narrow(c.expected))
        << "part " << c.part << " with '" << Narrow(c.with) << "'";
  }
}

TEST(TScriptStepReplaceNameExtensionTest, FindAndReplaceInTheChosenParts) {
  struct Case {
    int target;
    const char16_t* phrase;
    const char16_t* with;
    bool regExp;
    const char16_t* expected;
  } cases[] = {
      {0, u"t", u"T", false, u"TesT|.TxT"},
      {1, u"t", u"T", false, u"TesT|.txt"},
      {2, u"t", u"T", false, u"test|.TxT"},
      {2, u".", u"_", false, u"test|_txt"},  // the dot is searched too
      {0, u"t.t", u"X", false, u"test|.txt"},  // never across the dot
      {1, u"*", u"all", false, u"all|.txt"},
      {1, u"", u"X", false, u"test|.txt"},
      {1, u"e?t", u"-", false, u"t-|.txt"},
      {0, u"t$", u"T", true, u"tesT|.txT"},
      {1, u"(e)(s)", u"$2$1", true, u"tset|.txt"},
      {1, u"x*", u"-", true, u"-t-e-s-t-|.txt"},
      {1, u"[", u"-", true, u"test|.txt"},  // invalid: unchanged
  };
  for (const Case& c : cases) {
    TScriptStepReplaceNameExtension step;
    step.SetChoice(step.cbxReplaceTarget, c.target);
    step.SetText(step.txtReplacePhrase, c.phrase);
    step.SetText(step.txtReplaceWith, c.with);
    EXPECT_EQ(Narrow(RunStep(step, u"test", u".txt", c.regExp)), Narrow(c.expected))
        << "target " << c.target << " phrase '" << Narrow(c.phrase) << "' regexp " << c.regExp;
  }
}

TEST(TScriptStepReplaceNameExtensionTest, OnlyInCharactersXThroughY) {
  struct Case {
    const char16_t* x;
    const char16_t* y;
    const char16_t* phrase;
    const char16_t* expected;
  } cases[] = {
      {u"1", u"3", u"a", u"XXXaaa|.a"},
      {u"3", u"4", u"a", u"aaXXaa|.a"},
      {u"5", u"99", u"a", u"aaaaXX|.a"},  // Y past the end stops at the end
      {u"0", u"2", u"a", u"XXaaaa|.a"},  // X below 1 counts from the first
      {u"-2147483648", u"2147483647", u"a", u"XXXXXX|.a"},
      {u"4", u"3", u"a", u"aaaaaa|.a"},  // no characters: nothing found
      {u"4", u"3", u"*", u"aaaXaaa|.a"},  // ... but "*" puts its text at X
      {u"4", u"1", u"*", u"aaaXaaa|.a"},  // Y far below X: the same
      {u"9", u"12", u"*", u"aaaaaaX|.a"},  // X past the end: at the end
      {u"", u"", u"a", u"Xaaaaa|.a"},  // integer rule: 1 and 1
      {u"2", u"4", u"*", u"aXaa|.a"},
  };
  for (const Case& c : cases) {
    TScriptStepReplaceNameExtension step;
    step.SetFlag(step.cbReplaceOnly, true);
    step.SetChoice(step.cbxReplaceTarget, 2);  // not used in this mode
    step.SetText(step.txtRP2X, c.x);
    step.SetText(step.txtRP2Y, c.y);
    step.SetText(step.txtReplacePhrase, c.phrase);
    step.SetText(step.txtReplaceWith, u"X");
    EXPECT_EQ(Narrow(RunStep(step, u"aaaaaa", u".a")), Narrow(c.expected))
        << "X '" << Narrow(c.x) << "' Y '" << Narrow(c.y) << "' phrase '" << Narrow(c.phrase)
        << "'";
  }
}

TEST(TScriptStepReplaceNameExtensionTest, FindAndReplaceCountsChangedEntries) {
  TScriptTestContext t;
  TScriptStepReplaceNameExtension step;
  step.SetText(step.txtReplacePhrase, u"a");
  step.SetText(step.txtReplaceWith, u"?n02?");
  RenameRecord rec = TestRecord(u"a.txt");
  rec.selectedposition = 8;
  rec.changedcount = 5;
  std::u16string name = u"a", ext = u".txt";
  step.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(Narrow(name), "05");
  EXPECT_EQ(rec.selectedposition, 5);
}

TEST(TScriptStepReplaceNameExtensionTest, SentenceFollowsTheChoices) {
  TScriptStepReplaceNameExtension step;
  step.SetText(step.txtReplacePhrase, u"a");
  step.SetText(step.txtReplaceWith, u"b");
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Find and Replace 'a' with 'b'");
  step.SetFlag(step.cbReplaceOnly, true);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Find and Replace 'a' with 'b' only in characters '1' thru '10'");
  step.SetChoice(step.cbxReplacePart, 0);
  step.SetFlag(step.cbReplaceOnly, false);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Replace entire Name with 'b'");
  step.Reset();
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Find and Replace '' with ''");
}

// --- TYPE 4 ---------------------------------------------------------------

TEST(TScriptStepReplaceCharactersTest, ChangesNothing) {
  TScriptStepReplaceCharacters step;
  step.SetText(step.txtReplaceChar1, u"abc");
  step.SetText(step.txtReplaceChar2, u"xyz");
  EXPECT_EQ(Narrow(RunStep(step, u"abc", u".abc")), "abc|.abc");
  EXPECT_TRUE(step.GetSentence().empty());
}

// --- TYPE 5 ---------------------------------------------------------------

TEST(TScriptStepReplaceNumbersTest, ReplacesTheDigitRunAtTheChosenEnd) {
  struct Case {
    int side;
    const char16_t* name;
    const char16_t* expected;
  } cases[] = {
      {0, u"track12", u"trackx"}, {0, u"track", u"track"},  {0, u"2001", u"x"},
      {0, u"12a", u"12a"},        {1, u"12a3", u"xa3"},     {1, u"a12", u"a12"},
      {0, u"", u""},              {0, u"\x0663" u"1", u"\x0663x"},  // ASCII digits only
  };
  for (const Case& c : cases) {
    TScriptStepReplaceNumbers step;
    step.SetChoice(step.cbxNumbers, c.side);
    step.SetText(step.txtRNWith, u"x");
    EXPECT_EQ(Narrow(RunStep(step, c.name, u".7")), Narrow(std::u16string(c.expected) + u"|.7"))
        << "name '" << Narrow(c.name) << "' side " << c.side;
  }
}

TEST(TScriptStepReplaceNumbersTest, SequenceNumbersAreSharedAcrossThePass) {
  TScriptTestContext t;
  TScriptStepReplaceNumbers step;
  step.SetChoice(step.cbxNumbers, 1);
  step.SetChoice(step.cbxRNSequence, 0);
  const char16_t* names[] = {u"02 - a", u"02 - b", u"05 - a", u"2 - c", u"0005x"};
  const char* expected[] = {"01 - a", "01 - b", "02 - a", "3 - c", "0004x"};
  for (size_t i = 0; i < std::size(names); ++i) {
    RenameRecord rec = TestRecord(names[i]);
    std::u16string name = names[i], ext;
    step.Execute(name, ext, rec, t.ctx);
    EXPECT_EQ(Narrow(name), expected[i]) << "name '" << Narrow(names[i]) << "'";
  }
}

TEST(TScriptStepReplaceNumbersTest, SentenceShowsPhraseOnlyForThePhrase) {
  TScriptStepReplaceNumbers step;
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Replace numbers on the Right of the name with  the Phrase '?n02?'");
  step.SetChoice(step.cbxRNSequence, 0);
  step.SetChoice(step.cbxNumbers, 1);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Replace numbers on the Left of the name with  a sequence number");
}

// --- TYPE 16 --------------------------------------------------------------

TEST(TScriptStepSwapTest, SwapsAroundTheFirstOccurrence) {
  struct Case {
    const char16_t* phrase;
    bool trim;
    const char16_t* name;
    const char16_t* expected;
  } cases[] = {
      {u"-", true, u"Artist - Song", u"Song-Artist"},
      {u" - ", true, u"Artist - Song", u"Song - Artist"},
      {u"-", false, u"Artist - Song", u" Song-Artist "},
      {u"-", true, u"abc", u"abc"},  // not found
      {u"-", true, u"abc-", u"abc-"},  // nothing after it
      {u"-", true, u"-abc", u"abc-"},  // nothing before it is fine
      {u"-", true, u"a-b-c", u"b-c-a"},  // the first occurrence
      {u"", true, u"a-b", u"a-b"},
      {u"X", true, u"axb", u"axb"},  // exact case
      {u"?", true, u"a?b", u"b?a"},  // literal, not a pattern
  };
  for (const Case& c : cases) {
    TScriptStepSwap step;
    step.SetText(step.txtSPhrase, c.phrase);
    step.SetFlag(step.cbSTrim, c.trim);
    EXPECT_EQ(Narrow(RunStep(step, c.name, u".e")), Narrow(std::u16string(c.expected) + u"|.e"))
        << "phrase '" << Narrow(c.phrase) << "' name '" << Narrow(c.name) << "'";
  }
}

TEST(TScriptStepSwapTest, Sentence) {
  TScriptStepSwap step;
  step.SetText(step.txtSPhrase, u"-");
  step.SetFlag(step.cbSTrim, false);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Swap Around '-' and trim whitespace ");
}

// --- TYPE 17 --------------------------------------------------------------

struct TEditCase {
  const char16_t* name;
  const char16_t* p1;
  int from;  // -1: no "replace" part
  const char16_t* x;
  const char16_t* n;
  const char16_t* with;
  bool regExp;
  const char16_t* expected;
};

std::u16string RunEdit(const TEditCase& c) {
  TScriptStepFindAndEdit step;
  step.SetText(step.txtFEPhrase1, c.p1);
  step.SetFlag(step.cbFEFromThe, c.from >= 0);
  step.SetChoice(step.cbxFEBeginningEnding, c.from);
  step.SetText(step.txtFEX1, c.x);
  step.SetText(step.txtFEY1, c.n);
  step.SetText(step.txtFEPhrase2, c.with);
  return RunStep(step, c.name, u".S06E01", c.regExp);
}

TEST(TScriptStepFindAndEditTest, ReplacesAtPositionInEveryFoundText) {
  const TEditCase cases[] = {
      {u"Title S06E01", u"S06E??", 0, u"4", u"0", u"-", false, u"Title S06-E01"},
      {u"S06E01", u"S06E??", 1, u"1", u"2", u"XY", false, u"S06EXY"},
      {u"S06E01", u"S06E??", 1, u"3", u"2", u"XY", false, u"S0XY01"},
      {u"S01E01 S02E02", u"S??E??", 0, u"1", u"1", u"s", false, u"s01E01 s02E02"},
      {u"ab ab ab", u"ab", 1, u"1", u"0", u"!", false, u"ab! ab! ab!"},
      {u"S06E01", u"s06", 0, u"1", u"1", u"x", false, u"x06E01"},  // wildcards ignore case
      {u"S06E01", u"s06", 0, u"1", u"1", u"x", true, u"S06E01"},  // expressions do not
      {u"a1b22c333", u"\\d+", 1, u"1", u"0", u"#", true, u"a1#b22#c333#"},
      {u"abc", u"x", 0, u"1", u"1", u"-", false, u"abc"},  // no match
      {u"abc", u"", 0, u"1", u"1", u"-", false, u"abc"},  // empty pattern
      {u"abc", u"", 0, u"1", u"1", u"-", true, u"abc"},  // only empty matches
      {u"ab12", u"\\d*", 0, u"1", u"0", u"#", true, u"ab#12"},  // empty matches skipped
      {u"abc", u"(", 0, u"1", u"1", u"-", true, u"abc"},  // invalid expression
      {u"abc", u"b", -1, u"1", u"1", u"-", false, u"abc"},  // nothing to do
  };
  for (const TEditCase& c : cases) {
    EXPECT_EQ(Narrow(RunEdit(c)), Narrow(std::u16string(c.expected) + u"|.S06E01"))
        << "name '" << Narrow(c.name) << "' P1 '" << Narrow(c.p1) << "'";
  }
}

TEST(TScriptStepFindAndEditTest, PositionsOutsideTheFoundText) {
  // The found text is "abcd" throughout.
  const TEditCase cases[] = {
      {u"abcd", u"abcd", 0, u"0", u"2", u"X", false, u"Xabcd"},  // X below 1: start
      {u"abcd", u"abcd", 0, u"-5", u"9", u"X", false, u"Xabcd"},
      {u"abcd", u"abcd", 0, u"5", u"2", u"X", false, u"abcdX"},  // past the end: append
      {u"abcd", u"abcd", 0, u"3", u"99", u"X", false, u"abX"},  // count stops at the end
      {u"abcd", u"abcd", 0, u"2", u"-3", u"X", false, u"aXbcd"},  // negative count: none
      {u"abcd", u"abcd", 0, u"", u"", u"X", false, u"Xabcd"},  // defaults 1 and 0
      {u"abcd", u"abcd", 1, u"0", u"2", u"X", false, u"abcdX"},  // X = 0 from the Ending
      {u"abcd", u"abcd", 1, u"-2147483648", u"2", u"X", false, u"abcdX"},
      {u"abcd", u"abcd", 1, u"5", u"2", u"X", false, u"Xabcd"},  // X = length + 1
      {u"abcd", u"abcd", 1, u"6", u"2", u"X", false, u"Xabcd"},  // beyond: start
      {u"abcd", u"abcd", 1, u"2147483647", u"2", u"X", false, u"Xabcd"},
      {u"abcd", u"abcd", 1, u"2", u"9", u"X", false, u"Xd"},  // N > X' - 1
      {u"abcd", u"abcd", 1, u"2", u"-1", u"X", false, u"abcXd"},  // negative count: none
      {u"abcd", u"abcd", 1, u"1", u"2147483647", u"X", false, u"X"},
      {u"abcd", u"abcd", 0, u"2147483647", u"2147483647", u"X", false, u"abcdX"},
  };
  for (const TEditCase& c : cases) {
    EXPECT_EQ(Narrow(RunEdit(c)), Narrow(std::u16string(c.expected) + u"|.S06E01"))
        << "from " << c.from << " X '" << Narrow(c.x) << "' N '" << Narrow(c.n) << "'";
  }
}

TEST(TScriptStepFindAndEditTest, InsertsAtTheSecondPattern) {
  struct Case {
    int place;
    const char16_t* p4;
    bool regExp;
    const char16_t* expected;
  } cases[] = {
      {0, u"E", false, u"x S06[E01 y S07[E02"},
      {1, u"E", false, u"x S06E[01 y S07E[02"},
      {2, u"E", false, u"x S06[01 y S07[02"},
      {2, u"E0?", false, u"x S06[ y S07["},
      {0, u"Q", false, u"x S06E01 y S07E02"},  // not found in the found text
      {0, u"", false, u"x S06E01 y S07E02"},  // empty pattern: nothing
      {0, u"", true, u"x S06E01 y S07E02"},
      {0, u"(?=E)", true, u"x S06[E01 y S07[E02"},  // an empty match is a place
      {1, u"$", true, u"x S06E01[ y S07E02["},
      {2, u"\\d+$", true, u"x S06E[ y S07E["},
      {7, u"E", false, u"x S06E01 y S07E02"},  // a stored choice outside the list
  };
  for (const Case& c : cases) {
    TScriptStepFindAndEdit step;
    step.SetText(step.txtFEPhrase1, c.regExp ? u"S\\d\\dE\\d\\d" : u"S??E??");
    step.SetFlag(step.cbFEInsert, true);
    step.SetText(step.txtFEPhrase3, u"[");
    step.SetChoice(step.cbxFEBeforeAFter, c.place);
    step.SetText(step.txtFEPhrase4, c.p4);
    EXPECT_EQ(Narrow(RunStep(step, u"x S06E01 y S07E02", u".e", c.regExp)),
              Narrow(std::u16string(c.expected) + u"|.e"))
        << "place " << c.place << " P4 '" << Narrow(c.p4) << "' regexp " << c.regExp;
  }
}

TEST(TScriptStepFindAndEditTest, InsertWorksOnTheEditedTextAndCountsChangedEntries) {
  TScriptTestContext t;
  TScriptStepFindAndEdit step;
  step.SetText(step.txtFEPhrase1, u"S06");
  step.SetFlag(step.cbFEFromThe, true);
  step.SetChoice(step.cbxFEBeginningEnding, 1);
  step.SetText(step.txtFEX1, u"1");
  step.SetText(step.txtFEY1, u"0");
  step.SetText(step.txtFEPhrase2, u"x");
  step.SetFlag(step.cbFEInsert, true);
  step.SetText(step.txtFEPhrase3, u"?n02?");
  step.SetChoice(step.cbxFEBeforeAFter, 1);
  step.SetText(step.txtFEPhrase4, u"x");
  RenameRecord rec = TestRecord(u"S06E01.mkv");
  rec.changedcount = 7;
  std::u16string name = u"S06E01", ext = u".mkv";
  step.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(Narrow(name), "S06x07E01");
  EXPECT_EQ(rec.selectedposition, 7);
}

TEST(TScriptStepFindAndEditTest, SentenceShowsTheCheckedParts) {
  TScriptStepFindAndEdit step;
  step.SetText(step.txtFEPhrase1, u"S??");
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Find 'S?\?'");
  step.SetFlag(step.cbFEFromThe, true);
  step.SetFlag(step.cbFEInsert, true);
  step.SetChoice(step.cbxFEBeforeAFter, 2);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Find 'S?\?' replace Beginning position '1' length '0' with '' Insert '' Replacing ''");
  step.Reset();
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Find ''");
}

// --- robustness -----------------------------------------------------------

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
  static constexpr char16_t kAlphabet[] = u"aB1.?*- 0()[]$^\\|+{}\xD800\xDC80";
  std::uniform_int_distribution<size_t> length(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, std::size(kAlphabet) - 2);
  std::u16string s(length(rng), u'a');
  for (auto& c : s) c = kAlphabet[pick(rng)];
  return s;
}

std::u16string RandomParameter(std::mt19937& rng) {
  static constexpr const char16_t* kSpecial[] = {
      u"-2147483648", u"2147483647", u"0", u"-1", u"1", u"2", u"",
      u"x*",          u"^",          u"$", u"*",  u"(?=a)", u"a|", u"\\d*"};
  if (rng() % 2) return RandomText(rng, 6);
  return kSpecial[rng() % std::size(kSpecial)];
}

TEST(TScriptStepReplaceTest, RandomParametersNeverHangOrBreak) {
  std::mt19937 rng(77);
  TScriptTestContext t;
  TScriptStepReplaceNameExtension step3;
  TScriptStepReplaceNumbers step5;
  TScriptStepSwap step16;
  TScriptStepFindAndEdit step17;
  TScriptStep* steps[] = {&step3, &step5, &step16, &step17};
  const std::u16string longName = std::u16string(5000, u'a') + std::u16string(5000, u'1');
  for (int round = 0; round < 300; ++round) {
    for (TScriptStep* step : steps) {
      for (int i = 0; i < static_cast<int>(step->Parameters().size()); ++i) {
        switch (step->Parameters()[static_cast<size_t>(i)].kind) {
          case TParamKind::Text: step->SetText(i, RandomParameter(rng)); break;
          case TParamKind::Choice: step->SetChoice(i, static_cast<int>(rng() % 5) - 1); break;
          case TParamKind::Flag: step->SetFlag(i, rng() % 2 == 0); break;
        }
      }
      t.ctx.UseRegExp = rng() % 2 == 0;
      std::u16string name = round < 2 ? longName : RandomText(rng, 300);
      std::u16string ext = u"." + RandomText(rng, 5);
      RenameRecord rec = TestRecord(u"x.y");
      step->Execute(name, ext, rec, t.ctx);
      // Growth is bounded by the parameter texts put in at each place.
      EXPECT_LE(name.size(), 40 * (10000 + 2)) << "kind " << static_cast<int>(step->ScriptType());
      (void)SentenceText(step->GetSentence());
    }
  }
}

}  // namespace
