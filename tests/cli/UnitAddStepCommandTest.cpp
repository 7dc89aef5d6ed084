#include "cli/UnitAddStepCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cli/UnitCommandOutput.h"
#include "cli/UnitStepCatalogue.h"
#include "engine/UnitScriptActions.h"
#include "engine/UnitScriptStepMove.h"
#include "model/UnitMainModel.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"
#include "scriptio/UnitTWScript.h"
#include "support/UnitFakeFileSystem.h"

namespace {

using TWords = std::vector<std::u16string>;
constexpr const char16_t* kScript = u"/s/t.twscr";

// A parameter's value as a text: the text, the choice index, or 1/0.
std::u16string ValueText(const TScriptStep& step, int index) {
  switch (step.Parameters()[static_cast<size_t>(index)].kind) {
    case TParamKind::Text: return step.Text(index);
    case TParamKind::Choice: return IntToStr(step.Choice(index));
    case TParamKind::Flag: return step.Flag(index) ? u"1" : u"0";
  }
  return {};
}

class TAddStepTest : public ::testing::Test {
 protected:
  TAddStepTest() { fs.AddFolder(u"/s"); }

  int Add(const std::u16string& script, TWords words) {
    words.insert(words.begin(), script);
    output = TStringOutput();
    return RunAddStepCommand(fs, words, u"0.1.0", output);
  }
  // The steps of a script file as loading reads them.
  void Load(const std::u16string& path) {
    TTWScript twscript(model, fs, u"/app/");
    ASSERT_TRUE(LoadFromFile(actions, twscript, fs, path).ok());
  }

