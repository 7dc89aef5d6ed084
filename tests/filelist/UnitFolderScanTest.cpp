// The folder scan through the list's refresh, over the fake file system.
#include "filelist/UnitFolderScan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/UnitFileList.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"
#include "support/UnitRecordingProgress.h"

namespace {

TDateTime Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  TDateTime value = 0;
  EXPECT_TRUE(TryEncodeDateTime(year, month, day, hour, minute, second, 0, value));
  return value;
}

class TFolderScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.AddFolder(u"/r");
    // Keep the scan order visible: the New Name column is not a sort key
    // (only folders move before files).
    list.SetSortOrder({TSortKind::NewName, 0, false});
  }
  void File(const std::u16string& relative, size_t size = 0) {
    fs.AddFile(u"/r/" + relative, std::string(size, 'x'));
  }
  void Folder(const std::u16string& relative) { fs.AddFolder(u"/r/" + relative); }

  // Refreshes with `options` (folder "/r") and returns the captions in list order.
  std::vector<std::string> Refresh(TScanOptions options, bool recursive = false,
                                   bool unchecked = false) {
    if (options.folder.empty()) options.folder = u"/r";
    bool once = recursive;
    EXPECT_TRUE(list.RefreshFileList(options, progress, once, files, unchecked, checked, folders));
    EXPECT_FALSE(once);
    return Captions();
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (int row = 0; row < list.Count(); ++row) {
      captions.push_back(Utf16ToUtf8(list.GetFileData(row)->GetName()));
    }
    return captions;
  }
  const TFileListData& Row(const std::string& caption) const {
    for (int row = 0; row < list.Count(); ++row) {
      if (Utf16ToUtf8(list.GetFileData(row)->GetName()) == caption) return *list.GetFileData(row);
    }
    ADD_FAILURE() << "no row " << caption;
    return *list.GetFileData(0);
  }

  TFakeFileSystem fs;
  TFixedClock clock{Date(2024, 5, 6, 7, 8, 10)};
  TFrmDummyShowPreview list{fs, clock};
  TRecordingProgress progress;
  int files = -1;
  int checked = -1;
  int folders = -1;
};

using Names = std::vector<std::string>;

TEST_F(TFolderScanTest, FilterTakesWholeNamesInFileNameMode) {
  for (const auto* name : {u"a.jpg", u"a.jpg.txt", u"B.JPG", u"readme", u"x.jpeg"}) File(name);
  struct Case {
    std::u16string filter;
    Names expected;
  };
  const Case cases[] = {
      {u"*.jpg", {"B.JPG", "a.jpg"}},
      {u"", {"B.JPG", "a.jpg", "a.jpg.txt", "readme", "x.jpeg"}},
      {u"*.*", {"B.JPG", "a.jpg", "a.jpg.txt", "readme", "x.jpeg"}},
      {u"*.", {"readme"}},
      {u"?.jp*", {"B.JPG", "a.jpg", "a.jpg.txt", "x.jpeg"}},
  };
  for (const Case& c : cases) {
    TScanOptions options;
    options.filter = c.filter;
    EXPECT_EQ(Refresh(options), c.expected) << Utf16ToUtf8(c.filter);
    EXPECT_EQ(files, static_cast<int>(c.expected.size())) << Utf16ToUtf8(c.filter);
  }
}

TEST_F(TFolderScanTest, FileFolderModesDecideWhatIsListedAndCounted) {
  File(u"a.txt");
  File(u"b.txt");
  Folder(u"sub");
  File(u"sub/inner.txt");
  struct Case {
    TFileFolderMode mode;
    Names expected;
    int folders;
  };
  const Case cases[] = {
      {TFileFolderMode::FilesOnly, {"a.txt", "b.txt"}, 0},
      {TFileFolderMode::FoldersOnly, {"sub"}, 1},
      {TFileFolderMode::FilesAndFolders, {"sub", "a.txt", "b.txt"}, 1},
  };
  for (const Case& c : cases) {
    TScanOptions options;
    options.mode = c.mode;
    EXPECT_EQ(Refresh(options), c.expected) << static_cast<int>(c.mode);
    EXPECT_EQ(files, 2) << "files are counted in every mode";
    EXPECT_EQ(folders, c.folders);
  }
  EXPECT_TRUE(list.IsFolder(0));
  EXPECT_FALSE(list.IsFolder(1));
  EXPECT_EQ(list.FoldersCount().GetCount(u"/r/"), 2);
  EXPECT_EQ(list.FoldersCount().GetCount(u"/r/sub/"), 0) << "a flat scan does not enter sub";
}

