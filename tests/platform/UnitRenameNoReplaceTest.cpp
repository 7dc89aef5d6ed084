#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "UnitRacingWriter.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFaultyFileSystem.h"
#include "support/UnitTempFolder.h"

namespace {

namespace fsys = std::filesystem;

// The ways of a move that never replaces, from the best a file system offers
// to the last resort.
enum class TWay { Flag, Link, Reservation };

std::unique_ptr<TFileSystem> FileSystemFor(TWay way) {
  TPosixMoveSupport support;
  support.renameFlag = way == TWay::Flag;
  support.hardLinks = way != TWay::Reservation;
  return NewPosixFileSystem(support);
}

// Every case runs with RENAME_NOREPLACE and with each fallback used where a
// file system refuses the flag (and hard links).
class TRenameNoReplaceTest : public ::testing::TestWithParam<TWay> {
 protected:
  std::u16string Path(const std::string& name) const { return Utf8ToUtf16(dir.PathOf(name)); }
  std::string Content(const std::string& name) const { return ContentAt(dir.PathOf(name)); }
  static std::string ContentAt(const std::string& path) {
    std::string bytes;
    return NewPosixFileSystem()->ReadWholeFile(Utf8ToUtf16(path), bytes).ok() ? bytes
                                                                              : "(unreadable)";
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& e : fsys::directory_iterator(dir.Path())) names.insert(e.path().filename());
    return names;
  }
  TStatus Rename(const std::string& from, const std::string& to) {
    return fs->RenameNoReplace(Path(from), Path(to));
  }

  TTempFolder dir;
  std::unique_ptr<TFileSystem> fs = FileSystemFor(GetParam());
};

INSTANTIATE_TEST_SUITE_P(Posix, TRenameNoReplaceTest,
                         ::testing::Values(TWay::Flag, TWay::Link, TWay::Reservation),
                         [](const auto& p) {
                           return p.param == TWay::Flag   ? "Flag"
                                  : p.param == TWay::Link ? "Link"
                                                          : "Reservation";
                         });

TEST_P(TRenameNoReplaceTest, MovesFilesAndFoldersToFreeNames) {
  dir.WriteFile("a.txt", "A");
  dir.WriteFile("folder/inner.txt", "I");
  fsys::create_directory(dir.PathOf("sub"));
  ASSERT_TRUE(Rename("a.txt", "b.txt").ok());
  ASSERT_TRUE(Rename("b.txt", "sub/c.txt").ok());
  ASSERT_TRUE(Rename("folder", "moved").ok());
  EXPECT_EQ(Names(), (std::set<std::string>{"moved", "sub"}));
  EXPECT_EQ(Content("sub/c.txt"), "A");
  EXPECT_EQ(Content("moved/inner.txt"), "I");
}

TEST_P(TRenameNoReplaceTest, NeverReplacesAnExistingTarget) {
  struct TCase {
    const char* what;
    bool fromFolder;
    bool toFolder;
  };
  for (const TCase c :
       {TCase{"file onto file", false, false}, TCase{"folder onto empty folder", true, true},
        TCase{"file onto folder", false, true}, TCase{"folder onto file", true, false}}) {
    TTempFolder local;
    const auto make = [&](const std::string& name, bool folder) {
      if (folder) {
        fsys::create_directory(local.PathOf(name));
      } else {
        local.WriteFile(name, name);
      }
    };
    make("from", c.fromFolder);
    make("to", c.toFolder);
    const std::u16string to = Utf8ToUtf16(local.PathOf("to"));
    const TStatus status = fs->RenameNoReplace(Utf8ToUtf16(local.PathOf("from")), to);
    EXPECT_EQ(status.code(), EEXIST) << c.what;
    EXPECT_EQ(status.file(), to) << c.what;
    EXPECT_EQ(status.reason(), u"File exists") << c.what;
    EXPECT_EQ(fsys::is_directory(local.PathOf("from")), c.fromFolder) << c.what;
    EXPECT_EQ(fsys::is_directory(local.PathOf("to")), c.toFolder) << c.what;
    if (!c.toFolder) {
      EXPECT_EQ(ContentAt(local.PathOf("to")), "to") << c.what;
    }
  }
}

