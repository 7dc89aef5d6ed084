// Never lose a file: every rename of a run of a few hundred entries that
// swap, chain and change case is broken in turn, in both phases, through the
// batch modes -xu and -xi and through "Stop and Undo", on the in-memory file
// system and on a real folder.
#include <gtest/gtest.h>

#include <set>

#include "UnitUndoScenario.h"
#include "cli/UnitApplication.h"
#include "cli/UnitUndoCommand.h"
#include "cli/UnitCommandLineSplit.h"
#include "cli/UnitStartupMessages.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"
#include "support/UnitFaultyFileSystem.h"
#include "support/UnitRenameRunFixture.h"
#include "support/UnitTempFolder.h"

namespace {

const std::u16string kTemp(kTempNameSuffix);

struct TBatchRun {
  int exitCode = 0;
  std::u16string err;
  std::vector<TFaultyFileSystem::TRenameCall> renames;
};

// Runs `tallowick MODE map.twscr FOLDER` with the application folder `app`
// on `fs`, the `k`-th rename failing (none when 0).
TBatchRun RunMode(TFileSystem& disk, const std::u16string& app, const std::u16string& mode,
                  const std::u16string& folder, int k) {
  TFaultyFileSystem fs(disk);
  if (k > 0) fs.FailRename(k);
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFakeTagReader tags;
  TStringOutput output;
  TConsoleMessages messages(output);
  TNoProgress progress;
  TIgnoreRenameErrors noDialog;
  TApplication application({fs, clock, env, tags, app, messages, progress, noDialog,
                            [](const std::u16string& path) { return path; }});
  EXPECT_TRUE(application.Open(false).ok());
  const TCommandLineOutcome outcome = application.Start(
      TFrmDummyInstance::FromArguments(u"tallowick", {mode, u"map.twscr", folder}));
  application.Close();
  EXPECT_TRUE(outcome.endProgram);
  return {outcome.exitCode, output.err, fs.Renames()};
}

// Lays out the plan in `folder` and its script in the application folder.
void Prepare(TFileSystem& fs, const std::u16string& app, const std::u16string& folder,
             const TNamePlan& plan) {
  Populate(fs, folder, plan);
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession maker(fs, clock, env, tags, app);
  ASSERT_TRUE(UsePlan(maker, folder, plan, app + u"names.txt", app + u"map.twscr").ok());
}

// Each file of `before` lies under its old name, its new name or its
// temporary name, with its content, exactly once; nothing else is there.
void ExpectEveryFileKept(const std::map<std::u16string, std::string>& before,
                         const std::map<std::u16string, std::string>& after,
                         const std::u16string& folder, const TNamePlan& plan,
                         const std::string& label) {
  std::map<std::u16string, std::u16string> newName(plan.begin(), plan.end());
  EXPECT_EQ(after.size(), before.size()) << label;
  std::set<std::string> contents;
  for (const auto& [path, content] : after) contents.insert(content);
  EXPECT_EQ(contents.size(), after.size()) << label << ": a file was overwritten";
  for (const auto& [path, content] : before) {
    const std::u16string target = folder + u"/" + newName[path.substr(folder.size() + 1)];
    int found = 0;
    for (const std::u16string& name : std::set<std::u16string>{path, target, target + kTemp}) {
      const auto at = after.find(name);
      if (at != after.end() && at->second == content) ++found;
    }
    EXPECT_EQ(found, 1) << label << " " << Utf16ToUtf8(path);
  }
}

// The pair named in the -xu message: the entry of the k-th rename by its old
// and its new name, relative to `folder`.
std::u16string FailedPair(const TBatchRun& run, int k, const std::u16string& folder,
                          const TNamePlan& plan) {
  const auto& call = run.renames.at(static_cast<size_t>(k - 1));
  const size_t skip = folder.size() + 1;
  const auto untagged = [](std::u16string name) {
    if (name.ends_with(kTemp)) name.resize(name.size() - kTemp.size());
    return name;
  };
  std::u16string from = call.from.substr(skip);
  if (from.ends_with(kTemp)) {
    const std::u16string target = untagged(from);
    for (const auto& [oldName, newName] : plan) {
      if (newName == target) from = oldName;
    }
  }
  return u"(" + from + u")->(" + untagged(call.to.substr(skip)) + u")";
}

class TRenameSweepTest : public ::testing::Test {
 protected:
  TRenameSweepTest() : plan(SwapChainCasePlan(40)) {
    Prepare(templateDisk, u"/app/", u"/f", plan);
    before = Snapshot(templateDisk, u"/f");
  }
  int Renames() const { return 2 * static_cast<int>(plan.size() * 5 / 6); }

