// The POSIX implementation of TFileSystem: the only code that calls the
// operating system's file functions.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "platform/UnitFileSystem.h"
#include "platform/UnitParallelListing.h"
#include "platform/UnitSplitWork.h"
#include "platform/UnitText.h"

namespace {

TStatus ErrnoStatus(int err, const std::u16string& path) {
  return TStatus::Error(err, path, Utf8ToUtf16(std::strerror(err)));
}

std::u16string Below(const std::u16string& base, const std::u16string& relative) {
  return base.empty() || base.back() == u'/' ? base + relative : base + u'/' + relative;
}

TStatus NotBelow(const std::u16string& full) {
  return TStatus::Error(EINVAL, full, u"The name would leave the folder");
}

// A descriptor, closed when destroyed.
class TFd {
 public:
  explicit TFd(int fd = -1) : fd_(fd) {}
  ~TFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  TFd(TFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  TFd& operator=(TFd&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// One end of a move: the open folder the entry is in (or AT_FDCWD) and its
// name there.
struct TPlace {
  int folder = AT_FDCWD;
  std::string name;
};

bool SameIdentity(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// renameat2 errors that mean the kernel or the file system lacks the flag.
bool RenameFlagRefused(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

// link errors that mean the file system keeps no second link to this entry.
bool LinkRefused(int err) {
  return err == EPERM || err == EOPNOTSUPP || err == ENOSYS || err == EMLINK;
}

// For a file, without the flag: a second link under the new name (refused
// when the name exists), then the old name removed. Returns 0 or an errno
// value; a crash in between leaves the entry under both names.
int MoveByLink(const TPlace& from, const TPlace& to) {
  if (::linkat(from.folder, from.name.c_str(), to.folder, to.name.c_str(), 0) != 0) return errno;
  if (::unlinkat(from.folder, from.name.c_str(), 0) != 0) {
    const int err = errno;
    ::unlinkat(to.folder, to.name.c_str(), 0);
    return err;
  }
  return 0;
}

// True when the entry `place` is still the reservation `mine`: the same
// entry, and for a file still empty.
bool StillReservation(const TPlace& place, const struct stat& mine, bool folder) {
  struct stat now {};
  return ::fstatat(place.folder, place.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
         SameIdentity(now, mine) &&
         (folder ? S_ISDIR(now.st_mode) : S_ISREG(now.st_mode) && now.st_size == 0);
}

// Without the flag and without hard links (FAT and exFAT through FUSE, some
// network mounts). The new name is reserved first by an operation that fails
// when the name exists: an empty file made with O_CREAT|O_EXCL (for a file,
// a link or any entry that is not a folder) or an empty folder made by mkdir
// (for a folder). So the reservation never replaces anything, and an entry
// another program creates under the name first makes the move fail with
// EEXIST. The entry is then renamed over its own reservation, which rename(2)
// replaces (an empty folder by a folder, a file by a non-folder). When the
// rename fails the reservation is removed again, if it is still the one made
// here and still empty. It is made without permissions, so that no program
// but root's can open it for writing meanwhile (where the file system keeps
// permissions). A crash between the two steps leaves an empty file or an
// empty folder under the new name, never a lost entry. What nothing short of
// the flag closes: a program that deletes the reservation, or writes into it
// as root, in the instant before the rename loses what it put there.
int MoveOverReservation(const TPlace& from, const TPlace& to, bool folder) {
  struct stat mine {};
  if (folder) {
    if (::mkdirat(to.folder, to.name.c_str(), 0) != 0) return errno;
    if (::fstatat(to.folder, to.name.c_str(), &mine, AT_SYMLINK_NOFOLLOW) != 0) {
      const int err = errno;
      ::unlinkat(to.folder, to.name.c_str(), AT_REMOVEDIR);  // only an empty folder goes
      return err;
    }
  } else {
    const int fd = ::openat(to.folder, to.name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    if (fd < 0) return errno;
    const int err = ::fstat(fd, &mine) == 0 ? 0 : errno;
    ::close(fd);
    if (err != 0) return err;  // an empty file of unknown identity is left: never guess
  }
  // Someone took the name over meanwhile: it is theirs, and nothing moves.
  if (!StillReservation(to, mine, folder)) return EEXIST;
  if (::renameat(from.folder, from.name.c_str(), to.folder, to.name.c_str()) == 0) return 0;
  const int err = errno;
  if (StillReservation(to, mine, folder)) {
    ::unlinkat(to.folder, to.name.c_str(), folder ? AT_REMOVEDIR : 0);
  }
  return err;
}

// One move that never replaces `to`; returns 0 or an errno value.
int MoveOnce(const TPlace& from, const TPlace& to, const TPosixMoveSupport& support) {
  if (support.renameFlag) {
    const int done =
        ::renameat2(from.folder, from.name.c_str(), to.folder, to.name.c_str(), RENAME_NOREPLACE);
    if (done == 0) return 0;
    if (!RenameFlagRefused(errno)) return errno;
  }
  struct stat st {};
  if (::fstatat(from.folder, from.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  const bool folder = S_ISDIR(st.st_mode);
  if (!folder && support.hardLinks) {
    const int err = MoveByLink(from, to);
    if (!LinkRefused(err)) return err;
  }
  return MoveOverReservation(from, to, folder);
}

struct TDirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

// True when the open folder `folder` lists an entry spelt exactly `name`.
bool ListsExactName(int folder, const std::string& name) {
  const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // cannot tell: take it for a separate entry
  std::unique_ptr<DIR, TDirCloser> dir(::fdopendir(fd));
  if (dir == nullptr) {
    ::close(fd);
    return true;
  }
  while (const dirent* found = ::readdir(dir.get())) {
    if (name == found->d_name) return true;
  }
  return false;
}

// True when `from` and `to` differ only in letter case and name one entry: a
// file system that ignores case then reports the target as existing. Some
// (FUSE volumes without inode numbers of their own) number one entry
// differently under each spelling; there it is the same entry when the
// folder does not list the new spelling itself.
bool SameEntryInOtherCase(const std::u16string& from16, const std::u16string& to16,
                          const TPlace& from, const TPlace& to) {
  if (from16 == to16 || !SameTextIgnoringCase(from16, to16)) return false;
  struct stat a {};
  struct stat b {};
  if (::fstatat(from.folder, from.name.c_str(), &a, AT_SYMLINK_NOFOLLOW) != 0 ||
      ::fstatat(to.folder, to.name.c_str(), &b, AT_SYMLINK_NOFOLLOW) != 0) {
    return false;
  }
  if (SameIdentity(a, b)) return true;
  struct stat fromFolder {};
  struct stat toFolder {};
  return to.name.find('/') == std::string::npos &&
         ::fstatat(from.folder, ".", &fromFolder, 0) == 0 &&
         ::fstatat(to.folder, ".", &toFolder, 0) == 0 && SameIdentity(fromFolder, toFolder) &&
         !ListsExactName(to.folder, to.name);
}

// Moves `from` to `to` through a free name in its folder. When the second
// step fails (`to` is a separate entry after all, as a second hard link on a
// file system that keeps case), the entry goes back to `from`.
int MoveThroughFreeName(const TPlace& from, const TPlace& to, const TPosixMoveSupport& support) {
  for (int i = 0; i < 100; ++i) {
    const TPlace step{from.folder, ".tallowick-case-" + std::to_string(i)};
    int err = MoveOnce(from, step, support);
    if (err == EEXIST) continue;
    if (err != 0) return err;
    err = MoveOnce(step, to, support);
    if (err != 0) MoveOnce(step, from, support);
    return err;
  }
  return EEXIST;
}

// The move of RenameNoReplace between two places; `from16` and `to16` are the
// names for the test for a change of case, below `base` (empty for full
// names), which the status names.
TStatus MoveNoReplace(const TPlace& from, const TPlace& to, const std::u16string& from16,
                      const std::u16string& to16, const TPosixMoveSupport& support,
                      const std::u16string& base = {}) {
  int err = MoveOnce(from, to, support);
  if (err == EEXIST && SameEntryInOtherCase(from16, to16, from, to)) {
    err = MoveThroughFreeName(from, to, support);
  }
  if (err == 0) return TStatus::Ok();
  const std::u16string& named = err == EEXIST ? to16 : from16;
  return ErrnoStatus(err, base.empty() ? named : Below(base, named));
}

// The folder of `path`, opened as the path names it (links in it followed),
// and the last name; 0 or an errno value. A path whose last part is empty,
// "." or ".." stays whole, relative to the working folder.
int OpenParentOf(const std::string& path, TFd& folder, TPlace& place) {
  const size_t slash = path.rfind('/');
  const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
  if (slash == std::string::npos || last.empty() || last == "." || last == "..") {
    place = TPlace{AT_FDCWD, path};
    return 0;
  }
  const std::string parent = slash == 0 ? std::string("/") : path.substr(0, slash);
  folder = TFd(::open(parent.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return errno;
  place = TPlace{folder.get(), last};
  return 0;
}

// Why a folder part of a name below a folder cannot be passed: `part` is the
// name up to it, `full` the whole name for the status.
TStatus PartStatus(int err, const std::u16string& full, const std::string& part) {
  const std::u16string shown = Utf8ToUtf16(part);
  if (err == ELOOP) {
    return TStatus::Error(ELOOP, full,
                          shown + u" is a symbolic link; no name is moved through one");
  }
  if (err == ENOTDIR) return TStatus::Error(ENOTDIR, full, shown + u" is not a folder");
  return ErrnoStatus(err, full);
}

// Opens, below the open folder `base`, the folder part of `relative` one part
// at a time, never following a link; with `create`, missing parts are made
// (mkdirat, which follows nothing either). `place` receives the last part and
// its folder, kept open in `folder`. 0 or an errno value; `part` then holds
// the name up to the part that failed.
int OpenBelow(int base, std::string relative, bool create, TFd& folder, TPlace& place,
              std::string& part) {
  int current = base;
  size_t start = 0;
  for (size_t slash = relative.find('/'); slash != std::string::npos;
       start = slash + 1, slash = relative.find('/', start)) {
    const std::string name = relative.substr(start, slash - start);
    part = relative.substr(0, slash);
    int fd = ::openat(current, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && create) {
      if (::mkdirat(current, name.c_str(), 0755) != 0 && errno != EEXIST) return errno;
      fd = ::openat(current, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
      const int err = errno;
      // O_PATH reports a link as "not a folder"; say what it is.
      struct stat st {};
      if (err == ENOTDIR && ::fstatat(current, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISLNK(st.st_mode)) {
        return ELOOP;
      }
      return err;
    }
    folder = TFd(fd);
    current = fd;
  }
  part.clear();
  place = TPlace{current, start == 0 ? std::move(relative) : relative.substr(start)};
  return 0;
}

TDateTime LocalDateTime(int64_t seconds, uint32_t nanoseconds) {
  if (seconds == 0 && nanoseconds == 0) return 0;
  const auto t = static_cast<time_t>(seconds);
  tm local{};
  if (localtime_r(&t, &local) == nullptr) return 0;
  TDateTime result = 0;
  if (!TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                         static_cast<int>(nanoseconds / 1000000), result)) {
    return 0;
  }
  return result;
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Describes the entry `name` of the open folder `folderFd` without following a
// link. False when the entry has gone since readdir saw it.
bool ReadFolderEntry(int folderFd, const char* name, unsigned char type, TFolderEntry& entry) {
  entry.name = Utf8ToUtf16(name);
  entry.info = TFileInfo();
  entry.info.hidden = name[0] == '.';
  struct statx sx {};
  entry.identity = TEntryIdentity();
  const unsigned mask = STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_BTIME;
  if (::statx(folderFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &sx) != 0) {
    if (errno == ENOENT) return false;
    entry.isLink = type == DT_LNK;
    entry.info.isFolder = type == DT_DIR;
    return true;
  }
  // The same device number as a status call gives.
  entry.identity.device = static_cast<uint64_t>(makedev(sx.stx_dev_major, sx.stx_dev_minor));
  entry.identity.inode = (sx.stx_mask & STATX_INO) != 0 ? sx.stx_ino : 0;
  entry.isLink = S_ISLNK(sx.stx_mode);
  entry.info.isFolder = S_ISDIR(sx.stx_mode);
  entry.info.size = entry.info.isFolder ? 0 : sx.stx_size;
  entry.info.modified = LocalDateTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
  if ((sx.stx_mask & STATX_BTIME) != 0) {
    entry.info.created = LocalDateTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
  }
  return true;
}

// The device of the open folder `folderFd` when its file system lists each
// entry under the inode number a status call gives (ext4, XFS, tmpfs; not,
// say, an overlay); 0 otherwise.
uint64_t DeviceKeepingListedInodes(int folderFd) {
  struct statfs fs {};
  struct stat st {};
  if (::fstatfs(folderFd, &fs) != 0 || ::fstat(folderFd, &st) != 0) return 0;
  constexpr long kExt4 = 0xEF53, kXfs = 0x58465342, kTmpfs = 0x01021994;
  const long type = static_cast<long>(fs.f_type);
  return type == kExt4 || type == kXfs || type == kTmpfs ? static_cast<uint64_t>(st.st_dev) : 0;
}

// The entry `found` of the open folder `folderFd` as its listing tells it:
// kind from its type, described only when the listing keeps no types; the
// identity when `device` (DeviceKeepingListedInodes) vouches for the inode
// number, except for a folder, which may hold another file system. False
// when such an entry has gone.
bool NameFolderEntry(int folderFd, const dirent& found, uint64_t device, TFolderEntry& entry) {
  const unsigned char type = found.d_type;
  if (type == DT_UNKNOWN) return ReadFolderEntry(folderFd, found.d_name, type, entry);
  entry.name = Utf8ToUtf16(found.d_name);
  entry.info = TFileInfo();
  entry.info.hidden = found.d_name[0] == '.';
  entry.info.isFolder = type == DT_DIR;
  entry.isLink = type == DT_LNK;
  entry.identity = TEntryIdentity();
  if (device != 0 && type != DT_DIR) entry.identity = {device, static_cast<uint64_t>(found.d_ino)};
  return true;
}

class TPosixRandomAccessFile : public TRandomAccessFile {
 public:
  TPosixRandomAccessFile(int fd, uint64_t size, std::u16string path)
      : fd_(fd), size_(size), path_(std::move(path)) {}
  ~TPosixRandomAccessFile() override { ::close(fd_); }
  TPosixRandomAccessFile(const TPosixRandomAccessFile&) = delete;
  TPosixRandomAccessFile& operator=(const TPosixRandomAccessFile&) = delete;

  uint64_t Size() const override { return size_; }

  TStatus Read(uint64_t offset, size_t count, std::string& out) const override {
    out.clear();
    if (offset >= size_ || count == 0) return TStatus::Ok();
    const uint64_t available = size_ - offset;
    out.resize(count < available ? count : static_cast<size_t>(available));
    size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done,
                                static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        const int err = errno;
        out.resize(done);
        return ErrnoStatus(err, path_);
      }
      if (n == 0) break;  // the file shrank since it was opened
      done += static_cast<size_t>(n);
    }
    out.resize(done);
    return TStatus::Ok();
  }

 private:
  int fd_;
  uint64_t size_;
  std::u16string path_;
};

// Why OpenForReading refuses the entry `path` of type `mode`.
TStatus NotRegularFile(const std::u16string& path, mode_t mode) {
  if (S_ISDIR(mode)) return ErrnoStatus(EISDIR, path);
  const char16_t* what = S_ISFIFO(mode)   ? u"a named pipe"
                         : S_ISCHR(mode)  ? u"a character device"
                         : S_ISBLK(mode)  ? u"a block device"
                         : S_ISSOCK(mode) ? u"a socket"
                                          : u"not a regular file";
  return TStatus::Error(EINVAL, path,
                        std::u16string(u"Only regular files are read; this is ") + what);
}

// Flushes the entries of `folder` (a rename into it) to the disk.
TStatus SyncFolder(const std::string& folder, const std::u16string& shown) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return ErrnoStatus(errno, shown);
  const int err = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  // Some file systems cannot flush a folder; the rename is then as durable as they allow.
  if (err != 0 && err != EINVAL && err != ENOTSUP) return ErrnoStatus(err, shown);
  return TStatus::Ok();
}

// RenameNoReplaceBeneath below the open folder `baseFd`, which `base` names
// for the status; the two names are checked already.
TStatus RenameBelowFolder(int baseFd, const std::u16string& base, const std::u16string& fromRelative,
                          const std::u16string& toRelative, const TPosixMoveSupport& support) {
  TFd fromFolder;
  TFd toFolder;
  TPlace fromPlace;
  TPlace toPlace;
  std::string part;
  if (const int err = OpenBelow(baseFd, Utf16ToUtf8(fromRelative), false, fromFolder, fromPlace, part);
      err != 0) {
    return PartStatus(err, Below(base, fromRelative), part);
  }
  if (const int err = OpenBelow(baseFd, Utf16ToUtf8(toRelative), false, toFolder, toPlace, part);
      err != 0) {
    return PartStatus(err, Below(base, toRelative), part);
  }
  // The names are told apart by case below the base just as in full.
  return MoveNoReplace(fromPlace, toPlace, fromRelative, toRelative, support, base);
}

// A folder kept open: each call finds its name from the folder's descriptor,
// not from the root, and stays in this folder even if it is moved meanwhile.
// The identity of the entry `relative` of the open folder `folderFd`, the
// entry itself when it is a link. Returns 0 or the errno of the failure (the
// identity is then unknown).
int IdentityAt(int folderFd, std::u16string_view relative, TEntryIdentity& id) {
  id = TEntryIdentity();
  struct stat st {};
  if (::fstatat(folderFd, Utf16ToUtf8(relative).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno;
  }
  id.device = static_cast<uint64_t>(st.st_dev);
  id.inode = static_cast<uint64_t>(st.st_ino);
  return 0;
}

class TPosixFolderHandle : public TFolderHandle {
 public:
  TPosixFolderHandle(TFd folder, std::u16string base, TPosixMoveSupport support)
      : folder_(std::move(folder)), base_(std::move(base)), support_(support) {}

  bool Exists(const std::u16string& relative) override {
    struct stat st {};
    return ::fstatat(folder_.get(), Utf16ToUtf8(relative).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  }

  TStatus GetEntryIdentity(const std::u16string& relative, TEntryIdentity& id) override {
    const int err = IdentityAt(folder_.get(), relative, id);
    return err == 0 ? TStatus::Ok() : ErrnoStatus(err, Below(base_, relative));
  }

  std::vector<TEntryIdentity> EntryIdentities(
      const std::vector<std::u16string_view>& relative) override {
    std::vector<TEntryIdentity> ids(relative.size());
    SplitOverTwoThreads(relative.size(), [&](size_t begin, size_t end) {
      for (size_t i = begin; i < end; ++i) (void)IdentityAt(folder_.get(), relative[i], ids[i]);
    });
    return ids;
  }

  std::unique_ptr<TIdentitiesAhead> ReadIdentitiesAhead(
      std::vector<std::u16string_view> relative) override {
    return std::make_unique<TIdentitiesAhead>(
        std::move(relative),
        [fd = folder_.get()](std::u16string_view name, TEntryIdentity& id) {
          (void)IdentityAt(fd, name, id);
        });
  }

  TStatus RenameNoReplaceBeneath(const std::u16string& fromRelative,
                                 const std::u16string& toRelative) override {
    if (!IsNameBelowFolder(fromRelative)) return NotBelow(Below(base_, fromRelative));
    if (!IsNameBelowFolder(toRelative)) return NotBelow(Below(base_, toRelative));
    if (fromRelative.find(u'/') != std::u16string::npos ||
        toRelative.find(u'/') != std::u16string::npos) {
      return RenameBelowFolder(folder_.get(), base_, fromRelative, toRelative, support_);
    }
    // Two names of this folder: the places keep their room from one move to
    // the next, as a run moves thousands of entries.
    PlaceIn(from_, fromRelative);
    PlaceIn(to_, toRelative);
    return MoveNoReplace(from_, to_, fromRelative, toRelative, support_, base_);
  }

 private:
  void PlaceIn(TPlace& place, std::u16string_view name) const {
    place.folder = folder_.get();
    place.name.clear();
    AppendUtf16AsUtf8(place.name, name);
  }

  TFd folder_;
  const std::u16string base_;
  const TPosixMoveSupport support_;
  TPlace from_;
  TPlace to_;
};

// The temporary file of a replacement: this and six more characters.
constexpr std::string_view kReplacementPrefix = ".tallowick-";

// Writes every byte; returns 0 or the errno of the failure.
int WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

// The new content of `target` in a temporary file of its folder, flushed to
// the disk, with the mode of the file it replaces.
class TPosixPreparedReplacement : public TPreparedReplacement {
 public:
  TPosixPreparedReplacement(const std::u16string& path, const std::string& bytes)
      : path_(path), target_(Utf16ToUtf8(path)) {
    const size_t slash = target_.rfind('/');
    folder_ = slash == std::string::npos ? std::string(".") : target_.substr(0, slash + 1);
    temp_ = (slash == std::string::npos ? std::string() : folder_) + std::string(kReplacementPrefix) +
            "XXXXXX";
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
      status_ = ErrnoStatus(errno, path_);
      temp_.clear();
      return;
    }
    struct stat old {};
    const mode_t mode = ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int err = WriteAll(fd, bytes);
    // A file system that keeps no modes (vfat) refuses most of them: the
    // content matters, the mode is kept where it can be.
    if (err == 0 && ::fchmod(fd, mode) != 0 && errno != EPERM && errno != EOPNOTSUPP) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) Drop(err);
  }
  ~TPosixPreparedReplacement() override {
    if (!temp_.empty()) ::unlink(temp_.c_str());
  }
  TPosixPreparedReplacement(const TPosixPreparedReplacement&) = delete;
  TPosixPreparedReplacement& operator=(const TPosixPreparedReplacement&) = delete;

  TStatus Prepared() const override { return status_; }

  TStatus Commit() override {
    if (!status_.ok()) return status_;
    if (temp_.empty()) return TStatus::Error(EINVAL, path_, u"The new content is stored already");
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
      Drop(errno);
      return status_;
    }
    temp_.clear();
    return SyncFolder(folder_, path_);
  }

 private:
  void Drop(int err) {
    ::unlink(temp_.c_str());
    temp_.clear();
    status_ = ErrnoStatus(err, path_);
  }

  std::u16string path_;
  std::string target_;
  std::string folder_;
  std::string temp_;  // empty once renamed or removed
  TStatus status_ = TStatus::Ok();
};

class TPosixFileSystem : public TFileSystem {
 public:
  explicit TPosixFileSystem(TPosixMoveSupport support) : support_(support) {}

  TStatus RenameNoReplace(const std::u16string& from, const std::u16string& to) override {
    TFd fromFolder;
    TFd toFolder;
    TPlace fromPlace;
    TPlace toPlace;
    if (const int err = OpenParentOf(Utf16ToUtf8(from), fromFolder, fromPlace); err != 0) {
      return ErrnoStatus(err, from);
    }
    if (const int err = OpenParentOf(Utf16ToUtf8(to), toFolder, toPlace); err != 0) {
      return ErrnoStatus(err, from);
    }
    return MoveNoReplace(fromPlace, toPlace, from, to, support_);
  }

  TStatus RenameNoReplaceBeneath(const std::u16string& base, const std::u16string& fromRelative,
                                 const std::u16string& toRelative) override {
    if (!IsNameBelowFolder(fromRelative)) return NotBelow(Below(base, fromRelative));
    if (!IsNameBelowFolder(toRelative)) return NotBelow(Below(base, toRelative));
    const TFd baseFd(::open(Utf16ToUtf8(base).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (baseFd.get() < 0) return ErrnoStatus(errno, base);
    return RenameBelowFolder(baseFd.get(), base, fromRelative, toRelative, support_);
  }

  std::unique_ptr<TFolderHandle> OpenFolderHandle(const std::u16string& base) override {
    TFd folder(::open(Utf16ToUtf8(base).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return TFileSystem::OpenFolderHandle(base);
    return std::make_unique<TPosixFolderHandle>(std::move(folder), base, support_);
  }

  TStatus CreateFolderPathBeneath(const std::u16string& base,
                                  const std::u16string& relative) override {
    const std::u16string full = Below(base, relative);
    if (!IsNameBelowFolder(relative)) return NotBelow(full);
    const TFd baseFd(::open(Utf16ToUtf8(base).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (baseFd.get() < 0) return ErrnoStatus(errno, base);
    // The whole name is a folder part here: a "/" after it makes every part one.
    TFd folder;
    TPlace place;
    std::string part;
    const int err = OpenBelow(baseFd.get(), Utf16ToUtf8(relative) + "/", true, folder, place, part);
    return err == 0 ? TStatus::Ok() : PartStatus(err, full, part);
  }

  TStatus OpenForReading(const std::u16string& path,
                         std::unique_ptr<TRandomAccessFile>& file) override {
    file.reset();
    const std::string bytes = Utf16ToUtf8(path);
    // A device is not even opened (opening some has effects), and the open
    // itself cannot wait: O_NONBLOCK returns at once for a named pipe without
    // a writer, and the entry is judged again by its descriptor, since it may
    // have been replaced after the first look.
    struct stat st {};
    if (::stat(bytes.c_str(), &st) != 0) return ErrnoStatus(errno, path);
    if (!S_ISREG(st.st_mode)) return NotRegularFile(path, st.st_mode);
    const int fd = ::open(bytes.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return ErrnoStatus(errno, path);
    int err = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (err == 0 && !S_ISREG(st.st_mode)) {
      ::close(fd);
      return NotRegularFile(path, st.st_mode);
    }
    // Reads of a regular file never wait on O_NONBLOCK, but a network or FUSE
    // file system may look at it: the reads are the ordinary blocking ones.
    const int flags = err == 0 ? ::fcntl(fd, F_GETFL) : -1;
    if (err == 0 && (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)) err = errno;
    if (err != 0) {
      ::close(fd);
      return ErrnoStatus(err, path);
    }
    file = std::make_unique<TPosixRandomAccessFile>(fd, static_cast<uint64_t>(st.st_size), path);
    return TStatus::Ok();
  }

  TStatus GetFileInfo(const std::u16string& path, TFileInfo& info) override {
    info = TFileInfo();
    struct statx sx {};
    if (::statx(AT_FDCWD, Utf16ToUtf8(path).c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
      return ErrnoStatus(errno, path);
    }
    info.isFolder = S_ISDIR(sx.stx_mode);
    const size_t nameStart = path.rfind(u'/') + 1;  // 0 when there is no "/"
    info.hidden = nameStart < path.size() && path[nameStart] == u'.';
    info.size = info.isFolder ? 0 : sx.stx_size;
    info.modified = LocalDateTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    if ((sx.stx_mask & STATX_BTIME) != 0) {
      info.created = LocalDateTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
    }
    return TStatus::Ok();
  }

  bool DirectoryExists(const std::u16string& path) override {
    struct stat st {};
    return ::stat(Utf16ToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  bool Exists(const std::u16string& path) override {
    struct stat st {};
    return ::lstat(Utf16ToUtf8(path).c_str(), &st) == 0;
  }

  TStatus WriteWholeFile(const std::u16string& path, const std::string& bytes) override {
    const int fd = ::open(Utf16ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return ErrnoStatus(errno, path);
    const int err = WriteAll(fd, bytes);
    if (::close(fd) != 0 && err == 0) return ErrnoStatus(errno, path);
    return err == 0 ? TStatus::Ok() : ErrnoStatus(err, path);
  }

  TStatus ReadWholeFile(const std::u16string& path, std::string& bytes) override {
    bytes.clear();
    std::unique_ptr<TRandomAccessFile> file;
    TStatus status = OpenForReading(path, file);
    if (!status.ok()) return status;
    return file->Read(0, static_cast<size_t>(file->Size()), bytes);
  }

  TStatus ReplaceFileAtomically(const std::u16string& path, const std::string& bytes) override {
    return TPosixPreparedReplacement(path, bytes).Commit();
  }

  std::unique_ptr<TPreparedReplacement> PrepareReplacement(const std::u16string& path,
                                                           const std::string& bytes) override {
    return std::make_unique<TPosixPreparedReplacement>(path, bytes);
  }

  void RemoveLeftOverReplacements(const std::u16string& folder) override {
    std::unique_ptr<DIR, TDirCloser> dir(::opendir(Utf16ToUtf8(folder).c_str()));
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir.get())) {
      const std::string_view name(entry->d_name);
      if (name.size() != kReplacementPrefix.size() + 6 || !name.starts_with(kReplacementPrefix)) {
        continue;
      }
      (void)::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
  }

  TStatus GetEntryIdentity(const std::u16string& path, TEntryIdentity& id) override {
    id = TEntryIdentity();
    struct stat st {};
    if (::lstat(Utf16ToUtf8(path).c_str(), &st) != 0) return ErrnoStatus(errno, path);
    id.device = static_cast<uint64_t>(st.st_dev);
    id.inode = static_cast<uint64_t>(st.st_ino);
    return TStatus::Ok();
  }

  TStatus DeleteFile(const std::u16string& path) override {
    if (::unlink(Utf16ToUtf8(path).c_str()) != 0 && errno != ENOENT) return ErrnoStatus(errno, path);
    return TStatus::Ok();
  }

  TStatus MakeExecutable(const std::u16string& path) override {
    const std::string bytes = Utf16ToUtf8(path);
    struct stat info {};
    if (::stat(bytes.c_str(), &info) != 0) return ErrnoStatus(errno, path);
    // Execute wherever read is allowed: u+x for u+r, and so on.
    const mode_t mode = (info.st_mode & 07777) | ((info.st_mode & 0444) >> 2);
    if (::chmod(bytes.c_str(), mode) != 0) return ErrnoStatus(errno, path);
    return TStatus::Ok();
  }

  TStatus RemoveEmptyFolder(const std::u16string& path) override {
    if (::rmdir(Utf16ToUtf8(path).c_str()) != 0) return ErrnoStatus(errno, path);
    return TStatus::Ok();
  }

  TStatus CreateFolderPath(const std::u16string& path) override {
    const std::string bytes = Utf16ToUtf8(path);
    for (size_t i = 1; i <= bytes.size(); ++i) {
      if (i < bytes.size() && bytes[i] != '/') continue;
      const std::string part = bytes.substr(0, i);
      if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return ErrnoStatus(errno, path);
    }
    struct stat st {};
    if (::stat(bytes.c_str(), &st) != 0) return ErrnoStatus(errno, path);
    if (!S_ISDIR(st.st_mode)) return ErrnoStatus(ENOTDIR, path);
    return TStatus::Ok();
  }

  TStatus ListFolder(const std::u16string& path, const TFolderVisitor& visit) override {
    std::unique_ptr<DIR, TDirCloser> dir(::opendir(Utf16ToUtf8(path).c_str()));
    if (dir == nullptr) return ErrnoStatus(errno, path);
    const int folderFd = ::dirfd(dir.get());
    TListingSource source;
    source.read = [&dir](size_t limit, std::vector<TRawFolderName>& names, int& err) {
      while (names.size() < limit) {
        errno = 0;
        const dirent* found = ::readdir(dir.get());
        if (found == nullptr) {
          err = errno;
          return false;
        }
        if (!IsDotOrDotDot(found->d_name)) names.emplace_back(found->d_name, found->d_type);
      }
      return true;
    };
    source.describe = [folderFd](const TRawFolderName& name, TFolderEntry& entry) {
      return ReadFolderEntry(folderFd, name.first.c_str(), name.second, entry);
    };
    const int err = ListInParallel(source, visit);
    return err == 0 ? TStatus::Ok() : ErrnoStatus(err, path);
  }

  TStatus ListFolderNames(const std::u16string& path, const TFolderVisitor& visit) override {
    std::unique_ptr<DIR, TDirCloser> dir(::opendir(Utf16ToUtf8(path).c_str()));
    if (dir == nullptr) return ErrnoStatus(errno, path);
    const int folderFd = ::dirfd(dir.get());
    const uint64_t device = DeviceKeepingListedInodes(folderFd);
    TFolderEntry entry;
    while (true) {
      errno = 0;  // readdir tells its end from a failure by errno alone
      const dirent* found = ::readdir(dir.get());
      if (found == nullptr) break;
      if (IsDotOrDotDot(found->d_name)) continue;
      if (!NameFolderEntry(folderFd, *found, device, entry)) continue;
      if (!visit(entry)) return TStatus::Ok();
    }
    return errno == 0 ? TStatus::Ok() : ErrnoStatus(errno, path);
  }

 private:
  TPosixMoveSupport support_;
};

}  // namespace

std::unique_ptr<TFileSystem> NewPosixFileSystem() {
  return std::make_unique<TPosixFileSystem>(TPosixMoveSupport());
}

std::unique_ptr<TFileSystem> NewPosixFileSystem(TPosixMoveSupport support) {
  return std::make_unique<TPosixFileSystem>(support);
}

std::unique_ptr<TFileSystem> NewPosixFileSystemWithoutRenameFlag() {
  TPosixMoveSupport support;
  support.renameFlag = false;
  return std::make_unique<TPosixFileSystem>(support);
}
