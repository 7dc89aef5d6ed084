// The one door to the file system. Everything above the platform layer reads
// and changes files through TFileSystem, so tests can fake it or inject faults.
// Paths are UTF-16 text; they are encoded to bytes losslessly (UnitText.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UnitDateTime.h"
#include "platform/UnitSplitWork.h"
#include "platform/UnitStatus.h"

// An open file read at arbitrary offsets. Owned by whoever opened it; closed
// when destroyed.
class TRandomAccessFile {
 public:
  virtual ~TRandomAccessFile() = default;
  // Size of the file in bytes when it was opened.
  virtual uint64_t Size() const = 0;
  // Reads up to `count` bytes at `offset` into `out`, which is resized to the
  // number read: fewer than `count` only at the end of the file, none past it.
  virtual TStatus Read(uint64_t offset, size_t count, std::string& out) const = 0;
};

// New content for a file, written and flushed to the disk beside it, that
// takes the file's place only when committed (TFileSystem::PrepareReplacement).
// Destroyed uncommitted, it leaves the file as it was and removes itself.
class TPreparedReplacement {
 public:
  virtual ~TPreparedReplacement() = default;
  // Why the content could not be written, or Ok.
  virtual TStatus Prepared() const = 0;
  // Puts the content in place of the file and flushes its folder; fails
  // with the status of Prepared when that failed. Once only.
  virtual TStatus Commit() = 0;
};

// What a folder listing knows of one entry.
struct TFileInfo {
  bool isFolder = false;
  bool hidden = false;        // the name begins with "."
  uint64_t size = 0;          // bytes; 0 for folders
  TDateTime modified = 0;     // last-write time, local; 0 when unknown
  TDateTime created = 0;      // birth time, local; 0 when the file system keeps none
};

// What makes an entry the same one under another name: a rename keeps it.
struct TEntryIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;  // 0: not known
  bool Known() const { return inode != 0; }
  bool operator==(const TEntryIdentity&) const = default;
};

// One entry of a folder listing, described as the entry itself: a symbolic
// link is not followed, so a link to a folder is not a folder (`isFolder`
// false, `isLink` true) and its size and times are the link's own.
struct TFolderEntry {
  std::u16string name;  // the name alone, decoded losslessly (UnitText.h)
  TFileInfo info;
  bool isLink = false;
  TEntryIdentity identity;  // unknown when the listing could not read it
};

// The longest name of one entry, in bytes as the disk holds them (UTF-8),
// that Linux file systems keep.
inline constexpr size_t kMaxNameBytes = 255;

// True when `relative` names an entry below a folder: not empty, not
// absolute, no part empty, "." or "..", no NUL.
bool IsNameBelowFolder(std::u16string_view relative);

// Identities of many names read on another thread while the caller goes on
// (TFolderHandle::ReadIdentitiesAhead). The names must stay unchanged, and
// the folder open, until Stop.
class TIdentitiesAhead {
 public:
  TIdentitiesAhead(std::vector<std::u16string_view> names,
                   std::function<void(std::u16string_view name, TEntryIdentity& id)> read);
  // Ends the reading after the name being read now. Identity i of the
  // result is that of name i, for as many names as were read by then; a
  // name that could not be read has an unknown identity.
  std::vector<TEntryIdentity> Stop();

 private:
  const std::vector<std::u16string_view> names_;
  std::vector<TEntryIdentity> ids_;
  TWorkAhead work_;  // last: it stops before the names and identities go
};

// A folder opened once for many calls on the names below it, so that no call
// has to find the folder by its path again: a run that renames thousands of
// entries of one folder. The names are relative to the folder, as for
// TFileSystem::RenameNoReplaceBeneath, and each call means what the
// TFileSystem call of the same name means for base + name.
class TFolderHandle {
 public:
  virtual ~TFolderHandle() = default;
  virtual bool Exists(const std::u16string& relative) = 0;
  virtual TStatus GetEntryIdentity(const std::u16string& relative, TEntryIdentity& id) = 0;
  // The identities of many entries at once, in the order of `relative`; an
  // entry that cannot be read has an unknown identity.
  virtual std::vector<TEntryIdentity> EntryIdentities(
      const std::vector<std::u16string_view>& relative);
  // Starts reading the identities of `relative` beside the caller's work,
  // or returns nullptr: the default reads nothing beside, so that a wrapped
  // or fake system sees every call on the caller's thread.
  virtual std::unique_ptr<TIdentitiesAhead> ReadIdentitiesAhead(
      std::vector<std::u16string_view> relative);
  virtual TStatus RenameNoReplaceBeneath(const std::u16string& fromRelative,
                                         const std::u16string& toRelative) = 0;
};

