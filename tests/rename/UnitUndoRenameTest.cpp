#include "rename/UnitUndoRename.h"

#include <gtest/gtest.h>

#include "UnitUndoScenario.h"
#include "cli/UnitStartupMessages.h"
#include "cli/UnitUndoCommand.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoStateFile.h"
#include "support/UnitFakeFileSystem.h"

namespace {

class TUndoRenameTest : public ::testing::Test {
 protected:
  TFakeFileSystem fs;
  TUndoRename store{fs, u"/app/"};
  TfrmUndo undo{fs, u"/app/"};
};

TEST_F(TUndoRenameTest, StartsEmptyAndMarksTheRunningProgram) {
  fs.AddFile(u"/app/undo/0000.txt", "old");
  fs.AddFile(u"/app/undo/0001.txt", "old");
  fs.AddFile(u"/app/undo/0003.txt", "beyond the first gap");
  ASSERT_TRUE(store.Create().ok());
  EXPECT_TRUE(fs.DirectoryExists(u"/app/undo"));
  EXPECT_FALSE(fs.Exists(u"/app/undo/0000.txt"));
  EXPECT_FALSE(fs.Exists(u"/app/undo/0001.txt"));
  EXPECT_TRUE(fs.Exists(u"/app/undo/0003.txt"));
  EXPECT_TRUE(fs.Exists(u"/app/undo/notclean.txt"));
  EXPECT_FALSE(store.HasState());
  ASSERT_TRUE(store.Destroy().ok());
  EXPECT_FALSE(fs.Exists(u"/app/undo/notclean.txt"));
}

// A batch written ahead is stored under the next number when it is put in
// place, also when another batch was stored meanwhile: never over that one.
TEST_F(TUndoRenameTest, PreparedBatchNeverTakesTheNumberOfAnotherStoredMeanwhile) {
  ASSERT_TRUE(store.Create().ok());
  const TEncodedBatch run = EncodeBatch({{u"/d/a", u"/d/b"}}, {});
  TPreparedBatch prepared = store.PrepareState(store.NextIndex(), run);
  EXPECT_FALSE(store.HasState());
  ASSERT_TRUE(store.SaveSingleRenameToFile(u"/d/x", u"/d/y").ok());
  ASSERT_TRUE(store.CommitPreparedState(prepared, run).ok());
  EXPECT_EQ(store.NextIndex(), 2);
  EXPECT_EQ(*fs.FileBytes(u"/app/undo/0000.txt"), EncodeUndoState({{u"/d/x", u"/d/y"}}));
  EXPECT_EQ(*fs.FileBytes(u"/app/undo/0001.txt"), run.state);
  EXPECT_EQ(*fs.FileBytes(u"/app/undo/0001-extra.txt"), run.extra);
}

TEST_F(TUndoRenameTest, StoresBatchesAndHandsThemOutNewestFirst) {
  ASSERT_TRUE(store.Create().ok());
  const std::vector<TRenamePair> run = {{u"/d/a", u"/d/b"}, {u"/d/b", u"/d/a"}};
  ASSERT_TRUE(store.SaveStateToFile(run).ok());
  ASSERT_TRUE(store.SaveStateToFile({}).ok());  // nothing renamed: nothing stored
  ASSERT_TRUE(store.SaveSingleRenameToFile(u"/d/x", u"/d/y").ok());
  EXPECT_EQ(store.NextIndex(), 2);
  ASSERT_NE(fs.FileBytes(u"/app/undo/0000.txt"), nullptr);
  EXPECT_EQ(*fs.FileBytes(u"/app/undo/0000.txt"), EncodeUndoState(run));

  ASSERT_TRUE(store.LoadLastState(undo).ok());
  ASSERT_EQ(undo.UndoCount(), 1);
  EXPECT_EQ(undo.GetUndoOldName(0), u"/d/x");
  store.CancelLastLoad();  // the dialog was cancelled: the batch stays
  EXPECT_TRUE(store.HasState());
  ASSERT_TRUE(store.LoadLastState(undo).ok());
  ASSERT_TRUE(store.LoadLastState(undo).ok());
  ASSERT_EQ(undo.UndoCount(), 2);
  EXPECT_EQ(undo.GetUndoNewName(1), u"/d/a");
  EXPECT_FALSE(store.HasState());
  ASSERT_TRUE(store.LoadLastState(undo).ok());  // nothing stored: the list stays
  EXPECT_EQ(undo.UndoCount(), 2);
}

TEST_F(TUndoRenameTest, AFailedWriteStoresNothing) {
  ASSERT_TRUE(store.Create().ok());
  fs.FailWrites(1);
  EXPECT_FALSE(store.SaveSingleRenameToFile(u"/d/x", u"/d/y").ok());
  EXPECT_FALSE(store.HasState());
  EXPECT_FALSE(fs.Exists(store.StateFileName(0)));
  EXPECT_EQ(store.StateFileName(12345), u"/app/undo/12345.txt");
}

// A batch file that cannot be rewritten after a partial undo would name
// entries that are back as still to be undone: it goes instead.
TEST_F(TUndoRenameTest, ABatchThatCannotBeRewrittenLeavesTheStore) {
  ASSERT_TRUE(store.Create().ok());
  ASSERT_TRUE(store.SaveStateToFile({{u"/d/a", u"/d/b"}, {u"/d/c", u"/d/d"}}).ok());
  ASSERT_TRUE(store.LoadLastState(undo).ok());
  fs.FailWrites(1);
  EXPECT_FALSE(store.FinishLastLoad({{u"/d/c", u"/d/d"}}).ok());
  EXPECT_FALSE(store.HasState());
  EXPECT_FALSE(fs.Exists(store.StateFileName(0)));
  EXPECT_TRUE(store.FinishLastLoad({}).ok());  // nothing loaded: nothing to do
}

TEST_F(TUndoRenameTest, AnUnreadableBatchIsDroppedWithTheReason) {
  ASSERT_TRUE(store.Create().ok());
  ASSERT_TRUE(store.SaveSingleRenameToFile(u"/d/a", u"/d/b").ok());
  ASSERT_TRUE(store.SaveSingleRenameToFile(u"/d/c", u"/d/d").ok());
  ASSERT_TRUE(fs.DeleteFile(store.StateFileName(1)).ok());
  undo.AddUndo(u"/stale", u"/list");
  const TStatus status = store.LoadLastState(undo);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.file(), store.StateFileName(1));
  EXPECT_EQ(undo.UndoCount(), 0);
  ASSERT_TRUE(store.LoadLastState(undo).ok());
  EXPECT_EQ(undo.GetUndoOldName(0), u"/d/a");
}

