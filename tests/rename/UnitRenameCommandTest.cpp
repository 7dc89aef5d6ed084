#include "rename/UnitRenameCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "UnitUndoScenario.h"
#include "engine/UnitScriptStepReplace.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitIdentityReadAhead.h"
#include "rename/UnitRenameInPlace.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"
#include "session/UnitSession.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"
#include "support/UnitFaultyFileSystem.h"
#include "support/UnitRecordingProgress.h"
#include "support/UnitRenameRunFixture.h"
#include "support/UnitTempFolder.h"

namespace {

const std::u16string kTemp(kTempNameSuffix);

// Lists /f with only its first entry checked, under a script that replaces
// that entry's name by `name` as written (so "/" stays a folder separator).
void UseLiteralName(TSession& session, const std::u16string& name,
                    const std::u16string& folder = u"/f") {
  session.model.folder = folder;
  TNoProgress progress;
  session.Refresh(progress, false);
  for (int row = 1; row < session.list.Count(); ++row) session.list.SetChecked(row, false);
  TScriptStep& step = session.script.NewScriptControl(TScriptType::stReplaceNameExtension);
  step.SetChoice(TScriptStepReplaceNameExtension::cbxReplacePart, 0);
  step.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, name);
}

class TRenameCommandTest : public ::testing::Test {
 protected:
  TRenameCommandTest() {
    disk.AddFolder(u"/app");
    EXPECT_TRUE(store.Create().ok());
  }
  // Lays out `plan` in /f and makes the session rename by it.
  void Prepare(const TNamePlan& plan, const std::vector<std::u16string>& extra = {}) {
    Populate(fs, u"/f", plan, extra);
    ASSERT_TRUE(UsePlan(session, u"/f", plan, u"/t/names.txt").ok());
  }
  TRenameResult Run() {
    TNoProgress progress;
    return command.btnRenameClick(progress);
  }
  std::vector<std::u16string> CheckedCaptions() const {
    std::vector<std::u16string> names;
    for (int row = 0; row < session.list.Count(); ++row) {
      if (session.list.GetChecked(row)) names.push_back(session.list.GetFileData(row)->caption);
    }
    return names;
  }

  TFakeFileSystem disk;
  TFaultyFileSystem fs{disk};
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession session{fs, clock, env, tags, u"/app/"};
  TfrmUndo undo{fs, u"/app/"};
  TUndoRename store{fs, u"/app/"};
  TRecordingErrors errors;
  TRenameCommand command{session, undo, store, errors};
};

TEST_F(TRenameCommandTest, SwapsChainsAndCaseChangesArriveThroughTemporaryNames) {
  const TNamePlan plan = SwapChainCasePlan(2);
  Prepare(plan);
  const TRenameResult result = Run();
  EXPECT_TRUE(result.ran);
  EXPECT_EQ(result.planned, 10);  // the entries left alone are not planned
  EXPECT_EQ(result.renamed, 10);
  EXPECT_FALSE(command.state.ErrorOccured);
  std::map<std::u16string, std::string> expected;
  for (const auto& [from, to] : plan) expected[u"/f/" + to] = Utf16ToUtf8(from);
  EXPECT_EQ(Snapshot(fs, u"/f"), expected);
  // Every first-phase move ends in the temporary suffix, no second-phase one does.
  ASSERT_EQ(fs.RenameCount(), 20);
  for (int i = 0; i < 20; ++i) {
    const std::u16string& to = fs.Renames()[static_cast<size_t>(i)].to;
    const bool temporary = to.size() > kTemp.size() && to.ends_with(kTemp);
    EXPECT_EQ(temporary, i < 10) << Utf16ToUtf8(to);
  }
  EXPECT_TRUE(errors.reports.empty());
}

TEST_F(TRenameCommandTest, BatchGoesToTheUndoStoreAndTheRenamedEntriesStayChecked) {
  Prepare(SwapChainCasePlan(1));
  const TRenameResult result = Run();
  EXPECT_TRUE(result.storeStatus.ok());
  EXPECT_TRUE(result.undoEnabled);
  EXPECT_EQ(store.NextIndex(), 1);
  EXPECT_EQ(CheckedCaptions(),
            (std::vector<std::u16string>{u"x000a", u"x000b", u"y000b", u"y000c", u"Z000A"}));
  // The stored batch holds each entry's old and final full path.
  TfrmUndo stored(fs, u"/app/");
  ASSERT_TRUE(store.LoadLastState(stored).ok());
  ASSERT_EQ(stored.UndoCount(), 5);
  EXPECT_EQ(stored.GetUndoOldName(0), u"/f/x000a");
  EXPECT_EQ(stored.GetUndoNewName(0), u"/f/x000b");
  EXPECT_EQ(stored.GetUndoNewName(4), u"/f/Z000A");
}

