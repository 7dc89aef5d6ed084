// Where the command line's messages go: console lines (standard output),
// console errors (standard error) and message boxes, which without a window
// are lines on standard error too.
#pragma once

#include <string>
#include <string_view>

#include "cli/UnitCommandOutput.h"

class TStartupMessages {
 public:
  virtual ~TStartupMessages() = default;
  virtual void ConsoleLine(std::u16string_view text) = 0;
  virtual void ConsoleError(std::u16string_view text) = 0;
  virtual void MessageBox(std::u16string_view text) = 0;
};

// The console forms over a TCommandOutput; each message ends with a line end.
class TConsoleMessages : public TStartupMessages {
 public:
  explicit TConsoleMessages(TCommandOutput& output) : output_(output) {}
  void ConsoleLine(std::u16string_view text) override { output_.Out(std::u16string(text) + u"\n"); }
  void ConsoleError(std::u16string_view text) override {
    output_.Err(std::u16string(text) + u"\n");
  }
  void MessageBox(std::u16string_view text) override { output_.Err(std::u16string(text) + u"\n"); }

 private:
  TCommandOutput& output_;
};
