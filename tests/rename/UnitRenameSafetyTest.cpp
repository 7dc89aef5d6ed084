// The Rename command on the real disk against hostile names: new names that
// would pass through a symbolic link out of the listed folder, and new names
// so long that the usual temporary name no longer fits the disk.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <set>

#include "UnitUndoScenario.h"
#include "engine/UnitScriptStepReplace.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameCommand.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"
#include "session/UnitSession.h"
#include "support/UnitFakeServices.h"
#include "support/UnitFaultyFileSystem.h"
#include "support/UnitRenameRunFixture.h"
#include "support/UnitTempFolder.h"

namespace {

namespace fsys = std::filesystem;

using TFiles = std::map<std::u16string, std::string>;

const std::u16string kTemp(kTempNameSuffix);

// One Rename command over the folder `root`/f of the real disk, with its
// application folder in `root`/app, through a fault injector.
struct TDiskRun {
  explicit TDiskRun(const std::u16string& root)
      : folder(root + u"/f"),
        session(fs, clock, env, tags, root + u"/app/"),
        undo(fs, root + u"/app/"),
        store(fs, root + u"/app/") {
    EXPECT_TRUE(store.Create().ok());
  }
  TRenameResult Run(bool batchUndo = false) {
    command.state.BatchIgnore = !batchUndo;
    command.state.BatchUndo = batchUndo;
    TNoProgress progress;
    return command.btnRenameClick(progress);
  }
  // Lists the folder with only the entry `caption` checked, under a script
  // that replaces its name by `name` as written ("/" a folder separator).
  void Rename(const std::u16string& caption, const std::u16string& name) {
    session.model.folder = folder;
    TNoProgress progress;
    session.Refresh(progress, false);
    for (int row = 0; row < session.list.Count(); ++row) {
      session.list.SetChecked(row, session.list.GetFileData(row)->caption == caption);
    }
    session.script.Clear();
    TScriptStep& step = session.script.NewScriptControl(TScriptType::stReplaceNameExtension);
    step.SetChoice(TScriptStepReplaceNameExtension::cbxReplacePart, 0);
    step.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, name);
  }

  const std::u16string folder;
  std::unique_ptr<TFileSystem> disk = NewPosixFileSystem();
  TFaultyFileSystem fs{*disk};
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession session;
  TfrmUndo undo;
  TUndoRename store;
  TRecordingErrors errors;
  TRenameCommand command{session, undo, store, errors};
};

// A new name whose folder part is a symbolic link (to a folder outside, or
// even inside) fails like any failed move: the entry stays, and nothing
// appears anywhere, not even a folder the name asked for.
TEST(TRenameSafetyTest, NoNewNameLeadsThroughASymbolicLink) {
  const struct {
    const char16_t* newName;
    bool moves;
  } cases[] = {
      {u"out/victim", false},     {u"out/new/victim", false}, {u"in/victim", false},
      {u"sub/out/victim", false}, {u"sub/victim", true},      {u"sub/new/victim", true},
  };
  for (const auto& c : cases) {
    const std::string label = Utf16ToUtf8(c.newName);
    const TTempFolder root;
    const TTempFolder outside;
    root.WriteFile("f/victim", "V");
    root.WriteFile("f/sub/keep.txt", "K");
    fsys::create_symlink(outside.Path(), root.PathOf("f/out"));
    fsys::create_symlink(outside.Path(), root.PathOf("f/sub/out"));
    fsys::create_symlink("sub", root.PathOf("f/in"));
    TDiskRun run(Utf8ToUtf16(root.Path()));
    const TFiles before = Snapshot(run.fs, run.folder);
    run.Rename(u"victim", c.newName);
    const TRenameResult result = run.Run();
    EXPECT_TRUE(fsys::is_empty(outside.Path())) << label;
    if (c.moves) {
      EXPECT_TRUE(result.failures.empty()) << label;
      EXPECT_TRUE(fsys::exists(root.PathOf("f/" + label))) << label;
      continue;
    }
    ASSERT_EQ(result.failures.size(), 1u) << label;
    const TStatus& status = result.failures[0].status;
    EXPECT_EQ(status.code(), ELOOP) << label;
    EXPECT_TRUE(status.reason().ends_with(u"is a symbolic link; no name is moved through one"))
        << label << ": " << Utf16ToUtf8(status.reason());
    EXPECT_EQ(Snapshot(run.fs, run.folder), before) << label;
    EXPECT_TRUE(fsys::is_symlink(root.PathOf("f/out"))) << label;
  }
}

// The new name of `bytes` bytes on disk: `unit` repeated, then "x" up to it.
std::u16string NameOfBytes(const std::u16string& unit, size_t bytes) {
  std::u16string name;
  while (Utf16ToUtf8(name + unit).size() <= bytes) name += unit;
  while (Utf16ToUtf8(name).size() < bytes) name += u'x';
  return name;
}

// Entries renamed to names of 243 to 256 bytes on disk, in ASCII and in
// two-byte letters (`upTo` the largest).
TNamePlan LengthsPlan(size_t upTo) {
  TNamePlan plan;
  for (const size_t bytes : {243u, 244u, 250u, 254u, 255u, 256u}) {
    if (bytes > upTo) continue;
    const std::u16string size = IntToStr(static_cast<long long>(bytes));
    plan.emplace_back(u"ascii" + size, NameOfBytes(u"n", bytes));
    plan.emplace_back(u"latin" + size, NameOfBytes(u"\u00e9", bytes));
  }
  return plan;
}

