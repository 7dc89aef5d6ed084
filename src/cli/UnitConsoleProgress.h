// Progress of long scans and previews on standard error, when it is a
// terminal; an interrupt caught meanwhile is the request to stop.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/UnitInterrupt.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"

class TConsoleProgress : public TProgress {
 public:
  explicit TConsoleProgress(bool enabled) : enabled_(enabled) {}
  ~TConsoleProgress() override { Finished(); }
  TConsoleProgress(const TConsoleProgress&) = delete;
  TConsoleProgress& operator=(const TConsoleProgress&) = delete;

  void Started(std::u16string_view what, int total) override {
    what_ = Utf16ToUtf8(what);
    total_ = total;
  }
  void Advanced(int done) override {
    if (!enabled_ || !Due()) return;
    if (total_ > 0) {
      std::fprintf(stderr, "\r%s %d/%d ", what_.c_str(), done, total_);
    } else {
      std::fprintf(stderr, "\r%s %d ", what_.c_str(), done);
    }
    shown_ = true;
  }
  void Message(std::u16string_view) override {}
  // An interrupt caught by CatchInterrupts asks the run to stop.
  bool Cancelled() const override { return CaughtInterrupt() != 0; }
  void Finished() override {
    if (shown_) std::fputs("\r\033[K", stderr);
    shown_ = false;
  }

 private:
  // At most ten updates a second.
  bool Due() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(100)) return false;
    last_ = now;
    return true;
  }
  bool enabled_;
  bool shown_ = false;
  std::string what_;
  int total_ = -1;
  std::chrono::steady_clock::time_point last_{};
};
