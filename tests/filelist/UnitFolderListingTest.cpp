// Folder listings and scans on the real disk: what the POSIX listing reports,
// names that are not UTF-8, symbolic-link loops and folders that cannot be read.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "filelist/UnitFileList.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitFakeServices.h"
#include "support/UnitRecordingProgress.h"
#include "support/UnitTempFolder.h"

namespace {

class TFolderListingTest : public ::testing::Test {
 protected:
  std::u16string Path(const std::string& name = "") const {
    return Utf8ToUtf16(name.empty() ? dir.Path() : dir.PathOf(name));
  }
  std::map<std::string, TFolderEntry> List(const std::string& name, TStatus* status = nullptr) {
    std::map<std::string, TFolderEntry> entries;
    TStatus result = fs->ListFolder(Path(name), [&](const TFolderEntry& entry) {
      entries[Utf16ToUtf8(entry.name)] = entry;
      return true;
    });
    if (status != nullptr) *status = result;
    return entries;
  }
  // Refreshes a list of the temporary folder; returns the captions as bytes.
  std::vector<std::string> Scan(bool recursive, TFileFolderMode mode = TFileFolderMode::FilesOnly) {
    TScanOptions options;
    options.folder = Path();
    options.mode = mode;
    options.dontSelectFolders = false;
    bool once = recursive;
    int files = 0;
    int checked = 0;
    int folders = 0;
    EXPECT_TRUE(list.RefreshFileList(options, progress, once, files, false, checked, folders));
    std::vector<std::string> captions;
    for (int row = 0; row < list.Count(); ++row) {
      captions.push_back(Utf16ToUtf8(list.GetFileData(row)->GetName()));
    }
    return captions;
  }
  // Each entry's identity is the one a status call through the folder gives
  // for the entry itself.
  void ExpectIdentitiesOfEntries(const std::map<std::string, TFolderEntry>& entries) {
    const std::unique_ptr<TFolderHandle> folder = fs->OpenFolderHandle(Path());
    ASSERT_NE(folder, nullptr);
    for (const auto& [name, entry] : entries) {
      TEntryIdentity id;
      ASSERT_TRUE(folder->GetEntryIdentity(Utf8ToUtf16(name), id).ok()) << name;
      EXPECT_TRUE(id.Known()) << name;
      EXPECT_EQ(entry.identity, id) << name;
    }
  }
  void Link(const std::string& target, const std::string& name) {
    ASSERT_EQ(::symlink(target.c_str(), dir.PathOf(name).c_str()), 0) << name;
  }

