#include "cli/UnitPreviewCommand.h"

#include <gtest/gtest.h>

#include "cli/UnitCommandOutput.h"
#include "cli/UnitCommandText.h"
#include "engine/UnitScriptStepReplace.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "scriptio/UnitScriptFile.h"
#include "session/UnitSession.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

namespace {

using TReplace = TScriptStepReplaceNameExtension;

class TPreviewCommandTest : public ::testing::Test {
 protected:
  TPreviewCommandTest() : session(fs, clock, env, tags, u"/app/") {
    fs.AddFolder(u"/app");
    fs.AddFolder(u"/f");
    // A script that replaces "a" by "b" in names.
    TSession maker(fs, clock, env, tags, u"/app/");
    TScriptStep& step = maker.script.NewScriptControl(TScriptType::stReplaceNameExtension);
    step.SetText(TReplace::txtReplacePhrase, u"a");
    step.SetText(TReplace::txtReplaceWith, u"b");
    step.SetChoice(TReplace::cbxReplaceTarget, 1);
    EXPECT_TRUE(SaveToFile(maker.script, maker.twscript, fs, u"/s/ab.twscr").ok());
  }
  int Preview(bool json = false) {
    TPreviewCommandOptions options{u"/s/ab.twscr", u"/f", false, json};
    TNoProgress progress;
    return RunPreviewCommand(session, options, output, progress);
  }

  TFakeFileSystem fs;
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession session;
  TStringOutput output;
};

TEST_F(TPreviewCommandTest, TablePrintsEveryEntryAndTheStatus) {
  fs.AddFile(u"/f/a.txt", "1");
  fs.AddFile(u"/f/b.txt", "2");
  fs.AddFile(u"/f/t\tz.txt", "3");
  ASSERT_EQ(Preview(), 0);
  EXPECT_EQ(Utf16ToUtf8(output.out),
            "1\ta.txt\tb.txt\tRC\n"
            "1\tb.txt\tb.txt\tC\n"
            "1\tt\\tz.txt\tt\\tz.txt\t\n"
            "#    Files/Folders [3/0] Checked [3] Changed [1]\n"
            "# COLLISIONS [1]\n");
  EXPECT_EQ(output.err, u"");
}

TEST_F(TPreviewCommandTest, JsonHoldsTheSameFactsWithPathsReasonsAndCounts) {
  fs.AddFile(u"/f/a\"q.txt", "1");
  fs.AddFile(u"/f/a.txt", "2");
  fs.AddFile(u"/f/b.txt", "3");
  fs.AddFile(u"/f/n\xDCFF", "4");
  fs.AddFolder(u"/f/sub");
  fs.AddFile(u"/f/sub/a1", "5");
  TPreviewCommandOptions options{u"/s/ab.twscr", u"/f", true, true};
  TNoProgress progress;
  ASSERT_EQ(RunPreviewCommand(session, options, output, progress), 0);
  const std::string json = Utf16ToUtf8(output.out);
  for (const char* expected : {
           "{\"format\": 1, \"folder\": \"/f\", \"entries\": [",
           "{\"name\": \"a\\\"q.txt\", \"newName\": \"b\\\"q.txt\", \"path\": \"a\\\"q.txt\", "
           "\"newPath\": \"b\\\"q.txt\", \"checked\": true, \"changed\": true, \"collision\": "
           "false, \"illegal\": true, \"reasons\": [\"The new name holds a character that is not "
           "allowed: '\\\"'\"]}",
           "\"newPath\": \"b.txt\", \"checked\": true, \"changed\": true, \"collision\": true, "
           "\"illegal\": false, \"reasons\": [\"b.txt is taken by b.txt, which keeps its name\"]}",
           "\"reasons\": [\"b.txt is also the new name of a.txt\"]}",
           "\"path\": \"n\\udcff\", \"pathBytes\": \"bv8=\"",
           "\"path\": \"sub/a1\", \"newPath\": \"sub/b1\"",
           "\"counts\": {\"files\": 5, \"folders\": 0, \"checked\": 5, \"changed\": 3, "
           "\"collisions\": 1, \"illegal\": 1}}\n",
       }) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected << "\nin\n" << json;
  }
}

TEST_F(TPreviewCommandTest, DescribeAddsTheOptionsThatChangeNames) {
  TSession maker(fs, clock, env, tags, u"/app/");
  maker.script.NewScriptControl(TScriptType::stReplaceNameExtension);
  maker.model.changeCase = true;
  maker.model.caseMode = TCaseMode::Lowercase;
  maker.model.usePositionInList = false;
  maker.model.startCountingAt = u"5";
  maker.model.incrementBy = u"2";
  maker.model.useRegExp = true;
  maker.model.filter = u"*.jpg";
  maker.twscript.ToggleFilter(true);
  ASSERT_TRUE(SaveToFile(maker.script, maker.twscript, fs, u"/s/options.twscr").ok());
  ASSERT_EQ(RunDescribeCommand(session, u"/s/options.twscr", output), 0);
  const std::u16string options = output.out.substr(output.out.find(u"\nCase"));
  EXPECT_EQ(options,
            u"\nCase: lower case\nCounting: starting at 5, step 2\n"
            u"Matching: full regular expressions\nFilter: *.jpg\n");
}

TEST_F(TPreviewCommandTest, MissingScriptOrFolderGivesTwo) {
  TPreviewCommandOptions options{u"/s/missing.twscr", u"/f", false, false};
  TNoProgress progress;
  EXPECT_EQ(RunPreviewCommand(session, options, output, progress), 2);
  EXPECT_NE(output.err.find(u"/s/missing.twscr"), std::u16string::npos);
  output.err.clear();
  options = {u"/s/ab.twscr", u"/nowhere", false, false};
  EXPECT_EQ(RunPreviewCommand(session, options, output, progress), 2);
  EXPECT_NE(output.err.find(u"/nowhere"), std::u16string::npos);
  EXPECT_EQ(output.out, u"");
}

TEST_F(TPreviewCommandTest, DescribePrintsNumberedSentences) {
  EXPECT_EQ(RunDescribeCommand(session, u"/s/ab.twscr", output), 0);
  EXPECT_EQ(output.out,
            u"[01] Find and Replace 'a' with 'b'\n"
            u"Counting: by position in the list, step 1\n"
            u"Matching: wildcards (? one character, * any run)\n");
}

TEST(CommandTextTest, Escapes) {
  EXPECT_EQ(EscapeForTable(u"a\\b\tc\rd\ne"), u"a\\\\b\\tc\\rd\\ne");
  EXPECT_EQ(JsonString(u"x\"\\\x01\xDC80"), u"\"x\\\"\\\\\\u0001\\udc80\"");
}

}  // namespace
