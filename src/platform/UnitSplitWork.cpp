#include "platform/UnitSplitWork.h"

#include <system_error>
#include <thread>
#include <utility>

namespace {

// Below this a thread costs more than it saves.
constexpr size_t kWorthSplitting = 512;

}  // namespace

void SplitOverTwoThreads(size_t count, const std::function<void(size_t begin, size_t end)>& work) {
  if (count < kWorthSplitting) {
    work(0, count);
    return;
  }
  const size_t half = count / 2;
  std::thread helper;
  try {
    helper = std::thread([&work, half] { work(0, half); });
  } catch (const std::system_error&) {
    work(0, count);
    return;
  }
  work(half, count);
  helper.join();
}

TWorkBeside::TWorkBeside(std::function<void()> work) : work_(std::move(work)) {
  try {
    helper_ = std::thread(work_);
  } catch (const std::system_error&) {
    // Finish does the work.
  }
}

TWorkBeside::~TWorkBeside() { Abandon(); }

void TWorkBeside::Abandon() {
  done_ = true;
  if (helper_.joinable()) helper_.join();
}

void TWorkBeside::Finish() {
  if (done_) return;
  done_ = true;
  if (helper_.joinable()) {
    helper_.join();
  } else {
    work_();
  }
}

TWorkAhead::TWorkAhead(size_t count, std::function<void(size_t item)> work)
    : count_(count), work_(std::move(work)) {
  try {
    helper_ = std::thread([this] {
      for (size_t item = 0; item < count_ && !stop_.load(std::memory_order_relaxed); ++item) {
        work_(item);
        done_.store(item + 1, std::memory_order_release);
      }
    });
  } catch (const std::system_error&) {
    // Nothing is done ahead.
  }
}

TWorkAhead::~TWorkAhead() { (void)Stop(); }

size_t TWorkAhead::Stop() {
  stop_.store(true, std::memory_order_relaxed);
  if (helper_.joinable()) helper_.join();
  return done_.load(std::memory_order_acquire);
}