  TFakeFileSystem fs;
  TStringOutput output;
  TMainModel model;
  TFrmScriptActions actions;
};

struct TAddCase {
  TWords words;  // KIND, then NAME=VALUE words
  int type;      // the kind added, or -1 when the command must refuse
  // For a step: stored name (or "enabled") and expected value; for an error:
  // texts the message holds (the bad word and a valid alternative).
  std::vector<std::pair<std::u16string, std::u16string>> expect;
};

TEST_F(TAddStepTest, ReadsKindsNamesAndValuesAndNamesEveryMistake) {
  const TAddCase cases[] = {
      // Kinds: caption in any case, the part after "/", a unique beginning,
      // the TYPE number; a caption two kinds share names the first.
      {{u"Add to Beginning/Ending", u"add=x_"}, 0, {{u"txtAdd", u"x_"}}},
      {{u"ADD TO BEGINNING/ENDING"}, 0, {{u"txtAdd", u""}}},
      {{u"Find and Replace", u"replacephrase=a", u"replacewith=b"},
       3, {{u"txtReplacePhrase", u"a"}, {u"txtReplaceWith", u"b"}, {u"cbxReplacePart", u"2"}}},
      {{u"find and e"}, 17, {}},
      {{u"Split"}, 14, {}},
      {{u"Replace/"}, 3, {}},
      {{u"4"}, 4, {}},
      {{u"13"}, 13, {}},
      {{u"Remove Words/Numbers"}, 6, {}},
      // Names: stored name in any case, alias, unique beginning of an alias.
      {{u"3", u"CBXREPLACEPART=Replace entire Extension", u"TxtReplaceWith=.txt"},
       3, {{u"cbxReplacePart", u"1"}, {u"txtReplaceWith", u".txt"}}},
      {{u"Add to Beginning/Ending", u"oncoll=yes"}, 0, {{u"cbOnCollision", u"1"}}},
      {{u"Remove Words/Numbers", u"cbxremovephrase=2", u"removephrase=x y"},
       6, {{u"cbxRemovePhrase", u"2"}, {u"txtRemovePhrase", u"x y"}}},
      // Choices by item text in any case or by index; flags in every spelling.
      {{u"3", u"replacepart=find AND replace", u"replacetarget=2"},
       3, {{u"cbxReplacePart", u"2"}, {u"cbxReplaceTarget", u"2"}}},
      {{u"Swap", u"strim=off"}, 16, {{u"cbSTrim", u"0"}}},
      {{u"Swap", u"strim=TRUE", u"enabled=no"}, 16, {{u"cbSTrim", u"1"}, {u"enabled", u"0"}}},
      {{u"Add Counter", u"azeros=4", u"beginningending=Ending", u"enabled=on"},
       10, {{u"txtAZeros", u"4"}, {u"cbxBeginningEnding", u"1"}, {u"enabled", u"1"}}},
      // Texts keep outer blanks, quotes and "=".
      {{u"Swap", u"sphrase= \" a=b \" "}, 16, {{u"txtSPhrase", u" \" a=b \" "}}},
      // A radio button switched on switches off the others of its group only.
      {{u"Select and Move", u"rbsmposition=1"},
       15, {{u"rbSMPosition", u"1"}, {u"rbSMBeforeAfter", u"0"}, {u"rbSMBeginningEnding2", u"1"}}},
      {{u"Select and Move", u"rbsmposition2=1", u"rbSMBeforeAfter=0"},
       15, {{u"rbSMPosition2", u"1"}, {u"rbSMBeginningEnding2", u"0"}, {u"rbSMBeforeAfter", u"0"}}},

      {{}, -1, {{u"KIND is missing", u"usage: tallowick --add-step SCRIPT KIND"}}},
      {{u"Fnd"}, -1, {{u"unknown kind 'Fnd'", u"'Find and Edit'"}}},
      {{u"18"}, -1, {{u"unknown kind '18'", u"0 to 17"}}},
      {{u""}, -1, {{u"unknown kind ''", u"'Swap'"}}},
      {{u"Re"}, -1, {{u"kind 'Re' is ambiguous", u"'Replace Numbers'"}}},
      {{u"Swap", u"phrase=x"}, -1, {{u"'Swap' has no parameter 'phrase'", u"txtSPhrase (sphrase)"}}},
      {{u"Find and Edit", u"fe=1"}, -1, {{u"parameter 'fe'", u"fephrase1"}}},
      {{u"Swap", u"sphrase"}, -1, {{u"'sphrase' is not NAME=VALUE", u"--steps"}}},
      {{u"Swap", u"=x"}, -1, {{u"'=x' is not NAME=VALUE", u""}}},
      {{u"Swap", u"sphrase=a", u"TXTSPHRASE=b"}, -1, {{u"txtSPhrase is given twice", u""}}},
      {{u"Swap", u"enabled=0", u"Enabled=1"}, -1, {{u"enabled is given twice", u""}}},
      {{u"Swap", u"strim=maybe"}, -1, {{u"cbSTrim: 'maybe' is not a flag", u"yes, no, on, off"}}},
      {{u"Swap", u"enabled=2"}, -1, {{u"enabled: '2' is not a flag", u"true, false"}}},
      {{u"0", u"addpart=Nme"}, -1, {{u"cbxAddPart: unknown choice 'Nme'", u"1 'Extension'"}}},
      {{u"0", u"addpart=2"}, -1, {{u"unknown choice '2'", u"0 'Name'"}}},
      {{u"0", u"addpart=-1"}, -1, {{u"unknown choice '-1'", u"0 'Name'"}}},
      {{u"3", u"rp2x=abc"}, -1, {{u"txtRP2X=abc", u"reads this back as '1'"}}},
      {{u"Select and Move", u"rbsmposition=1", u"rbsmbeforeafter=yes"},
       -1, {{u"rbSMBeforeAfter and rbSMPosition", u"only one"}}},
      {{u"Swap", u"sphrase=a\nb"}, -1, {{u"txtSPhrase: a value is one line", u""}}},
  };
  for (const TAddCase& c : cases) {
    const std::string label = Utf16ToUtf8(c.words.empty() ? u"(none)" : c.words[0]);
    fs = TFakeFileSystem();
    fs.AddFolder(u"/s");
    const int code = Add(kScript, c.words);
    if (c.type < 0) {
      EXPECT_EQ(code, 2) << label;
      EXPECT_EQ(fs.FileBytes(kScript), nullptr) << label << ": nothing is written";
      EXPECT_EQ(output.out, u"") << label;
      EXPECT_TRUE(output.err.starts_with(u"tallowick: --add-step: ")) << label;
      for (const auto& [first, second] : c.expect) {
        EXPECT_NE(output.err.find(first), std::u16string::npos) << Utf16ToUtf8(output.err);
        EXPECT_NE(output.err.find(second), std::u16string::npos) << Utf16ToUtf8(output.err);
      }
      continue;
    }
    ASSERT_EQ(code, 0) << label << ": " << Utf16ToUtf8(output.err);
    Load(kScript);
    ASSERT_EQ(actions.Count(), 1) << label;
    const TScriptStep& step = actions.Step(0);
    EXPECT_EQ(static_cast<int>(step.ScriptType()), c.type) << label;
    for (const auto& [name, value] : c.expect) {
      const std::u16string actual =
          name == u"enabled" ? (step.Enabled ? u"1" : u"0") : ValueText(step, step.FindParameter(name));
      EXPECT_EQ(actual, value) << label << " " << Utf16ToUtf8(name);
    }
  }
}

TEST_F(TAddStepTest, MakesANewFileAsSaveToFileDoes) {
  ASSERT_EQ(Add(u"/s/new", {u"Add to Beginning/Ending", u"add=x_", u"addatthe=1"}), 0);
  EXPECT_EQ(output.out, u"[01] Add 'x_' to the Name Ending\n");
  TMainModel fresh;
  TTWScript twscript(fresh, fs, u"/app/");
  twscript.SetApplicationVersion(u"0.1.0");
  TFrmScriptActions expected;
  TScriptStep& step = expected.NewScriptControl(TScriptType::stAddBeginningEnding);
  step.SetText(step.FindParameter(u"txtAdd"), u"x_");
  step.SetChoice(step.FindParameter(u"cbxAddAtThe"), 1);
  ASSERT_TRUE(SaveToFile(expected, twscript, fs, u"/s/expected.twscr").ok());
  ASSERT_NE(fs.FileBytes(u"/s/new.twscr"), nullptr);
  EXPECT_EQ(*fs.FileBytes(u"/s/new.twscr"), *fs.FileBytes(u"/s/expected.twscr"));
}

// An existing file keeps what loading and saving through the model would
// lose: a folder missing here, a filter that is not restored, other sections.
TEST_F(TAddStepTest, AppendsToAFileAndKeepsEverythingElse) {
  TMyINIFile ini;
  ini.Create(fs, kScript);
  ini.WriteInteger(u"SCRIPT0", u"TYPE", 16);
  ini.WriteString(u"SCRIPT0", u"txtSPhrase", u" - ");
  ini.WriteInteger(u"SCRIPT1", u"TYPE", 99);  // a kind of a newer release
  ini.WriteString(u"Path", u"cbPath", u"/elsewhere");
  ini.WriteString(u"Filter", u"txtFilter", u"*.jpg");
  ini.WriteBool(u"ScriptOptions", u"UseFilter", false);
  ini.WriteBool(u"ScriptOptions", u"UsePath", true);
  ini.WriteString(u"Extra", u"key", u"kept");
  ini.WriteInteger(u"SCRIPT3", u"TYPE", 10);  // after the gap: never read
  ASSERT_TRUE(ini.UpdateFile().ok());

  ASSERT_EQ(Add(kScript, {u"Swap", u"sphrase=_"}), 0);
  EXPECT_EQ(output.out, u"[02] Swap Around '_' and trim whitespace \n");
  TMyINIFile after;
  ASSERT_TRUE(after.Open(fs, kScript).ok());
  const std::vector<std::u16string> sections = {u"SCRIPT0", u"SCRIPT1", u"SCRIPT2", u"Path",
                                                u"Filter", u"ScriptOptions", u"Extra"};
  EXPECT_EQ(after.ReadSections(), sections);
  EXPECT_EQ(after.ReadString(u"SCRIPT0", u"txtSPhrase", u""), u" - ");
  EXPECT_EQ(after.ReadInteger(u"SCRIPT1", u"TYPE", -1), 99);
  EXPECT_EQ(after.ReadInteger(u"SCRIPT2", u"TYPE", -1), 16);
  EXPECT_EQ(after.ReadString(u"SCRIPT2", u"txtSPhrase", u""), u"_");
  EXPECT_EQ(after.ReadString(u"Path", u"cbPath", u""), u"/elsewhere");
  EXPECT_EQ(after.ReadString(u"Filter", u"txtFilter", u""), u"*.jpg");
  EXPECT_EQ(after.ReadString(u"Extra", u"key", u""), u"kept");
  Load(kScript);
  ASSERT_EQ(actions.Count(), 2);
  EXPECT_EQ(actions.Step(1).Text(TScriptStepSwap::txtSPhrase), u"_");
}

TEST_F(TAddStepTest, RefusesWhatIsNoScriptAndWritesNothing) {
  fs.AddFile(u"/s/notes.twscr", "just some text\n");
  fs.AddFile(u"/s/old.tw-", "");
  fs.AddFolder(u"/s/dir.twscr");
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"/s/notes.twscr", u"not a script"},
      {u"/s/old.tw-", u"'/s/old.tw-' is an older script"},
      {u"/s/list.txt", u"'/s/list.txt': a script file ends in .twscr"},
      {u"/s/dir.twscr", u"is a folder"},
  };
  for (const auto& [path, message] : cases) {
    EXPECT_EQ(Add(path, {u"Swap"}), 2) << Utf16ToUtf8(path);
    EXPECT_NE(output.err.find(message), std::u16string::npos) << Utf16ToUtf8(output.err);
  }
  EXPECT_EQ(*fs.FileBytes(u"/s/notes.twscr"), "just some text\n");
  EXPECT_EQ(fs.FileBytes(u"/s/old.twscr"), nullptr);
  EXPECT_EQ(fs.FileBytes(u"/s/list.twscr"), nullptr);

  ASSERT_EQ(Add(kScript, {u"Swap"}), 0);
  const std::string before = *fs.FileBytes(kScript);
  fs.FailWrites(1);
  EXPECT_EQ(Add(kScript, {u"Swap"}), 1);
  EXPECT_NE(output.err.find(u"Injected write failure"), std::u16string::npos);
  EXPECT_EQ(*fs.FileBytes(kScript), before);
}

