// The POSIX implementation of TFileSystem: the only code that calls the
// operating system's file functions.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

TStatus ErrnoStatus(int err, const std::u16string& path) {
  return TStatus::Error(err, path, Utf8ToUtf16(std::strerror(err)));
}

bool EntryExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// renameat2 errors that mean the kernel or the file system lacks the flag.
bool RenameFlagRefused(int err) { return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

// Without the flag: a test for the target, then rename(2). The short race is
// the price of a file system that offers nothing better.
int RenameAfterExistenceTest(const std::string& from, const std::string& to) {
  if (EntryExists(to)) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Without the flag, for a file: a second link under the new name (refused when
// the name exists), then the old name removed. A file system without hard
// links gets the existence test.
int RenameByLink(const std::string& from, const std::string& to) {
  if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) != 0) {
    const int err = errno;
    if (err == EPERM || err == EOPNOTSUPP || err == ENOSYS || err == EMLINK) {
      return RenameAfterExistenceTest(from, to);
    }
    return err;
  }
  if (::unlink(from.c_str()) != 0) {
    const int err = errno;
    ::unlink(to.c_str());
    return err;
  }
  return 0;
}

// One move that never replaces `to`; returns 0 or an errno value.
int RenameOnce(const std::string& from, const std::string& to, bool useFlag) {
  if (useFlag) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (!RenameFlagRefused(errno)) return errno;
  }
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? RenameAfterExistenceTest(from, to) : RenameByLink(from, to);
}

// True when `from` and `to` differ only in letter case and name one entry: a
// file system that ignores case then reports the target as existing.
bool SameEntryInOtherCase(const std::u16string& from16, const std::u16string& to16,
                          const std::string& from, const std::string& to) {
  if (from16 == to16 || !SameTextIgnoringCase(from16, to16)) return false;
  struct stat a {};
  struct stat b {};
  return ::lstat(from.c_str(), &a) == 0 && ::lstat(to.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

// Moves `from` to `to` through a free name in its folder. When the second
// step fails (`to` is a separate entry after all, as a second hard link on a
// file system that keeps case), the entry goes back to `from`.
int RenameThroughFreeName(const std::string& from, const std::string& to, bool useFlag) {
  const size_t slash = from.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : from.substr(0, slash + 1);
  for (int i = 0; i < 100; ++i) {
    const std::string step = folder + ".tallowick-case-" + std::to_string(i);
    int err = RenameOnce(from, step, useFlag);
    if (err == EEXIST) continue;
    if (err != 0) return err;
    err = RenameOnce(step, to, useFlag);
    if (err != 0) RenameOnce(step, from, useFlag);
    return err;
  }
  return EEXIST;
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

struct TDirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

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
  const unsigned mask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME;
  if (::statx(folderFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &sx) != 0) {
    if (errno == ENOENT) return false;
    entry.isLink = type == DT_LNK;
    entry.info.isFolder = type == DT_DIR;
    return true;
  }
  entry.isLink = S_ISLNK(sx.stx_mode);
  entry.info.isFolder = S_ISDIR(sx.stx_mode);
  entry.info.size = entry.info.isFolder ? 0 : sx.stx_size;
  entry.info.modified = LocalDateTime(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
  if ((sx.stx_mask & STATX_BTIME) != 0) {
    entry.info.created = LocalDateTime(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
  }
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

class TPosixFileSystem : public TFileSystem {
 public:
  explicit TPosixFileSystem(bool useRenameFlag = true) : useRenameFlag_(useRenameFlag) {}

  TStatus RenameNoReplace(const std::u16string& from, const std::u16string& to) override {
    const std::string fromBytes = Utf16ToUtf8(from);
    const std::string toBytes = Utf16ToUtf8(to);
    int err = RenameOnce(fromBytes, toBytes, useRenameFlag_);
    if (err == EEXIST && SameEntryInOtherCase(from, to, fromBytes, toBytes)) {
      err = RenameThroughFreeName(fromBytes, toBytes, useRenameFlag_);
    }
    if (err == 0) return TStatus::Ok();
    return ErrnoStatus(err, err == EEXIST ? to : from);
  }

  TStatus OpenForReading(const std::u16string& path,
                         std::unique_ptr<TRandomAccessFile>& file) override {
    file.reset();
    const std::string bytes = Utf16ToUtf8(path);
    const int fd = ::open(bytes.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ErrnoStatus(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
      const int err = errno;
      ::close(fd);
      return ErrnoStatus(err, path);
    }
    if (S_ISDIR(st.st_mode)) {
      ::close(fd);
      return ErrnoStatus(EISDIR, path);
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
    const std::string target = Utf16ToUtf8(path);
    const size_t slash = target.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                       ".tallowick-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return ErrnoStatus(errno, path);
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int err = WriteAll(fd, bytes);
    // A file system that keeps no modes (vfat) refuses most of them: the
    // content matters, the mode is kept where it can be.
    if (err == 0 && ::fchmod(fd, mode) != 0 && errno != EPERM && errno != EOPNOTSUPP) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (err != 0) {
      ::unlink(temp.c_str());
      return ErrnoStatus(err, path);
    }
    return SyncFolder(slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1),
                      path);
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
    TFolderEntry entry;
    for (;;) {
      errno = 0;
      const dirent* found = ::readdir(dir.get());
      if (found == nullptr) return errno == 0 ? TStatus::Ok() : ErrnoStatus(errno, path);
      if (IsDotOrDotDot(found->d_name)) continue;
      if (!ReadFolderEntry(folderFd, found->d_name, found->d_type, entry)) continue;
      if (!visit(entry)) return TStatus::Ok();
    }
  }

 private:
  // Writes every byte; returns 0 or the errno of the failure.
  static int WriteAll(int fd, const std::string& bytes) {
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

  bool useRenameFlag_;
};

}  // namespace

std::unique_ptr<TFileSystem> NewPosixFileSystem() { return std::make_unique<TPosixFileSystem>(); }

std::unique_ptr<TFileSystem> NewPosixFileSystemWithoutRenameFlag() {
  return std::make_unique<TPosixFileSystem>(false);
}
