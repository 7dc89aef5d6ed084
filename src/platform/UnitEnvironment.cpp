#include "platform/UnitEnvironment.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/UnitText.h"

std::optional<std::u16string> TProcessEnvironment::Get(std::u16string_view name) const {
  if (name.empty()) return std::nullopt;
  const std::string key = Utf16ToUtf8(name);
  if (key.find('\0') != std::string::npos || key.find('=') != std::string::npos) {
    return std::nullopt;
  }
  const char* value = std::getenv(key.c_str());
  if (value == nullptr) return std::nullopt;
  return Utf8ToUtf16(value);
}

std::u16string ExpandEnvironmentStrings(std::u16string_view text, const TEnvironment& env) {
  std::u16string out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find(u'%', pos);
    if (open == std::u16string_view::npos) break;
    const size_t close = text.find(u'%', open + 1);
    if (close == std::u16string_view::npos) break;
    out.append(text.substr(pos, open - pos));
    const std::u16string_view name = text.substr(open + 1, close - open - 1);
    if (auto value = env.Get(name)) {
      out.append(*value);
      pos = close + 1;
    } else {
      // Unset: keep "%NAME" and let the closing "%" start the next candidate.
      out.append(text.substr(open, close - open));
      pos = close;
    }
  }
  out.append(text.substr(pos));
  return out;
}

std::u16string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return Utf8ToUtf16(buffer.data());
}

std::u16string AbsolutePath(std::u16string_view path) {
  if (!path.empty() && path.front() == u'/') return std::u16string(path);
  const std::u16string cwd = CurrentDirectory();
  return cwd.empty() ? std::u16string(path) : cwd + u"/" + std::u16string(path);
}

std::u16string CanonicalPath(std::u16string_view path) {
  const std::u16string absolute = AbsolutePath(path);
  char* resolved = realpath(Utf16ToUtf8(absolute).c_str(), nullptr);
  if (resolved == nullptr) return absolute;
  std::u16string result = Utf8ToUtf16(resolved);
  free(resolved);
  return result;
}

std::u16string ExecutablePath() {
  std::string bytes(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", bytes.data(), bytes.size());
  if (length <= 0 || static_cast<size_t>(length) >= bytes.size()) return {};
  bytes.resize(static_cast<size_t>(length));
  return Utf8ToUtf16(bytes);
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }
