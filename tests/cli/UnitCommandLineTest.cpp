#include "cli/UnitCommandLine.h"

#include <gtest/gtest.h>

#include "cli/UnitApplication.h"
#include "cli/UnitCommandLineSplit.h"
#include "cli/UnitDefaultScript.h"
#include "cli/UnitStartupFolder.h"
#include "cli/UnitStartupMessages.h"
#include "cli/UnitUndoCommand.h"
#include "cli/UnitUsageText.h"
#include "engine/UnitScriptStepReplace.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "scriptio/UnitScriptFile.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"
#include "support/UnitRenameRunFixture.h"

namespace {

using TArgs = std::vector<std::u16string>;

std::u16string Joined(const TFrmDummyInstance& table) {
  std::u16string text;
  for (int i = 0; i <= table.ParamCount() && !table.params.empty(); ++i) {
    text += u"[" + table.ParamStr(i) + u"]";
  }
  return text;
}

TEST(TFrmDummyInstanceTest, SplitsLikeTheHandOverText) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"tw.exe \"C:\\My Folder\\\" -xi", u"[tw.exe][C:\\My Folder\\][-xi]"},
      {u"  tw   a  b  ", u"[tw][a][b]"},
      {u"tw \"a\"\"b\" c", u"[tw][a\"b][c]"},
      {u"tw \"unterminated rest", u"[tw][unterminated rest]"},
      {u"tw a\tb\t c", u"[tw][ab][c]"},
      {u"tw \"\" x", u"[tw][][x]"},
      {u"tw \" padded \"", u"[tw][padded]"},
      {u"tw mid\"quote x", u"[tw][mid\"quote][x]"},
      {u"", u""},
  };
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(Joined(TFrmDummyInstance(line)), expected) << Utf16ToUtf8(line);
  }
}

TEST(TFrmDummyInstanceTest, KeepsAtMostThirtyTwoParameters) {
  std::u16string line = u"tw";
  for (int i = 0; i < 40; ++i) line += u" p" + IntToStr(i);
  const TFrmDummyInstance table(line);
  EXPECT_EQ(table.ParamCount(), 31);
  EXPECT_EQ(table.ParamStr(31), u"p30");
  EXPECT_EQ(table.ParamStr(32), u"");
}

TEST(TFrmDummyInstanceTest, JoinedArgumentsSplitBackAndArgvStaysExact) {
  const TArgs args = {u"tallowick", u"a b", u"q\"uote", u"", u"-xi", u"x\"\"y", u"\u00e9/\u4e2d"};
  const TFrmDummyInstance table(JoinCommandLine(args));
  ASSERT_EQ(table.ParamCount(), 6);
  for (int i = 0; i <= 6; ++i) EXPECT_EQ(table.ParamStr(i), args[static_cast<size_t>(i)]) << i;
  const auto exact = TFrmDummyInstance::FromArguments(u"tallowick", {u" lead", u"trail "});
  EXPECT_EQ(exact.ParamStr(1), u" lead");
  EXPECT_EQ(exact.ParamStr(2), u"trail ");
}

TEST(TCommandLineFormTest, ModesAreComparedInLowerCaseAndCountTheParameters) {
  const std::pair<TArgs, TCommandLineForm> cases[] = {
      {{}, TCommandLineForm::Plain},
      {{u"/d"}, TCommandLineForm::Listing},
      {{u"/d/a", u"/d/b", u"/d/c"}, TCommandLineForm::Listing},
      {{u"filedrop.dat"}, TCommandLineForm::Listing},
      {{u"-s"}, TCommandLineForm::Usage},
      {{u"-xi", u"a", u"b", u"c"}, TCommandLineForm::Usage},
      {{u"-s", u"x.twscr"}, TCommandLineForm::Show},
      {{u"-XI", u"x.twscr"}, TCommandLineForm::Batch},
      {{u"-ru", u"x.twscr", u"/d"}, TCommandLineForm::Batch},
      {{u"-q", u"x.twscr"}, TCommandLineForm::OtherOption},
  };
  for (const auto& [args, form] : cases) {
    const auto table = TFrmDummyInstance::FromArguments(u"tw", args);
    EXPECT_EQ(ClassifyCommandLine(table), form) << Utf16ToUtf8(Joined(table));
  }
  EXPECT_FALSE(OpensWindow(TCommandLineForm::Batch));
  EXPECT_FALSE(OpensWindow(TCommandLineForm::Usage));
  EXPECT_TRUE(OpensWindow(TCommandLineForm::Show));
  EXPECT_TRUE(OpensWindow(TCommandLineForm::Plain));
}

