#include "engine/UnitScriptStepMove.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"

namespace {

using TSplit = TScriptStepSplitAndMove;
using TSM = TScriptStepSelectAndMove;

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

std::u16string ApplyIn(TScriptTestContext& t, TScriptStep& step, std::u16string name,
                     std::u16string ext, RenameRecord& rec) {
  step.Execute(name, ext, rec, t.ctx);
  return name + u"|" + ext;
}

std::u16string Apply(TScriptStep& step, std::u16string name, std::u16string ext = u".txt",
                   bool regExp = false) {
  TScriptTestContext t;
  t.ctx.UseRegExp = regExp;
  RenameRecord rec = TestRecord(name + ext);
  return ApplyIn(t, step, std::move(name), std::move(ext), rec);
}

// --- TYPE 14 Split and Move ------------------------------------------------

TEST(TScriptStepSplitAndMoveTest, MaskAndForm) {
  struct Case {
    const char16_t* mask;
    const char16_t* form;
    const char16_t* name;
    const char16_t* ext;
    const char16_t* expected;
  } cases[] = {
      {u"[0-9] - *.mp3", u"$2 - $1.mp3", u"01 - Them Bones", u".mp3", u"Them Bones - 01|.mp3"},
      {u"", u"$1", u"abc", u".txt", u"abc|.txt"},
      {u"*.txt", u"", u"abc", u".txt", u"abc|.txt"},
      {u"[0-9]-*.mp3", u"$2", u"01 - Them Bones", u".mp3", u"01 - Them Bones|.mp3"},
      {u"b", u"x", u"abc", u".txt", u"abc|.txt"},          // must match the whole name
      {u"*.txt", u"$1", u"a.b", u".txt", u"a|.b"},         // split again at the last dot
      {u"*.txt", u"[$1]", u"abc", u".txt", u"[abc]|"},     // no dot: no extension
      {u"z*", u"x", u"a.b", u"", u"a.b|"},                  // no match: split kept
      {u"[a-z][0-9].*", u"$2$1.$3", u"ab12", u".txt", u"12ab|.txt"},
      {u"*.MP3", u"$1.x", u"abc", u".mp3", u"abc|.mp3"},   // case-sensitive
      {u"(*).txt", u"$1.txt", u"(ab)", u".txt", u"ab|.txt"},  // special characters literal
      {u"[0-9]x{2}", u"$1", u"1xx", u"", u"1|"},               // braces are not escaped
      {u"a{2,1}*", u"$1", u"aa", u"", u"aa|"},                 // invalid expression
      {u"*.txt", u"?n02?-$1.txt", u"abc", u".txt", u"01-abc|.txt"},
  };
  for (const Case& c : cases) {
    TSplit step;
    step.SetText(TSplit::txtFilemask, c.mask);
    step.SetText(TSplit::txtMove, c.form);
    EXPECT_EQ(Apply(step, c.name, c.ext), c.expected)
        << Narrow(c.mask) << " -> " << Narrow(c.form) << " on " << Narrow(c.name);
  }
}

TEST(TScriptStepSplitAndMoveTest, SentenceAndReset) {
  TSplit step;
  step.SetText(TSplit::txtFilemask, u"*.mp3");
  step.SetText(TSplit::txtMove, u"$1.mp3");
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Split the name using the filemask '*.mp3' Move the parts using the form '$1.mp3'");
  step.Reset();
  EXPECT_EQ(step.Text(TSplit::txtFilemask), u"");
  EXPECT_EQ(step.Text(TSplit::txtMove), u"");
}

// --- TYPE 15 Select and Move -----------------------------------------------

// A Select and Move step with one radio button of each group on.
TSM& Choose(TSM& step, int selection, int destination) {
  for (const int radio : {TSM::rbSMBeginningEnding, TSM::rbSMBeforeAfter, TSM::rbSMPosition}) {
    step.SetFlag(radio, radio == selection);
  }
  for (const int radio : {TSM::rbSMBeginningEnding2, TSM::rbSMBeforeAfter2, TSM::rbSMPosition2}) {
    step.SetFlag(radio, radio == destination);
  }
  return step;
}

TEST(TScriptStepSelectAndMoveTest, SelectionsAndDestinations) {
  struct Case {
    int selection, selChoice;
    const char16_t* selText;  // count, phrase, or "x-y"
    int destination, destChoice;
    const char16_t* destText;
    const char16_t* name;
    const char16_t* expected;
  } cases[] = {
      {TSM::rbSMBeginningEnding, 1, u"3", TSM::rbSMBeginningEnding2, 0, u"", u"abcdef", u"defabc"},
      {TSM::rbSMBeforeAfter, 0, u"-", TSM::rbSMBeginningEnding2, 1, u"", u"AB-CD", u"-CDAB"},
      {TSM::rbSMPosition, 0, u"1-2", TSM::rbSMBeforeAfter2, 0, u"e", u"abcdef", u"cdabef"},
      {TSM::rbSMPosition, 0, u"1-2", TSM::rbSMBeforeAfter2, 0, u"x", u"abcdef", u"abcdef"},
      {TSM::rbSMBeforeAfter, 1, u"-", TSM::rbSMBeginningEnding2, 0, u"", u"AB-CD", u"CDAB-"},
      {TSM::rbSMBeforeAfter, 2, u"x", TSM::rbSMBeginningEnding2, 1, u"", u"axb", u"abx"},
      {TSM::rbSMBeforeAfter, 2, u"b?", TSM::rbSMBeforeAfter2, 1, u"e", u"abcdef", u"adebcf"},
      {TSM::rbSMBeforeAfter, 0, u"A", TSM::rbSMBeginningEnding2, 1, u"", u"AB", u"AB"},
      {TSM::rbSMBeforeAfter, 0, u"q", TSM::rbSMBeginningEnding2, 1, u"", u"AB", u"AB"},
      {TSM::rbSMBeforeAfter, 0, u"", TSM::rbSMBeginningEnding2, 1, u"", u"AB", u"AB"},
      {TSM::rbSMBeginningEnding, 0, u"2", TSM::rbSMPosition2, 0, u"2", u"abcdef", u"cabdef"},
      {TSM::rbSMBeginningEnding, 0, u"2", TSM::rbSMPosition2, 0, u"-2147483648", u"abcdef",
       u"abcdef"},
      {TSM::rbSMBeginningEnding, 0, u"2", TSM::rbSMPosition2, 0, u"2147483647", u"abcdef",
       u"cdefab"},
      {TSM::rbSMBeginningEnding, 0, u"2", TSM::rbSMPosition2, 0, u"", u"abcdef", u"abcdef"},
      {TSM::rbSMBeginningEnding, 0, u"0", TSM::rbSMBeginningEnding2, 1, u"", u"abc", u"abc"},
      {TSM::rbSMBeginningEnding, 0, u"-1", TSM::rbSMBeginningEnding2, 1, u"", u"abc", u"abc"},
      {TSM::rbSMBeginningEnding, 1, u"2147483647", TSM::rbSMBeginningEnding2, 0, u"", u"abc",
       u"abc"},
      {TSM::rbSMBeginningEnding, 1, u"", TSM::rbSMBeginningEnding2, 0, u"", u"abc", u"abc"},
      {TSM::rbSMPosition, 0, u"4-2", TSM::rbSMBeginningEnding2, 0, u"", u"abcdef", u"abcdef"},
      {TSM::rbSMPosition, 0, u"5-99", TSM::rbSMBeginningEnding2, 0, u"", u"abcdef", u"efabcd"},
      {TSM::rbSMPosition, 0, u"-2147483648-2", TSM::rbSMBeginningEnding2, 1, u"", u"abcdef",
       u"cdefab"},
      {-1, 0, u"", TSM::rbSMBeginningEnding2, 1, u"", u"abc", u"abc"},  // no selection
      {TSM::rbSMBeginningEnding, 0, u"1", -1, 0, u"", u"abc", u"abc"},  // no destination
  };
  for (const Case& c : cases) {
    TSM step;
    Choose(step, c.selection, c.destination);
    step.SetChoice(TSM::cbxSMBeginningEnding, c.selChoice);
    step.SetChoice(TSM::cbxSMBeforeAfter, c.selChoice);
    step.SetText(TSM::txtSMZ1, c.selText);
    step.SetText(TSM::txtSMPhrase, c.selText);
    const std::u16string range = c.selText;
    const size_t dash = range.find(u'-', 1);
    step.SetText(TSM::txtSMX1, range.substr(0, dash));
    step.SetText(TSM::txtSMY1, dash == std::u16string::npos ? u"" : range.substr(dash + 1));
    step.SetChoice(TSM::cbxSMBeginningEnding2, c.destChoice);
    step.SetChoice(TSM::cbxSMBeforeAfter2, c.destChoice);
    step.SetText(TSM::txtSMPhrase2, c.destText);
    step.SetText(TSM::txtSMX2, c.destText);
    EXPECT_EQ(Apply(step, c.name, u".txt"), std::u16string(c.expected) + u"|.txt")
        << c.selection << "/" << c.selChoice << " '" << Narrow(c.selText) << "' to "
        << c.destination << "/" << c.destChoice << " '" << Narrow(c.destText) << "' on "
        << Narrow(c.name);
  }
}

TEST(TScriptStepSelectAndMoveTest, RegularExpressionsAndEmptyMatches) {
  struct Case {
    int choice;
    const char16_t* phrase;
    const char16_t* destPhrase;
    const char16_t* expected;
  } cases[] = {
      {2, u"[0-9]+", u"", u"ab_cd12"},     // Find First, to the Ending
      {2, u"x*", u"", u"12ab_cd"},         // empty selection: unchanged
      {1, u"^", u"", u"12ab_cd"},          // everything after an empty match: the same name
      {0, u"(", u"", u"12ab_cd"},          // invalid expression: not found
      {2, u"[0-9]+", u"x*", u"12ab_cd"},   // empty match of the destination: at the start
      {2, u"[0-9]+", u"_", u"ab12_cd"},
  };
  for (const Case& c : cases) {
    TSM step;
    Choose(step, TSM::rbSMBeforeAfter, *c.destPhrase ? TSM::rbSMBeforeAfter2
                                                     : TSM::rbSMBeginningEnding2);
    step.SetChoice(TSM::cbxSMBeforeAfter, c.choice);
    step.SetText(TSM::txtSMPhrase, c.phrase);
    step.SetChoice(TSM::cbxSMBeginningEnding2, 1);
    step.SetText(TSM::txtSMPhrase2, c.destPhrase);
    EXPECT_EQ(Apply(step, u"12ab_cd", u"", true), std::u16string(c.expected) + u"|")
        << Narrow(c.phrase) << " / " << Narrow(c.destPhrase);
  }
}

TEST(TScriptStepSelectAndMoveTest, SetsSelectedPositionAndExpandsPhrases) {
  TScriptTestContext t;
  TSM step;
  Choose(step, TSM::rbSMBeforeAfter, TSM::rbSMBeforeAfter2);
  step.SetChoice(TSM::cbxSMBeforeAfter, 2);
  step.SetText(TSM::txtSMPhrase, u"?n01?");
  step.SetText(TSM::txtSMPhrase2, u"?n02?");
  RenameRecord rec = TestRecord(u"a3b03.txt");
  rec.selectedposition = 1;
  rec.changedcount = 3;
  EXPECT_EQ(ApplyIn(t, step, u"a3b03", u".txt", rec), u"ab303|.txt");
  EXPECT_EQ(rec.selectedposition, 3);
  // Set even when nothing moves.
  rec.selectedposition = 1;
  EXPECT_EQ(ApplyIn(t, step, u"xyz", u".txt", rec), u"xyz|.txt");
  EXPECT_EQ(rec.selectedposition, 3);
}

TEST(TScriptStepSelectAndMoveTest, FirstRadioOnWinsAndResetChangesNothing) {
  TSM step;
  Choose(step, TSM::rbSMBeginningEnding, TSM::rbSMBeginningEnding2);
  step.SetFlag(TSM::rbSMPosition, true);  // a file may hold two radios on
  step.SetChoice(TSM::cbxSMBeginningEnding2, 1);
  EXPECT_EQ(Apply(step, u"abc"), u"bca|.txt");
  step.Reset();
  EXPECT_TRUE(step.Flag(TSM::rbSMPosition));
  EXPECT_EQ(step.Choice(TSM::cbxSMBeginningEnding2), 1);
}

TEST(TScriptStepSelectAndMoveTest, Sentence) {
  TSM step;
  EXPECT_EQ(SentenceText(step.GetSentence()), u"Select text Before '' Move to Beginning");
  Choose(step, TSM::rbSMBeginningEnding, TSM::rbSMBeforeAfter2);
  step.SetChoice(TSM::cbxSMBeginningEnding, 1);
  step.SetText(TSM::txtSMZ1, u"3");
  step.SetChoice(TSM::cbxSMBeforeAfter2, 1);
  step.SetText(TSM::txtSMPhrase2, u"-");
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Select text Ending characters '3' Move to After '-'");
  Choose(step, TSM::rbSMPosition, TSM::rbSMPosition2);
  EXPECT_EQ(SentenceText(step.GetSentence()),
            u"Select text Position '1' thru '10' Move to Position '1'");
  Choose(step, -1, -1);
  EXPECT_EQ(SentenceText(step.GetSentence()), u"Select text Move to");
}

// --- robustness ----------------------------------------------------------------

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
  static constexpr char16_t kAlphabet[] = u"ab AB01.-_()[]{}*?+^$|\\,0-9a-z\u00e9\xDC80";
  std::uniform_int_distribution<size_t> length(0, maxLength);
  std::uniform_int_distribution<size_t> pick(0, std::size(kAlphabet) - 2);
  std::u16string text(length(rng), u'a');
  for (char16_t& c : text) c = kAlphabet[pick(rng)];
  return text;
}

