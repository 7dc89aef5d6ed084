#include "engine/UnitScriptStepAdd.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"

namespace {

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }


// --- TYPE 0 ---------------------------------------------------------------

TEST(TScriptStepAddBeginningEndingTest, AddsToNameOrExtensionAtEitherEnd) {
  struct Case {
    int part, place;
    const char16_t* expected;
  } cases[] = {
      {0, 0, u"x_file|.txt"},
      {0, 1, u"filex_|.txt"},
      {1, 0, u"file|.x_txt"},  // right after the dot
      {1, 1, u"file|.txtx_"},
  };
  for (const Case& c : cases) {
    TScriptStepAddBeginningEnding step;
    step.SetText(step.txtAdd, u"x_");
    step.SetChoice(step.cbxAddPart, c.part);
    step.SetChoice(step.cbxAddAtThe, c.place);
    EXPECT_EQ(Narrow(RunStep(step, u"file", u".txt")), Narrow(c.expected))
        << "part " << c.part << " place " << c.place;
  }
}

TEST(TScriptStepAddBeginningEndingTest, EmptyExtensionGetsTheTextWithoutDot) {
  TScriptStepAddBeginningEnding step;
  step.SetText(step.txtAdd, u"x");
  step.SetChoice(step.cbxAddPart, 1);
  EXPECT_EQ(Narrow(RunStep(step, u"file", u"")), "file|x");
}

TEST(TScriptStepAddBeginningEndingTest, OnlyOnCollisionLeavesExecuteWithoutChange) {
  TScriptStepAddBeginningEnding step;
  step.SetText(step.txtAdd, u" (?n02?)");
  step.SetFlag(step.cbOnCollision, true);
  EXPECT_EQ(Narrow(RunStep(step, u"file", u".txt")), "file|.txt");
}

TEST(TScriptStepAddBeginningEndingTest, ExpandsCounterPerEntry) {
  TScriptTestContext t;
  TScriptStepAddBeginningEnding step;
  step.SetText(step.txtAdd, u"?n02? - ");
  RenameRecord rec = TestRecord(u"holiday.jpg");
  rec.selectedposition = 3;
  std::u16string name = u"holiday", ext = u".jpg";
  step.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(Narrow(name), "03 - holiday");
}

TEST(TScriptStepAddBeginningEndingTest, SentenceAndReset) {
  TScriptStepAddBeginningEnding step;
  step.SetText(step.txtAdd, u"x_");
  step.SetChoice(step.cbxAddPart, 1);
  step.SetChoice(step.cbxAddAtThe, 1);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Add 'x_' to the Extension Ending");
  step.SetFlag(step.cbOnCollision, true);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Add 'x_' to the Extension Ending Only on a name collision");
  step.Reset();
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Add '' to the Extension Beginning");
}

// --- TYPE 1 ---------------------------------------------------------------

TEST(TScriptStepAddPositionTest, InsertsAtPositionCountedFromEitherEnd) {
  struct Case {
    int part, from;
    const char16_t* position;
    const char16_t* expected;
  } cases[] = {
      {0, 1, u"2", u"abc-d|.txt"},
      {0, 1, u"1", u"abcd-|.txt"},
      {0, 1, u"4", u"a-bcd|.txt"},
      {0, 1, u"5", u"-abcd|.txt"},
      {0, 1, u"99", u"-abcd|.txt"},
      {0, 1, u"0", u"abcd-|.txt"},
      {0, 0, u"9", u"abcd-|.txt"},
      {0, 0, u"1", u"-abcd|.txt"},
      {0, 0, u"3", u"ab-cd|.txt"},
      {0, 0, u"0", u"-abcd|.txt"},
      {0, 0, u"-5", u"-abcd|.txt"},
      {0, 0, u"", u"-abcd|.txt"},  // integer rule: default 1
      {0, 0, u"abc", u"-abcd|.txt"},
      {1, 0, u"1", u"abcd|.-txt"},
      {1, 1, u"2", u"abcd|.tx-t"},
      {1, 0, u"0", u"abcd|-.txt"},  // 0 + 1 = 1: before the dot
      {1, 1, u"1", u"abcd|.txt-"},
      {1, 0, u"2147483647", u"abcd|.txt-"},
      {1, 1, u"-2147483648", u"abcd|.txt-"},
      {0, 1, u"2147483647", u"-abcd|.txt"},
      {0, 0, u"-2147483648", u"-abcd|.txt"},
  };
  for (const Case& c : cases) {
    TScriptStepAddPosition step;
    step.SetText(step.txtAdd, u"-");
    step.SetChoice(step.cbxAddPart, c.part);
    step.SetChoice(step.cbxFromTheBeginningEnding, c.from);
    step.SetText(step.txtAddPosition, c.position);
    EXPECT_EQ(Narrow(RunStep(step, u"abcd", u".txt")), Narrow(c.expected))
        << "part " << c.part << " from " << c.from << " position '" << Narrow(c.position)
        << "'";
  }
}