TEST_P(TRenameNoReplaceTest, MissingSourceNamesTheSource) {
  const TStatus status = Rename("missing", "b");
  EXPECT_EQ(status.code(), ENOENT);
  EXPECT_EQ(status.file(), Path("missing"));
  EXPECT_EQ(status.reason(), u"No such file or directory");
}

TEST_P(TRenameNoReplaceTest, KeepsNamesThatAreNotUtf8ByteForByte) {
  dir.WriteFile("caf\xE9.txt", "latin-1");
  dir.WriteFile("\xFF\xFE", "taken");
  EXPECT_EQ(Rename("caf\xE9.txt", "\xFF\xFE").code(), EEXIST);
  ASSERT_TRUE(Rename("caf\xE9.txt", "\xC3\x28 \x80.txt").ok());
  EXPECT_EQ(Names(), (std::set<std::string>{"\xC3\x28 \x80.txt", "\xFF\xFE"}));
  EXPECT_EQ(Content("\xC3\x28 \x80.txt"), "latin-1");
}

TEST_P(TRenameNoReplaceTest, ChangesLetterCaseOnly) {
  dir.WriteFile("photo.JPG", "jpeg");
  fsys::create_directory(dir.PathOf("Folder"));
  ASSERT_TRUE(Rename("photo.JPG", "photo.jpg").ok());
  ASSERT_TRUE(Rename("Folder", "FOLDER").ok());
  EXPECT_EQ(Names(), (std::set<std::string>{"FOLDER", "photo.jpg"}));
  EXPECT_EQ(Content("photo.jpg"), "jpeg");
}

// Two hard links to one file whose names differ in case only are two entries:
// the second must not be replaced, and no intermediate name may be left over.
TEST_P(TRenameNoReplaceTest, SecondHardLinkInOtherCaseIsNotReplaced) {
  dir.WriteFile("a.txt", "shared");
  ASSERT_EQ(::link(dir.PathOf("a.txt").c_str(), dir.PathOf("A.TXT").c_str()), 0);
  EXPECT_EQ(Rename("a.txt", "A.TXT").code(), EEXIST);
  EXPECT_EQ(Names(), (std::set<std::string>{"A.TXT", "a.txt"}));
}

TEST_P(TRenameNoReplaceTest, MovesSymbolicLinksThemselves) {
  dir.WriteFile("target.txt", "T");
  fsys::create_symlink("target.txt", dir.PathOf("link"));
  fsys::create_symlink("nowhere", dir.PathOf("dangling"));
  EXPECT_EQ(Rename("link", "dangling").code(), EEXIST);  // a dangling link is an entry too
  ASSERT_TRUE(Rename("link", "renamed-link").ok());
  EXPECT_TRUE(fsys::is_symlink(dir.PathOf("renamed-link")));
  EXPECT_EQ(Content("target.txt"), "T");
  EXPECT_EQ(Names(), (std::set<std::string>{"dangling", "renamed-link", "target.txt"}));
}

TEST_P(TRenameNoReplaceTest, RefusesAFolderIntoItself) {
  fsys::create_directory(dir.PathOf("f"));
  EXPECT_FALSE(Rename("f", "f/inner").ok());
  EXPECT_TRUE(fsys::is_directory(dir.PathOf("f")));
  EXPECT_TRUE(fsys::is_empty(dir.PathOf("f"))) << "a failed move leaves no reservation";
}

// Another program creates the target names while the moves run.
TEST_P(TRenameNoReplaceTest, AWriterCreatingTheTargetsMeanwhileLosesNothing) {
  ExpectRacingWriterLosesNothing(*fs, dir.Path(), 2000);
}

