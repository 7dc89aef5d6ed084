#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>

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

// The content prepared ahead is on disk beside the file but not in its place
// until committed; one never committed leaves the folder as it was.
TEST_F(TPosixFileSystemTest, PreparedReplacementTakesThePlaceOnlyWhenCommitted) {
  dir.WriteFile("0000.txt", "old");
  std::string bytes;
  {
    auto dropped = fs->PrepareReplacement(Path("0000.txt"), "dropped");
    EXPECT_TRUE(dropped->Prepared().ok());
    EXPECT_EQ(EntriesInFolder(), 2u);
  }
  EXPECT_EQ(EntriesInFolder(), 1u);
  auto kept = fs->PrepareReplacement(Path("0000.txt"), "new");
  ASSERT_TRUE(fs->ReadWholeFile(Path("0000.txt"), bytes).ok());
  EXPECT_EQ(bytes, "old");
  ASSERT_TRUE(kept->Commit().ok());
  ASSERT_TRUE(fs->ReadWholeFile(Path("0000.txt"), bytes).ok());
  EXPECT_EQ(bytes, "new");
  EXPECT_FALSE(kept->Commit().ok());
  kept.reset();
  EXPECT_EQ(EntriesInFolder(), 1u);

  const std::u16string missing = Path("no/such/0000.txt");
  auto failed = fs->PrepareReplacement(missing, "x");
  EXPECT_EQ(failed->Prepared().file(), missing);
  EXPECT_EQ(failed->Commit().reason(), u"No such file or directory");

  // What a program cut short left is removed, and nothing else.
  auto left = fs->PrepareReplacement(Path("0000.txt"), "left");
  dir.WriteFile(".tallowick-notmine", "a file of the user's");
  EXPECT_EQ(EntriesInFolder(), 3u);
  fs->RemoveLeftOverReplacements(Utf8ToUtf16(dir.Path()));
  EXPECT_EQ(EntriesInFolder(), 2u);
  EXPECT_FALSE(left->Commit().ok());
  ASSERT_TRUE(fs->ReadWholeFile(Path("0000.txt"), bytes).ok());
  EXPECT_EQ(bytes, "new");
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

// Only regular files are opened, and nothing else can hold the reader up: a
// named pipe without a writer, a device, a socket, a folder and a link to a
// pipe are refused at once, with the file and the reason.
TEST_F(TPosixFileSystemTest, OpensOnlyRegularFilesAndNeverWaits) {
  dir.WriteFile("regular.txt", "content");
  ASSERT_EQ(::mkfifo(dir.PathOf("pipe.mp3").c_str(), 0644), 0);
  std::filesystem::create_symlink("pipe.mp3", dir.PathOf("to-pipe.jpg"));
  std::filesystem::create_directory(dir.PathOf("folder.txt"));
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = dir.PathOf("socket.txt");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size());
  const bool bound =
      ::bind(sock, static_cast<sockaddr*>(static_cast<void*>(&address)), sizeof address) == 0;
  const struct {
    std::u16string path;
    std::u16string reason;  // empty: readable
  } cases[] = {
      {Path("regular.txt"), u""},
      {Path("pipe.mp3"), u"Only regular files are read; this is a named pipe"},
      {Path("to-pipe.jpg"), u"Only regular files are read; this is a named pipe"},
      {u"/dev/null", u"Only regular files are read; this is a character device"},
      {Path("folder.txt"), u"Is a directory"},
      {Path("socket.txt"),
       bound ? u"Only regular files are read; this is a socket" : u"No such file or directory"},
  };
  for (const auto& c : cases) {
    const std::string label = Utf16ToUtf8(c.path);
    // The guard: a reader that blocks fails the test instead of hanging it.
    auto opening = std::async(std::launch::async, [&] {
      std::unique_ptr<TRandomAccessFile> file;
      TStatus status = fs->OpenForReading(c.path, file);
      EXPECT_EQ(file != nullptr, status.ok()) << label;
      return status;
    });
    if (opening.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      ADD_FAILURE() << label << ": the open waits";
      const int writer = ::open(dir.PathOf("pipe.mp3").c_str(), O_WRONLY | O_NONBLOCK);
      opening.wait();
      if (writer >= 0) ::close(writer);
      continue;
    }
    const TStatus status = opening.get();
    EXPECT_EQ(status.ok(), c.reason.empty()) << label;
    if (!c.reason.empty()) {
      EXPECT_EQ(status.file(), c.path) << label;
      EXPECT_EQ(status.reason(), c.reason) << label;
    }
  }
  ::close(sock);
  std::string bytes;
  EXPECT_FALSE(fs->ReadWholeFile(Path("pipe.mp3"), bytes).ok());
  ASSERT_TRUE(ReadFileRange(*fs, Path("regular.txt"), 0, 100, bytes).ok());
  EXPECT_EQ(bytes, "content") << "reads of a regular file still wait for their bytes";
}

}  // namespace