// The catalogue's names: every alias and stored name finds its own
// parameter, none is taken twice in a kind, every kind its caption and
// number, every stored parameter has its sentence.
TEST(TStepCatalogueTest, EveryNameFindsWhatItNames) {
  for (const TStepKindInfo& kind : StepKinds()) {
    TScriptType found;
    EXPECT_TRUE(FindStepKind(IntToStr(static_cast<int>(kind.type)), found).ok);
    EXPECT_EQ(found, kind.type);
    if (kind.namedByCaption) {
      ASSERT_TRUE(FindStepKind(kind.caption, found).ok) << Utf16ToUtf8(kind.caption);
      EXPECT_EQ(found, kind.type) << Utf16ToUtf8(kind.caption);
    }
    EXPECT_FALSE(kind.description.empty());
    std::vector<std::u16string> taken = {u"enabled"};
    const auto& params = StepParameters(kind.type);
    for (size_t i = 0; i < params.size(); ++i) {
      for (const std::u16string& name : {params[i].alias, LowerCase(params[i].def->name)}) {
        int position = -1;
        EXPECT_TRUE(FindStepParameter(kind.type, name, position).ok) << Utf16ToUtf8(name);
        EXPECT_EQ(position, static_cast<int>(i)) << Utf16ToUtf8(name);
      }
      for (const std::u16string& name : {params[i].alias, LowerCase(params[i].def->name)}) {
        if (name == params[i].alias && name == LowerCase(params[i].def->name)) continue;
        EXPECT_EQ(std::count(taken.begin(), taken.end(), name), 0) << Utf16ToUtf8(name);
      }
      taken.push_back(params[i].alias);
      if (params[i].alias != LowerCase(params[i].def->name)) {
        taken.push_back(LowerCase(params[i].def->name));
      }
      EXPECT_FALSE(params[i].description.empty()) << Utf16ToUtf8(params[i].def->name);
    }
  }
}

