#include "rename/UnitEscapedName.h"

#include "platform/UnitText.h"

std::string EscapedName(const std::u16string& name) {
  std::string bytes = Utf16ToUtf8(name);
  if (bytes.find_first_of("\\\t\n\r") == std::string::npos) return bytes;
  std::string out;
  out.reserve(bytes.size() + 8);
  for (const char c : bytes) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

bool UnescapedName(std::string_view field, std::u16string& name) {
  std::string bytes;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      bytes += field[i];
      continue;
    }
    if (++i == field.size()) return false;
    switch (field[i]) {
      case '\\': bytes += '\\'; break;
      case 't': bytes += '\t'; break;
      case 'n': bytes += '\n'; break;
      case 'r': bytes += '\r'; break;
      default: return false;
    }
  }
  name = Utf8ToUtf16(bytes);
  return true;
}