TEST_F(TUndoRenameTest, UndoingTwiceWalksBackThroughTwoRuns) {
  ASSERT_TRUE(store.Create().ok());
  fs.AddFolder(u"/d");
  fs.AddFile(u"/d/a", "A");
  ASSERT_TRUE(fs.RenameNoReplace(u"/d/a", u"/d/b").ok());
  ASSERT_TRUE(store.SaveSingleRenameToFile(u"/d/a", u"/d/b").ok());
  ASSERT_TRUE(fs.RenameNoReplace(u"/d/b", u"/d/c").ok());
  ASSERT_TRUE(store.SaveStateToFile({{u"/d/b", u"/d/c"}}).ok());
  TRecordingErrors errors;
  for (const char16_t* expected : {u"/d/b", u"/d/a"}) {
    ASSERT_TRUE(store.LoadLastState(undo).ok());
    EXPECT_EQ(undo.UndoNow(u"", errors).reversed, 1);
    EXPECT_NE(fs.FileBytes(expected), nullptr)
        << "after undoing down to " << (expected[3] == u'b' ? "b" : "a");
  }
  EXPECT_TRUE(errors.reports.empty());
  EXPECT_FALSE(store.HasState());
}

// A stored batch reversed the two ways a user can ask for it: through the
// undo dialog (load, reverse, keep what is not back) and by `--undo`.
class TStoredBatchTest : public TUndoRenameTest, public ::testing::WithParamInterface<bool> {
 protected:
  TStoredBatchTest() {
    for (const char16_t* folder : {u"/d", u"/p", u"/p/d", u"/p/d.TW_TEMPNAME"}) fs.AddFolder(folder);
    EXPECT_TRUE(store.Create().ok());
  }
  bool ByCommand() const { return GetParam(); }
  // Reverses the newest batch; true when every entry is back.
  bool UndoNewest() {
    if (ByCommand()) {
      output = {};
      TConsoleMessages messages(output);
      return RunUndoCommand(fs, u"/app/", messages) == 0;
    }
    EXPECT_TRUE(store.LoadLastState(undo).ok());
    TRecordingErrors errors;
    const TUndoResult result = undo.UndoNow(u"", errors);
    const bool unreadable = !store.UnreadableLines().empty();
    EXPECT_TRUE(store.FinishLastLoad(result.remaining).ok());
    return result.notBack.empty() && !unreadable;
  }
  bool NothingStored() {
    if (!ByCommand()) return !store.HasState();
    return !UndoNewest() && output.err.find(u"nothing to undo") != std::u16string::npos;
  }
  std::string At(const std::u16string& path) const {
    const std::string* bytes = fs.FileBytes(path);
    return bytes == nullptr ? "(missing)" : *bytes;
  }

  TStringOutput output;
};

