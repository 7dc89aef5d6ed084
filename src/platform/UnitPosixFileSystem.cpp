// The POSIX implementation of TFileSystem: the only code that calls the
// operating system's file functions.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        const int err = errno;
        ::close(fd);
        return ErrnoStatus(err, path);
      }
      done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) return ErrnoStatus(errno, path);
    return TStatus::Ok();
  }
};

}  // namespace

std::unique_ptr<TFileSystem> NewPosixFileSystem() { return std::make_unique<TPosixFileSystem>(); }
