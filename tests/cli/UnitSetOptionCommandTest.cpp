#include "cli/UnitSetOptionCommand.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "cli/UnitCommandOutput.h"
#include "cli/UnitScriptOptionKeys.h"
#include "model/UnitMainModel.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitTWScript.h"
#include "support/UnitFakeFileSystem.h"

namespace {

using TWords = std::vector<std::u16string>;
constexpr const char16_t* kScript = u"/s/t.twscr";

std::u16string Dotted(const TScriptOptionKey& key) {
  return std::u16string(key.section) + u"." + std::u16string(key.key);
}

// The keys of `ini` in file order, as "Section.key".
std::vector<std::u16string> KeysOf(const TMyINIFile& ini) {
  std::vector<std::u16string> keys;
  for (const std::u16string& section : ini.ReadSections()) {
    for (const std::u16string& key : ini.ReadSection(section)) keys.push_back(section + u"." + key);
  }
  return keys;
}

// What TTWScript writes after reading `ini` into a new model.
TMyINIFile LoadAndSave(TFileSystem& fs, const TMyINIFile& ini, std::u16string* version = nullptr) {
  TMainModel model;
  TTWScript twscript(model, fs, u"/app/");
  twscript.LoadSettings(ini, false);
  if (version != nullptr) *version = twscript.version();
  TMyINIFile saved;
  twscript.SaveSettings(saved, false);
  return saved;
}

class TSetOptionTest : public ::testing::Test {
 protected:
  TSetOptionTest() {
    fs.AddFolder(u"/s");
    fs.AddFolder(u"/photos");
    fs.AddFolder(u"/music");
  }
  int Set(TWords words) {
    words.insert(words.begin(), kScript);
    output = TStringOutput();
    return RunSetOptionCommand(fs, words, u"0.1.0", output);
  }
  TMyINIFile Stored() {
    TMyINIFile ini;
    EXPECT_TRUE(ini.Open(fs, kScript).ok());
    return ini;
  }

  TFakeFileSystem fs;
  TStringOutput output;
};

// The table holds exactly the keys TTWScript writes, in its order.
TEST(TScriptOptionKeysTest, AreTheKeysTheOptionsAreWrittenUnder) {
  TFakeFileSystem fs;
  TMainModel model;
  TTWScript twscript(model, fs, u"/app/");
  twscript.SetApplicationVersion(u"9.9");
  TMyINIFile ini;
  twscript.SaveSettings(ini, false);
  std::vector<std::u16string> table;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) table.push_back(Dotted(key));
  EXPECT_EQ(KeysOf(ini), table);
}

// A key written with its declared read default loads as a missing key does,
// so the defaults the manual gives are the ones TTWScript reads.
TEST(TScriptOptionKeysTest, ReadDefaultsAreWhatAMissingKeyReadsAs) {
  TFakeFileSystem fs;
  std::u16string missingVersion;
  const std::string missing = LoadAndSave(fs, TMyINIFile(), &missingVersion).SaveToBytes();
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (!key.fixedDefault) continue;
    TMyINIFile ini;
    ini.WriteString(key.section, key.key, key.readDefault);
    std::u16string version;
    EXPECT_EQ(LoadAndSave(fs, ini, &version).SaveToBytes(), missing) << Utf16ToUtf8(Dotted(key));
    EXPECT_EQ(version, missingVersion);
  }
}

TEST_F(TSetOptionTest, NamesEveryMistakeAndWritesNothing) {
  const std::pair<TWords, std::vector<std::u16string>> cases[] = {
      {{}, {u"SECTION.NAME=VALUE is missing", u"usage: tallowick --set-option"}},
      {{u"Case"}, {u"'Case' is not SECTION.NAME=VALUE", u"Case.cbOverrideCase=1"}},
      {{u"Case=1"}, {u"'Case=1' is not SECTION.NAME=VALUE", u"valid sections are Path"}},
      {{u".x=1"}, {u"'.x=1' is not SECTION.NAME=VALUE"}},
      {{u"Case.=1"}, {u"'Case.=1' is not SECTION.NAME=VALUE"}},
      {{u"Cse.x=1"}, {u"unknown section 'Cse'", u"Counting, Case, Wildcards, Text"}},
      {{u"Version.Current=2"}, {u"unknown section 'Version'", u"ScriptOptions"}},
      {{u"AddTo.cbAEndOfName=1"}, {u"unknown section 'AddTo'"}},
      {{u"case.foo=1"}, {u"section Case has no key 'foo'", u"cbOverrideCase, rbCUppercase"}},
      {{u"Case.cbOverrideCase=maybe"},
       {u"Case.cbOverrideCase: 'maybe' is not a switch value", u"yes, no"}},
      {{u"Text.udTSkip=two"}, {u"Text.udTSkip: 'two' is not a whole number"}},
      {{u"Filter.txtFilter=a\r\nb"}, {u"Filter.txtFilter: a value is one line"}},
      {{u"Case.cbOverrideCase=1", u"CASE.CBOVERRIDECASE=0"}, {u"Case.cbOverrideCase is given twice"}},
      {{u"Case.rbCLowercase=1", u"Case.rbCTitleCase=1"},
       {u"Case.rbCLowercase and Case.rbCTitleCase are radio buttons", u"only one"}},
  };
  for (const auto& [words, messages] : cases) {
    EXPECT_EQ(Set(words), 2) << Utf16ToUtf8(words.empty() ? u"" : words[0]);
    EXPECT_EQ(fs.FileBytes(kScript), nullptr);
    EXPECT_EQ(output.out, u"");
    EXPECT_TRUE(output.err.starts_with(u"tallowick: --set-option: "));
    for (const std::u16string& message : messages) {
      EXPECT_NE(output.err.find(message), std::u16string::npos) << Utf16ToUtf8(output.err);
    }
  }
}