// A stored batch names final names, side by side: a new name ending in the
// temporary tag is a name like any other, and the tag in a folder's name
// never leads to another folder.
TEST_P(TStoredBatchTest, TakesStoredNamesAsTheyAre) {
  fs.AddFile(u"/d/q.TW_TEMPNAME", "A");  // a -> q.TW_TEMPNAME
  fs.AddFile(u"/d/z", "Q");              // q.TW_TEMPNAME -> z
  ASSERT_TRUE(store.SaveStateToFile({{u"/d/a", u"/d/q.TW_TEMPNAME"},
                                     {u"/d/q.TW_TEMPNAME", u"/d/z"}}).ok());
  UndoNewest();
  EXPECT_EQ(At(u"/d/a"), "A");
  EXPECT_EQ(At(u"/d/q.TW_TEMPNAME"), "Q");
  EXPECT_FALSE(fs.Exists(u"/d/z"));

  ASSERT_TRUE(store.Create().ok());
  fs.AddFile(u"/p/d/b.txt", "unrelated");  // the renamed entry itself is gone
  ASSERT_TRUE(store.SaveSingleRenameToFile(u"/p/d.TW_TEMPNAME/a", u"/p/d.TW_TEMPNAME/b.txt").ok());
  UndoNewest();
  EXPECT_EQ(At(u"/p/d/b.txt"), "unrelated");
  EXPECT_FALSE(fs.Exists(u"/p/d.TW_TEMPNAME/a"));
}

// Undoing again after a partial undo moves only what is still to be undone:
// a swap that is back stays back, and the batch leaves the store once every
// entry is back.
TEST_P(TStoredBatchTest, AnEntryThatIsBackIsNeverMovedAgain) {
  fs.AddFile(u"/d/a", "B");  // a <-> b
  fs.AddFile(u"/d/b", "A");
  fs.AddFile(u"/d/c2", "C");  // c -> c2
  fs.AddFile(u"/d/e", "E");   // e -> e2, put back by hand
  ASSERT_TRUE(store.SaveStateToFile({{u"/d/a", u"/d/b"},
                                     {u"/d/b", u"/d/a"},
                                     {u"/d/c", u"/d/c2"},
                                     {u"/d/e", u"/d/e2"}}).ok());
  fs.AddFile(u"/d/c", "newcomer");
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_FALSE(UndoNewest()) << attempt;
    EXPECT_EQ(At(u"/d/a"), "A") << attempt;
    EXPECT_EQ(At(u"/d/b"), "B") << attempt;
    EXPECT_EQ(At(u"/d/c2"), "C") << attempt;
    EXPECT_EQ(At(u"/d/e"), "E") << attempt;
  }
  if (ByCommand()) {
    EXPECT_EQ(output.err,
              u"Error: Failed to undo (/d/c2)->(/d/c): File exists\n"
              u"Undo incomplete: 1 of 1 entries not back under their old names:\n"
              u"  /d/c is at /d/c2\n"
              u"They stay in /app/undo/0000.txt for another --undo.\n");
  }
  ASSERT_TRUE(fs.DeleteFile(u"/d/c").ok());
  EXPECT_TRUE(UndoNewest());
  EXPECT_EQ(At(u"/d/c"), "C");
  if (ByCommand()) {
    EXPECT_EQ(output.out, u"Full undo executed: 1 entries back under their old names.\n");
  }
  EXPECT_FALSE(fs.Exists(u"/app/undo/0000.txt"));
  EXPECT_TRUE(NothingStored());
  EXPECT_EQ(At(u"/d/a"), "A");
}

// A line of a state file that does not parse is reported, moves nothing and
// stays in the file; the lines around it are undone.
TEST_P(TStoredBatchTest, AnUnreadableLineIsReportedSkippedAndKept) {
  fs.AddFile(u"/d/b", "A");
  fs.AddFile(u"/d/d", "C");
  fs.AddFile(u"/d/y", "X");
  const std::u16string garbage = u"\"/d/x\" \"/d/y";
  std::string bytes = EncodeUndoState({{u"/d/a", u"/d/b"}});
  for (const char16_t c : garbage + u"\r\n") bytes += {static_cast<char>(c), '\0'};
  bytes += EncodeUndoState({{u"/d/c", u"/d/d"}}).substr(2);
  ASSERT_TRUE(store.SaveStateToFile({{u"/d/a", u"/d/b"}, {u"/d/c", u"/d/d"}}).ok());
  fs.AddFile(store.StateFileName(0), bytes);  // damaged on disk since
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_FALSE(UndoNewest()) << attempt;
    EXPECT_EQ(At(u"/d/a"), "A");
    EXPECT_EQ(At(u"/d/c"), "C");
    EXPECT_EQ(At(u"/d/y"), "X");
    EXPECT_EQ(ReadUndoState(*fs.FileBytes(store.StateFileName(0))).unreadable.at(0).text,
              garbage);
  }
  if (ByCommand()) {
    EXPECT_EQ(output.err,
              u"tallowick: /app/undo/0000.txt line 1 cannot be read and is skipped: " + garbage +
                  u"\n"
                  u"Undo incomplete: 1 line of /app/undo/0000.txt cannot be read; it stays there.\n");
  }
}

INSTANTIATE_TEST_SUITE_P(DialogAndCommand, TStoredBatchTest, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Command" : "Dialog"; });

}  // namespace
