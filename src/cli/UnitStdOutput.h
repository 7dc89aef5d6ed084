// Standard output and error as UTF-8, for the tallowick executable.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/UnitCommandOutput.h"
#include "platform/UnitText.h"

class TStdOutput : public TCommandOutput {
 public:
  void Out(std::u16string_view text) override { Write(stdout, text); }
  void Err(std::u16string_view text) override { Write(stderr, text); }

 private:
  static void Write(FILE* stream, std::u16string_view text) {
    const std::string bytes = Utf16ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
  }
};
