#include "rename/UnitUndo.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

#include "UnitUndoScenario.h"
#include "platform/UnitDateTime.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFaultyFileSystem.h"
#include "support/UnitRecordingProgress.h"

namespace {

const std::u16string kTag(kTempNameSuffix);

class TUndoTest : public ::testing::Test {
 protected:
  TUndoTest() { fake.AddFolder(u"/d"); }
  void Files(std::initializer_list<const char16_t*> names) {
    for (const char16_t* name : names) fake.AddFile(std::u16string(u"/d/") + name, Content(name));
  }
  static std::string Content(const std::u16string& name) {
    return "content of " + std::string(name.begin(), name.end());
  }
  // The content at /d/`name`, or "(missing)".
  std::string At(const std::u16string& name) const {
    const std::string* bytes = fake.FileBytes(u"/d/" + name);
    return bytes == nullptr ? "(missing)" : *bytes;
  }
  // Renames through the two phases, as the Rename command does.
  void Run(std::initializer_list<std::pair<const char16_t*, const char16_t*>> moves,
           int phase2Count = -1) {
    TUndoScenario s;
    for (const auto& [from, to] : moves) {
      s.plan.push_back({std::u16string(u"/d/") + from, std::u16string(u"/d/") + to});
    }
    ASSERT_TRUE(RunTwoPhases(fake, undo, s, phase2Count));
  }

  TFakeFileSystem fake;
  TfrmUndo undo{fake, u"/app/"};
  TRecordingErrors errors;
};

TEST_F(TUndoTest, ReversesSwapsChainsAndCaseChanges) {
  Files({u"a", u"b", u"c1", u"c2", u"X.JPG"});
  Run({{u"a", u"b"}, {u"b", u"a"}, {u"c1", u"c2"}, {u"c2", u"c3"}, {u"X.JPG", u"X.jpg"}});
  ASSERT_EQ(At(u"a"), Content(u"b"));
  const TUndoResult result = undo.UndoNow(u"", errors);
  EXPECT_TRUE(result.status.ok());
  EXPECT_EQ(result.reversed, 5);
  EXPECT_TRUE(errors.reports.empty());
  for (const char16_t* name : {u"a", u"b", u"c1", u"c2", u"X.JPG"})
    EXPECT_EQ(At(name), Content(name));
  for (const char16_t* gone : {u"c3", u"X.jpg", u"a.TW_TEMPNAME2"})
    EXPECT_FALSE(fake.Exists(std::u16string(u"/d/") + gone));
  EXPECT_EQ(undo.UndoCount(), 0);
}

// A batch read back from the undo store holds the final moves side by side.
TEST_F(TUndoTest, ReversesAStoredBatchWithASwapAndAChain) {
  fake.AddFile(u"/d/b", Content(u"a"));   // a -> b
  fake.AddFile(u"/d/a", Content(u"b"));   // b -> a
  fake.AddFile(u"/d/c3", Content(u"c2")); // c2 -> c3
  fake.AddFile(u"/d/c2", Content(u"c1")); // c1 -> c2
  undo.AddUndo(u"/d/a", u"/d/b");
  undo.AddUndo(u"/d/b", u"/d/a");
  undo.AddUndo(u"/d/c1", u"/d/c2");
  undo.AddUndo(u"/d/c2", u"/d/c3");
  const TUndoResult result = undo.UndoNow(u"", errors);
  EXPECT_EQ(result.reversed, 4);
  EXPECT_TRUE(errors.reports.empty());
  for (const char16_t* name : {u"a", u"b", u"c1", u"c2"}) EXPECT_EQ(At(name), Content(name));
  EXPECT_FALSE(fake.Exists(u"/d/c3"));
}

// Two steps per entry (parked, then back), reported every 300 and closed
// before the result comes back, so a terminal can show a long undo moving.
TEST_F(TUndoTest, ReportsProgressOverBothRounds) {
  for (int i = 0; i < 400; ++i) {
    const std::u16string name = u"/d/f" + IntToStr(i);
    fake.AddFile(name + u"x", "");
    undo.AddUndo(name, name + u"x");
  }
  TRecordingProgress progress;
  EXPECT_EQ(undo.UndoNow(u"", errors, &progress).reversed, 400);
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"Started: Undoing 800", "Advanced: 300",
                                                      "Advanced: 600", "Finished"}));
}