// Names relative to a listed folder never lead out of it: a folder part that
// is a symbolic link (even one pointing inside), or not a folder, fails, and
// nothing moves or appears anywhere.
TEST_P(TRenameNoReplaceTest, MovesBeneathAFolderNeverFollowALink) {
  TTempFolder outside;
  dir.WriteFile("base/victim.txt", "V");
  dir.WriteFile("base/plain.txt", "P");
  dir.WriteFile("base/sub/inner.txt", "I");
  fsys::create_symlink(outside.Path(), dir.PathOf("base/out"));
  fsys::create_symlink("sub", dir.PathOf("base/in"));
  fsys::create_symlink("nowhere", dir.PathOf("base/dangling"));
  const std::u16string base = Path("base");
  const auto snapshot = [&] {
    std::set<std::string> all;
    for (const std::string& root : {dir.PathOf("base"), outside.Path()}) {
      for (const auto& e : fsys::recursive_directory_iterator(root)) all.insert(e.path());
    }
    return all;
  };
  const auto before = snapshot();
  const struct {
    std::u16string from;
    std::u16string to;
    int code;
    std::u16string named;  // the name the status names, below base
    std::u16string reason;
  } refused[] = {
      {u"victim.txt", u"out/victim.txt", ELOOP, u"out/victim.txt",
       u"out is a symbolic link; no name is moved through one"},
      {u"victim.txt", u"in/victim.txt", ELOOP, u"in/victim.txt", {}},
      {u"victim.txt", u"dangling/victim.txt", ELOOP, u"dangling/victim.txt", {}},
      {u"victim.txt", u"sub/in/victim.txt", ENOENT, u"sub/in/victim.txt", {}},
      {u"victim.txt", u"plain.txt/victim.txt", ENOTDIR, u"plain.txt/victim.txt",
       u"plain.txt is not a folder"},
      {u"in/inner.txt", u"stolen.txt", ELOOP, u"in/inner.txt", {}},
      {u"victim.txt", u"../victim.txt", EINVAL, u"../victim.txt", {}},
      {u"victim.txt", u"/tmp/victim.txt", EINVAL, u"/tmp/victim.txt", {}},
      {u"victim.txt", u"sub//victim.txt", EINVAL, u"sub//victim.txt", {}},
      {u"victim.txt", std::u16string(u"a\0b", 3), EINVAL, std::u16string(u"a\0b", 3), {}},
      {u"victim.txt", u"plain.txt", EEXIST, u"plain.txt", u"File exists"},
  };
  // By path, and through the folder held open for a run.
  const std::unique_ptr<TFolderHandle> handle = fs->OpenFolderHandle(base);
  for (const auto& c : refused) {
    for (const bool held : {false, true}) {
      const std::string label = Utf16ToUtf8(c.from + u" -> " + c.to) + (held ? " (held)" : "");
      const TStatus status = held ? handle->RenameNoReplaceBeneath(c.from, c.to)
                                  : fs->RenameNoReplaceBeneath(base, c.from, c.to);
      EXPECT_EQ(status.code(), c.code) << label << ": " << Utf16ToUtf8(status.Message());
      EXPECT_EQ(status.file(), base + u"/" + c.named) << label;
      if (!c.reason.empty()) {
        EXPECT_EQ(status.reason(), c.reason) << label;
      }
      EXPECT_EQ(snapshot(), before) << label;
    }
  }
  for (const std::u16string folder : {u"out/new", u"in/new", u"plain.txt/new", u"../new"}) {
    EXPECT_FALSE(fs->CreateFolderPathBeneath(base, folder).ok()) << Utf16ToUtf8(folder);
    EXPECT_EQ(snapshot(), before) << Utf16ToUtf8(folder);
  }
  // Real folders below the base, made or present, and a link moved as itself.
  ASSERT_TRUE(fs->CreateFolderPathBeneath(base, u"sub/new/deeper").ok());
  ASSERT_TRUE(fs->CreateFolderPathBeneath(base, u"sub/new").ok()) << "an existing folder is fine";
  ASSERT_TRUE(fs->RenameNoReplaceBeneath(base, u"victim.txt", u"sub/new/deeper/v.txt").ok());
  EXPECT_EQ(Content("base/sub/new/deeper/v.txt"), "V");
  ASSERT_TRUE(fs->RenameNoReplaceBeneath(base, u"out", u"sub/out-link").ok());
  EXPECT_TRUE(fsys::is_symlink(dir.PathOf("base/sub/out-link")));
  ASSERT_TRUE(fs->RenameNoReplaceBeneath(base + u"/", u"sub/inner.txt", u"Inner.txt").ok());
  EXPECT_EQ(Content("base/Inner.txt"), "I");
  EXPECT_TRUE(fsys::is_empty(outside.Path()));
}