TEST(TScriptStepAddPositionTest, InsertsTheTextAnEarlierStepStored) {
  TScriptTestContext t;
  t.vars.SetTempText(u"removed");
  TScriptStepAddPosition step;
  step.SetText(step.txtAdd, u"[?temp?]");
  step.SetText(step.txtAddPosition, u"2");
  RenameRecord rec = TestRecord(u"ab.txt");
  std::u16string name = u"ab", ext = u".txt";
  step.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(Narrow(name), "a[removed]b");
}

TEST(TScriptStepAddPositionTest, SentenceAndResetKeepTextAndPart) {
  TScriptStepAddPosition step;
  step.SetText(step.txtAdd, u"-");
  step.SetChoice(step.cbxAddPart, 1);
  step.SetText(step.txtAddPosition, u"7");
  step.SetChoice(step.cbxFromTheBeginningEnding, 1);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Add '-' to the Extension at character position '7'");
  step.Reset();
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Add '-' to the Extension at character position '1'");
  EXPECT_EQ(step.Choice(step.cbxFromTheBeginningEnding), 0);
}

// --- TYPE 2 ---------------------------------------------------------------

TEST(TScriptStepAddBeforeAfterTest, InsertsAtFirstMatchOfThePhrase) {
  struct Case {
    int place;
    const char16_t* phrase;
    bool regExp;
    const char16_t* expected;
  } cases[] = {
      {1, u"cd", false, u"ab[cde|.cd"},
      {0, u"cd", false, u"abcd[e|.cd"},
      {0, u"CD", false, u"abcd[e|.cd"},  // wildcards ignore case
      {0, u"CD", true, u"abcde|.cd"},  // regular expressions do not
      {0, u"c?", false, u"abcd[e|.cd"},
      {0, u"[a-c]+", true, u"abc[de|.cd"},
      {1, u"e", false, u"abcd[e|.cd"},
      {0, u"e", false, u"abcde[|.cd"},
      {0, u"xy", false, u"abcde|.cd"},  // not found
      {0, u"", false, u"abcde|.cd"},  // empty phrase
      {0, u"(", true, u"abcde|.cd"},  // invalid expression
      {1, u"^", true, u"[abcde|.cd"},  // an empty match is a place
      {0, u"$", true, u"abcde[|.cd"},
  };
  for (const Case& c : cases) {
    TScriptStepAddBeforeAfter step;
    step.SetText(step.txtAdd, u"[");
    step.SetChoice(step.cbxAddPlace, c.place);
    step.SetText(step.txtAfter, c.phrase);
    EXPECT_EQ(Narrow(RunStep(step, u"abcde", u".cd", c.regExp)), Narrow(c.expected))
        << "phrase '" << Narrow(c.phrase) << "' place " << c.place << " regexp " << c.regExp;
  }
}

TEST(TScriptStepAddBeforeAfterTest, ExtensionChoiceStillWorksOnTheName) {
  TScriptStepAddBeforeAfter step;
  step.SetText(step.txtAdd, u"[");
  step.SetChoice(step.cbxAddPart, 1);
  step.SetText(step.txtAfter, u"t");
  EXPECT_EQ(Narrow(RunStep(step, u"test", u".txt")), "t[est|.txt");
}

TEST(TScriptStepAddBeforeAfterTest, CounterCountsChangedEntriesOnlyWhenPhraseIsSet) {
  TScriptTestContext t;
  TScriptStepAddBeforeAfter step;
  step.SetText(step.txtAdd, u"?n01?");
  step.SetText(step.txtAfter, u"b");
  RenameRecord rec = TestRecord(u"abc.txt");
  rec.selectedposition = 9;
  rec.changedcount = 4;
  std::u16string name = u"abc", ext = u".txt";
  step.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(Narrow(name), "ab4c");
  EXPECT_EQ(rec.selectedposition, 4);

  step.SetText(step.txtAfter, u"");
  rec.selectedposition = 9;
  step.Execute(name, ext, rec, t.ctx);
  EXPECT_EQ(rec.selectedposition, 9) << "an empty phrase leaves the step at once";
}

TEST(TScriptStepAddBeforeAfterTest, Sentence) {
  TScriptStepAddBeforeAfter step;
  step.SetText(step.txtAdd, u"[");
  step.SetChoice(step.cbxAddPlace, 1);
  step.SetText(step.txtAfter, u"cd");
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())), "Add '[' to the Name place it Before 'cd'");
}

