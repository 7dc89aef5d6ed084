// Malformed script files load with the reading defaults and never crash.
#include <gtest/gtest.h>

#include <random>

#include "UnitScriptIoFixture.h"
#include "engine/UnitScriptContext.h"
#include "model/UnitTagData.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"
#include "support/UnitScriptTestContext.h"

namespace {

class TScriptBadInputTest : public ::testing::Test, protected TScriptIoFixture {
 protected:
  // Loads `bytes` as a script file and uses the result as the editor and the
  // preview would: sentences, a run over one entry, a save.
  void LoadAndUse(const std::string& bytes, const std::string& label) {
    fs.AddFile(u"/s/bad.twscr", bytes);
    const TStatus loaded = LoadFromFile(actions, twscript, fs, u"/s/bad.twscr");
    // Bytes that hold no section of a script are refused as a whole.
    if (!loaded.ok()) {
      ASSERT_EQ(loaded.reason(), u"not a script (no steps found)") << label;
      return;
    }
    (void)actions.Lines(true);
    std::u16string name = u"photo", ext = u".jpg";
    const RenameRecord rec = TestRecord(u"photo.jpg");
    TTagData td;
    int collision = 0;
    actions.RunScriptOn(name, ext, rec, td, collision, run.ctx);
    EXPECT_TRUE(SaveToFile(actions, twscript, fs, u"/s/again").ok()) << label;
  }
  TScriptTestContext run;
};

TEST_F(TScriptBadInputTest, MalformedFixtures) {
  const struct {
    const char* name;
    int steps;  // -1: any number
  } cases[] = {
      {"truncated.twscr", -1},         {"lone-surrogates.twscr", 1},
      {"missing-bracket.twscr", 0},    {"no-equals.twscr", 1},
      {"duplicate-sections.twscr", 2}, {"gap.twscr", 1},
      {"unknown-type.twscr", 2},       {"bad-values.twscr", 2},
      {"random.twscr", -1},            {"random-utf16.twscr", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = ScriptFixtureBytes(std::string("malformed/") + c.name);
    ASSERT_FALSE(bytes.empty());
    LoadAndUse(bytes, c.name);
    if (c.steps >= 0) {
      EXPECT_EQ(actions.Count(), c.steps);
    }
  }
}

TEST_F(TScriptBadInputTest, WhatTheMalformedFixturesLoadAs) {
  LoadAndUse(ScriptFixtureBytes("malformed/lone-surrogates.twscr"), "lone");
  EXPECT_EQ(ParamText(actions, 0, u"txtAdd"), u"a\xD800" u"b\xDC00" u"c");

  // The first SCRIPT0 wins; its keys come first, the second's are merged in.
  LoadAndUse(ScriptFixtureBytes("malformed/duplicate-sections.twscr"), "duplicates");
  EXPECT_EQ(actions.Step(0).ScriptType(), TScriptType::stAddCounter);
  EXPECT_EQ(ParamText(actions, 0, u"txtAZeros"), u"3");
  EXPECT_EQ(ParamText(actions, 1, u"txtRNWith"), u"?n01?");

  LoadAndUse(ScriptFixtureBytes("malformed/unknown-type.twscr"), "unknown");
  EXPECT_EQ(actions.Step(0).ScriptType(), TScriptType::stAddBeginningEnding);
  EXPECT_EQ(actions.Step(1).ScriptType(), TScriptType::stSwap);  // 99 and -5 skipped

  LoadAndUse(ScriptFixtureBytes("malformed/no-equals.twscr"), "no equals");
  EXPECT_EQ(actions.Step(0).ScriptType(), TScriptType::stReplaceNumbers);
  EXPECT_EQ(ParamText(actions, 0, u"txtRNWith"), u"");

  LoadAndUse(ScriptFixtureBytes("malformed/bad-values.twscr"), "bad values");
  EXPECT_TRUE(actions.Step(0).Enabled);                         // "yes" is no number
  EXPECT_EQ(ParamChoice(actions, 0, u"cbxRemoveType"), 99);     // kept as given
  EXPECT_EQ(ParamText(actions, 0, u"txtR3X"), u"-3");
  EXPECT_EQ(ParamText(actions, 0, u"txtR3Y"), u"16");            // "0x10"
  EXPECT_EQ(ParamText(actions, 0, u"txtR3Z"), u"1");             // overflow: the default
  EXPECT_EQ(actions.Step(1).ScriptType(), TScriptType::stConditionalExecute);  // "0x0C"
}

TEST_F(TScriptBadInputTest, HugeFileLoadsInLinearTime) {
  // 20000 steps and a 1 MB value: nothing quadratic, nothing lost.
  std::u16string text;
  for (int i = 0; i < 20000; ++i) {
    text += u"[SCRIPT" + IntToStr(i) + u"]\r\nTYPE_unicode=16\r\ntxtSPhrase_unicode=" +
            IntToStr(i) + u"\r\n";
  }
  text += u"[SCRIPT20000]\r\nTYPE_unicode=0\r\ntxtAdd_unicode=" + std::u16string(1 << 20, u'x');
  fs.AddFile(u"/s/huge.twscr", Utf16LEWithMark(text));
  ASSERT_TRUE(LoadFromFile(actions, twscript, fs, u"/s/huge").ok());
  ASSERT_EQ(actions.Count(), 20001);
  EXPECT_EQ(ParamText(actions, 19999, u"txtSPhrase"), u"19999");
  EXPECT_EQ(ParamText(actions, 20000, u"txtAdd").size(), 1u << 20);
}

TEST_F(TScriptBadInputTest, TooLargeFileIsRefused) {
  fs.AddFile(u"/s/big.twscr", std::string(TMyINIFile::kMaxFileSize + 1, 'x'));
  actions.NewScriptControl(TScriptType::stSwap);
  EXPECT_FALSE(LoadFromFile(actions, twscript, fs, u"/s/big").ok());
  EXPECT_EQ(actions.Count(), 1);
}

// Mutations of a valid file: flipped, dropped and inserted bytes and cuts.
TEST_F(TScriptBadInputTest, RandomMutationsNeverCrash) {
  const std::string good = ScriptFixtureBytes("all-kinds.twscr");
  ASSERT_FALSE(good.empty());
  std::mt19937 rng(4242);
  std::uniform_int_distribution<int> byte(0, 255);
  const char interesting[] = {'[', ']', '=', '\r', '\n', '"', ' ', '\0', '\xD8', '\xDC'};
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    const int edits = 1 + static_cast<int>(rng() % 20);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const size_t at = rng() % bytes.size();
      switch (rng() % 4) {
        case 0: bytes[at] = static_cast<char>(byte(rng)); break;
        case 1: bytes.erase(at, 1 + rng() % 8); break;
        case 2: bytes.insert(at, 1, interesting[rng() % sizeof interesting]); break;
        case 3: bytes.resize(at); break;
      }
    }
    LoadAndUse(bytes, "round " + std::to_string(round));
  }
}

