#include "config/UnitDesktopExec.h"

#include <cerrno>

#include "platform/UnitText.h"

namespace {

constexpr std::string_view kReserved = " \t\"'\\><~|&;$*?#()`";

}  // namespace

TStatus DesktopExecWord(std::u16string_view program, std::string& word) {
  const std::string bytes = Utf16ToUtf8(program);
  if (!IsValidUtf8(bytes) || bytes.find_first_of("\r\n") != std::string::npos ||
      bytes.find('\0') != std::string::npos) {
    return TStatus::Error(EINVAL, std::u16string(program),
                          u"The program's path cannot be written into a desktop entry");
  }
  const bool quoted = bytes.find_first_of(kReserved) != std::string::npos;
  word = quoted ? "\"" : "";
  for (const char c : bytes) {
    if (c == '%') {
      word += "%%";
    } else if (c == '\\') {
      word += "\\\\\\\\";  // escaped inside the quotes, then for the string type
    } else if (c == '"' || c == '`' || c == '$') {
      word += "\\\\";
      word += c;
    } else {
      word += c;
    }
  }
  if (quoted) word += '"';
  return TStatus::Ok();
}