TEST(TRenameCommandDiskTest, NewNameInSubFoldersCreatesThemFirst) {
  const TTempFolder temp;
  const std::u16string folder = Utf8ToUtf16(temp.Path());
  const auto disk = NewPosixFileSystem();
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession session(*disk, clock, env, tags, folder + u"/app/");
  TfrmUndo undo(*disk, folder + u"/app/");
  TUndoRename store(*disk, folder + u"/app/");
  ASSERT_TRUE(store.Create().ok());
  TRecordingErrors errors;
  TRenameCommand command(session, undo, store, errors);
  Populate(*disk, folder + u"/f", {{u"a", u"a"}, {u"b", u"b"}});
  UseLiteralName(session, u"sub/deeper/a", folder + u"/f");
  TNoProgress progress;
  command.btnRenameClick(progress);
  EXPECT_FALSE(command.state.ErrorOccured);
  const std::u16string f = folder + u"/f";
  EXPECT_EQ(Snapshot(*disk, f), (std::map<std::u16string, std::string>{
                                    {f + u"/b", "b"},
                                    {f + u"/sub/", ""},
                                    {f + u"/sub/deeper/", ""},
                                    {f + u"/sub/deeper/a", "a"}}));
}

TEST_F(TRenameCommandTest, NamesThatLeaveTheFolderFailAndTouchNothing) {
  for (const std::u16string name : {u"../up", u"sub/../../up", u"a//b", u"/abs", u".."}) {
    TFakeFileSystem localDisk;
    TFaultyFileSystem localFs(localDisk);
    TSession local(localFs, clock, env, tags, u"/app/");
    TfrmUndo localUndo(localFs, u"/app/");
    TUndoRename localStore(localFs, u"/app/");
    ASSERT_TRUE(localStore.Create().ok());
    TRecordingErrors localErrors;
    TRenameCommand run(local, localUndo, localStore, localErrors);
    Populate(localFs, u"/f", {{u"a", u"a"}, {u"b", u"b"}});
    UseLiteralName(local, name);
    TNoProgress progress;
    run.btnRenameClick(progress);
    const std::string label = Utf16ToUtf8(name);
    EXPECT_TRUE(run.state.ErrorOccured) << label;
    ASSERT_EQ(localErrors.reports.size(), 1u) << label;
    EXPECT_EQ(localErrors.reports[0].source, u"a") << label;
    EXPECT_EQ(run.state.FirstError.reason(), u"The new name would leave the listed folder")
        << label;
    EXPECT_EQ(localFs.RenameCount(), 0) << label;
    EXPECT_EQ(Snapshot(localFs, u"/f"),
              (std::map<std::u16string, std::string>{{u"/f/a", "a"}, {u"/f/b", "b"}}))
        << label;
    EXPECT_FALSE(localStore.HasState()) << label;
  }
}

TEST_F(TRenameCommandTest, NameEndingInDotStaysUnderAnEmptyScript) {
  Populate(fs, u"/f", {{u"x.", u"x."}, {u"y..", u"y.."}, {u"z.txt.", u"z.txt."}});
  session.model.folder = u"/f";
  TNoProgress progress;
  session.Refresh(progress, false);
  const TRenameResult result = Run();
  EXPECT_EQ(result.planned, 0);
  EXPECT_EQ(fs.RenameCount(), 0);
  EXPECT_EQ(Snapshot(fs, u"/f").size(), 3u);
}

