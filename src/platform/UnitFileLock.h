// An exclusive lock that one run holds for its whole length, so two runs
// over the same state never interleave. The lock belongs to the operating
// system (flock on the lock file): it ends with its holder, also when the
// process dies, so a crash never leaves the state locked. The lock file
// itself stays; it holds nothing.
#pragma once

#include <string>

#include "platform/UnitStatus.h"

class TFileLock {
 public:
  // Touches nothing until TryLock or Wait.
  explicit TFileLock(std::u16string path);
  // Releases the lock when held.
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

  // Takes the lock without waiting, creating the lock file (not its folder)
  // when missing. `taken` false: another holder has it, in this process or
  // another. A failure (the file cannot be made) leaves `taken` false and
  // names the file.
  TStatus TryLock(bool& taken);
  // TryLock again and again for up to `timeoutMs` milliseconds.
  TStatus Wait(int timeoutMs, bool& taken);
  void Unlock();
  bool Held() const { return fd_ >= 0; }
  const std::u16string& Path() const { return path_; }

 private:
  std::u16string path_;
  int fd_ = -1;
};
