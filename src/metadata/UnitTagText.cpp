#include "metadata/UnitTagText.h"

#include "platform/UnitText.h"

std::u16string TagBytesToText(std::string_view bytes) {
  return IsValidUtf8(bytes) ? Utf8ToUtf16(bytes) : Windows1252ToUtf16(bytes);
}

std::string_view UpToZero(std::string_view bytes) {
  const size_t zero = bytes.find('\0');
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

std::u16string TrimTrailingBlanksAndZeros(std::u16string text) {
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\0')) text.pop_back();
  return text;
}