TEST(TStartupFolderTest, ChoosesFromTheParameters) {
  TFakeFileSystem fs;
  fs.AddFolder(u"/app");
  fs.AddFolder(u"/d");
  fs.AddFolder(u"/last");
  fs.AddFile(u"/d/a.txt", "");
  struct TCase {
    TArgs args;
    std::u16string remembered;
    std::u16string folder;
    bool multi;
  };
  const TCase cases[] = {
      {{}, u"/last", u"/last", false},
      {{}, u"/gone", u"/app", false},
      {{u"/d"}, u"/last", u"/d", false},
      {{u"/d/"}, u"/last", u"/d", false},
      {{u"/d/a.txt"}, u"/last", u"/d", true},
      {{u"/nowhere"}, u"/last", u"/app", false},
      {{u"/d/a.txt", u"/d/b.txt"}, u"/last", u"/d", true},
      {{u"/d/b.txt", u"/d/a.txt"}, u"/last", u"/app", false},
      {{u"-s", u"x"}, u"/last", u"/last", false},
      {{u"-S", u"x", u"/d"}, u"/last", u"/last", false},
      {{u"-xi", u"x", u"/d"}, u"/last", u"/app", false},
  };
  const TPathSpelling same = [](std::u16string path) {
    while (path.size() > 1 && path.back() == u'/') path.pop_back();
    return path;
  };
  for (const TCase& c : cases) {
    const auto table = TFrmDummyInstance::FromArguments(u"tw", c.args);
    const TStartupFolder start = ChooseStartupFolder(table, fs, u"/app/", c.remembered, same);
    EXPECT_EQ(start.folder, c.folder) << Utf16ToUtf8(Joined(table));
    EXPECT_EQ(start.MultiSelectOption, c.multi) << Utf16ToUtf8(Joined(table));
  }
}

TEST(TUsageTextTest, NamesTheProgramAndEveryModeInThisPlatformsTerms) {
  for (const std::u16string& text : {UsageText(), HelpText()}) {
    for (const std::u16string_view mode : {u"s ", u"xi", u"xu", u"ri", u"ru"}) {
      EXPECT_NE(text.find(mode), std::u16string::npos) << Utf16ToUtf8(mode);
    }
    for (const std::u16string_view stale : {u"Tallowick.exe", u"drive:", u"\\", u"reside", u"ingore"}) {
      EXPECT_EQ(text.find(stale), std::u16string::npos) << Utf16ToUtf8(stale);
    }
  }
  EXPECT_TRUE(UsageText().starts_with(u"\n\nCommand line usage\n   tallowick FOLDER\n"));
}

// The whole program over the in-memory file system: /app/ is the
// application folder, /f the folder a script renames.
class TCommandLineTest : public ::testing::Test {
 protected:
  TCommandLineTest() {
    fs.AddFolder(u"/app");
    Prepare(SwapChainCasePlan(1));
  }
  void Prepare(const TNamePlan& plan) {
    Populate(fs, u"/f", plan);
    TSession maker(fs, clock, env, tags, u"/app/");
    ASSERT_TRUE(UsePlan(maker, u"/f", plan, u"/app/names.txt", u"/app/map.twscr").ok());
    before = Snapshot(fs, u"/f");
    after.clear();
    for (const auto& [from, to] : plan) after[u"/f/" + to] = Utf16ToUtf8(from);
  }
  TCommandLineOutcome Run(const TArgs& args) {
    output = TStringOutput();
    app = std::make_unique<TApplication>(TApplicationServices{
        fs, clock, env, tags, u"/app/", messages, progress, noDialog,
        [](const std::u16string& path) { return path; }});
    EXPECT_TRUE(app->Open(args.empty() || args[0][0] != u'-').ok());
    TCommandLineOutcome outcome = app->Start(TFrmDummyInstance::FromArguments(u"tw", args));
    app->Close();
    return outcome;
  }
  std::vector<std::u16string> Checked() const {
    std::vector<std::u16string> names;
    for (int row = 0; row < app->session.list.Count(); ++row) {
      if (app->session.list.GetChecked(row)) names.push_back(app->session.list.GetFileData(row)->caption);
    }
    return names;
  }
  // A script in /app/ that carries `folder` (or none) and replaces "a" by "b".
  void WriteFindReplaceScript(const std::u16string& name, const std::u16string& folder) {
    TSession maker(fs, clock, env, tags, u"/app/");
    TScriptStep& step = maker.script.NewScriptControl(TScriptType::stReplaceNameExtension);
    step.SetText(TScriptStepReplaceNameExtension::txtReplacePhrase, u"a");
    step.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, u"b");
    step.SetChoice(TScriptStepReplaceNameExtension::cbxReplaceTarget, 1);
    maker.model.folder = folder;
    maker.twscript.TogglePath(!folder.empty());
    ASSERT_TRUE(SaveToFile(maker.script, maker.twscript, fs, u"/app/" + name).ok());
  }

  TFakeFileSystem fs;
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFakeTagReader tags;
  TStringOutput output;
  TConsoleMessages messages{output};
  TNoProgress progress;
  TIgnoreRenameErrors noDialog;
  std::unique_ptr<TApplication> app;
  std::map<std::u16string, std::string> before;
  std::map<std::u16string, std::string> after;
};

