#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitTempFolder.h"

namespace {

class TPosixFileSystemTest : public ::testing::Test {
 protected:
  std::u16string Path(const std::string& name) const { return Utf8ToUtf16(dir.PathOf(name)); }
  size_t EntriesInFolder() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++n;
    return n;
  }
  TTempFolder dir;
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
};

TEST_F(TPosixFileSystemTest, ReplaceFileAtomicallyKeepsModeAndLeavesNoTemporaryFile) {
  const std::string file = dir.WriteFile("tw.ini", "old");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  ASSERT_TRUE(fs->ReplaceFileAtomically(Path("tw.ini"), "new content").ok());
  std::string bytes;
  ASSERT_TRUE(fs->ReadWholeFile(Path("tw.ini"), bytes).ok());
  EXPECT_EQ(bytes, "new content");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(TPosixFileSystemTest, FailedReplaceReportsTheFile) {
  const std::u16string missing = Path("no/such/folder/a.twscr");
  TStatus status = fs->ReplaceFileAtomically(missing, "x");
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.file(), missing);
  EXPECT_EQ(status.reason(), u"No such file or directory");
}

TEST_F(TPosixFileSystemTest, FoldersFilesAndInfo) {
  ASSERT_TRUE(fs->CreateFolderPath(Path("a/b/c")).ok());
  EXPECT_TRUE(fs->CreateFolderPath(Path("a/b/c")).ok());
  EXPECT_TRUE(fs->DirectoryExists(Path("a/b/c")));
  dir.WriteFile("a/file.bin", "12345");
  EXPECT_FALSE(fs->CreateFolderPath(Path("a/file.bin")).ok());
  TFileInfo info;
  ASSERT_TRUE(fs->GetFileInfo(Path("a/file.bin"), info).ok());
  EXPECT_FALSE(info.isFolder);
  EXPECT_EQ(info.size, 5u);
  EXPECT_GT(info.modified, 40000.0);  // after 2009
  ASSERT_TRUE(fs->GetFileInfo(Path("a/b"), info).ok());
  EXPECT_TRUE(info.isFolder);
  EXPECT_TRUE(fs->DeleteFile(Path("a/file.bin")).ok());
  EXPECT_TRUE(fs->DeleteFile(Path("a/file.bin")).ok());  // already gone
  EXPECT_FALSE(fs->Exists(Path("a/file.bin")));
}

TEST_F(TPosixFileSystemTest, ReadsRangesAndNamesThatAreNotUtf8) {
  const std::u16string name = Utf8ToUtf16(dir.PathOf("caf\xE9.txt"));  // a Latin-1 byte
  ASSERT_TRUE(fs->WriteWholeFile(name, "ABCDEF").ok());
  EXPECT_TRUE(std::filesystem::exists(dir.PathOf("caf\xE9.txt")));
  std::string bytes;
  ASSERT_TRUE(ReadFileRange(*fs, name, 2, 3, bytes).ok());
  EXPECT_EQ(bytes, "CDE");
  ASSERT_TRUE(ReadFileRange(*fs, name, 4, 100, bytes).ok());
  EXPECT_EQ(bytes, "EF");
  ASSERT_TRUE(ReadFileRange(*fs, name, 100, 1, bytes).ok());
  EXPECT_EQ(bytes, "");
  EXPECT_FALSE(ReadFileRange(*fs, Path("missing"), 0, 1, bytes).ok());
}

}  // namespace
