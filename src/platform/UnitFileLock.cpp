#include "platform/UnitFileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/UnitText.h"

namespace {

constexpr auto kRetryEvery = std::chrono::milliseconds(25);

}  // namespace

TFileLock::TFileLock(std::u16string path) : path_(std::move(path)) {}

TFileLock::~TFileLock() { Unlock(); }

void TFileLock::Unlock() {
  if (fd_ < 0) return;
  ::close(fd_);  // releases the lock
  fd_ = -1;
}

TStatus TFileLock::TryLock(bool& taken) {
  taken = fd_ >= 0;
  if (taken) return TStatus::Ok();
  // Every attempt opens the file anew: flock locks belong to one open file,
  // so two TFileLock objects of one process exclude each other too.
  const int fd =
      ::open(Utf16ToUtf8(path_).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    const int err = errno;
    return TStatus::Error(err, path_, Utf8ToUtf16(std::strerror(err)));
  }
  int err = 0;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    err = errno;
    if (err != EINTR) break;
    err = 0;
  }
  if (err == 0) {
    fd_ = fd;
    taken = true;
    return TStatus::Ok();
  }
  ::close(fd);
  if (err == EWOULDBLOCK) return TStatus::Ok();
  return TStatus::Error(err, path_, Utf8ToUtf16(std::strerror(err)));
}

TStatus TFileLock::Wait(int timeoutMs, bool& taken) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    TStatus status = TryLock(taken);
    if (!status.ok() || taken || std::chrono::steady_clock::now() >= deadline) return status;
    std::this_thread::sleep_for(kRetryEvery);
  }
}