TEST_F(TRenameCommandTest, AnUnrelatedFileUnderATemporaryNameIsNeverTaken) {
  for (const bool undoMode : {false, true}) {
    TFakeFileSystem localDisk;
    TSession local(localDisk, clock, env, tags, u"/app/");
    TfrmUndo localUndo(localDisk, u"/app/");
    TUndoRename localStore(localDisk, u"/app/");
    TRenameCommand run(local, localUndo, localStore, errors);
    Populate(localDisk, u"/f", {{u"a", u"b"}}, {u"b.TW_TEMPNAME"});
    ASSERT_TRUE(UsePlan(local, u"/f", {{u"a", u"b"}}, u"/t/names.txt").ok());
    local.list.SetChecked(1, false);  // the unrelated file takes no part
    run.state.BatchUndo = undoMode;
    run.state.BatchIgnore = !undoMode;
    TNoProgress progress;
    run.btnRenameClick(progress);
    EXPECT_TRUE(run.state.ErrorOccured);
    EXPECT_EQ(Snapshot(localDisk, u"/f"),
              (std::map<std::u16string, std::string>{{u"/f/a", "a"},
                                                     {u"/f/b.TW_TEMPNAME", "b.TW_TEMPNAME"}}))
        << undoMode;
  }
}

TEST_F(TRenameCommandTest, IgnoreAnswerAsksOnceSkipsLaterFailuresAndStoresWhatWasRenamed) {
  const TNamePlan plan = SwapChainCasePlan(2);
  Prepare(plan);
  const auto before = Snapshot(fs, u"/f");
  fs.FailRename(2);
  fs.FailRename(4);
  fs.FailRename(13);
  const TRenameResult result = Run();
  EXPECT_EQ(errors.reports.size(), 1u);
  EXPECT_TRUE(command.state.SkipErrors);
  EXPECT_FALSE(command.state.StopRenaming);
  EXPECT_TRUE(result.undoEnabled);
  // Failures name the entry by its old and its new name, never a temporary one.
  ASSERT_FALSE(result.failures.empty());
  for (const TRenameFailure& failure : result.failures) {
    EXPECT_FALSE(failure.source.ends_with(kTemp) || failure.target.ends_with(kTemp))
        << Utf16ToUtf8(failure.source) << " -> " << Utf16ToUtf8(failure.target);
  }
  EXPECT_FALSE(command.state.FirstErrorTargetFile.ends_with(kTemp));
  // What was renamed is stored, and undoing it brings back the folder.
  ASSERT_TRUE(store.HasState());
  EXPECT_GT(result.renamed, 0);
  EXPECT_LT(result.renamed, result.planned);
  ASSERT_TRUE(store.LoadLastState(undo).ok());
  TIgnoreRenameErrors quiet;
  (void)undo.UndoNow(u"", quiet);
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
}

// Entries the rename refuses or cannot finish stay under their old names and
// are reported with the reason; the others are renamed.
TEST_F(TRenameCommandTest, RefusedAndFailedEntriesStayUnderTheirOldNames) {
  const struct {
    const char* label;
    std::u16string newName;  // for the first entry, "a"
    std::vector<std::u16string> extra;
    std::u16string reason;
  } cases[] = {
      {"illegal character", u"x:y", {}, u"The new name holds a character that is not allowed: ':'"},
      {"leaves the folder", u"../out", {}, u"The new name would leave the listed folder"},
      {"existing file", u"taken", {u"taken"}, u"taken already exists"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TFakeFileSystem local;
    local.AddFolder(u"/app");
    Populate(local, u"/f", {{u"a", u"a"}}, c.extra);
    TSession here(local, clock, env, tags, u"/app/");
    TfrmUndo localUndo(local, u"/app/");
    TUndoRename localStore(local, u"/app/");
    ASSERT_TRUE(localStore.Create().ok());
    UseLiteralName(here, c.newName);
    TRenameCommand run(here, localUndo, localStore, errors);
    run.state.BatchIgnore = true;
    TNoProgress progress;
    const TRenameResult result = run.btnRenameClick(progress);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].source, u"a");
    EXPECT_EQ(result.failures[0].target, c.newName);
    EXPECT_EQ(result.failures[0].status.reason(), c.reason);
    EXPECT_TRUE(local.Exists(u"/f/a"));
    EXPECT_FALSE(local.Exists(u"/f/" + c.newName + kTemp));
  }
}