TEST(TMyINIFileBadInputTest, RandomTextsRoundTripThroughTheStore) {
  std::mt19937 rng(99);
  const char16_t pieces[] = {u' ', u'"', u'\t', u'a', u'=', u'[', u']', u';', u'\xD800', u'\u00E9'};
  int checked = 0;
  for (int round = 0; round < 5000; ++round) {
    std::u16string value;
    const size_t length = rng() % 8;
    for (size_t i = 0; i < length; ++i) value += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
    // A value that begins with two quotes and a blank, or ends with a blank and
    // two quotes, cannot be told from a quoted one: the format's one blind spot.
    TMyINIFile ini;
    ini.WriteString(u"S", u"k", value);
    TMyINIFile again;
    again.LoadFromBytes(ini.SaveToBytes());
    const std::u16string read = again.ReadString(u"S", u"k", u"");
    const std::u16string stored = QuoteIniValue(value);
    if (stored == value && UnquoteIniValue(value) != value) continue;
    EXPECT_EQ(read, value) << "value [" << Utf16ToUtf8(value) << "]";
    ++checked;
  }
  EXPECT_GT(checked, 4000);
}

}  // namespace

namespace {

TEST_F(TScriptBadInputTest, UnknownKindsAreSkippedWithAMessageNamingFileAndSection) {
  fs.AddFile(u"/s/unknown.twscr", ScriptFixtureBytes("malformed/unknown-type.twscr"));
  std::vector<std::u16string> messages;
  ASSERT_TRUE(LoadFromFile(actions, twscript, fs, u"/s/unknown.twscr", &messages).ok());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], u"/s/unknown.twscr: [SCRIPT1] holds a step of unknown kind 99; it was skipped");
  EXPECT_NE(messages[1].find(u"[SCRIPT2]"), std::u16string::npos);
  EXPECT_EQ(actions.Count(), 2);  // the steps around them load
}

}  // namespace