  TTempFolder dir;
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TFixedClock clock;
  TFrmDummyShowPreview list{*fs, clock};
  TRecordingProgress progress;
};

using Names = std::vector<std::string>;

TEST_F(TFolderListingTest, ListFolderDescribesEachEntryOnce) {
  dir.WriteFile("a.txt", "12345");
  dir.WriteFile(".hidden", "");
  dir.WriteFile("sub/inner.txt", "x");
  TStatus status;
  const auto entries = List("", &status);
  ASSERT_TRUE(status.ok());
  ASSERT_EQ(entries.size(), 3u) << "no \".\" or \"..\"";
  const TFolderEntry& file = entries.at("a.txt");
  EXPECT_FALSE(file.info.isFolder);
  EXPECT_FALSE(file.info.hidden);
  EXPECT_EQ(file.info.size, 5u);
  EXPECT_GT(file.info.modified, 40000.0) << "a local time after 2009";
  if (file.info.created != 0) {
    EXPECT_NEAR(file.info.created, file.info.modified, 1.0);
  }
  EXPECT_TRUE(entries.at(".hidden").info.hidden);
  EXPECT_TRUE(entries.at("sub").info.isFolder);
  EXPECT_EQ(entries.at("sub").info.size, 0u);
  ExpectIdentitiesOfEntries(entries);

  int calls = 0;
  EXPECT_TRUE(fs->ListFolder(Path(), [&](const TFolderEntry&) { return ++calls < 1; }).ok());
  EXPECT_EQ(calls, 1) << "returning false stops the listing";
}

// The names-only listing tells the same names and kinds as the full one,
// and nothing it would have to read each entry for.
TEST_F(TFolderListingTest, ListFolderNamesTellsNamesAndKindsOnly) {
  dir.WriteFile("a.txt", "12345");
  dir.WriteFile(".hidden", "");
  dir.WriteFile("sub/inner.txt", "x");
  Link("sub", "tosub");
  Link("nowhere", "dangling");
  const auto described = List("");
  std::map<std::string, TFolderEntry> named;
  ASSERT_TRUE(fs->ListFolderNames(Path(), [&](const TFolderEntry& entry) {
                  named[Utf16ToUtf8(entry.name)] = entry;
                  return true;
                }).ok());
  ASSERT_EQ(named.size(), described.size());
  for (const auto& [name, entry] : described) {
    ASSERT_EQ(named.count(name), 1u) << name;
    const TFolderEntry& plain = named.at(name);
    EXPECT_EQ(plain.info.isFolder, entry.info.isFolder) << name;
    EXPECT_EQ(plain.isLink, entry.isLink) << name;
    EXPECT_EQ(plain.info.hidden, entry.info.hidden) << name;
  }
  EXPECT_EQ(named.at("a.txt").info.size, 0u);
  // An identity it gives is the entry's own; a folder's it leaves to a status call.
  EXPECT_FALSE(named.at("sub").identity.Known());
  std::map<std::string, TFolderEntry> known;
  for (const auto& [name, entry] : named) {
    if (entry.identity.Known()) known[name] = entry;
  }
  ExpectIdentitiesOfEntries(known);
}

TEST_F(TFolderListingTest, NamesThatAreNotUtf8RoundTrip) {
  const std::string bad = "\xFF\xFE-bad.txt";
  const std::string latin1 = "caf\xE9.txt";
  const std::string good = "caf\xC3\xA9.txt";
  for (const std::string& name : {bad, latin1, good}) dir.WriteFile(name, "x");
  const Names captions = Scan(false);
  ASSERT_EQ(captions.size(), 3u);
  for (int row = 0; row < list.Count(); ++row) {
    const std::u16string caption = list.GetFileData(row)->GetName();
    const std::string bytes = Utf16ToUtf8(list.ListedFolder() + u"/" + caption);
    EXPECT_TRUE(std::filesystem::exists(bytes)) << bytes;
  }
  EXPECT_NE(std::find(captions.begin(), captions.end(), bad), captions.end());
  EXPECT_NE(std::find(captions.begin(), captions.end(), latin1), captions.end());
  EXPECT_EQ(List("").count(bad), 1u);
}

TEST_F(TFolderListingTest, SymbolicLinksAreListedAsThemselvesAndNeverEntered) {
  dir.WriteFile("real/file.txt", "x");
  Link(".", "self");             // a loop back to the folder itself
  Link("..", "real/up");          // and one to the parent
  Link("real", "toreal");         // a link to a folder
  Link("nowhere", "dangling");    // a link to nothing
  const auto entries = List("");
  ASSERT_EQ(entries.count("self"), 1u);
  EXPECT_TRUE(entries.at("self").isLink);
  EXPECT_FALSE(entries.at("self").info.isFolder);
  EXPECT_TRUE(entries.at("dangling").isLink);
  ExpectIdentitiesOfEntries(entries);

  EXPECT_EQ(Scan(true), (Names{"dangling", "self", "toreal", "real/file.txt", "real/up"}));
  EXPECT_EQ(Scan(false, TFileFolderMode::FoldersOnly), (Names{"real"}));
}

TEST_F(TFolderListingTest, FoldersThatCannotBeReadGiveAnEmptyList) {
  dir.WriteFile("plain.txt", "x");
  TStatus status;
  EXPECT_TRUE(List("missing", &status).empty());
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.file(), Path("missing"));
  EXPECT_TRUE(List("plain.txt", &status).empty());
  EXPECT_FALSE(status.ok()) << "a file is not a folder";

  TScanOptions options;
  options.folder = Path("missing");
  bool once = true;
  int files = -1;
  int checked = -1;
  int folders = -1;
  EXPECT_TRUE(list.RefreshFileList(options, progress, once, files, false, checked, folders));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(files, 0);
}

TEST_F(TFolderListingTest, PermissionDeniedSubFolderIsSkipped) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  dir.WriteFile("open.txt", "x");
  dir.WriteFile("locked/secret.txt", "x");
  ASSERT_EQ(::chmod(dir.PathOf("locked").c_str(), 0), 0);
  const Names captions = Scan(true);
  ::chmod(dir.PathOf("locked").c_str(), 0755);
  EXPECT_EQ(captions, (Names{"open.txt"}));
}

}  // namespace