TEST_F(TUndoTest, FindsEntriesUnderTheirTemporaryNamesWhenTheSecondPhaseStopped) {
  Files({u"a", u"b", u"c"});
  Run({{u"a", u"b"}, {u"b", u"c"}, {u"c", u"a"}}, 1);  // only a reached its final name
  ASSERT_TRUE(fake.Exists(u"/d/c" + kTag));
  const TUndoResult result = undo.UndoNow(u"", errors);
  EXPECT_EQ(result.reversed, 3);
  for (const char16_t* name : {u"a", u"b", u"c"}) EXPECT_EQ(At(name), Content(name));
}

// A folder that the second phase left under its temporary name is found by
// the first test too, not skipped.
TEST_F(TUndoTest, FindsAFolderUnderItsTemporaryName) {
  fake.AddFolder(u"/d/dir");
  fake.AddFile(u"/d/dir/x", "x");
  Run({{u"dir", u"renamed"}}, 0);
  EXPECT_EQ(undo.UndoNow(u"", errors).reversed, 1);
  EXPECT_TRUE(fake.DirectoryExists(u"/d/dir"));
  EXPECT_EQ(At(u"dir/x"), "x");
}

// The tag is removed only at the end of a new name, where the run appended
// it: a listed folder or a new name that holds the tag elsewhere never leads
// the reversal to an unrelated entry once the renamed one has vanished.
TEST_F(TUndoTest, RemovesTheTemporaryTagOnlyAtTheEndOfANewName) {
  for (const auto& [folder, name, unrelated] :
       {std::tuple{u"/p/d.TW_TEMPNAME", u"b.txt", u"/p/d/b.txt"},
        std::tuple{u"/d", u"x.TW_TEMPNAME.txt", u"/d/x.txt"},
        std::tuple{u"/d", u"y.TW_TEMPNAME", u"/d/y"}}) {
    TFakeFileSystem fs;
    for (const char16_t* f : {u"/p", u"/p/d", u"/d", folder}) fs.AddFolder(f);
    fs.AddFile(unrelated, "unrelated");
    TfrmUndo list(fs, u"/app/");  // the entry went to `name` and has vanished since
    list.AddUndo(std::u16string(folder) + u"/a", std::u16string(folder) + u"/" + name + kTag);
    EXPECT_EQ(list.UndoNow(u"", errors).skipped, 1) << Utf16ToUtf8(name);
    EXPECT_TRUE(fs.Exists(unrelated)) << Utf16ToUtf8(name);
  }
}

TEST_F(TUndoTest, SkipsEntriesThatVanishedWithoutAMessage) {
  Files({u"a", u"b"});
  Run({{u"a", u"a2"}, {u"b", u"b2"}});
  ASSERT_TRUE(fake.DeleteFile(u"/d/a2").ok());
  const TUndoResult result = undo.UndoNow(u"", errors);
  EXPECT_EQ(result.skipped, 1);
  EXPECT_EQ(result.reversed, 1);
  EXPECT_TRUE(errors.reports.empty());
  EXPECT_EQ(At(u"b"), Content(u"b"));
}

// The result names every entry that is not back under its old name, with
// where it is now; an entry found under none of its new names while its old
// name is taken is taken to be back already and is not moved.
TEST_F(TUndoTest, ListsEveryEntryThatIsNotBackWithItsCurrentName) {
  Files({u"a", u"b", u"c", u"d", u"e"});
  Run({{u"a", u"a2"}, {u"b", u"b2"}, {u"c", u"c2"}, {u"d", u"d2"}, {u"e", u"e2"}}, 4);
  fake.AddFile(u"/d/a", "newcomer");                         // a2 cannot go back
  ASSERT_TRUE(fake.DeleteFile(u"/d/c2").ok());                // c is gone
  ASSERT_TRUE(fake.RenameNoReplace(u"/d/d2", u"/d/d").ok());  // d was put back by hand
  TFaultyFileSystem counting(fake);
  TfrmUndo list(counting, u"/app/");
  for (int i = 0; i < undo.UndoCount(); ++i)
    list.AddUndo(undo.GetUndoOldName(i), undo.GetUndoNewName(i));
  const TUndoResult result = list.UndoNow(u"", errors);
  EXPECT_EQ(result.reversed, 2);  // b, and e from its temporary name
  EXPECT_EQ(result.alreadyBack, 1);
  EXPECT_EQ(result.skipped, 1);
  EXPECT_EQ(result.failed, 1);
  std::vector<std::u16string> listed;  // old name, name in the result, name to keep
  for (size_t i = 0; i < result.notBack.size(); ++i) {
    listed.insert(listed.end(), {result.notBack[i].oldName, result.notBack[i].newName,
                                 result.remaining.at(i).newName});
  }
  EXPECT_EQ(listed, (std::vector<std::u16string>{u"/d/c", u"", u"/d/c2" + kTag,  //
                                                 u"/d/a", u"/d/a2", u"/d/a2"}));
  EXPECT_EQ(At(u"d"), Content(u"d"));
  EXPECT_EQ(At(u"e"), Content(u"e"));
  EXPECT_EQ(counting.RenameCount(), 7);  // e and b park and return; a parks, fails, returns
}