TEST(TScriptStepMoveTest, RandomParametersNeverCrash) {
  static constexpr const char16_t* kNumbers[] = {u"", u"0", u"1", u"3", u"-1", u"-2147483648",
                                                 u"2147483647", u"junk"};
  std::mt19937 rng(77);
  TScriptTestContext t;
  TSplit split;
  TSM select;
  const std::u16string longName(10000, u'7');
  for (int round = 0; round < 3000; ++round) {
    TScriptStep& step = round % 2 == 0 ? static_cast<TScriptStep&>(split) : select;
    const auto params = step.Parameters();
    for (int i = 0; i < static_cast<int>(params.size()); ++i) {
      const TParamDef& def = params[static_cast<size_t>(i)];
      if (def.kind == TParamKind::Flag) step.SetFlag(i, rng() % 3 == 0);
      if (def.kind == TParamKind::Choice) step.SetChoice(i, static_cast<int>(rng() % 4));
      if (def.kind == TParamKind::Text) {
        step.SetText(i, rng() % 2 == 0 ? kNumbers[rng() % std::size(kNumbers)]
                                       : RandomText(rng, 8));
      }
    }
    t.ctx.UseRegExp = rng() % 2 == 0;
    std::u16string name = round % 500 == 1 ? longName : RandomText(rng, 300);
    std::u16string ext = RandomText(rng, 5);
    const size_t before = name.size();
    RenameRecord rec = TestRecord(name + ext);
    step.Execute(name, ext, rec, t.ctx);
    (void)step.GetSentence();
    // Select and Move only rearranges the name.
    if (&step == &select) {
      ASSERT_EQ(name.size(), before);
    }
  }
}

}  // namespace