// What a word implies: the radio group, the pair, the restore switch.
TEST_F(TSetOptionTest, WritesWhatTheNamedKeysImply) {
  const std::pair<TWords, std::u16string> cases[] = {
      {{u"case.rbclowercase=yes"},
       u"Case.rbCUppercase=0\nCase.rbCLowercase=1\nCase.rbCCapitalizeWords=0\n"
       u"Case.rbCCapitalizeSentence=0\nCase.rbCTitleCase=0\n"},
      {{u"Case.rbCUppercase=0"}, u"Case.rbCUppercase=0\n"},
      {{u"Wildcards.rbRegExp=off"}, u"Wildcards.rbWildcards=1\nWildcards.rbRegExp=0\n"},
      {{u"Text.rbTFind=1", u"Text.rbTMatch=0"}, u"Text.rbTMatch=0\nText.rbTFind=1\n"},
      {{u"Filter.txtFilter=*.jpg"}, u"Filter.txtFilter=*.jpg\nScriptOptions.UseFilter=1\n"},
      {{u"Filter.txtFilter=*.jpg", u"ScriptOptions.UseFilter=0"},
       u"Filter.txtFilter=*.jpg\nScriptOptions.UseFilter=0\n"},
      {{u"Filter.txtFilter="}, u"Filter.txtFilter=\n"},
      {{u"Path.cbPath=/photos"}, u"Path.cbPath=/photos\nScriptOptions.UsePath=1\n"},
      {{u"Text.udTSkip=0x10", u"Counting.txtIncrementBy= 2 "},
       u"Counting.txtIncrementBy= 2 \nText.udTSkip=16\n"},
  };
  for (const auto& [words, report] : cases) {
    fs = TFakeFileSystem();
    fs.AddFolder(u"/s");
    ASSERT_EQ(Set(words), 0) << Utf16ToUtf8(output.err);
    EXPECT_EQ(output.out, report) << Utf16ToUtf8(words[0]);
    const TMyINIFile stored = Stored();
    for (size_t at = 0; at < report.size();) {
      const size_t end = report.find(u'\n', at);
      const std::u16string line = report.substr(at, end - at);
      const size_t dot = line.find(u'.'), eq = line.find(u'=');
      EXPECT_EQ(stored.ReadString(line.substr(0, dot), line.substr(dot + 1, eq - dot - 1), u"?"),
                line.substr(eq + 1));
      at = end + 1;
    }
  }
}

// Random settable keys with random valid values, written into one file over
// many runs: after each run every asked key holds its value, and the file
// reads into the options and saves back as the same keys (TTWScript reads
// every key the command writes, radio groups and implied keys included).
TEST_F(TSetOptionTest, EveryKeyLoadsBackAsAsked) {
  std::mt19937 rng(1209);
  std::vector<const TScriptOptionKey*> settable;
  for (const TScriptOptionKey& key : ScriptOptionKeys()) {
    if (key.settable) settable.push_back(&key);
  }
  static const std::u16string_view texts[] = {u"*.jpg", u" padded ", u"\"q\" ", u"?cfo?", u"a;b",
                                              u"\u00e9t\u00e9", u"TAB", u"12"};
  for (int round = 0; round < 200; ++round) {
    std::shuffle(settable.begin(), settable.end(), rng);
    std::map<const TScriptOptionKey*, std::u16string> asked;
    std::map<int, bool> groupTaken;
    TWords words;
    for (const TScriptOptionKey* key : settable) {
      if (asked.size() >= 1 + rng() % 6) break;
      if (key->radioGroup > 0 && groupTaken[key->radioGroup]) continue;
      groupTaken[key->radioGroup] = key->radioGroup > 0;
      std::u16string value;
      switch (key->form) {
        case TOptionForm::Switch: value = rng() % 2 ? u"1" : u"0"; break;
        case TOptionForm::Integer: value = IntToStr(static_cast<int>(rng() % 50) - 5); break;
        case TOptionForm::Text:
          value = key->key == u"cbPath" ? std::u16string(rng() % 2 ? u"/photos" : u"/music")
                                        : std::u16string(texts[rng() % std::size(texts)]);
          break;
      }
      asked[key] = value;
      words.push_back(Dotted(*key) + u"=" + (value == u"1" && rng() % 2 ? u"yes" : value));
    }
    ASSERT_EQ(Set(words), 0) << Utf16ToUtf8(output.err);
    const TMyINIFile stored = Stored();
    for (const auto& [key, value] : asked) {
      EXPECT_EQ(stored.ReadString(key->section, key->key, u"?"), value) << Utf16ToUtf8(Dotted(*key));
    }
    const TMyINIFile saved = LoadAndSave(fs, stored);
    for (const TScriptOptionKey& key : ScriptOptionKeys()) {
      // A folder or filter whose restore switch is off is not read back.
      if (!key.settable ||
          (!key.restoredBy.empty() && stored.ReadString(u"ScriptOptions", key.restoredBy, u"") == u"0")) {
        continue;
      }
      EXPECT_EQ(saved.ReadString(key.section, key.key, u"?"), stored.ReadString(key.section, key.key, u"!"))
          << "round " << round << " " << Utf16ToUtf8(Dotted(key));
    }
  }
}

}  // namespace
