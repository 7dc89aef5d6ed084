#include "cli/UnitCommandText.h"

#include <cstdio>

#include "platform/UnitText.h"

void AppendEscapedForTable(std::u16string& out, std::u16string_view text) {
  // Runs without a character to escape go in whole.
  while (true) {
    const size_t special = text.find_first_of(u"\\\t\r\n");
    out.append(text.substr(0, special));
    if (special == std::u16string_view::npos) return;
    switch (text[special]) {
      case u'\\': out += u"\\\\"; break;
      case u'\t': out += u"\\t"; break;
      case u'\r': out += u"\\r"; break;
      default: out += u"\\n"; break;
    }
    text.remove_prefix(special + 1);
  }
}

std::u16string EscapeForTable(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  AppendEscapedForTable(out, text);
  return out;
}

std::u16string JsonString(std::u16string_view text) {
  std::u16string out = u"\"";
  for (const char16_t c : text) {
    if (c == u'"' || c == u'\\') {
      out += u'\\';
      out += c;
    } else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
      // Control characters, and every surrogate (pairs too), as escapes: a
      // lone one (an undecodable byte of a name) has no UTF-8 form.
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
      out += AsciiToUtf16(buffer);
    } else {
      out += c;
    }
  }
  return out + u"\"";
}