// An entry whose new name is taken goes back; one whose new name is that
// entry's old name goes back in turn, before any entry takes its new name,
// and an entry outside the chain whose new name is taken fails on its own.
TEST_F(TRenameCommandTest, ABlockedEntryTakesBackEveryEntryChainedToItsOldName) {
  Prepare({{u"a", u"b"}, {u"b", u"c"}, {u"d", u"e"}, {u"f", u"g"}}, {u"c", u"e"});
  const auto before = Snapshot(fs, u"/f");
  command.state.BatchIgnore = true;
  const TRenameResult result = Run();
  std::vector<std::u16string> failed;
  for (const TRenameFailure& failure : result.failures) failed.push_back(failure.source);
  std::sort(failed.begin(), failed.end());
  EXPECT_EQ(failed, (std::vector<std::u16string>{u"a", u"b", u"d"}));
  auto expected = before;
  expected.erase(u"/f/f");
  expected[u"/f/g"] = before.at(u"/f/f");
  EXPECT_EQ(Snapshot(fs, u"/f"), expected);
  EXPECT_EQ(result.renamed, 1);
}

TEST_F(TRenameCommandTest, TwoEntriesUnderOneNewNameNameEachOther) {
  Prepare({{u"a", u"x"}, {u"b", u"x"}});
  command.state.BatchIgnore = true;
  const TRenameResult result = Run();
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].status.reason(), u"x is also the new name of a");
  EXPECT_EQ(Snapshot(fs, u"/f"),
            (std::map<std::u16string, std::string>{{u"/f/b", "b"}, {u"/f/x", "a"}}));
}

TEST_F(TRenameCommandTest, AnEntryUnderItsOwnTemporaryNameIsRenamedAndUndone) {
  Populate(fs, u"/f", {{u"x" + kTemp, u"x"}});
  UseLiteralName(session, u"x");
  TScriptStep& dropExtension = session.script.NewScriptControl(TScriptType::stReplaceNameExtension);
  dropExtension.SetChoice(TScriptStepReplaceNameExtension::cbxReplacePart, 1);
  dropExtension.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, u"");
  const auto before = Snapshot(fs, u"/f");
  const TRenameResult result = Run();
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(result.renamed, 1);
  EXPECT_TRUE(fs.Exists(u"/f/x"));
  TIgnoreRenameErrors quiet;
  (void)undo.UndoNow(u"", quiet);
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
}

// A progress that asks to stop once `after` entries were reported moving.
class TStopAfter : public TProgress {
 public:
  explicit TStopAfter(const TFaultyFileSystem& fs, size_t after) : fs_(fs), after_(after) {}
  void Started(std::u16string_view, int) override {}
  void Advanced(int) override {}
  void Message(std::u16string_view) override {}
  void Finished() override {}
  bool Cancelled() const override { return fs_.Renames().size() >= after_; }

 private:
  const TFaultyFileSystem& fs_;
  size_t after_;
};

TEST_F(TRenameCommandTest, AStopRequestNeverLeavesATemporaryName) {
  const TNamePlan plan = SwapChainCasePlan(3);
  Prepare(plan);
  const auto before = Snapshot(disk, u"/f");
  const size_t moves = 2 * 15;
  for (const bool ignore : {false, true}) {
    for (size_t after = 0; after <= moves; after += 3) {
      TFakeFileSystem copy = disk;
      TFaultyFileSystem local(copy);
      TSession here(local, clock, env, tags, u"/app/");
      ASSERT_TRUE(UsePlan(here, u"/f", plan, u"/t/names.txt").ok());
      TfrmUndo localUndo(local, u"/app/");
      TUndoRename localStore(local, u"/app/");
      ASSERT_TRUE(localStore.Create().ok());
      TRenameCommand run(here, localUndo, localStore, errors);
      run.state.BatchIgnore = ignore;
      run.state.BatchUndo = !ignore;
      TStopAfter progress(local, after);
      const TRenameResult result = run.btnRenameClick(progress);
      const std::string label = (ignore ? "-xi after " : "-xu after ") + std::to_string(after);
      // Skipping failures, the second half runs to its end once begun.
      if (after < moves / 2) {
        EXPECT_TRUE(result.interrupted) << label;
      }
      for (const auto& [path, content] : Snapshot(local, u"/f")) {
        EXPECT_FALSE(path.ends_with(kTemp)) << label << " " << Utf16ToUtf8(path);
      }
      if (!ignore) {
        if (result.interrupted) {
          EXPECT_EQ(Snapshot(local, u"/f"), before) << label;
        }
        continue;
      }
      // Skipping failures: what was renamed is stored, and its undo restores all.
      if (result.renamed > 0) {
        ASSERT_TRUE(localStore.LoadLastState(localUndo).ok()) << label;
        TIgnoreRenameErrors quiet;
        (void)localUndo.UndoNow(u"", quiet);
      }
      EXPECT_EQ(Snapshot(local, u"/f"), before) << label;
    }
  }
}

