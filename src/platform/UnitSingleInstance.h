// Finds a running copy of the program and hands it a message: the first copy
// holds a lock file for its lifetime and listens on a Unix domain socket; a
// second copy finds the lock taken, connects, sends its bytes and ends.
#pragma once

#include <string>
#include <string_view>

#include "platform/UnitStatus.h"

class TInstanceChannel {
 public:
  // The largest message Receive accepts.
  static constexpr size_t kMaxMessage = 1 << 20;

  // Touches nothing until Claim.
  TInstanceChannel(std::u16string lockPath, std::u16string socketPath);
  // Stops listening (removing the socket) and releases the lock.
  ~TInstanceChannel();
  TInstanceChannel(const TInstanceChannel&) = delete;
  TInstanceChannel& operator=(const TInstanceChannel&) = delete;

  // Takes the lock without waiting. `first` true: no other copy runs, this
  // one holds the lock and listens (a socket that cannot be made is reported
  // in the status, the lock is still held). `first` false: another copy
  // holds the lock. Any other failure: `first` true, status says why.
  TStatus Claim(bool& first);
  // The descriptor a window's event loop watches for a waiting hand-over;
  // -1 when not listening.
  int ListeningDescriptor() const { return listenFd_; }
  // Accepts one waiting connection and reads its message to the end, for at
  // most `timeoutMs` and kMaxMessage bytes. Code EAGAIN when none waits.
  TStatus Receive(std::string& message, int timeoutMs = 1000);

  // Connects to the copy listening on `socketPath` and sends `message`,
  // retrying for up to `timeoutMs` while that copy is not yet listening.
  static TStatus Send(const std::u16string& socketPath, std::string_view message,
                      int timeoutMs = 2000);

 private:
  TStatus Listen();

  std::u16string lockPath_;
  std::u16string socketPath_;
  int lockFd_ = -1;
  int listenFd_ = -1;
};
