// The POSIX implementation of TFileSystem: the only code that calls the
// operating system's file functions.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

TStatus ErrnoStatus(int err, const std::u16string& path) {
  return TStatus::Error(err, path, Utf8ToUtf16(std::strerror(err)));
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

class TPosixFileSystem : public TFileSystem {
 public:
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
    if (err == 0 && ::fchmod(fd, mode) != 0) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (err != 0) {
      ::unlink(temp.c_str());
      return ErrnoStatus(err, path);
    }
    return TStatus::Ok();
  }

  TStatus DeleteFile(const std::u16string& path) override {
    if (::unlink(Utf16ToUtf8(path).c_str()) != 0 && errno != ENOENT) return ErrnoStatus(errno, path);
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
};

}  // namespace

std::unique_ptr<TFileSystem> NewPosixFileSystem() { return std::make_unique<TPosixFileSystem>(); }
