#include "rename/UnitEscapedName.h"

#include <algorithm>
#include <cstddef>

#include "platform/UnitText.h"

void AppendEscapedName(std::string& out, std::u16string_view name) {
  const size_t start = out.size();
  AppendUtf16AsUtf8(out, name);
  // One pass of plain compares: nearly every name needs no escape.
  const auto special = [](char c) { return c == '\\' || c == '\t' || c == '\n' || c == '\r'; };
  const auto found = std::find_if(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), special);
  if (found == out.end()) return;
  const size_t first = static_cast<size_t>(found - out.begin());
  const std::string bytes = out.substr(first);
  out.resize(first);
  for (const char c : bytes) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
}

std::string EscapedName(std::u16string_view name) {
  std::string out;
  AppendEscapedName(out, name);
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