// What a store keeps after a partial undo may name an entry's parking name:
// the next reversal takes it on from there in one move.
TEST_F(TUndoTest, TakesAnEntryOnFromItsParkingName) {
  fake.AddFile(u"/d/a" + kTag + u"2", "A");
  TFaultyFileSystem counting(fake);
  TfrmUndo list(counting, u"/app/");
  list.AddStoredUndo(u"/d/a", u"/d/a" + kTag + u"2");
  EXPECT_TRUE(list.UndoNow(u"", errors).AllBack());
  EXPECT_EQ(At(u"a"), "A");
  EXPECT_EQ(counting.RenameCount(), 1);
}

// A file that appeared under an old name after the run is never replaced: it
// stays, the renamed entry keeps its current name, and the pair is reported.
TEST_F(TUndoTest, LeavesAFileThatAppearedUnderAnOldNameAlone) {
  Files({u"a", u"b"});
  Run({{u"a", u"a2"}, {u"b", u"b2"}});
  fake.AddFile(u"/d/a", "newcomer");
  const TUndoResult result = undo.UndoNow(u"", errors);
  EXPECT_EQ(result.reversed, 1);
  EXPECT_EQ(result.failed, 1);
  EXPECT_EQ(At(u"a"), "newcomer");
  EXPECT_EQ(At(u"a2"), Content(u"a"));
  EXPECT_EQ(At(u"b"), Content(u"b"));
  EXPECT_FALSE(fake.Exists(u"/d/a" + kTag + u"2"));
  ASSERT_EQ(errors.reports.size(), 1u);
  EXPECT_EQ(errors.reports[0].source, u"/d/a2");
  EXPECT_EQ(errors.reports[0].target, u"/d/a");
  EXPECT_EQ(errors.reports[0].code, EEXIST);
}

TEST_F(TUndoTest, LeavesAFileUnderTheParkingNameAlone) {
  Files({u"a"});
  Run({{u"a", u"b"}});
  fake.AddFile(u"/d/a" + kTag + u"2", "user's own");
  EXPECT_EQ(undo.UndoNow(u"", errors).failed, 1);
  EXPECT_EQ(At(u"b"), Content(u"a"));
  EXPECT_EQ(At(u"a" + kTag + u"2"), "user's own");
  ASSERT_EQ(errors.reports.size(), 1u);
  EXPECT_EQ(errors.reports[0].source, u"/d/b");
}

// A run stopped in its first phase puts back what it moved, recording the
// put-back: the reversal then has nothing to do, and above all must not move
// an untouched entry found under a name without the temporary tag.
TEST_F(TUndoTest, ARunThatWasPutBackNeedsNoReversal) {
  Files({u"a", u"b"});
  ASSERT_TRUE(fake.RenameNoReplace(u"/d/a", u"/d/b" + kTag).ok());
  undo.AddUndo(u"/d/a", u"/d/b" + kTag);
  ASSERT_TRUE(fake.RenameNoReplace(u"/d/b" + kTag, u"/d/a").ok());
  undo.AddUndo(u"/d/b" + kTag, u"/d/a");
  TFaultyFileSystem counting(fake);
  TfrmUndo counted(counting, u"/app/");
  for (int i = 0; i < undo.UndoCount(); ++i)
    counted.AddUndo(undo.GetUndoOldName(i), undo.GetUndoNewName(i));
  const TUndoResult result = counted.UndoNow(u"", errors);
  EXPECT_EQ(counting.RenameCount(), 0);
  EXPECT_EQ(result.reversed + result.skipped + result.failed, 0);
  EXPECT_EQ(At(u"a"), Content(u"a"));
  EXPECT_EQ(At(u"b"), Content(u"b"));
}

