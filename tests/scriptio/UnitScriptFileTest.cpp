#include "scriptio/UnitScriptFile.h"

#include <gtest/gtest.h>

#include "UnitScriptIoFixture.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"

namespace {

class TScriptFileTest : public ::testing::Test, protected TScriptIoFixture {
 protected:
  TScriptStep& Add(TScriptType type) { return actions.NewScriptControl(type); }
  void SetText(TScriptStep& step, std::u16string_view name, std::u16string_view value) {
    step.SetText(step.FindParameter(name), value);
  }
  // Saves to `path`, then loads `path` into a fresh script and returns it.
  std::vector<std::string> SaveAndLoad(const std::u16string& path) {
    EXPECT_TRUE(SaveToFile(actions, twscript, fs, path).ok());
    TFrmScriptActions loaded;
    EXPECT_TRUE(LoadFromFile(loaded, twscript, fs, path).ok());
    return DescribeScript(loaded);
  }
};

TEST(ScriptFileNameTest, ReplacesTheExtension) {
  const struct {
    std::u16string path, expected;
  } cases[] = {
      {u"/s/a.txt", u"/s/a.twscr"},       {u"/s/a", u"/s/a.twscr"},
      {u"/s/name.old", u"/s/name.twscr"}, {u"/s.d/a", u"/s.d/a.twscr"},
      {u"/s/a.b.c", u"/s/a.b.twscr"},     {u"/s/a.twscr", u"/s/a.twscr"},
      {u"a.", u"a.twscr"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScriptFileName(c.path), c.expected) << Utf16ToUtf8(c.path);
  }
}

TEST_F(TScriptFileTest, WritesTheStepSectionsAndThenTheOptions) {
  SetText(Add(TScriptType::stAddBeginningEnding), u"txtAdd", u"x_");
  ASSERT_TRUE(SaveToFile(actions, twscript, fs, u"/s/a.txt").ok());
  TMyINIFile ini;
  ini.LoadFromBytes(*fs.FileBytes(u"/s/a.twscr"));
  EXPECT_EQ(ini.ReadSections(),
            (std::vector<std::u16string>{u"SCRIPT0", u"Path", u"Filter", u"ScriptOptions",
                                         u"Counting", u"Case", u"Wildcards", u"Text"}));
  const std::string bytes = *fs.FileBytes(u"/s/a.twscr");
  const std::string section =
      Utf16LEWithMark(u"[SCRIPT0]\r\nTYPE_unicode=0\r\nENABLED_unicode=1\r\n"
                      u"cbOnCollision_unicode=0\r\ncbxAddAtThe_unicode=0\r\n"
                      u"cbxAddPart_unicode=0\r\ntxtAdd_unicode=x_\r\n\r\n[Path]");
  EXPECT_EQ(bytes.substr(0, section.size()), section);
}

TEST_F(TScriptFileTest, TextsWithBlanksAndQuotesRoundTrip) {
  const std::u16string texts[] = {u" a ", u"\" x", u"x \"", u"\"q\"", u"\u65e5 \U0001F3B5", u""};
  for (const std::u16string& text : texts) SetText(Add(TScriptType::stAddBeginningEnding), u"txtAdd", text);
  const auto before = DescribeScript(actions);
  EXPECT_EQ(SaveAndLoad(u"/s/q"), before);
}

TEST_F(TScriptFileTest, AnEmptyScriptSavesOnlyTheOptions) {
  ASSERT_TRUE(SaveToFile(actions, twscript, fs, u"/s/empty").ok());
  TMyINIFile ini;
  ini.LoadFromBytes(*fs.FileBytes(u"/s/empty.twscr"));
  EXPECT_FALSE(ini.SectionExists(u"SCRIPT0"));
  Add(TScriptType::stSwap);
  ASSERT_TRUE(LoadFromFile(actions, twscript, fs, u"/s/empty").ok());
  EXPECT_EQ(actions.Count(), 0);
}

TEST_F(TScriptFileTest, AMissingFileChangesNothing) {
  Add(TScriptType::stSwap);
  model.filter = u"*.keep";
  int notified = 0;
  actions.SetChangeListener([&] { ++notified; });
  ASSERT_TRUE(LoadFromFile(actions, twscript, fs, u"/s/none").ok());
  EXPECT_EQ(actions.Count(), 1);
  EXPECT_EQ(model.filter, u"*.keep");
  EXPECT_GT(notified, 0);  // the preview refreshes all the same
}

TEST_F(TScriptFileTest, AnUnreadableFileChangesNothingAndSaysWhy) {
  Add(TScriptType::stSwap);
  fs.AddFolder(u"/s/dir.twscr");
  const TStatus status = LoadFromFile(actions, twscript, fs, u"/s/dir");
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.file(), u"/s/dir.twscr");
  EXPECT_EQ(actions.Count(), 1);
}

