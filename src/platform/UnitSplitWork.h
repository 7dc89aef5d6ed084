// Work over many independent items, shared by the calling thread and one
// helper thread: the machine's second core takes half of a long run of
// system calls.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>

// Calls `work(begin, end)` for the items [0, count/2) on a helper thread and
// [count/2, count) on the caller's, and returns when both are done. A short
// run, or one for which no thread can be started, is done by the caller
// alone. `work` must be safe to run on two threads at once for different
// items.
void SplitOverTwoThreads(size_t count, const std::function<void(size_t begin, size_t end)>& work);

// Work done beside the caller on a helper thread, started at once. Finish
// waits for it; when no thread could be started, Finish does it on the
// caller's thread. Work neither finished nor abandoned is waited for (not
// done) when the object goes.
class TWorkBeside {
 public:
  explicit TWorkBeside(std::function<void()> work);
  ~TWorkBeside();
  TWorkBeside(const TWorkBeside&) = delete;
  TWorkBeside& operator=(const TWorkBeside&) = delete;

  void Finish();
  // Waits for work started on the helper; never does it on the caller's.
  void Abandon();

 private:
  std::function<void()> work_;
  std::thread helper_;
  bool done_ = false;
};

// Work over the items [0, count), done one after the other on a helper
// thread while the caller goes on. Stop ends it after the item being worked
// on and tells how many items, from the first, are done. When no thread can
// be started, nothing is done ahead.
class TWorkAhead {
 public:
  TWorkAhead(size_t count, std::function<void(size_t item)> work);
  ~TWorkAhead();
  TWorkAhead(const TWorkAhead&) = delete;
  TWorkAhead& operator=(const TWorkAhead&) = delete;

  size_t Stop();

 private:
  const size_t count_;
  std::function<void(size_t)> work_;
  std::atomic<bool> stop_{false};
  std::atomic<size_t> done_{0};
  std::thread helper_;
};
