#include "textfile/UnitTextFileDecoding.h"

#include "platform/UnitText.h"

namespace {

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    out[i] = bigEndian ? static_cast<char16_t>((first << 8) | second)
                       : static_cast<char16_t>((second << 8) | first);
  }
  return out;
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

}  // namespace

std::u16string DecodeTextFile(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8ToUtf16(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
  if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
  return IsValidUtf8(bytes) ? Utf8ToUtf16(bytes) : Windows1252ToUtf16(bytes);
}