// The folder after every entry of `plan` whose new name fits has moved.
TFiles Renamed(const TFiles& before, const std::u16string& folder, const TNamePlan& plan) {
  TFiles after = before;
  for (const auto& [from, to] : plan) {
    if (Utf16ToUtf8(to).size() <= kMaxNameBytes) after.erase(folder + u"/" + from);
  }
  for (const auto& [from, to] : plan) {
    if (Utf16ToUtf8(to).size() <= kMaxNameBytes) after[folder + u"/" + to] = Utf16ToUtf8(from);
  }
  return after;
}

// New names up to the longest the disk keeps are renamed; the temporary
// names stay within the limit, end in the tag and are all different. One
// byte more is refused with its reason. Undoing the stored batch brings
// every entry back.
TEST(TRenameSafetyTest, NewNamesUpToTheLongestTheDiskKeepsAreRenamed) {
  const TNamePlan plan = LengthsPlan(256);
  const TTempFolder root;
  TDiskRun run(Utf8ToUtf16(root.Path()));
  Populate(run.fs, run.folder, plan);
  ASSERT_TRUE(UsePlan(run.session, run.folder, plan, Utf8ToUtf16(root.PathOf("t/names.txt"))).ok());
  const TFiles before = Snapshot(run.fs, run.folder);
  const TRenameResult result = run.Run();
  ASSERT_EQ(result.failures.size(), 2u);  // the two names of 256 bytes
  for (const TRenameFailure& failure : result.failures) {
    EXPECT_EQ(Utf16ToUtf8(failure.target).size(), 256u);
    EXPECT_EQ(failure.status.reason(), u"The new name is longer than the file system allows");
  }
  EXPECT_EQ(result.renamed, 10);
  std::set<std::u16string> temps;
  for (const TPlannedRename& entry : result.plan) {
    if (!entry.refused.ok()) continue;
    const std::string label = std::to_string(Utf16ToUtf8(entry.target).size()) + " bytes from " +
                              Utf16ToUtf8(entry.source);
    EXPECT_TRUE(entry.temp.ends_with(kTemp)) << label;
    EXPECT_LE(Utf16ToUtf8(entry.temp).size(), kMaxNameBytes) << label;
    EXPECT_TRUE(temps.insert(entry.temp).second) << label << ": a temporary name twice";
    if (Utf16ToUtf8(entry.target + kTemp).size() <= kMaxNameBytes) {
      EXPECT_EQ(entry.temp, entry.target + kTemp) << label;
    }
  }
  EXPECT_EQ(Snapshot(run.fs, run.folder), Renamed(before, run.folder, plan));
  TfrmUndo stored(run.fs, Utf8ToUtf16(root.PathOf("app/")));
  ASSERT_TRUE(run.store.LoadLastState(stored).ok());
  TIgnoreRenameErrors quiet;
  EXPECT_TRUE(stored.UndoNow(u"", quiet).AllBack());
  EXPECT_EQ(Snapshot(run.fs, run.folder), before);
}

// The undo list finds entries under shortened temporary names too: a failure
// at the last move of the second half, with batch undo, reverses the whole
// run at once.
TEST(TRenameSafetyTest, ABatchUndoInPhaseTwoFindsShortenedTemporaryNames) {
  const TNamePlan plan = LengthsPlan(255);
  const TTempFolder root;
  TDiskRun run(Utf8ToUtf16(root.Path()));
  Populate(run.fs, run.folder, plan);
  ASSERT_TRUE(UsePlan(run.session, run.folder, plan, Utf8ToUtf16(root.PathOf("t/names.txt"))).ok());
  const TFiles before = Snapshot(run.fs, run.folder);
  const int moves = static_cast<int>(plan.size());
  run.fs.FailRename(2 * moves);
  const TRenameResult result = run.Run(true);
  EXPECT_TRUE(result.stopped);
  EXPECT_TRUE(result.notBack.empty());
  EXPECT_EQ(Snapshot(run.fs, run.folder), before);
}

// Two entries of the longest names swap, a third chains into one of them.
TEST(TRenameSafetyTest, TheLongestNamesSwapAndChain) {
  const std::u16string a = NameOfBytes(u"a", 255);
  const std::u16string b = NameOfBytes(u"b", 255);
  const std::u16string c = NameOfBytes(u"c", 254);
  const TNamePlan plan = {{a, b}, {b, a}, {u"short", c}};
  const TTempFolder root;
  TDiskRun run(Utf8ToUtf16(root.Path()));
  Populate(run.fs, run.folder, plan, {c + u"x"});  // a name a shortened one could start with
  ASSERT_TRUE(UsePlan(run.session, run.folder, plan, Utf8ToUtf16(root.PathOf("t/names.txt"))).ok());
  const TFiles before = Snapshot(run.fs, run.folder);
  const TRenameResult result = run.Run();
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(result.renamed, 3);
  EXPECT_EQ(Snapshot(run.fs, run.folder), Renamed(before, run.folder, plan));
}

}  // namespace
