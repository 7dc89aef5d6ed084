// Reading a fuzzer's input as a few choices followed by texts: fixed-size
// values taken from the front, the rest decoded as UTF-8 (losslessly, so every
// byte string is some text) or as raw UTF-16LE (so lone surrogates of either
// kind occur) and cut into pieces at NUL characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UnitText.h"

// Inputs above this size are skipped: every target's work grows with its
// input, and no file or text a user hands the program needs more to go wrong.
inline constexpr size_t kMaxFuzzInput = 64 * 1024;

class TFuzzInput {
 public:
  explicit TFuzzInput(std::string_view bytes) : bytes_(bytes) {}

  // The next byte, or 0 when the input is used up.
  uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
  }
  // The next two bytes as a signed little-endian number.
  int16_t Int16() {
    const uint8_t low = Byte();
    return static_cast<int16_t>(static_cast<uint16_t>(low | (Byte() << 8)));
  }
  // Whatever is left, as bytes.
  std::string_view Rest() const { return bytes_; }
  // Whatever is left, as `count` texts or fewer: the pieces between NUL characters,
  // the last one holding any NUL characters beyond.
  std::vector<std::u16string> Texts(size_t count, bool utf16 = false) const {
    std::vector<std::u16string> texts;
    const std::u16string all = utf16 ? RawUtf16() : Utf8ToUtf16(bytes_);
    size_t start = 0;
    while (texts.size() + 1 < count) {
      const size_t nul = all.find(u'\0', start);
      if (nul == std::u16string::npos) break;
      texts.push_back(all.substr(start, nul - start));
      start = nul + 1;
    }
    texts.push_back(all.substr(start));
    return texts;
  }

 private:
  std::u16string RawUtf16() const {
    std::u16string text(bytes_.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes_[2 * i]) |
                                      static_cast<uint8_t>(bytes_[2 * i + 1]) << 8);
    }
    return text;
  }

  std::string_view bytes_;
};

// The text at `index`, empty when there are fewer.
inline const std::u16string& TextAt(const std::vector<std::u16string>& texts, size_t index) {
  static const std::u16string kEmpty;
  return index < texts.size() ? texts[index] : kEmpty;
}