TEST_F(TScriptFileTest, AFailedSaveKeepsTheOldFileAndReportsIt) {
  SetText(Add(TScriptType::stAddBeginningEnding), u"txtAdd", u"old");
  ASSERT_TRUE(SaveToFile(actions, twscript, fs, u"/s/a").ok());
  const std::string old = *fs.FileBytes(u"/s/a.twscr");
  SetText(actions.Step(0), u"txtAdd", u"new");
  fs.FailWrites(1);
  const TStatus status = SaveToFile(actions, twscript, fs, u"/s/a");
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.file(), u"/s/a.twscr");
  EXPECT_EQ(*fs.FileBytes(u"/s/a.twscr"), old);
}

TEST_F(TScriptFileTest, LoadingNamesTheScriptAndReadsMissingKeysAsReadingDefaults) {
  // cbSTrim is on in a new step but reads as off when its key is missing.
  fs.AddFile(u"/s/short.twscr", Utf16LEWithMark(u"[SCRIPT0]\r\nTYPE_unicode=16\r\n"
                                                 u"unknownKey_unicode=1\r\n"));
  ASSERT_TRUE(LoadFromFile(actions, twscript, fs, u"/s/short.whatever").ok());
  ASSERT_EQ(actions.Count(), 1);
  EXPECT_TRUE(actions.Step(0).Enabled);
  EXPECT_FALSE(ParamFlag(actions, 0, u"cbSTrim"));
  EXPECT_EQ(ParamText(actions, 0, u"txtSPhrase"), u"");
  EXPECT_EQ(model.scriptName, u"short.twscr");
}

TEST_F(TScriptFileTest, NumericTextsAreBroughtToIntegers) {
  fs.AddFile(u"/s/n.twscr",
             Utf16LEWithMark(u"[SCRIPT0]\r\nTYPE_unicode=8\r\ntxtR3X_unicode=abc\r\n"
                             u"txtR3Y_unicode=\r\ntxtR3Z_unicode=500\r\n"
                             u"[SCRIPT1]\r\nTYPE_unicode=17\r\ntxtFEX1_unicode=x\r\n"
                             u"txtFEY1_unicode=x\r\n"
                             u"[SCRIPT2]\r\nTYPE_unicode=12\r\ntxtCE1_unicode=x\r\n"));
  ASSERT_TRUE(LoadFromFile(actions, twscript, fs, u"/s/n").ok());
  ASSERT_EQ(actions.Count(), 3);
  EXPECT_EQ(ParamText(actions, 0, u"txtR3X"), u"1");
  EXPECT_EQ(ParamText(actions, 0, u"txtR3Y"), u"10");
  EXPECT_EQ(ParamText(actions, 0, u"txtR3Z"), u"500");  // not clamped to the spin range
  EXPECT_EQ(ParamText(actions, 1, u"txtFEX1"), u"1");
  EXPECT_EQ(ParamText(actions, 1, u"txtFEY1"), u"0");
  EXPECT_EQ(ParamText(actions, 2, u"txtCE1"), u"x");  // not one of the numeric texts
}

TEST_F(TScriptFileTest, DefaultScriptWithTenOrMoreEnabledStepsLoadsDisabled) {
  const struct {
    std::u16string name;
    int steps;
    bool oneDisabled;
    bool expectEnabled;
  } cases[] = {
      {u"/app/default.twscr", 12, false, false}, {u"/app/DEFAULT.TWSCR", 10, false, false},
      {u"/app/default.twscr", 9, false, true},   {u"/app/default.twscr", 12, true, true},
      {u"/app/other.twscr", 12, false, true},
  };
  for (const auto& c : cases) {
    TFrmScriptActions script;
    for (int i = 0; i < c.steps; ++i) script.NewScriptControl(TScriptType::stSwap, c.oneDisabled && i == 3);
    ASSERT_TRUE(SaveToFile(script, twscript, fs, c.name).ok());
    ASSERT_TRUE(LoadFromFile(actions, twscript, fs, c.name).ok());
    ASSERT_EQ(actions.Count(), c.steps);
    EXPECT_EQ(actions.Step(0).Enabled, c.expectEnabled)
        << Utf16ToUtf8(c.name) << " with " << c.steps << " steps";
  }
}

TEST_F(TScriptFileTest, EveryKindRoundTripsWithChangedValues) {
  for (int type = 0; type < kScriptTypeCount; ++type) {
    TScriptStep& step = Add(static_cast<TScriptType>(type));
    step.Enabled = type % 3 != 0;
    const auto params = step.Parameters();
    for (int p = 0; p < static_cast<int>(params.size()); ++p) {
      switch (params[static_cast<size_t>(p)].kind) {
        case TParamKind::Text: step.SetText(p, IntToStr(type * 100 + p)); break;
        case TParamKind::Choice: step.SetChoice(p, 1); break;
        case TParamKind::Flag: step.SetFlag(p, !step.Flag(p)); break;
      }
    }
  }
  const auto before = DescribeScript(actions);
  EXPECT_EQ(SaveAndLoad(u"/s/kinds"), before);
}

}  // namespace
