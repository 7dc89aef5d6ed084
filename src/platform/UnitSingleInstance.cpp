#include "platform/UnitSingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "platform/UnitText.h"

namespace {

TStatus ErrnoStatus(int err, const std::u16string& path) {
  return TStatus::Error(err, path, Utf8ToUtf16(std::strerror(err)));
}

// The socket address of `path`; false when the path is too long for one.
bool MakeAddress(const std::string& path, sockaddr_un& address) {
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

sockaddr* AsSockaddr(sockaddr_un& address) {
  return static_cast<sockaddr*>(static_cast<void*>(&address));
}

class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count());
}

}  // namespace

TInstanceChannel::TInstanceChannel(std::u16string lockPath, std::u16string socketPath)
    : lockPath_(std::move(lockPath)), socketPath_(std::move(socketPath)) {}

TInstanceChannel::~TInstanceChannel() {
  if (listenFd_ >= 0) {
    ::close(listenFd_);
    ::unlink(Utf16ToUtf8(socketPath_).c_str());
  }
  if (lockFd_ >= 0) ::close(lockFd_);  // releases the lock
}

TStatus TInstanceChannel::Claim(bool& first) {
  first = true;
  if (lockFd_ >= 0) return TStatus::Ok();
  const int fd = ::open(Utf16ToUtf8(lockPath_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return ErrnoStatus(errno, lockPath_);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) {
      first = false;
      return TStatus::Ok();
    }
    return ErrnoStatus(err, lockPath_);
  }
  lockFd_ = fd;
  return Listen();
}

TStatus TInstanceChannel::Listen() {
  const std::string path = Utf16ToUtf8(socketPath_);
  sockaddr_un address{};
  if (!MakeAddress(path, address)) return ErrnoStatus(ENAMETOOLONG, socketPath_);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return ErrnoStatus(errno, socketPath_);
  ::unlink(path.c_str());  // left by a copy that died; the lock makes this one the owner
  if (::bind(fd, AsSockaddr(address), sizeof address) != 0 || ::chmod(path.c_str(), 0600) != 0 ||
      ::listen(fd, 8) != 0) {
    const int err = errno;
    ::close(fd);
    return ErrnoStatus(err, socketPath_);
  }
  listenFd_ = fd;
  return TStatus::Ok();
}

TStatus TInstanceChannel::Receive(std::string& message, int timeoutMs) {
  message.clear();
  if (listenFd_ < 0) return ErrnoStatus(EAGAIN, socketPath_);
  const TDescriptor connection(::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC));
  if (connection.get() < 0) return ErrnoStatus(errno, socketPath_);
  const auto start = std::chrono::steady_clock::now();
  char buffer[4096];
  while (true) {
    const long left = timeoutMs - MillisecondsSince(start);
    if (left <= 0) return ErrnoStatus(ETIMEDOUT, socketPath_);
    pollfd waiting{connection.get(), POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return ErrnoStatus(ready == 0 ? ETIMEDOUT : errno, socketPath_);
    const ssize_t n = ::read(connection.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ErrnoStatus(errno, socketPath_);
    if (n == 0) return TStatus::Ok();
    if (message.size() + static_cast<size_t>(n) > kMaxMessage) {
      message.clear();
      return ErrnoStatus(EMSGSIZE, socketPath_);
    }
    message.append(buffer, static_cast<size_t>(n));
  }
}

TStatus TInstanceChannel::Send(const std::u16string& socketPath, std::string_view message,
                               int timeoutMs) {
  sockaddr_un address{};
  if (!MakeAddress(Utf16ToUtf8(socketPath), address)) return ErrnoStatus(ENAMETOOLONG, socketPath);
  const auto start = std::chrono::steady_clock::now();
  while (true) {
    const TDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) return ErrnoStatus(errno, socketPath);
    if (::connect(fd.get(), AsSockaddr(address), sizeof address) == 0) {
      size_t done = 0;
      while (done < message.size()) {
        const ssize_t n =
            ::send(fd.get(), message.data() + done, message.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ErrnoStatus(errno, socketPath);
        done += static_cast<size_t>(n);
      }
      ::shutdown(fd.get(), SHUT_WR);
      return TStatus::Ok();
    }
    const int err = errno;
    // The first copy holds the lock but may not listen yet.
    if ((err != ENOENT && err != ECONNREFUSED) || MillisecondsSince(start) >= timeoutMs) {
      return ErrnoStatus(err, socketPath);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}
