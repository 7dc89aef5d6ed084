// Where command-line commands write their text: standard output and standard
// error behind an interface, so the core never prints and tests can capture.
#pragma once

#include <string>
#include <string_view>

class TCommandOutput {
 public:
  virtual ~TCommandOutput() = default;
  virtual void Out(std::u16string_view text) = 0;
  virtual void Err(std::u16string_view text) = 0;
};

// Collects both streams in memory.
class TStringOutput : public TCommandOutput {
 public:
  void Out(std::u16string_view text) override { out.append(text); }
  void Err(std::u16string_view text) override { err.append(text); }
  std::u16string out;
  std::u16string err;
};