  TNamePlan plan;
  TFakeFileSystem templateDisk;
  std::map<std::u16string, std::string> before;
};

TEST_F(TRenameSweepTest, UndoModeRestoresTheFolderWhereverTheRunBreaks) {
  ASSERT_EQ(before.size(), 240u);
  for (int k = 1; k <= Renames() + 1; ++k) {
    TFakeFileSystem disk = templateDisk;
    const TBatchRun run = RunMode(disk, u"/app/", u"-xu", u"/f", k);
    const std::string label = "k=" + std::to_string(k);
    if (k > Renames()) {
      EXPECT_EQ(run.exitCode, 0) << label;
      EXPECT_EQ(run.err, u"") << label;
      continue;
    }
    EXPECT_EQ(Snapshot(disk, u"/f"), before) << label;
    EXPECT_EQ(run.exitCode, 1) << label;
    const std::u16string expected =
        u"Error: Failed to rename " + FailedPair(run, k, u"/f", plan) + u". Full undo executed.\n";
    EXPECT_EQ(run.err.substr(0, expected.size()), expected) << label;
  }
}

TEST_F(TRenameSweepTest, IgnoreModeKeepsEveryFileWhereverTheRunBreaks) {
  for (int k = 1; k <= Renames(); ++k) {
    TFakeFileSystem disk = templateDisk;
    const TBatchRun run = RunMode(disk, u"/app/", u"-xi", u"/f", k);
    const std::string label = "k=" + std::to_string(k);
    EXPECT_EQ(run.exitCode, 1) << label;
    EXPECT_NE(run.err.find(u"Error: A rename failed, but errors are ignored. Skipped.\n"),
              std::u16string::npos)
        << label;
    // The last line counts what happened.
    EXPECT_NE(run.err.find(u" skipped"), std::u16string::npos) << label;
    // Undo reverses exactly what the run did, whichever move failed.
    TStringOutput output;
    TConsoleMessages messages(output);
    EXPECT_EQ(RunUndoCommand(disk, u"/app/", messages), 0) << label << Utf16ToUtf8(output.err);
    EXPECT_EQ(Snapshot(disk, u"/f"), before) << label;
    ExpectEveryFileKept(before, Snapshot(disk, u"/f"), u"/f", plan, label);
  }
}

TEST_F(TRenameSweepTest, StopAndUndoRestoresTheFolderWhereverTheRunBreaks) {
  for (int k = 1; k <= Renames(); ++k) {
    TFakeFileSystem disk = templateDisk;
    TFaultyFileSystem fs(disk);
    TFixedClock clock;
    TMapEnvironment env;
    TFakeTagReader tags;
    TSession session(fs, clock, env, tags, u"/app/");
    ASSERT_TRUE(session.LoadScript(u"/app/map.twscr").ok());
    TNoProgress progress;
    session.Refresh(progress, false);
    TfrmUndo undo(fs, u"/app/");
    TUndoRename store(fs, u"/app/");
    TRecordingErrors errors;
    errors.answer = TRenameErrorAnswer::Stop;
    TRenameCommand command(session, undo, store, errors);
    fs.FailRename(k);
    const TRenameResult result = command.btnRenameClick(progress);
    const std::string label = "k=" + std::to_string(k);
    EXPECT_EQ(errors.reports.size(), 1u) << label;
    EXPECT_TRUE(result.undoFailures.empty()) << label;
    EXPECT_EQ(Snapshot(fs, u"/f"), before) << label;
  }
}

// The same on a real folder, smaller.
TEST(TRenameSweepDiskTest, BothModesKeepEveryFileOnDisk) {
  const TNamePlan plan = SwapChainCasePlan(5);
  const int renames = 2 * 25;
  for (const std::u16string mode : {u"-xu", u"-xi"}) {
    for (int k = 1; k <= renames; ++k) {
      const TTempFolder temp;
      const std::u16string root = Utf8ToUtf16(temp.Path());
      const auto disk = NewPosixFileSystem();
      Prepare(*disk, root + u"/app/", root + u"/f", plan);
      const auto before = Snapshot(*disk, root + u"/f");
      const TBatchRun run = RunMode(*disk, root + u"/app/", mode, root + u"/f", k);
      const std::string label = Utf16ToUtf8(mode) + " k=" + std::to_string(k);
      EXPECT_EQ(run.exitCode, 1) << label;
      if (mode == u"-xu") {
        EXPECT_EQ(Snapshot(*disk, root + u"/f"), before) << label;
      } else {
        ExpectEveryFileKept(before, Snapshot(*disk, root + u"/f"), root + u"/f", plan, label);
      }
    }
  }
}

}  // namespace
