#include "filelist/UnitNaturalOrder.h"

#include <unicode/uchar.h>

#include <cstdint>
#include <iterator>

namespace {

constexpr int kMaxDigitsPerToken = 9;
constexpr int64_t kNumberAsCharacter = u'9';
constexpr int64_t kEndMarker = -1;

// The digit value of `c`, or -1. Below U+0660 only ASCII digits exist.
int DigitValue(char16_t c) {
  if (c < 0x660) return (c >= u'0' && c <= u'9') ? c - u'0' : -1;
  if (c >= 0xD800 && c <= 0xDFFF) return -1;
  return u_charType(c) == U_DECIMAL_DIGIT_NUMBER ? u_charDigitValue(c) : -1;
}

struct TToken {
  int64_t value = kEndMarker;
  bool isNumber = false;
};

// Reads the token at `pos` and moves past it.
TToken NextToken(std::u16string_view text, size_t& pos) {
  TToken token;
  if (pos >= text.size()) return token;
  int digit = DigitValue(text[pos]);
  if (digit < 0) {
    const char16_t c = text[pos++];
    token.value = (c >= u'A' && c <= u'Z') ? c + 32 : c;
    return token;
  }
  token.isNumber = true;
  token.value = 0;
  for (int count = 0; count < kMaxDigitsPerToken && digit >= 0; ++count) {
    token.value = token.value * 10 + digit;
    ++pos;
    digit = pos < text.size() ? DigitValue(text[pos]) : -1;
  }
  return token;
}

int CompareTokens(const TToken& a, const TToken& b) {
  int64_t x = a.value;
  int64_t y = b.value;
  if (a.isNumber != b.isNumber && a.value != kEndMarker && b.value != kEndMarker) {
    if (a.isNumber) x = kNumberAsCharacter;
    if (b.isNumber) y = kNumberAsCharacter;
  }
  return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace

int NaturalCompare(std::u16string_view a, std::u16string_view b) {
  size_t i = 0;
  size_t j = 0;
  for (;;) {
    const TToken x = NextToken(a, i);
    const TToken y = NextToken(b, j);
    const int result = CompareTokens(x, y);
    if (result != 0) return result;
    if (x.value == kEndMarker) return 0;  // both ended together
  }
}

namespace {

constexpr size_t kPrefixBytes = sizeof(TNaturalPrefix::words);

// Appends bytes to a prefix, big-endian within each word, and notes when
// they no longer fit.
class TPrefixWriter {
 public:
  explicit TPrefixWriter(TNaturalPrefix& prefix) : prefix_(prefix) {}
  bool Full() const { return prefix_.truncated; }
  void Put(uint8_t byte) {
    if (count_ == kPrefixBytes) {
      prefix_.truncated = true;
      return;
    }
    const size_t shift = 8 * (7 - count_ % 8);
    prefix_.words[count_ / 8] |= static_cast<uint64_t>(byte) << shift;
    ++count_;
  }

 private:
  TNaturalPrefix& prefix_;
  size_t count_ = 0;
};

// The byte code of one token, prefix-free and in token order: 0x00 the end
// of a text; characters below U+0080 their code + 1 (never "0".."9", which are
// numbers); a number 0x3A (between "8" + 1 and ":" + 1, as "9" + 1 would be)
// and its value in four bytes; other characters 0x81 and their code in two.
void PutToken(const TToken& token, TPrefixWriter& out) {
  if (token.value == kEndMarker) {
    out.Put(0x00);
  } else if (token.isNumber) {
    out.Put(0x3A);
    for (int shift = 24; shift >= 0; shift -= 8) out.Put(static_cast<uint8_t>(token.value >> shift));
  } else if (token.value < 0x80) {
    out.Put(static_cast<uint8_t>(token.value + 1));
  } else {
    out.Put(0x81);
    out.Put(static_cast<uint8_t>(token.value >> 8));
    out.Put(static_cast<uint8_t>(token.value));
  }
}

}  // namespace

TNaturalPrefix NaturalSortPrefix(std::initializer_list<std::u16string_view> texts) {
  TNaturalPrefix prefix;
  TPrefixWriter out(prefix);
  for (const std::u16string_view text : texts) {
    size_t pos = 0;
    TToken token;
    do {
      token = NextToken(text, pos);
      PutToken(token, out);
    } while (token.value != kEndMarker && !out.Full());
    if (out.Full()) break;
  }
  return prefix;
}

int CompareNaturalPrefixes(const TNaturalPrefix& a, const TNaturalPrefix& b, bool& decided) {
  decided = true;
  for (size_t i = 0; i < std::size(a.words); ++i) {
    if (a.words[i] != b.words[i]) return a.words[i] < b.words[i] ? -1 : 1;
  }
  decided = !a.truncated && !b.truncated;
  return 0;
}