TEST_F(TCommandLineTest, BatchRunThatRenamedEverythingReturnsZeroQuietly) {
  for (const std::u16string mode : {u"-xi", u"-XU", u"-Ri"}) {
    Prepare(SwapChainCasePlan(1));
    const TCommandLineOutcome outcome = Run({mode, u"map.twscr", u"/f"});
    EXPECT_TRUE(outcome.endProgram) << Utf16ToUtf8(mode);
    EXPECT_EQ(outcome.exitCode, 0) << Utf16ToUtf8(mode);
    EXPECT_EQ(output.out + output.err, u"") << Utf16ToUtf8(mode);
    EXPECT_EQ(Snapshot(fs, u"/f"), after) << Utf16ToUtf8(mode);
    EXPECT_TRUE(fs.Exists(u"/app/undo/0000.txt")) << Utf16ToUtf8(mode);
    EXPECT_FALSE(fs.Exists(u"/app/undo/notclean.txt")) << Utf16ToUtf8(mode);
    // Undone from the command line, the folder is as before.
    TStringOutput undoOutput;
    TConsoleMessages undoMessages(undoOutput);
    EXPECT_EQ(RunUndoCommand(fs, u"/app/", undoMessages), 0);
    EXPECT_EQ(Snapshot(fs, u"/f"), before) << Utf16ToUtf8(mode);
    EXPECT_EQ(RunUndoCommand(fs, u"/app/", undoMessages), 1);
    EXPECT_NE(undoOutput.err.find(u"nothing to undo"), std::u16string::npos);
  }
}