TEST_F(TRenameCommandTest, BatchUndoStopsInPhaseOneAndPutsEveryEntryBack) {
  const TNamePlan plan = SwapChainCasePlan(3);
  Prepare(plan, {});
  const auto before = Snapshot(fs, u"/f");
  command.state.BatchUndo = true;
  fs.FailRename(7);
  const TRenameResult result = Run();
  EXPECT_TRUE(result.stopped);
  EXPECT_FALSE(result.undoEnabled);
  EXPECT_EQ(command.state.ExitCode, 1);
  EXPECT_TRUE(errors.reports.empty());
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
  // The run reversed what it recorded itself: nothing is left to undo.
  EXPECT_EQ(undo.UndoCount(), 0);
  EXPECT_TRUE(result.notBack.empty());
}

TEST_F(TRenameCommandTest, StopAndUndoInPhaseTwoReversesTheRunAtOnce) {
  Prepare(SwapChainCasePlan(3));
  const auto before = Snapshot(fs, u"/f");
  errors.answer = TRenameErrorAnswer::Stop;
  fs.FailRename(20);  // 15 entries: the fifth move of phase 2
  const TRenameResult result = Run();
  EXPECT_EQ(errors.reports.size(), 1u);
  EXPECT_TRUE(result.stopped);
  EXPECT_TRUE(result.undoFailures.empty());
  EXPECT_EQ(Snapshot(fs, u"/f"), before);
  EXPECT_EQ(undo.UndoCount(), 0);
  EXPECT_FALSE(store.HasState());
}

TEST_F(TRenameCommandTest, RecursiveListAsksToShowItAgainOnlyOutsideBatchMode) {
  Prepare({{u"a", u"b"}});
  int asked = 0;
  const auto ask = [&] {
    ++asked;
    return true;
  };
  TNoProgress progress;
  command.state.CurrentFileListIsRecursive = true;
  command.btnRenameClick(progress, ask);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(command.state.CurrentFileListIsRecursive);
  EXPECT_FALSE(command.state.UseRecursiveOnce);  // used by the refresh
  command.state.CurrentFileListIsRecursive = true;
  command.state.BatchIgnore = true;
  command.btnRenameClick(progress, ask);
  EXPECT_EQ(asked, 1);
}

TEST_F(TRenameCommandTest, ProgressRunsThroughBothHalves) {
  TNamePlan plan;
  for (int i = 0; i < 700; ++i) plan.emplace_back(u"f" + IntToStr(1000 + i), u"g" + IntToStr(i));
  Prepare(plan);
  TRecordingProgress progress;
  command.btnRenameClick(progress);
  const auto messages = progress.CallsStartingWith("Message: Renaming ...");
  EXPECT_EQ(messages, (std::vector<std::string>{"Message: Renaming ...",
                                                "Message: Renaming ... %21",
                                                "Message: Renaming ... %43",
                                                "Message: Renaming ... %71",
                                                "Message: Renaming ... %93"}));
  EXPECT_EQ(progress.CallsStartingWith("Started: Renaming").size(), 1u);
}

TEST_F(TRenameCommandTest, RenameInPlaceMovesOnceAndStoresASingleBatch) {
  Populate(fs, u"/f", {{u"a", u"a"}, {u"b", u"b"}});
  session.model.folder = u"/f";
  TNoProgress progress;
  session.Refresh(progress, false);
  undo.AddUndo(u"/f/q", u"/f/r");
  const TRenameInPlaceResult done = RenameInPlace(session, 0, u"Alpha", undo, store);
  EXPECT_TRUE(done.status.ok());
  EXPECT_EQ(session.list.GetFileData(0)->caption, u"Alpha");
  EXPECT_EQ(undo.UndoCount(), 0);
  EXPECT_EQ(store.NextIndex(), 1);
  EXPECT_EQ(fs.RenameCount(), 1);  // no temporary name
  // Never over another entry, never out of the folder, never past the list;
  // a refusal leaves the undo list as it was.
  undo.AddUndo(u"/f/q", u"/f/r");
  EXPECT_EQ(RenameInPlace(session, 1, u"Alpha", undo, store).status.code(), EEXIST);
  EXPECT_FALSE(RenameInPlace(session, 1, u"../b", undo, store).status.ok());
  EXPECT_FALSE(RenameInPlace(session, 1, u"", undo, store).status.ok());
  EXPECT_FALSE(RenameInPlace(session, 9, u"c", undo, store).status.ok());
  EXPECT_EQ(session.list.GetFileData(1)->caption, u"b");
  EXPECT_EQ(undo.UndoCount(), 1);
  EXPECT_EQ(store.NextIndex(), 1);
  EXPECT_EQ(Snapshot(fs, u"/f"),
            (std::map<std::u16string, std::string>{{u"/f/Alpha", "a"}, {u"/f/b", "b"}}));
}