TEST_F(TUndoTest, TheAnswerStopParksNoMoreEntriesButLeavesNoneParked) {
  Files({u"a", u"b", u"c"});
  Run({{u"a", u"a2"}, {u"b", u"b2"}, {u"c", u"c2"}});
  TFaultyFileSystem faulty(fake);
  TfrmUndo list(faulty, u"/app/");
  for (int i = 0; i < undo.UndoCount(); ++i)
    list.AddUndo(undo.GetUndoOldName(i), undo.GetUndoNewName(i));
  faulty.FailRename(2);  // c2 parks, b2 fails, a2 is not touched
  errors.answer = TRenameErrorAnswer::Stop;
  const TUndoResult result = list.UndoNow(u"", errors);
  EXPECT_EQ(result.reversed, 1);
  EXPECT_EQ(result.failed, 1);
  EXPECT_EQ(At(u"c"), Content(u"c"));
  EXPECT_EQ(At(u"b2"), Content(u"b"));
  EXPECT_EQ(At(u"a2"), Content(u"a"));
  EXPECT_EQ(faulty.RenameCount(), 3);
  ASSERT_EQ(result.notBack.size(), 2u);
  EXPECT_EQ(result.notBack[0].newName, u"/d/b2");
  EXPECT_EQ(result.notBack[1].newName, u"/d/a2");
}

TEST_F(TUndoTest, WritesTheReversalAsAShellScriptInsteadOfMoving) {
  Files({u"a", u"b", u"gone"});
  Run({{u"a", u"b"}, {u"b", u"it's"}, {u"gone", u"gone2"}});
  ASSERT_TRUE(fake.DeleteFile(u"/d/gone2").ok());
  const TUndoResult result = undo.UndoNow(u"undo.sh", errors);
  ASSERT_TRUE(result.status.ok());
  EXPECT_EQ(result.reversed, 2);
  EXPECT_EQ(result.skipped, 1);
  const std::string* script = fake.FileBytes(u"/app/undo.sh");
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(*script,
            "#!/bin/sh\n"
            "mv -n -- '/d/it'\\''s' '/d/b.TW_TEMPNAME2' >> tw_error_log.txt 2>&1\n\n"
            "mv -n -- '/d/b' '/d/a.TW_TEMPNAME2' >> tw_error_log.txt 2>&1\n\n"
            "mv -n -- '/d/b.TW_TEMPNAME2' '/d/b' >> tw_error_log.txt 2>&1\n\n"
            "mv -n -- '/d/a.TW_TEMPNAME2' '/d/a' >> tw_error_log.txt 2>&1\n\n");
  EXPECT_EQ(At(u"b"), Content(u"a"));  // nothing moved on disk
  EXPECT_EQ(undo.UndoCount(), 0);
}

TEST_F(TUndoTest, KeepsTheListWhenTheScriptCannotBeWritten) {
  Files({u"a"});
  Run({{u"a", u"b"}});
  fake.FailWrites(1);
  const TUndoResult result = undo.UndoNow(u"/elsewhere/undo.sh", errors);
  EXPECT_FALSE(result.status.ok());
  EXPECT_EQ(result.status.file(), u"/elsewhere/undo.sh");
  EXPECT_EQ(undo.UndoCount(), 1);
}

TEST_F(TUndoTest, NewNamesAreKnownIgnoringCaseAndTheTemporaryTag) {
  undo.SetTempTag(kTag);
  undo.AddUndo(u"/d/a", u"/d/New.txt" + kTag);
  undo.AddUndo(u"/d/b", u"/d/plain");
  undo.AddUndo(u"/d/c", u"/p/d.TW_TEMPNAME/b.txt" + kTag);
  struct TCase {
    const char16_t* name;
    bool known;
  };
  for (const TCase c : {TCase{u"/d/New.txt", true}, TCase{u"/d/NEW.TXT", true},
                        TCase{u"/d/new.txt.tw_tempname", true}, TCase{u"/d/PLAIN", true},
                        TCase{u"/d/a", false}, TCase{u"/d/New", false},
                        TCase{u"/p/d.TW_TEMPNAME/b.txt", true}, TCase{u"/p/d/b.txt", false}}) {
    EXPECT_EQ(undo.IsNewName(c.name), c.known)
        << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
  }
  undo.ClearAll();
  EXPECT_FALSE(undo.IsNewName(u"/d/plain"));
}

TEST(TUndoBatchFileNameTest, NamesTheFileAfterTheTime) {
  TDateTime t = 0;
  ASSERT_TRUE(TryEncodeDateTime(2024, 3, 7, 9, 5, 2, 0, t));
  EXPECT_EQ(UndoBatchFileName(t), u"undo__24-03-07__09-05-02.sh");
}

}  // namespace
