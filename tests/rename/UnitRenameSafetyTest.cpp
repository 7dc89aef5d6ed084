// The Rename command on the real disk against hostile names: new names that
// would pass through a symbolic link out of the listed folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>

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

}  // namespace
