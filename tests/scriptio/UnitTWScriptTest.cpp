#include "scriptio/UnitTWScript.h"

#include <gtest/gtest.h>

#include "UnitScriptIoFixture.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"

namespace {

class TTWScriptTest : public ::testing::Test, protected TScriptIoFixture {
 protected:
  TTWScriptTest() {
    fs.AddFolder(u"/photos/");
    fs.AddFolder(u"/app/");
    model.folder = u"/start/";
  }
  // Loads the option sections from `text` (the lines of a UTF-16 file).
  void Load(std::u16string_view text, bool renameoptions = false) {
    TMyINIFile ini;
    ini.LoadFromBytes(Utf16LEWithMark(text));
    twscript.LoadSettings(ini, renameoptions);
  }
};

TEST_F(TTWScriptTest, CurrentFilesRestoreFolderAndFilterOnlyWhenAsked) {
  const struct {
    const char16_t* text;
    std::u16string folder, filter;
    bool useFilter, usePath;
  } cases[] = {
      {u"[Path]\ncbPath_unicode=/photos/\n[Filter]\ntxtFilter_unicode=*.jpg\n"
       u"[ScriptOptions]\nUseFilter_unicode=1\nUsePath_unicode=1\n",
       u"/photos/", u"*.jpg", true, true},
      {u"[Path]\ncbPath_unicode=/photos/\n[Filter]\ntxtFilter_unicode=*.jpg\n"
       u"[ScriptOptions]\nUseFilter_unicode=0\nUsePath_unicode=0\n",
       u"/start/", u"*.*", false, false},
      // UsePath missing reads as on; an empty path leaves the folder.
      {u"[Path]\ncbPath_unicode=\n[ScriptOptions]\nUseFilter_unicode=1\n",
       u"/start/", u"*.*", true, true},
      // Older plain keys, both 0.
      {u"[Path]\ncbPath=/photos/\n[Filter]\ntxtFilter=*.jpg\n"
       u"[ScriptOptions]\nUseFilter=0\nUsePath=0\n",
       u"/start/", u"*.*", false, false},
      // No UseFilter key: the filter is restored, the folder only with UsePath.
      {u"[Path]\ncbPath=/photos/\n[Filter]\ntxtFilter=*.txt\n", u"/start/", u"*.txt", true, false},
      {u"[Path]\ncbPath=/photos/\n[ScriptOptions]\nUsePath=1\n", u"/photos/", u"*.*", true, true},
      // UsePath without a path: the application folder.
      {u"[ScriptOptions]\nUsePath=1\n", u"/app/", u"*.*", true, true},
      // A folder that does not exist here is not opened.
      {u"[Path]\ncbPath_unicode=C:\\Photos\\\n[ScriptOptions]\nUseFilter_unicode=1\n"
       u"UsePath_unicode=1\n",
       u"/start/", u"*.*", true, true},
  };
  for (const auto& c : cases) {
    model.folder = u"/start/";
    model.filter = u"*.*";
    Load(c.text);
    const std::string label = Utf16ToUtf8(c.text);
    EXPECT_EQ(model.folder, c.folder) << label;
    EXPECT_EQ(model.filter, c.filter) << label;
    EXPECT_EQ(twscript.GetUseFilter(), c.useFilter) << label;
    EXPECT_EQ(twscript.GetUsePath(), c.usePath) << label;
  }
}

TEST_F(TTWScriptTest, TheLastRadioSwitchReadAsOnWins) {
  Load(u"[Case]\nrbCUppercase_unicode=1\nrbCTitleCase_unicode=1\n");
  EXPECT_EQ(model.caseMode, TCaseMode::TitleCase);
  Load(u"[Case]\nrbCUppercase_unicode=0\n");
  EXPECT_EQ(model.caseMode, TCaseMode::None);
  // An unselected switch does not disturb the one already selected.
  model.caseMode = TCaseMode::Lowercase;
  Load(u"[Case]\nrbCUppercase_unicode=0\nrbCLowercase_unicode=0\nrbCCapitalizeWords_unicode=1\n");
  EXPECT_EQ(model.caseMode, TCaseMode::CapitalizeWords);

  Load(u"[Wildcards]\nrbWildcards_unicode=1\nrbRegExp_unicode=1\n");
  EXPECT_TRUE(model.useRegExp);
  Load(u"[Wildcards]\nrbWildcards_unicode=0\nrbRegExp_unicode=0\n");
  EXPECT_FALSE(model.useRegExp);
  Load(u"[Counting]\nrbUsePositionInList_unicode=0\nrbStartCountingAt_unicode=0\n");
  EXPECT_FALSE(model.usePositionInList);
  Load(u"");
  EXPECT_TRUE(model.usePositionInList);
}

TEST_F(TTWScriptTest, NeitherTextModeSelectsBySearch) {
  Load(u"[Text]\nrbTMatch_unicode=0\nrbTFind_unicode=0\n");
  EXPECT_EQ(model.textMatch, TTextMatch::BySearch);
  Load(u"[Text]\nrbTMatch_unicode=1\n");
  EXPECT_EQ(model.textMatch, TTextMatch::ByLineNumber);
}

TEST_F(TTWScriptTest, MissingKeysTakeTheReadDefaults) {
  model.changeCase = true;
  model.textFind = u"custom";
  model.textSkip = u"4";
  Load(u"[Version]\nCurrent_unicode=2.5\n");
  EXPECT_EQ(twscript.version(), u"2.5");
  EXPECT_FALSE(model.changeCase);
  EXPECT_EQ(model.caseMode, TCaseMode::Uppercase);
  EXPECT_EQ(model.startCountingAt, u"");
  EXPECT_EQ(model.textFind, u"?cfn?");
  EXPECT_EQ(model.textDelimiter, u",");
  EXPECT_EQ(model.textSkip, u"0");
  EXPECT_TRUE(model.textSplitFields);
}

TEST_F(TTWScriptTest, SavedOptionsLoadBackUnchanged) {
  model.folder = u"/photos/";
  model.filter = u"*.raw";
  model.usePositionInList = false;
  model.startCountingAt = u"5";
  model.incrementBy = u" 10";
  model.changeCase = true;
  model.caseMode = TCaseMode::CapitalizeSentence;
  model.preserveExtension = model.romanNumerals = model.extraSeparators = true;
  model.separatorChars = u".,";
  model.useRegExp = true;
  model.textFileName = u"/names.csv";
  model.textSkip = u"2";
  model.textSplitFields = false;
  model.textDelimiter = u"TAB";
  model.textMatch = TTextMatch::BySearch;
  model.textFind = u"?cfo?";
  twscript.TogglePath(true);
  twscript.ToggleFilter(true);
  twscript.SetApplicationVersion(u"0.1.0");
  TMyINIFile ini;
  twscript.SaveSettings(ini, false);
  EXPECT_EQ(ini.ReadSections(),
            (std::vector<std::u16string>{u"Path", u"Filter", u"ScriptOptions", u"Version",
                                         u"Counting", u"Case", u"Wildcards", u"Text"}));

  const TMainModel saved = model;
  model = TMainModel();
  twscript.LoadSettings(ini, false);
  EXPECT_EQ(model.folder, saved.folder);
  EXPECT_EQ(model.filter, saved.filter);
  EXPECT_EQ(model.usePositionInList, saved.usePositionInList);
  EXPECT_EQ(model.incrementBy, saved.incrementBy);
  EXPECT_EQ(model.caseMode, saved.caseMode);
  EXPECT_EQ(model.separatorChars, saved.separatorChars);
  EXPECT_TRUE(model.useRegExp && model.preserveExtension && model.romanNumerals);
  EXPECT_EQ(model.textSkip, saved.textSkip);
  EXPECT_EQ(model.textDelimiter, saved.textDelimiter);
  EXPECT_EQ(model.textMatch, saved.textMatch);
  EXPECT_EQ(model.textFind, saved.textFind);
  EXPECT_FALSE(model.textSplitFields);
  EXPECT_EQ(twscript.version(), u"0.1.0");
}

TEST_F(TTWScriptTest, WithoutUsePathThePathIsWrittenEmpty) {
  model.folder = u"/photos/";
  TMyINIFile ini;
  twscript.SaveSettings(ini, false);
  EXPECT_EQ(ini.ReadString(u"Path", u"cbPath", u"-"), u"");
  EXPECT_FALSE(ini.SectionExists(u"Version"));  // no version text known
  EXPECT_FALSE(ini.SectionExists(u"AddTo"));
}

TEST_F(TTWScriptTest, ClassicOptionsRoundTripAndClampPositions) {
  Load(u"[AddTo]\ncbANInsert_unicode=1\nudANPosition_unicode=999\nudAEPosition_unicode=-3\n"
       u"[Replace2]\ntxtR2EverythingX_unicode=7\n"
       u"[Remove2]\nudR2AndMove_unicode=4\n",
       true);
  EXPECT_TRUE(model.classic.cbANInsert);
  EXPECT_EQ(model.classic.udANPosition, 255);
  EXPECT_EQ(model.classic.udAEPosition, 1);
  EXPECT_EQ(model.classic.udRM2X, 1);  // Remove2 is read later and wins
  EXPECT_EQ(model.classic.txtRP2This, u"*");
  EXPECT_EQ(model.classic.txtCollision, u"");

  TMyINIFile ini;
  twscript.SaveSettings(ini, true);
  EXPECT_EQ(ini.ReadSections(),
            (std::vector<std::u16string>{u"Path", u"Filter", u"ScriptOptions", u"AddTo",
                                         u"AddTo2", u"Replace", u"Replace2", u"Remove",
                                         u"Remove2", u"Counting", u"Case", u"Wildcards",
                                         u"Text"}));
  const TClassicOptions saved = model.classic;
  model.classic = TClassicOptions();
  twscript.LoadSettings(ini, true);
  EXPECT_EQ(model.classic.udR2AndMove, 4);
  EXPECT_EQ(model.classic.udANPosition, saved.udANPosition);
  EXPECT_TRUE(model.classic.cbANInsert);
}

TEST_F(TTWScriptTest, SaveSettingsKeepsTheFileAndRefusesAnUnreadableOne) {
  fs.AddFile(u"/s/a.twscr", Utf16LEWithMark(u"[SCRIPT0]\r\nTYPE_unicode=16\r\n"));
  twscript.SetFilename(u"/s/a.twscr");
  ASSERT_TRUE(twscript.SaveSettings(false).ok());
  TMyINIFile ini;
  ASSERT_TRUE(ini.Open(fs, u"/s/a.twscr").ok());
  EXPECT_EQ(ini.ReadInteger(u"SCRIPT0", u"TYPE", -1), 16);
  EXPECT_TRUE(ini.SectionExists(u"Text"));

  fs.AddFolder(u"/s/dir.twscr");
  twscript.SetFilename(u"/s/dir.twscr");
  EXPECT_FALSE(twscript.SaveSettings(false).ok());
  EXPECT_EQ(fs.FileBytes(u"/s/dir.twscr"), nullptr);
}

TEST_F(TTWScriptTest, DefaultExists) {
  EXPECT_FALSE(twscript.DefaultExists());
  fs.AddFile(u"/app/default.tw-", "");
  EXPECT_TRUE(twscript.DefaultExists());
}

}  // namespace
