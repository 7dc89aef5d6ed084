// Script files in the byte forms other systems write (tests/data/scripts, made
// by scripts/make-script-fixtures.py): each loads to the expected steps and
// options, and saving and loading again gives the same script.
#include <gtest/gtest.h>

#include "UnitScriptIoFixture.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"

namespace {

class TScriptCorpusTest : public ::testing::Test, protected TScriptIoFixture {
 protected:
  void LoadFixture(const std::string& name) {
    const std::u16string path = u"/app/" + std::u16string(name.begin(), name.end());
    fs.AddFile(path, ScriptFixtureBytes(name));
    ASSERT_NE(fs.FileBytes(path)->size(), 0u) << name;
    ASSERT_TRUE(LoadFromFile(actions, twscript, fs, path).ok()) << name;
  }
  // Saves the loaded script, loads it into a fresh script and model, and
  // expects the same steps and options.
  void ExpectRoundTrip(const std::string& name) {
    ASSERT_TRUE(SaveToFile(actions, twscript, fs, u"/out/copy").ok());
    TScriptIoFixture again;
    again.fs.AddFile(u"/out/copy.twscr", *fs.FileBytes(u"/out/copy.twscr"));
    ASSERT_TRUE(LoadFromFile(again.actions, again.twscript, again.fs, u"/out/copy").ok());
    EXPECT_EQ(DescribeScript(again.actions), DescribeScript(actions)) << name;
    if (twscript.GetUseFilter()) {
      EXPECT_EQ(again.model.filter, model.filter) << name;
    }
    EXPECT_EQ(again.twscript.GetUseFilter(), twscript.GetUseFilter()) << name;
    EXPECT_EQ(again.model.caseMode, model.caseMode) << name;
    EXPECT_EQ(again.model.useRegExp, model.useRegExp) << name;
    EXPECT_EQ(again.model.textMatch, model.textMatch) << name;
    EXPECT_EQ(again.model.textFind, model.textFind) << name;
    EXPECT_EQ(again.model.startCountingAt, model.startCountingAt) << name;
  }
};

TEST_F(TScriptCorpusTest, EveryKindLoadsWithItsValues) {
  LoadFixture("all-kinds.twscr");
  ASSERT_EQ(actions.Count(), kScriptTypeCount);
  for (int i = 0; i < actions.Count(); ++i) {
    EXPECT_EQ(static_cast<int>(actions.Step(i).ScriptType()), i);
  }
  EXPECT_FALSE(actions.Step(2).Enabled);
  EXPECT_FALSE(actions.Step(13).Enabled);
  EXPECT_EQ(ParamText(actions, 0, u"txtAdd"), u" (?n02?)");  // quoted in the file
  EXPECT_TRUE(ParamFlag(actions, 0, u"cbOnCollision"));
  EXPECT_EQ(ParamText(actions, 2, u"txtAdd"), u"- ");
  EXPECT_EQ(ParamText(actions, 3, u"txtReplaceWith"), u" ");
  EXPECT_EQ(ParamText(actions, 3, u"txtRP2Y"), u"40");
  EXPECT_EQ(ParamText(actions, 4, u"txtReplaceChar1"), u"\u00E4\u00F6\u00FC");
  EXPECT_EQ(ParamText(actions, 7, u"txtRCReplace"), u"\" quoted");
  EXPECT_EQ(ParamText(actions, 9, u"txtRemove2Phrase"), u"ends \"");
  EXPECT_EQ(ParamChoice(actions, 11, u"cbxrePhraseCharacters"), 2);
  EXPECT_EQ(ParamText(actions, 11, u"txtrePhraseCharacters3"), u"\u65E5\u672C");
  EXPECT_EQ(ParamText(actions, 14, u"txtMove"), u"\U0001F3B5 music");
  EXPECT_TRUE(ParamFlag(actions, 15, u"rbSMBeforeAfter2"));
  EXPECT_FALSE(ParamFlag(actions, 16, u"cbSTrim"));
  EXPECT_EQ(ParamText(actions, 17, u"txtFEY1"), u"3");
  EXPECT_EQ(model.filter, u"*.mp3");
  EXPECT_EQ(twscript.version(), u"2.5.1");
  EXPECT_EQ(model.scriptName, u"all-kinds.twscr");
  ExpectRoundTrip("all-kinds.twscr");
}

TEST_F(TScriptCorpusTest, SavingWritesTheSameBytesAsTheOtherSystem) {
  // The fixture keeps its folder out of the file (UsePath 0), so nothing of
  // this machine enters the saved copy.
  LoadFixture("all-kinds.twscr");
  twscript.SetApplicationVersion(u"2.5.1");
  ASSERT_TRUE(SaveToFile(actions, twscript, fs, u"/out/same").ok());
  EXPECT_TRUE(*fs.FileBytes(u"/out/same.twscr") == ScriptFixtureBytes("all-kinds.twscr"));
}

TEST_F(TScriptCorpusTest, OptionsOfAnotherMachine) {
  model.folder = u"/here/";
  LoadFixture("options.twscr");
  EXPECT_EQ(model.folder, u"/here/");  // "C:\Photos\2013\" does not exist here
  EXPECT_TRUE(twscript.GetUsePath());
  EXPECT_EQ(model.filter, u"*.jpg");
  EXPECT_FALSE(model.usePositionInList);
  EXPECT_EQ(model.startCountingAt, u"5");
  EXPECT_EQ(model.incrementBy, u"10");
  EXPECT_TRUE(model.changeCase);
  EXPECT_EQ(model.caseMode, TCaseMode::TitleCase);  // rbCUppercase 1 and rbCTitleCase 1
  EXPECT_TRUE(model.preserveExtension && model.romanNumerals && model.extraSeparators);
  EXPECT_EQ(model.separatorChars, u".,");
  EXPECT_TRUE(model.useRegExp);
  EXPECT_EQ(model.textFileName, u"C:\\names.csv");
  EXPECT_EQ(model.textSkip, u"2");
  EXPECT_FALSE(model.textSplitFields);
  EXPECT_EQ(model.textMatch, TTextMatch::BySearch);  // both modes 0
  EXPECT_EQ(model.textFind, u"?cfo?");
  EXPECT_EQ(model.textDelimiter, u"TAB");
  ExpectRoundTrip("options.twscr");
}

TEST_F(TScriptCorpusTest, PlainKeysOfAnOlderVersion) {
  model.folder = u"/here/";
  model.filter = u"*.keep";
  LoadFixture("plain-keys.twscr");
  EXPECT_EQ(model.folder, u"/here/");  // UsePath 0
  EXPECT_EQ(model.filter, u"*.keep");  // UseFilter 0
  ASSERT_EQ(actions.Count(), 2);
  EXPECT_EQ(ParamText(actions, 0, u"txtReplacePhrase"), u"caf\u00E9 ");
  EXPECT_EQ(ParamText(actions, 0, u"txtReplaceWith"), u"cafe");
  EXPECT_EQ(ParamText(actions, 0, u"txtRP2X"), u"1");
  EXPECT_EQ(ParamText(actions, 0, u"txtRP2Y"), u"10");
  EXPECT_FALSE(actions.Step(1).Enabled);
  EXPECT_EQ(ParamText(actions, 1, u"txtAZeros"), u"3");
  ExpectRoundTrip("plain-keys.twscr");
}

TEST_F(TScriptCorpusTest, TheDefaultScriptRule) {
  LoadFixture("default.twscr");
  ASSERT_EQ(actions.Count(), 12);
  EXPECT_FALSE(actions.AnyEnabled());
  LoadFixture("twelve-steps.twscr");
  ASSERT_EQ(actions.Count(), 12);
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(actions.Step(i).Enabled) << i;
}

TEST_F(TScriptCorpusTest, NoSteps) {
  actions.NewScriptControl(TScriptType::stSwap);
  LoadFixture("no-steps.twscr");
  EXPECT_EQ(actions.Count(), 0);
  EXPECT_EQ(model.filter, u"*.doc");
  ExpectRoundTrip("no-steps.twscr");
}

}  // namespace
