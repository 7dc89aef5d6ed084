#include "platform/UnitShellScript.h"

#include "platform/UnitText.h"

std::string ShellQuote(std::u16string_view path) {
  const std::string bytes = Utf16ToUtf8(path);
  std::string quoted = "'";
  for (const char c : bytes) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  quoted += '\'';
  return quoted;
}

std::string ShellMoveCommand(std::u16string_view command, std::u16string_view from,
                             std::u16string_view to) {
  return Utf16ToUtf8(command) + ' ' + ShellQuote(from) + ' ' + ShellQuote(to);
}