TEST_F(TFolderScanTest, RecursiveScanIsDepthFirstAndListsNoFolders) {
  File(u"a.txt");
  Folder(u"m");
  Folder(u"m/n");
  File(u"m/n/y.txt");
  File(u"m/x.txt");
  File(u"z.txt");
  TScanOptions options;
  options.mode = TFileFolderMode::FilesAndFolders;
  EXPECT_EQ(Refresh(options, true), (Names{"a.txt", "m/n/y.txt", "m/x.txt", "z.txt"}));
  EXPECT_EQ(folders, 0);
  EXPECT_EQ(files, 4);
  EXPECT_TRUE(list.ListIsRecursive());
  EXPECT_EQ(list.FoldersCount().GetCount(u"/r/"), 2);
  EXPECT_EQ(list.FoldersCount().GetCount(u"/r/m/"), 1);
  EXPECT_EQ(list.FoldersCount().GetCount(u"/r/m/n/"), 1);
  EXPECT_EQ(list.FoldersCount().GetCount(u"/elsewhere/"), 0);
  EXPECT_EQ(list.GetFolderTotal(0), 2);
  EXPECT_EQ(list.GetFolderTotal(1), 1) << "m/n/y.txt";
  EXPECT_EQ(list.GetFolderTotal(99), 0);
  EXPECT_EQ(progress.CallsStartingWith("Message: Scanning"),
            (Names{"Message: Scanning ../", "Message: Scanning ../m/", "Message: Scanning ../m/n/"}));
}

TEST_F(TFolderScanTest, FolderNameFilterDecidesWhichFoldersAreEntered) {
  File(u"top.jpg");
  Folder(u"photos");
  File(u"photos/p.jpg");
  Folder(u"trip.jpg");
  File(u"trip.jpg/t.jpg");
  File(u"trip.jpg/t.txt");
  TScanOptions options;
  options.filter = u"*.jpg";
  EXPECT_EQ(Refresh(options, true), (Names{"photos/p.jpg", "top.jpg", "trip.jpg/t.jpg"}));
  options.filterFolderNames = true;
  EXPECT_EQ(Refresh(options, true), (Names{"top.jpg", "trip.jpg/t.jpg"}));
  options.mode = TFileFolderMode::FoldersOnly;
  EXPECT_EQ(Refresh(options), (Names{"trip.jpg"}));
  options.filterFolderNames = false;
  EXPECT_EQ(Refresh(options), (Names{"photos", "trip.jpg"}));
}

TEST_F(TFolderScanTest, HiddenEntriesAreLeftOutAndNotEntered) {
  File(u".profile");
  File(u"seen.txt");
  Folder(u".git");
  File(u".git/config");
  TScanOptions options;
  EXPECT_EQ(Refresh(options, true), (Names{".git/config", ".profile", "seen.txt"}));
  options.noHiddenFiles = true;
  EXPECT_EQ(Refresh(options, true), (Names{"seen.txt"}));
  options.mode = TFileFolderMode::FilesAndFolders;
  EXPECT_EQ(Refresh(options), (Names{"seen.txt"}));
}

TEST_F(TFolderScanTest, WhichNewEntriesAreChecked) {
  File(u"a.txt");
  Folder(u"sub");
  struct Case {
    TFileFolderMode mode;
    bool dontSelectFolders;
    bool unchecked;
    bool fileChecked;
    bool folderChecked;
  };
  const Case cases[] = {
      {TFileFolderMode::FilesAndFolders, true, false, true, false},
      {TFileFolderMode::FilesAndFolders, false, false, true, true},
      {TFileFolderMode::FoldersOnly, true, false, false, true},
      {TFileFolderMode::FilesAndFolders, false, true, false, true},
  };
  for (const Case& c : cases) {
    TScanOptions options;
    options.mode = c.mode;
    options.dontSelectFolders = c.dontSelectFolders;
    Refresh(options, false, c.unchecked);
    const std::string label = std::to_string(static_cast<int>(c.mode)) + "/" +
                              std::to_string(c.dontSelectFolders) + "/" + std::to_string(c.unchecked);
    if (c.mode != TFileFolderMode::FoldersOnly) {
      EXPECT_EQ(Row("a.txt").Checked(), c.fileChecked) << label;
      EXPECT_EQ(Row("a.txt").StateIndex(), c.fileChecked ? 1 : 0) << label;
    }
    EXPECT_EQ(Row("sub").Checked(), c.folderChecked) << label;
    EXPECT_EQ(checked, list.GetCheckedCount()) << label;
    EXPECT_EQ(checked, (c.mode != TFileFolderMode::FoldersOnly && c.fileChecked ? 1 : 0) +
                           (c.folderChecked ? 1 : 0))
        << label;
  }
}