// A random word for a value the command reads back as `value`.
std::u16string SpellFlag(bool value, std::mt19937& rng) {
  static const std::u16string_view on[] = {u"1", u"yes", u"On", u"TRUE"};
  static const std::u16string_view off[] = {u"0", u"no", u"OFF", u"false"};
  const std::u16string_view word = value ? on[rng() % 4] : off[rng() % 4];
  return std::u16string(word);
}

std::u16string RandomCase(std::u16string_view text, std::mt19937& rng) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (rng() % 2 == 0) c = c >= u'a' && c <= u'z' ? c - 32 : (c >= u'A' && c <= u'Z' ? c + 32 : c);
  }
  return out;
}

std::u16string RandomText(std::mt19937& rng) {
  static const std::u16string_view pieces[] = {u"a", u"Z", u" ", u"\"", u"'", u"=", u"?n02?",
                                               u"\u00e9", u"\u4e2d", u"*", u"\t", u";", u"[x]"};
  std::u16string text;
  for (unsigned n = rng() % 6; n > 0; --n) text += pieces[rng() % std::size(pieces)];
  return text;
}

bool IsNumeric(std::u16string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// For every kind: steps added with random valid values, named and spelled
// in random ways, load back with exactly the values asked and a new step's
// value for everything not named.
TEST_F(TAddStepTest, EveryKindLoadsBackWithTheValuesAsked) {
  std::mt19937 rng(20261209);
  using TSM = TScriptStepSelectAndMove;
  const std::vector<std::vector<int>> radioGroups = {
      {TSM::rbSMBeginningEnding, TSM::rbSMBeforeAfter, TSM::rbSMPosition},
      {TSM::rbSMBeginningEnding2, TSM::rbSMBeforeAfter2, TSM::rbSMPosition2}};
  struct TExpected {
    TScriptType type;
    bool enabled;
    std::vector<std::u16string> values;  // ValueText of every parameter
  };
  std::vector<TExpected> expected;
  for (int round = 0; round < 12; ++round) {
    for (const TStepKindInfo& kind : StepKinds()) {
      TFrmScriptActions wanted;
      TScriptStep& want = wanted.NewScriptControl(kind.type);
      TWords words = {rng() % 2 ? IntToStr(static_cast<int>(kind.type)) : kind.caption};
      if (!kind.namedByCaption) words[0] = IntToStr(static_cast<int>(kind.type));
      for (const TStepParamInfo& param : StepParameters(kind.type)) {
        if (rng() % 3 == 0) continue;
        const TParamDef& def = *param.def;
        if (param.radioGroup >= 0) continue;  // below
        const std::u16string name =
            rng() % 2 ? RandomCase(def.name, rng) : RandomCase(param.alias, rng);
        std::u16string value;
        switch (def.kind) {
          case TParamKind::Text:
            value = IsNumeric(def.defaultText) ? IntToStr(static_cast<int>(rng() % 300) - 5)
                                               : RandomText(rng);
            want.SetText(param.index, value);
            break;
          case TParamKind::Choice: {
            const int choice = static_cast<int>(rng() % def.items.size());
            value = rng() % 2 ? IntToStr(choice) : RandomCase(def.items[static_cast<size_t>(choice)], rng);
            want.SetChoice(param.index, choice);
            break;
          }
          case TParamKind::Flag: {
            const bool flag = rng() % 2 == 0;
            value = SpellFlag(flag, rng);
            want.SetFlag(param.index, flag);
            break;
          }
        }
        words.push_back(name + u"=" + value);
      }
      if (kind.type == TScriptType::stSelectAndMove) {
        // Per group: one button switched on (the rest go off), or some named off.
        for (const std::vector<int>& group : radioGroups) {
          const int chosen = group[rng() % group.size()];
          const bool switchOn = rng() % 2 == 0;
          for (const int radio : group) {
            if (switchOn) {
              want.SetFlag(radio, radio == chosen);
              if (radio == chosen) {
                words.push_back(std::u16string(want.Parameters()[radio].name) + u"=1");
              }
            } else if (radio == chosen) {
              want.SetFlag(radio, false);
              words.push_back(std::u16string(want.Parameters()[radio].name) + u"=off");
            }
          }
        }
      }
      want.Enabled = rng() % 4 != 0;
      if (!want.Enabled || rng() % 2) words.push_back(u"enabled=" + SpellFlag(want.Enabled, rng));
      std::shuffle(words.begin() + 1, words.end(), rng);

      ASSERT_EQ(Add(kScript, words), 0) << Utf16ToUtf8(output.err);
      TExpected e{kind.type, want.Enabled, {}};
      for (int i = 0; i < static_cast<int>(want.Parameters().size()); ++i) {
        e.values.push_back(want.Parameters()[i].stored ? ValueText(want, i) : u"");
      }
      expected.push_back(std::move(e));
    }
  }
  Load(kScript);
  ASSERT_EQ(actions.Count(), static_cast<int>(expected.size()));
  for (int s = 0; s < actions.Count(); ++s) {
    const TScriptStep& step = actions.Step(s);
    const TExpected& e = expected[static_cast<size_t>(s)];
    ASSERT_EQ(step.ScriptType(), e.type) << s;
    EXPECT_EQ(step.Enabled, e.enabled) << s;
    for (int i = 0; i < static_cast<int>(step.Parameters().size()); ++i) {
      if (!step.Parameters()[i].stored) continue;
      EXPECT_EQ(ValueText(step, i), e.values[static_cast<size_t>(i)])
          << "step " << s << " " << Utf16ToUtf8(step.Parameters()[i].name);
    }
  }
}

}  // namespace