// Receives the entries of a listing one at a time; returning false ends the
// listing early.
using TFolderVisitor = std::function<bool(const TFolderEntry& entry)>;

class TFileSystem {
 public:
  virtual ~TFileSystem() = default;

  // Opens the regular file `path` for reading. Anything else (a folder, a
  // named pipe, a device, a socket) is refused without waiting for it, so no
  // entry of a listed folder can hold a reader up. On failure `file` is left
  // empty and the status names the path and the reason.
  virtual TStatus OpenForReading(const std::u16string& path,
                                 std::unique_ptr<TRandomAccessFile>& file) = 0;
  // The attributes of the entry at `path` (symbolic links are followed).
  virtual TStatus GetFileInfo(const std::u16string& path, TFileInfo& info) = 0;
  // True when `path` names an existing folder.
  virtual bool DirectoryExists(const std::u16string& path) = 0;
  // True when `path` names any existing entry.
  virtual bool Exists(const std::u16string& path) = 0;
  // Replaces the whole content of `path` with `bytes` (not atomically: used
  // only for logs; stored formats use ReplaceFileAtomically).
  virtual TStatus WriteWholeFile(const std::u16string& path, const std::string& bytes) = 0;
  // Reads the whole file into `bytes`.
  virtual TStatus ReadWholeFile(const std::u16string& path, std::string& bytes) = 0;
  // Writes `bytes` to a new temporary file in the folder of `path`, flushes it
  // to the disk, renames it over `path` and flushes the folder, so the new
  // content survives a crash once this returns. On any failure the temporary
  // file is removed and `path` keeps its old content (or stays absent).
  virtual TStatus ReplaceFileAtomically(const std::u16string& path, const std::string& bytes) = 0;
  // ReplaceFileAtomically in two steps, for content known before it may
  // take the file's place: the writing and flushing happen here, the rename
  // over `path` at Commit. Never fails itself (see Prepared). Safe to call
  // beside other calls of this file system. This implementation keeps the
  // bytes and calls ReplaceFileAtomically at Commit, so a file system that
  // fakes or wraps it sees the call then; the POSIX one writes the file here.
  virtual std::unique_ptr<TPreparedReplacement> PrepareReplacement(const std::u16string& path,
                                                                   const std::string& bytes);
  // Removes the temporary files that PrepareReplacement and
  // ReplaceFileAtomically left in `folder` when the program was cut short
  // while they were written. Only for a folder no running program writes
  // to. Here: nothing to remove.
  virtual void RemoveLeftOverReplacements(const std::u16string& folder) { (void)folder; }
  // Removes the file `path`; a missing file is not an error.
  virtual TStatus DeleteFile(const std::u16string& path) = 0;
  // Creates the folder `path` and every missing parent; an existing folder is
  // not an error.
  virtual TStatus CreateFolderPath(const std::u16string& path) = 0;
  // Calls `visit` for every entry of the folder `path` ("." and ".." left
  // out) in the order the file system keeps them. An entry that vanishes while
  // the folder is read is left out; one whose attributes cannot be read is
  // listed with size 0 and times 0. Fails before any call when the folder
  // cannot be opened, and with the reason when reading it fails midway.
  // `visit` may list other folders; each nested listing holds one open
  // descriptor until it returns.
  virtual TStatus ListFolder(const std::u16string& path, const TFolderVisitor& visit) = 0;
  // ListFolder without describing the entries: each has its name and, as the
  // folder's listing tells them, whether it is a folder or a link (an entry is
  // described only where the listing does not tell), and its identity where
  // the listing vouches for it; size and times are left unknown. Here: the
  // whole ListFolder.
  virtual TStatus ListFolderNames(const std::u16string& path, const TFolderVisitor& visit) {
    return ListFolder(path, visit);
  }
  // Moves the file or folder `from` to `to` and never replaces an existing
  // entry: when `to` exists, nothing changes and the status has code EEXIST and
  // names `to`; any other failure names `from`, with the system's reason. A
  // change of letter case alone is a rename, also where the file system
  // ignores case. The folder of `to` must exist.
  virtual TStatus RenameNoReplace(const std::u16string& from, const std::u16string& to) = 0;
  // RenameNoReplace for two names relative to the folder `base`, which never
  // leaves `base`: every folder part of either name must be a real folder
  // below `base` when the move happens. A symbolic link there is never
  // followed (code ELOOP), a part that is not a folder fails (ENOTDIR), and
  // a name that is absolute or holds an empty, "." or ".." part or a NUL is
  // refused (EINVAL); such a failure names base + the name it concerns. The
  // last part of each name is the entry itself: a link is moved as a link.
  // When the target exists the status has code EEXIST and names
  // base + `toRelative`; any other failure names base + `fromRelative`.
  // This implementation checks the names and calls RenameNoReplace; the
  // POSIX one resolves each part by descriptor.
  virtual TStatus RenameNoReplaceBeneath(const std::u16string& base,
                                         const std::u16string& fromRelative,
                                         const std::u16string& toRelative);
  // CreateFolderPath for `relative` below `base`, never through a symbolic
  // link: a part that is a link or not a folder fails (ELOOP, ENOTDIR), and
  // the names IsNameBelowFolder refuses fail with EINVAL. The status names
  // base + `relative`.
  virtual TStatus CreateFolderPathBeneath(const std::u16string& base,
                                          const std::u16string& relative);
  // Removes the folder `path` when it is empty; a folder that holds anything
  // stays, with the system's reason (ENOTEMPTY).
  virtual TStatus RemoveEmptyFolder(const std::u16string& path) {
    return TStatus::Error(38 /* ENOSYS */, path, u"Folders cannot be removed here");
  }
  // Lets everyone who may read the file `path` run it too (a script or an
  // action file that a file manager runs).
  virtual TStatus MakeExecutable(const std::u16string& path) {
    return TStatus::Error(38 /* ENOSYS */, path, u"Files cannot be made executable here");
  }
  // The identity of the entry `path` itself (a symbolic link is not
  // followed). A file system that cannot tell gives an unknown identity.
  virtual TStatus GetEntryIdentity(const std::u16string& path, TEntryIdentity& id) {
    id = TEntryIdentity();
    return TStatus::Error(38 /* ENOSYS */, path, u"Entries cannot be identified here");
  }
  // The folder `base` (ending in "/" or not) for calls on names below it.
  // This implementation keeps the path and makes the calls above with
  // base + name, so a file system that fakes or wraps them sees every call;
  // the POSIX one keeps the folder open (a folder it cannot open is passed
  // by its path, and each call then fails as it would have).
  virtual std::unique_ptr<TFolderHandle> OpenFolderHandle(const std::u16string& base);
};

// Reads `count` bytes at `offset` of `path` (fewer at the end of the file).
TStatus ReadFileRange(TFileSystem& fs, const std::u16string& path, uint64_t offset, size_t count,
                      std::string& out);

// What the POSIX file system may use for a move that never replaces. Where
// the file system refuses something, the next way is taken; tests turn ways
// off to reach each fallback on any disk.
struct TPosixMoveSupport {
  bool renameFlag = true;  // renameat2 with RENAME_NOREPLACE
  bool hardLinks = true;   // for a file: a link under the new name, then the old one removed
  // Without either: the new name is reserved by creating an empty file (or
  // folder) under it, which fails when it exists, and the entry is renamed
  // over its own reservation (see UnitPosixFileSystem.cpp).
};

// The real file system through POSIX calls.
std::unique_ptr<TFileSystem> NewPosixFileSystem();
std::unique_ptr<TFileSystem> NewPosixFileSystem(TPosixMoveSupport support);
// The same, acting as on a file system that refuses RENAME_NOREPLACE, so tests
// reach the fallback of RenameNoReplace.
std::unique_ptr<TFileSystem> NewPosixFileSystemWithoutRenameFlag();