TEST_F(TFolderScanTest, SizeAndTypeColumns) {
  File(u"photo.jpg", 1536);
  File(u"README", 7);
  File(u"archive.tar.Gz", 1234567);
  Folder(u"v1.2");
  TScanOptions options;
  options.mode = TFileFolderMode::FilesAndFolders;
  Refresh(options);
  struct Case {
    std::string caption;
    std::u16string size, type;
  };
  const Case cases[] = {
      {"photo.jpg", u"1,536", u"JPG"},
      {"README", u"7", u""},
      {"archive.tar.Gz", u"1,234,567", u"GZ"},
      {"v1.2", u"0", u"<DIR>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Row(c.caption).GetSize(), c.size) << c.caption;
    EXPECT_EQ(Row(c.caption).GetType(), c.type) << c.caption;
  }
}

TEST_F(TFolderScanTest, DateColumnsFollowThePackingRules) {
  const TDateTime modified = Date(2013, 8, 14, 10, 20, 31);
  const TDateTime created = Date(2012, 1, 2, 3, 4, 6);
  File(u"both.txt");
  fs.SetTimes(u"/r/both.txt", modified, created);
  File(u"nocreation.txt");
  fs.SetTimes(u"/r/nocreation.txt", modified, 0);
  File(u"notimes.txt");
  File(u"old.txt");
  fs.SetTimes(u"/r/old.txt", Date(1975, 1, 1), Date(1975, 1, 1));
  struct Case {
    std::string caption;
    std::u16string modified, created;
  };
  const Case shortCases[] = {
      {"both.txt", u"2013-08-14", u"2012-01-02"},
      {"nocreation.txt", u"2013-08-14", u"2013-08-14"},
      {"notimes.txt", u"2024-05-06", u"2024-05-06"},
      {"old.txt", u"2024-05-06", u"2024-05-06"},
  };
  TScanOptions options;
  Refresh(options);
  for (const Case& c : shortCases) {
    EXPECT_EQ(Row(c.caption).GetDate(), c.modified) << c.caption;
    EXPECT_EQ(Row(c.caption).GetDateCreated(), c.created) << c.caption;
  }
  options.fullDateTime = true;
  Refresh(options);
  EXPECT_EQ(Row("both.txt").GetDate(), u"2013-08-14 10:20:30") << "seconds round down to even";
  EXPECT_EQ(Row("both.txt").GetDateCreated(), u"2012-01-02 03:04:06");
  EXPECT_EQ(Row("notimes.txt").GetDate(), u"2024-05-06 07:08:10");
  const TTagData* tag = list.GetTagData(0);
  ASSERT_NE(tag, nullptr);
  EXPECT_NE(tag->Modified, 0);
  EXPECT_TRUE(tag->DirectSelected);
}

TEST_F(TFolderScanTest, RowsWithOneTimeShareOneDateText) {
  const TDateTime early = Date(2013, 8, 14, 10, 20, 30);
  const TDateTime late = Date(2013, 8, 15, 11, 0, 0);
  // Listed in name order, so the two times alternate.
  for (const auto* name : {u"a", u"b", u"c", u"d"}) File(name);
  fs.SetTimes(u"/r/a", early, late);
  fs.SetTimes(u"/r/b", late, late);
  fs.SetTimes(u"/r/c", early, late);
  fs.SetTimes(u"/r/d", late, early);
  Refresh(TScanOptions());
  EXPECT_EQ(&Row("a").GetDate(), &Row("c").GetDate());
  EXPECT_EQ(&Row("b").GetDate(), &Row("d").GetDate());
  EXPECT_EQ(&Row("a").GetDateCreated(), &Row("b").GetDateCreated());
  EXPECT_EQ(Row("c").GetDate(), u"2013-08-14");
  EXPECT_EQ(Row("d").GetDate(), u"2013-08-15");
  EXPECT_EQ(Row("d").GetDateCreated(), u"2013-08-14");
}

TEST_F(TFolderScanTest, ProgressEvery200EntriesAndSortingAtTheEnd) {
  for (int i = 0; i < 450; ++i) File(u"f" + IntToStr(1000 + i));
  Refresh(TScanOptions());
  EXPECT_EQ(list.Count(), 450);
  EXPECT_EQ(progress.CallsStartingWith("Advanced"), (Names{"Advanced: 200", "Advanced: 400"}));
  EXPECT_EQ(progress.CallsStartingWith("Message"),
            (Names{"Message: f1199", "Message: f1399", "Message: "}));
  EXPECT_EQ(progress.CallsStartingWith("Started"),
            (Names{"Started: Reading Files...  -1", "Started: Sorting ... -1"}));
  EXPECT_EQ(progress.calls.back(), "Finished");
}

TEST_F(TFolderScanTest, CancelStopsTheScanAndKeepsWhatWasListed) {
  Folder(u"a");
  for (int i = 0; i < 300; ++i) File(u"a/f" + IntToStr(1000 + i));
  for (int i = 0; i < 300; ++i) File(u"b" + IntToStr(1000 + i));
  progress.onCall = [&](const std::string& call) {
    if (call == "Advanced: 200") list.CancelRefreshFileList();
  };
  Refresh(TScanOptions(), true);
  EXPECT_TRUE(list.RefreshWasCancelled());
  EXPECT_EQ(list.Count(), 200);
  EXPECT_EQ(files, 200) << "the parent folder stops too";

  progress.onCall = nullptr;
  progress.cancelled = true;  // the progress itself asks to stop
  Refresh(TScanOptions(), true);
  EXPECT_TRUE(list.RefreshWasCancelled());
  EXPECT_LE(list.Count(), 200);

  progress.cancelled = false;
  Refresh(TScanOptions(), true);
  EXPECT_FALSE(list.RefreshWasCancelled()) << "each refresh starts uncancelled";
  EXPECT_EQ(list.Count(), 600);
}

TEST_F(TFolderScanTest, UnreadableFoldersGiveNothing) {
  File(u"a.txt");
  Folder(u"locked");
  File(u"locked/secret.txt");
  fs.FailListing(u"/r/locked");
  EXPECT_EQ(Refresh(TScanOptions(), true), (Names{"a.txt"}));
  fs.FailListing(u"/r");
  EXPECT_EQ(Refresh(TScanOptions()), Names{});
  EXPECT_EQ(files, 0);
  TScanOptions missing;
  missing.folder = u"/no/such/folder";
  EXPECT_EQ(Refresh(missing), Names{});
}

TEST_F(TFolderScanTest, RefreshRefusesToRunInsideAnotherAndRemembersTheFolder) {
  File(u"a.txt");
  Refresh(TScanOptions());
  EXPECT_EQ(list.ListedFolder(), u"/r");
  list.SetIgnoreInterface(true);
  bool once = true;
  int f = -1;
  int c = -1;
  int d = -1;
  EXPECT_FALSE(list.RefreshFileList(TScanOptions(), progress, once, f, false, c, d));
  EXPECT_TRUE(once);
  EXPECT_EQ(f, -1);
  EXPECT_EQ(list.Count(), 1);
  list.SetIgnoreInterface(false);
  EXPECT_TRUE(list.RefreshFileList(TScanOptions{u"/r"}, progress, once, f, false, c, d));
  EXPECT_FALSE(list.GetIgnoreInterface());
}

TEST_F(TFolderScanTest, MediaFlagsFollowListedExtensions) {
  File(u"song.MP3");
  Refresh(TScanOptions());
  EXPECT_TRUE(list.ListContainsMP3s());
  EXPECT_FALSE(list.ListContainsJPEGs());
  File(u"photo.Jpeg");
  Refresh(TScanOptions());
  EXPECT_TRUE(list.ListContainsJPEGs());
  TScanOptions foldersOnly;
  foldersOnly.mode = TFileFolderMode::FoldersOnly;
  Refresh(foldersOnly);
  EXPECT_FALSE(list.ListContainsMP3s()) << "files that are not listed do not count";
}

TEST_F(TFolderScanTest, RefreshSortsByNameWithFoldersFirst) {
  for (const auto* name : {u"file10.txt", u"file2.txt", u"File1.txt"}) File(name);
  Folder(u"zeta");
  list.SetSortOrder(TSortOrder());
  TScanOptions options;
  options.mode = TFileFolderMode::FilesAndFolders;
  EXPECT_EQ(Refresh(options), (Names{"zeta", "File1.txt", "file2.txt", "file10.txt"}));
  list.SetSortOrder({TSortKind::Name, 0, true});
  list.SortData();
  EXPECT_EQ(Captions(), (Names{"zeta", "file10.txt", "file2.txt", "File1.txt"}));
}

}  // namespace