// --- TYPE 10 --------------------------------------------------------------

TEST(TScriptStepAddCounterTest, PadsTheCounterToTheDigitCount) {
  struct Case {
    const char16_t* digits;
    int place;
    int position;
    const char16_t* expected;
  } cases[] = {
      {u"2", 0, 3, u"03name"},
      {u"3", 1, 3, u"name003"},
      {u"1", 1, 12, u"name12"},
      {u"13", 0, 7, u"0000000000007name"},
      {u"", 0, 5, u"05name"},  // integer rule: default 2
      {u"x", 0, 5, u"05name"},
      {u"0", 0, 5, u"5name"},  // clamped to the spin range 1..13
      {u"-7", 0, 5, u"5name"},
      {u"99", 0, 5, u"0000000000005name"},
      {u"2147483648", 0, 5, u"05name"},  // overflow is unreadable
  };
  for (const Case& c : cases) {
    TScriptTestContext t;
    TScriptStepAddCounter step;
    step.SetText(step.txtAZeros, c.digits);
    step.SetChoice(step.cbxBeginningEnding, c.place);
    RenameRecord rec = TestRecord(u"name.txt");
    rec.selectedposition = c.position;
    std::u16string name = u"name", ext = u".txt";
    step.Execute(name, ext, rec, t.ctx);
    EXPECT_EQ(Narrow(name), Narrow(c.expected)) << "digits '" << Narrow(c.digits) << "'";
    EXPECT_EQ(Narrow(ext), ".txt");
  }
}

TEST(TScriptStepAddCounterTest, ResetRestoresTheSpinValue) {
  TScriptStepAddCounter step;
  step.SetText(step.txtAZeros, u"9");
  step.SetChoice(step.cbxBeginningEnding, 1);
  EXPECT_EQ(step.AUDZeros, 9);
  EXPECT_EQ(Narrow(SentenceText(step.GetSentence())),
            "Add a counter,  padded to  '9' digits, to the Ending of the name.");
  step.Reset();
  EXPECT_EQ(step.AUDZeros, 2);
  EXPECT_EQ(Narrow(step.Text(step.txtAZeros)), "2");
  EXPECT_EQ(step.Choice(step.cbxBeginningEnding), 0);
}

// --- robustness -----------------------------------------------------------

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
  static constexpr char16_t kAlphabet[] = u"ab.?*-_ 09()[]$^\\|+{}\xD800\xDC80";
  std::uniform_int_distribution<size_t> length(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, std::size(kAlphabet) - 2);
  std::u16string s(length(rng), u'a');
  for (auto& c : s) c = kAlphabet[pick(rng)];
  return s;
}

std::u16string RandomNumber(std::mt19937& rng) {
  static constexpr const char16_t* kNumbers[] = {u"-2147483648", u"2147483647", u"0", u"-1",
                                                 u"1", u"3", u"300", u"", u"x", u"99999999999"};
  std::uniform_int_distribution<size_t> pick(0, std::size(kNumbers) - 1);
  return kNumbers[pick(rng)];
}

TEST(TScriptStepAddTest, RandomParametersNeverBreakTheName) {
  std::mt19937 rng(20240611);
  TScriptTestContext t;
  TScriptStepAddBeginningEnding add0;
  TScriptStepAddPosition add1;
  TScriptStepAddBeforeAfter add2;
  TScriptStepAddCounter add10;
  TScriptStep* steps[] = {&add0, &add1, &add2, &add10};
  const std::u16string longName(10000, u'a');
  for (int round = 0; round < 400; ++round) {
    for (TScriptStep* step : steps) {
      for (int i = 0; i < static_cast<int>(step->Parameters().size()); ++i) {
        switch (step->Parameters()[static_cast<size_t>(i)].kind) {
          case TParamKind::Text:
            step->SetText(i, rng() % 2 ? RandomNumber(rng) : RandomText(rng, 8));
            break;
          case TParamKind::Choice: step->SetChoice(i, static_cast<int>(rng() % 4) - 1); break;
          case TParamKind::Flag: step->SetFlag(i, rng() % 2 == 0); break;
        }
      }
      t.ctx.UseRegExp = rng() % 2 == 0;
      std::u16string name = round == 0 ? longName : RandomText(rng, 300);
      std::u16string ext = rng() % 3 ? u"." + RandomText(rng, 5) : u"";
      const size_t before = name.size() + ext.size();
      RenameRecord rec = TestRecord(u"x.y");
      step->Execute(name, ext, rec, t.ctx);
      // Adding never removes: at most the parameter texts (expanded) come in.
      EXPECT_GE(name.size() + ext.size(), before);
      EXPECT_LE(name.size() + ext.size(), before + 200);
    }
  }
}

}  // namespace