TEST(TCheckNewNameTest, AcceptsNamesInsideTheFolderOnly) {
  const std::pair<std::u16string, bool> cases[] = {
      {u"a", true},        {u"sub/a", true},  {u"a.b.c", true},   {u"..a", true},
      {u"a..", true},      {u"", false},      {u".", false},      {u"..", false},
      {u"../a", false},    {u"a/..", false},  {u"/a", false},     {u"a//b", false},
      {u"a/", false},      {u"a/./b", false}, {std::u16string(u"a\0b", 3), false},
  };
  for (const auto& [name, ok] : cases) {
    EXPECT_EQ(CheckNewNameStaysInFolder(name).ok(), ok) << Utf16ToUtf8(name);
  }
}

// A folder that reads identities ahead from a table, and keeps the names it
// is asked for afterwards.
class TTableFolder : public TFolderHandle {
 public:
  std::map<std::u16string, TEntryIdentity, std::less<>> table;
  std::vector<std::u16string> askedLater;

  bool Exists(const std::u16string&) override { return false; }
  TStatus GetEntryIdentity(const std::u16string& name, TEntryIdentity& id) override {
    askedLater.push_back(name);
    id = Find(name);
    return TStatus::Ok();
  }
  std::unique_ptr<TIdentitiesAhead> ReadIdentitiesAhead(
      std::vector<std::u16string_view> names) override {
    return std::make_unique<TIdentitiesAhead>(
        std::move(names), [this](std::u16string_view name, TEntryIdentity& id) { id = Find(name); });
  }
  TStatus RenameNoReplaceBeneath(const std::u16string&, const std::u16string&) override {
    return TStatus::Ok();
  }

 private:
  TEntryIdentity Find(std::u16string_view name) const {
    const auto it = table.find(name);
    return it == table.end() ? TEntryIdentity() : it->second;
  }
};

// However far the reading ahead got, every entry gets its own identity: one
// read ahead for its row and name, or else one asked for now (a row checked
// later, an entry unknown then, a row whose name is not the one read).
TEST(TIdentityReadAheadTest, EveryEntryGetsItsOwnIdentity) {
  TFakeFileSystem fs;
  Populate(fs, u"/f", {{u"a", u"a"}, {u"b", u"b"}, {u"c", u"c"}, {u"d", u"d"}, {u"e", u"e"}});
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession session(fs, clock, env, tags, u"/app/");
  session.model.folder = u"/f";
  TNoProgress progress;
  session.Refresh(progress, false);
  ASSERT_EQ(session.list.Count(), 5);
  session.list.SetChecked(2, false);  // "c"
  TTableFolder folder;
  folder.table = {{u"a", {1, 10}}, {u"b", {1, 11}}, {u"c", {1, 12}}, {u"e", {1, 14}}, {u"x", {1, 19}}};
  TIdentityReadAhead ahead(folder, session.list);
  const std::vector<TEntryIdentity> ids =
      ahead.IdentitiesOf({0, 2, 3, 4}, {u"a", u"c", u"d", u"x"});
  EXPECT_EQ(ids, (std::vector<TEntryIdentity>{{1, 10}, {1, 12}, {}, {1, 19}}));
  for (const std::u16string name : {u"c", u"d", u"x"}) {
    EXPECT_NE(std::find(folder.askedLater.begin(), folder.askedLater.end(), name),
              folder.askedLater.end())
        << Utf16ToUtf8(name);
  }
  EXPECT_LE(folder.askedLater.size(), 4u);
}