TEST_F(TCommandLineTest, ScriptIsAPathOrANameInTheApplicationFolder) {
  fs.AddFolder(u"/elsewhere");
  fs.AddFile(u"/elsewhere/other.twscr", *fs.FileBytes(u"/app/map.twscr"));
  // A bare name that is not in the application folder is missing there.
  TCommandLineOutcome outcome = Run({u"-xi", u"other.twscr", u"/f"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(output.err,
            u"Unable to find script file: /app/other.twscr\n\n"
            u"NOTE: a script named without a folder is looked up in the application folder; "
            u"give a path to use another.\n");
  // A missing path is named as given, and its extension is never changed.
  outcome = Run({u"-xi", u"/elsewhere/other.csv", u"/f"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(output.err, u"Unable to find script file: /elsewhere/other.csv\n");
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
  // A path is used as given.
  outcome = Run({u"-xi", u"/elsewhere/other.twscr", u"/f"});
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(Snapshot(fs, u"/f"), after);
}

TEST_F(TCommandLineTest, MissingFolderParameterRenamesNothing) {
  const TCommandLineOutcome outcome = Run({u"-xu", u"map.twscr", u"/nowhere/"});
  EXPECT_TRUE(outcome.endProgram);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(output.err, u"Unable to find the Path listed: \n/nowhere\n");
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
}

TEST_F(TCommandLineTest, WithoutFolderParameterOnlyTheScriptsFolderIsRenamed) {
  TCommandLineOutcome outcome = Run({u"-xi", u"map.twscr"});  // the script carries /f
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(Snapshot(fs, u"/f"), after);
  // A script without a folder, or with one that is gone, never falls back on
  // the start folder (here the application folder).
  fs.AddFile(u"/app/abc", "x");
  WriteFindReplaceScript(u"nofolder.twscr", u"");
  WriteFindReplaceScript(u"gone.twscr", u"/gone");
  for (const std::u16string script : {u"nofolder.twscr", u"gone.twscr"}) {
    outcome = Run({u"-xi", script});
    EXPECT_EQ(outcome.exitCode, 1) << Utf16ToUtf8(script);
    EXPECT_EQ(output.err, u"Error: Path in script not found.\n") << Utf16ToUtf8(script);
    EXPECT_TRUE(fs.Exists(u"/app/abc")) << Utf16ToUtf8(script);
  }
}

TEST_F(TCommandLineTest, FailureReportsAndExitCodes) {
  fs.AddFolder(u"/g");
  fs.AddFile(u"/g/a1", "1");
  fs.AddFile(u"/g/b1", "taken");
  fs.AddFile(u"/g/a2", "2");
  WriteFindReplaceScript(u"ab.twscr", u"");
  TCommandLineOutcome outcome = Run({u"-xi", u"ab.twscr", u"/g"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(output.err,
            u"Skipped (a1)->(b1): b1 already exists\n"
            u"Error: A rename failed, but errors are ignored. Skipped.\n"
            u"1 of 2 renamed, 1 skipped; tallowick --undo reverses what was renamed.\n");
  // The entry whose second move failed is back under its old name.
  EXPECT_EQ(Snapshot(fs, u"/g"), (std::map<std::u16string, std::string>{
                                     {u"/g/a1", "1"}, {u"/g/b1", "taken"}, {u"/g/b2", "2"}}));
  // What was renamed is stored for undo.
  TConsoleMessages undoMessages(output);
  EXPECT_EQ(RunUndoCommand(fs, u"/app/", undoMessages), 0);
  EXPECT_TRUE(fs.Exists(u"/g/a2"));
  // The undo mode puts everything back and names the failed entry.
  output.err.clear();
  outcome = Run({u"-xu", u"ab.twscr", u"/g"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_TRUE(output.err.starts_with(u"Error: Failed to rename (a1)->(b1). Full undo executed.\n"))
      << Utf16ToUtf8(output.err);
  EXPECT_EQ(Snapshot(fs, u"/g"), (std::map<std::u16string, std::string>{
                                     {u"/g/a1", "1"}, {u"/g/a2", "2"}, {u"/g/b1", "taken"}}));
}

TEST_F(TCommandLineTest, RecursiveModesRenameInSubFolders) {
  fs.AddFolder(u"/r");
  fs.AddFolder(u"/r/sub");
  fs.AddFile(u"/r/a1", "1");
  fs.AddFile(u"/r/sub/a2", "2");
  WriteFindReplaceScript(u"ab.twscr", u"");
  EXPECT_EQ(Run({u"-xi", u"ab.twscr", u"/r"}).exitCode, 0);
  EXPECT_TRUE(fs.Exists(u"/r/b1"));
  EXPECT_TRUE(fs.Exists(u"/r/sub/a2"));
  EXPECT_EQ(Run({u"-ri", u"ab.twscr", u"/r"}).exitCode, 0);
  EXPECT_TRUE(fs.Exists(u"/r/sub/b2"));
}

TEST_F(TCommandLineTest, ShowModeAndUsageNeverRename) {
  TCommandLineOutcome outcome = Run({u"-s"});
  EXPECT_TRUE(outcome.endProgram);
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(output.out, UsageText());
  outcome = Run({u"-s", u"map.twscr", u"/f"});
  EXPECT_FALSE(outcome.endProgram);
  EXPECT_TRUE(outcome.BatchScriptLoaded);
  EXPECT_EQ(outcome.DefaultScriptName, u"/app/map.twscr");
  EXPECT_EQ(app->session.list.Count(), 6);
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
  outcome = Run({u"-s", u"missing.twscr"});
  EXPECT_TRUE(outcome.endProgram);
  EXPECT_EQ(outcome.exitCode, 1);
}

TEST_F(TCommandLineTest, NamedFilesAndFileDropCheckOnlyThoseFiles) {
  TCommandLineOutcome outcome = Run({u"/f/x000b", u"/f/z000a"});
  EXPECT_FALSE(outcome.endProgram);
  EXPECT_EQ(app->session.model.folder, u"/f");
  EXPECT_EQ(Checked(), (std::vector<std::u16string>{u"x000b", u"z000a"}));
  fs.AddFile(u"/app/filedrop.dat", "/f/y000a\n/f/w000\n");
  outcome = Run({u"FILEDROP.DAT"});
  EXPECT_EQ(app->session.model.folder, u"/f");
  EXPECT_EQ(Checked(), (std::vector<std::u16string>{u"w000", u"y000a"}));
  EXPECT_EQ(app->session.list.SelectedCount(), 0);
}

TEST_F(TCommandLineTest, PlainStartPreparesTheDefaultScriptAndListsTheFolder) {
  const TCommandLineOutcome outcome = Run({u"/f"});
  EXPECT_FALSE(outcome.endProgram);
  EXPECT_TRUE(outcome.listed);
  EXPECT_EQ(app->session.list.Count(), 6);
  EXPECT_TRUE(fs.Exists(u"/app/default.twscr"));
  EXPECT_FALSE(fs.Exists(u"/app/undo/notclean.txt"));  // removed at exit
}

TEST_F(TCommandLineTest, FailedStartKeepsTheLastBatchUndoable) {
  ASSERT_EQ(Run({u"-xi", u"map.twscr", u"/f"}).exitCode, 0);
  ASSERT_EQ(Run({u"-xi", u"mistyped.twscr", u"/f"}).exitCode, 1);
  TStringOutput undoOutput;
  TConsoleMessages undoMessages(undoOutput);
  EXPECT_EQ(RunUndoCommand(fs, u"/app/", undoMessages), 0);
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
}

TEST_F(TCommandLineTest, ARunThatCouldNotBeUndoneNeverStartsNorLeavesAStaleRecord) {
  // An earlier batch is stored; then the undo store can no longer be written.
  ASSERT_EQ(Run({u"-xi", u"map.twscr", u"/f"}).exitCode, 0);
  TStringOutput undoOutput;
  TConsoleMessages undoMessages(undoOutput);
  ASSERT_EQ(RunUndoCommand(fs, u"/app/", undoMessages), 0);
  ASSERT_EQ(Run({u"-xi", u"map.twscr", u"/f"}).exitCode, 0);
  fs.FailWrites(1000);
  const TCommandLineOutcome outcome = Run({u"-xi", u"map.twscr", u"/f"});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(output.err.find(u"nothing was renamed"), std::u16string::npos)
      << Utf16ToUtf8(output.err);
  fs.FailWrites(0);
  // The stored batch is the last one that ran, and undoing it restores the folder.
  EXPECT_EQ(RunUndoCommand(fs, u"/app/", undoMessages), 0);
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
}

TEST_F(TCommandLineTest, UndoCommandKeepsTheBatchWhenAnEntryCannotGoBack) {
  ASSERT_EQ(Run({u"-xi", u"map.twscr", u"/f"}).exitCode, 0);
  fs.AddFile(u"/f/z000a", "newcomer");  // appeared under an old name meanwhile
  TStringOutput undoOutput;
  TConsoleMessages undoMessages(undoOutput);
  EXPECT_EQ(RunUndoCommand(fs, u"/app/", undoMessages), 1);
  EXPECT_EQ(*fs.FileBytes(u"/f/z000a"), "newcomer");
  EXPECT_EQ(*fs.FileBytes(u"/f/Z000A"), "z000a");
  EXPECT_NE(undoOutput.err.find(u"Error: Failed to undo (/f/Z000A)->(/f/z000a)"),
            std::u16string::npos);
  EXPECT_TRUE(fs.Exists(u"/app/undo/0000.txt"));
}

TEST_F(TCommandLineTest, HandedOverCommandLineListsTheNewFolder) {
  Run({});
  TStartup startup(TCommandLineServices{app->session, app->undo, app->store, noDialog, messages,
                                        progress, [](const std::u16string& p) { return p; }},
                   u"/app/");
  fs.AddFolder(u"/h");
  fs.AddFile(u"/h/one", "");
  const TCommandLineOutcome outcome = startup.SetCommandLine(u"\"tallowick\" \"/h\"");
  EXPECT_FALSE(outcome.endProgram);
  EXPECT_EQ(app->session.model.folder, u"/h");
  EXPECT_EQ(app->session.list.Count(), 1);
  EXPECT_EQ(startup.DefaultScriptName(), u"/app/default.twscr");
}

}  // namespace
