#include "rename/UnitGenerateBatch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitTempFolder.h"

namespace {

TEST(TGenerateBatchTest, WritesBothPhasesWithFullPaths) {
  const std::vector<TRenamePair> swap = {{u"/d/a.txt", u"/d/b.txt"}, {u"/d/b.txt", u"/d/a.txt"}};
  EXPECT_EQ(BuildRenameScript(swap, u"mv -n --", false),
            "#!/bin/sh\n"
            "mv -n -- '/d/a.txt' '/d/b.txt.TW_TEMPNAME'\n"
            "mv -n -- '/d/b.txt' '/d/a.txt.TW_TEMPNAME'\n"
            "mv -n -- '/d/b.txt.TW_TEMPNAME' '/d/b.txt'\n"
            "mv -n -- '/d/a.txt.TW_TEMPNAME' '/d/a.txt'\n");
  EXPECT_EQ(BuildRenameScript({{u"/d/x", u"/d/y"}}, u"move", true),
            "#!/bin/sh\nmove '/d/y' '/d/x.TW_TEMPNAME'\nmove '/d/x.TW_TEMPNAME' '/d/x'\n");
}

// Only the moves the rename would make go into the script; a move into
// another folder makes that folder first, once.
TEST(TGenerateBatchTest, LeavesRefusedNamesOutAndMakesNewFolders) {
  std::vector<TPlannedRename> plan(3);
  plan[0].source = u"a";
  plan[0].target = u"sub/a";
  plan[1].source = u"b";
  plan[1].target = u"../b";
  plan[1].refused = TStatus::Error(22, u"../b", u"The new name would leave the listed folder");
  plan[2].source = u"c";
  plan[2].target = u"sub/c";
  const std::vector<TRenamePair> moves = BatchMoves(plan, u"/d/");
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(BuildRenameScript(moves, u"mv -n --", false),
            "#!/bin/sh\n"
            "mkdir -p -- '/d/sub'\n"
            "mv -n -- '/d/a' '/d/sub/a.TW_TEMPNAME'\n"
            "mv -n -- '/d/c' '/d/sub/c.TW_TEMPNAME'\n"
            "mv -n -- '/d/sub/a.TW_TEMPNAME' '/d/sub/a'\n"
            "mv -n -- '/d/sub/c.TW_TEMPNAME' '/d/sub/c'\n");
}

TEST(TGenerateBatchTest, WritesNothingWithoutPairsAndReplacesAnOldFile) {
  TFakeFileSystem fs;
  TfrmGenerateBatch dialog;
  EXPECT_FALSE(dialog.SaveEnabled());
  dialog.txtName = u"batch";
  EXPECT_TRUE(dialog.SaveEnabled());
  const std::u16string name = dialog.FullName(u"/app/");
  EXPECT_EQ(name, u"/app/batch.sh");
  ASSERT_TRUE(dialog.GenerateScript(fs, name, false, {}).ok());
  EXPECT_FALSE(fs.Exists(name));
  fs.AddFile(name, "old");
  ASSERT_TRUE(dialog.GenerateScript(fs, name, false, {{u"/d/a", u"/d/b"}}).ok());
  EXPECT_EQ(*fs.FileBytes(name), BuildRenameScript({{u"/d/a", u"/d/b"}}, u"mv -n --", false));
}

// Names full of shell syntax, run through the generated script by a real sh:
// each must arrive under its new name with its content, and nothing else may
// happen (no command substitution, no globbing, no word splitting).
TEST(TGenerateBatchTest, TheScriptRunsHostileNamesAsPlainNames) {
  TTempFolder dir;
  const std::string sentinel = dir.WriteFile("sentinel", "must survive");
  const std::map<std::string, std::string> renames = {
      {"it's here.txt", "\"double\" 'single'.txt"},
      {"$(touch pwned).txt", "`touch pwned2`.txt"},
      {"*", "star?[a].txt"},
      {"two\nlines", "tab\there; rm sentinel"},
      {"caf\xE9 latin-1", "-n leading dash"},
      {"a", "b"},
      {"b", "a"},
  };
  std::vector<TRenamePair> pairs;
  const std::u16string base = Utf8ToUtf16(dir.Path()) + u"/";
  for (const auto& [from, to] : renames) {
    dir.WriteFile(from, "content of " + from);
    pairs.push_back({base + Utf8ToUtf16(from), base + Utf8ToUtf16(to)});
  }
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TTempFolder scriptDir;
  const std::u16string script = Utf8ToUtf16(scriptDir.PathOf("rename.sh"));
  TfrmGenerateBatch dialog;
  ASSERT_TRUE(dialog.GenerateScript(*fs, script, false, pairs).ok());
  const std::string command = "cd '" + dir.Path() + "' && sh '" + Utf16ToUtf8(script) + "'";
  EXPECT_EQ(std::system(command.c_str()), 0);

  std::map<std::string, std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    std::string bytes;
    EXPECT_TRUE(fs->ReadWholeFile(Utf8ToUtf16(entry.path().string()), bytes).ok());
    found[entry.path().filename()] = bytes;
  }
  std::map<std::string, std::string> expected = {{"sentinel", "must survive"}};
  for (const auto& [from, to] : renames) expected[to] = "content of " + from;
  EXPECT_EQ(found, expected);
}

}  // namespace