// A folder held open answers as the calls by path do, and stays with the
// folder it opened when that folder is moved.
TEST_P(TRenameNoReplaceTest, AHeldFolderAnswersAsThePathsDo) {
  dir.WriteFile("base/file.txt", "F");
  dir.WriteFile("base/sub/inner.txt", "I");
  fsys::create_symlink("sub", dir.PathOf("base/in"));
  fsys::create_symlink("nowhere", dir.PathOf("base/dangling"));
  const std::u16string base = Path("base") + u"/";
  const std::unique_ptr<TFolderHandle> handle = fs->OpenFolderHandle(base);
  const std::vector<std::u16string> names = {u"file.txt", u"missing",      u"sub",     u"sub/inner.txt",
                                             u"in",       u"in/inner.txt", u"dangling"};
  std::vector<TEntryIdentity> expected;
  for (const std::u16string& name : names) {
    const std::string label = Utf16ToUtf8(name);
    EXPECT_EQ(handle->Exists(name), fs->Exists(base + name)) << label;
    TEntryIdentity held;
    TEntryIdentity byPath;
    EXPECT_EQ(handle->GetEntryIdentity(name, held).code(),
              fs->GetEntryIdentity(base + name, byPath).code())
        << label;
    EXPECT_EQ(held, byPath) << label;
    expected.push_back(byPath);
  }
  // Many at once (enough to be shared between two threads), in order.
  std::vector<std::u16string_view> many;
  for (int round = 0; round < 200; ++round) many.insert(many.end(), names.begin(), names.end());
  const std::vector<TEntryIdentity> ids = handle->EntryIdentities(many);
  ASSERT_EQ(ids.size(), many.size());
  for (size_t i = 0; i < ids.size(); ++i) ASSERT_EQ(ids[i], expected[i % names.size()]) << i;
  // Read ahead on another thread: what was read by Stop is each name's own.
  if (const std::unique_ptr<TIdentitiesAhead> ahead = handle->ReadIdentitiesAhead(many)) {
    (void)handle->EntryIdentities(many);  // a while for the reading ahead
    const std::vector<TEntryIdentity> early = ahead->Stop();
    ASSERT_LE(early.size(), many.size());
    for (size_t i = 0; i < early.size(); ++i) ASSERT_EQ(early[i], expected[i % names.size()]) << i;
  }
  fsys::rename(dir.PathOf("base"), dir.PathOf("moved"));
  EXPECT_TRUE(handle->Exists(u"file.txt"));
  ASSERT_TRUE(handle->RenameNoReplaceBeneath(u"file.txt", u"renamed.txt").ok());
  EXPECT_EQ(Content("moved/renamed.txt"), "F");
}

// A file system that cannot open the folder (or fakes one) passes every call
// of a held folder on by path, so that wrapped and fake systems see them all.
TEST(TFolderHandleTest, AFakeSystemSeesEveryCallByPath) {
  TFakeFileSystem fake;
  fake.AddFolder(u"/d");
  fake.AddFile(u"/d/a", "a");
  TFaultyFileSystem faulty(fake);
  faulty.FailRename(1, EIO);
  const std::unique_ptr<TFolderHandle> handle = faulty.OpenFolderHandle(u"/d");
  EXPECT_TRUE(handle->Exists(u"a"));
  EXPECT_FALSE(handle->Exists(u"b"));
  EXPECT_EQ(handle->RenameNoReplaceBeneath(u"a", u"b").code(), EIO);
  ASSERT_TRUE(handle->RenameNoReplaceBeneath(u"a", u"b").ok());
  ASSERT_EQ(faulty.RenameCount(), 2);
  EXPECT_EQ(faulty.Renames()[1].to, u"/d/b");
  EXPECT_TRUE(fake.Exists(u"/d/b"));
}