// A run lists names only unless something may read sizes or times: a
// variable in any step's text, the sort, custom columns, a text file.
TEST(TRunReadsEntryAttributesTest, OnlyWhatMayReadThemAsksForThem) {
  struct TCase {
    std::u16string with;  // the replacement text of the one step
    TSortKind sort;
    bool customColumn;
    bool textFile;
    bool reads;
  };
  const TCase cases[] = {
      {u"doc_", TSortKind::Name, false, false, false},
      {u"doc_", TSortKind::Type, false, false, false},
      {u"?zn?", TSortKind::Name, false, false, true},
      {u"?dmo?", TSortKind::Name, false, false, true},
      {u"%HOME%", TSortKind::Name, false, false, true},  // may expand to a variable
      {u"doc_", TSortKind::Size, false, false, true},
      {u"doc_", TSortKind::DateCreated, false, false, true},
      {u"doc_", TSortKind::Name, true, false, true},
      {u"doc_", TSortKind::Name, false, true, true},
  };
  for (const TCase& c : cases) {
    TFakeFileSystem fs;
    TFixedClock clock;
    TMapEnvironment env;
    TFakeTagReader tags;
    TSession session(fs, clock, env, tags, u"/app/");
    TScriptStep& step = session.script.NewScriptControl(TScriptType::stReplaceNameExtension);
    step.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, c.with);
    TSortOrder order;
    order.kind = c.sort;
    session.list.SetSortOrder(order);
    if (c.customColumn) session.customColumns.push_back(u"x");
    if (c.textFile) session.model.textFileName = u"/names.txt";
    EXPECT_EQ(session.RunReadsEntryAttributes(), c.reads) << Utf16ToUtf8(c.with);
  }
}

// Keeps the last journal written and counts the identities asked for until then.
class TJournalWatchingFileSystem : public TFakeFileSystem {
 public:
  std::string journal;
  int identitiesAsked = 0;
  int askedByJournal = 0;
  TStatus ReplaceFileAtomically(const std::u16string& path, const std::string& bytes) override {
    if (path.ends_with(TRenameJournal::kFileName)) journal = bytes, askedByJournal = identitiesAsked;
    return TFakeFileSystem::ReplaceFileAtomically(path, bytes);
  }
  TStatus GetEntryIdentity(const std::u16string& path, TEntryIdentity& id) override {
    ++identitiesAsked;
    return TFakeFileSystem::GetEntryIdentity(path, id);
  }
};

// A run's own listing gives the journal every identity: none is asked for
// again, and each is the identity of the entry it names.
TEST(TIdentityReadAheadTest, ARunsListingGivesTheJournalItsIdentities) {
  TJournalWatchingFileSystem fs;
  fs.AddFolder(u"/app");
  Populate(fs, u"/f", {{u"a", u"x1"}, {u"b", u"x2"}, {u"c", u"x3"}});
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession session(fs, clock, env, tags, u"/app/");
  session.listingForRun = true;
  ASSERT_TRUE(UsePlan(session, u"/f", {{u"a", u"x1"}, {u"b", u"x2"}, {u"c", u"x3"}},
                      u"/t/names.txt").ok());
  ASSERT_TRUE(session.list.HasListedIdentities());
  TfrmUndo undo{fs, u"/app/"};
  TUndoRename store{fs, u"/app/"};
  ASSERT_TRUE(store.Create().ok());
  TRecordingErrors errors;
  TRenameCommand command{session, undo, store, errors};
  const int askedBefore = fs.identitiesAsked;
  TNoProgress progress;
  ASSERT_EQ(command.btnRenameClick(progress).planned, 3);
  EXPECT_EQ(fs.askedByJournal, askedBefore);
  TJournal journal;
  std::u16string problem;
  ASSERT_TRUE(DecodeJournal(fs.journal, journal, problem)) << Utf16ToUtf8(problem);
  ASSERT_EQ(journal.entries.size(), 3u);
  for (const TJournalEntry& entry : journal.entries) {
    TEntryIdentity now;
    ASSERT_TRUE(fs.GetEntryIdentity(entry.places[0], now).ok());  // under its new name
    EXPECT_EQ(entry.id, now) << Utf16ToUtf8(entry.home);
  }
}

}  // namespace
