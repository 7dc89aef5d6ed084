#include "cli/UnitDefaultScript.h"

#include <gtest/gtest.h>

#include "engine/UnitScriptActions.h"
#include "model/UnitMainModel.h"
#include "platform/UnitText.h"
#include "scriptio/UnitScriptFile.h"
#include "scriptio/UnitTWScript.h"
#include "support/UnitFakeFileSystem.h"

namespace {

TEST(TCompareVersionsTest, ComparesPartsAsNumbers) {
  struct TCase {
    const char16_t* a;
    const char16_t* b;
    int sign;
  };
  const TCase cases[] = {
      {u"3.6", u"3.7", -1},   {u"3.7", u"3.7", 0},     {u"3.10", u"3.7", 1},
      {u"3.7.0", u"3.7", 0},  {u"3.7.1", u"3.7", 1},   {u"2.99", u"3.7", -1},
      {u"4", u"3.7", 1},      {u"", u"3.7", -1},       {u"3.x", u"3.7", -1},
      {u" 3 . 8 ", u"3.7", 1}, {u"-4.9", u"3.7", -1},  {u"3..7", u"3.7", -1},
  };
  for (const TCase& c : cases) {
    const int result = CompareVersions(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << Utf16ToUtf8(c.a);
  }
}

class TDefaultScriptTest : public ::testing::Test {
 protected:
  TDefaultScriptTest() { fs.AddFolder(u"/app"); }
  // Writes default.twscr with one step, written by release `version`.
  void WriteDefault(const std::u16string& version, bool enabled) {
    TMainModel model;
    TTWScript twscript(model, fs, u"/app/");
    twscript.SetApplicationVersion(version);
    TFrmScriptActions script;
    script.NewScriptControl(TScriptType::stSwap, !enabled);
    ASSERT_TRUE(SaveToFile(script, twscript, fs, u"/app/default.twscr").ok());
  }
  int StepsInDefault() {
    TMainModel model;
    TTWScript twscript(model, fs, u"/app/");
    TFrmScriptActions script;
    EXPECT_TRUE(LoadFromFile(script, twscript, fs, u"/app/default.twscr").ok());
    EXPECT_FALSE(script.AnyEnabled());
    return script.Count();
  }

  TFakeFileSystem fs;
};

TEST_F(TDefaultScriptTest, MissingScriptGetsOneDisabledStepOfEveryKind) {
  const TDefaultScriptResult result = PrepareDefaultScript(fs, u"/app/");
  EXPECT_TRUE(result.created);
  EXPECT_TRUE(result.status.ok());
  EXPECT_EQ(StepsInDefault(), kScriptTypeCount);
}

TEST_F(TDefaultScriptTest, OnlyAnOldScriptWithNothingSwitchedOnIsMadeAgain) {
  struct TCase {
    const char16_t* version;
    bool enabled;
    bool remade;
  };
  const TCase cases[] = {
      {u"3.6", false, true},  {u"2.1.4", false, true}, {u"3.6", true, false},
      {u"3.7", false, false}, {u"3.12", false, false}, {u"", false, false},
  };
  for (const TCase& c : cases) {
    WriteDefault(c.version, c.enabled);
    const TDefaultScriptResult result = PrepareDefaultScript(fs, u"/app/");
    EXPECT_EQ(result.created, c.remade) << Utf16ToUtf8(c.version) << " " << c.enabled;
    if (!c.enabled) {
      EXPECT_EQ(StepsInDefault(), c.remade ? kScriptTypeCount : 1) << Utf16ToUtf8(c.version);
    }
  }
}

TEST_F(TDefaultScriptTest, AFailedWriteIsReported) {
  fs.FailWrites(1);
  const TDefaultScriptResult result = PrepareDefaultScript(fs, u"/app/");
  EXPECT_FALSE(result.created);
  EXPECT_FALSE(result.status.ok());
}

}  // namespace