TEST(TFakeFileSystemRenameTest, MovesFoldersWithEverythingBelowAndNothingElse) {
  TFakeFileSystem fs;
  fs.AddFolder(u"/d");
  fs.AddFolder(u"/d/a");
  fs.AddFolder(u"/d/a/deep");
  fs.AddFile(u"/d/a/deep/x", "x");
  fs.AddFile(u"/d/ab", "not below /d/a");
  fs.AddFile(u"/d/a.txt", "sibling");
  ASSERT_TRUE(fs.RenameNoReplace(u"/d/a", u"/d/b").ok());
  EXPECT_TRUE(fs.DirectoryExists(u"/d/b/deep"));
  EXPECT_FALSE(fs.Exists(u"/d/a"));
  EXPECT_FALSE(fs.Exists(u"/d/a/deep"));
  ASSERT_NE(fs.FileBytes(u"/d/b/deep/x"), nullptr);
  EXPECT_EQ(*fs.FileBytes(u"/d/b/deep/x"), "x");
  EXPECT_NE(fs.FileBytes(u"/d/ab"), nullptr);
  EXPECT_NE(fs.FileBytes(u"/d/a.txt"), nullptr);
}

TEST(TFakeFileSystemRenameTest, RefusesWhatTheRealOneRefuses) {
  TFakeFileSystem fs;
  fs.AddFolder(u"/d");
  fs.AddFolder(u"/d/f");
  fs.AddFile(u"/d/a", "a");
  fs.AddFile(u"/d/b", "b");
  EXPECT_EQ(fs.RenameNoReplace(u"/d/a", u"/d/b").code(), EEXIST);
  EXPECT_EQ(*fs.FileBytes(u"/d/b"), "b");
  EXPECT_EQ(fs.RenameNoReplace(u"/d/missing", u"/d/c").code(), ENOENT);
  EXPECT_EQ(fs.RenameNoReplace(u"/d/f", u"/d/f/g").code(), EINVAL);
  EXPECT_EQ(fs.RenameNoReplace(u"/d/a", u"/d/nosuchfolder/a").code(), ENOENT);
  EXPECT_TRUE(fs.RenameNoReplace(u"/d/a", u"/d/f/a").ok());
  EXPECT_TRUE(fs.RenameNoReplace(u"/d/b", u"/d/B").ok());
}

TEST(TFaultyFileSystemTest, FailsExactlyTheChosenRenamesAndRecordsAll) {
  TFakeFileSystem fake;
  fake.AddFile(u"/a", "a");
  TFaultyFileSystem fs(fake);
  fs.FailRename(2, EACCES);
  EXPECT_TRUE(fs.RenameNoReplace(u"/a", u"/b").ok());
  const TStatus failed = fs.RenameNoReplace(u"/b", u"/c");
  EXPECT_EQ(failed.code(), EACCES);
  EXPECT_EQ(failed.file(), u"/b");
  EXPECT_TRUE(fake.Exists(u"/b"));  // the injected failure left the file alone
  EXPECT_TRUE(fs.RenameNoReplace(u"/b", u"/c").ok());
  ASSERT_EQ(fs.RenameCount(), 3);
  EXPECT_TRUE(fs.Renames()[1].injected);
  EXPECT_EQ(fs.Renames()[1].code, EACCES);
  EXPECT_EQ(fs.Renames()[2].to, u"/c");
  fs.FailWrites(1);
  EXPECT_FALSE(fs.ReplaceFileAtomically(u"/x", "x").ok());
  EXPECT_TRUE(fs.ReplaceFileAtomically(u"/x", "x").ok());
}

}  // namespace
