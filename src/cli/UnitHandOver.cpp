#include "cli/UnitHandOver.h"

#include <cstdint>

#include "cli/UnitCommandLineSplit.h"
#include "platform/UnitEnvironment.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

// FNV-1a over the UTF-8 bytes, as 16 hex digits.
std::u16string HashText(const std::u16string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (const char byte : Utf16ToUtf8(text)) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string hex(16, u'0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[static_cast<size_t>(i)] = kDigits[hash & 15];
  return hex;
}

}  // namespace

THandOverPaths HandOverPaths(const TEnvironment& env, TFileSystem& fs,
                             const std::u16string& appFolder) {
  std::u16string folder = appFolder;
  const auto runtime = env.Get(u"XDG_RUNTIME_DIR");
  if (runtime && !runtime->empty() && (*runtime)[0] == u'/' && fs.DirectoryExists(*runtime)) {
    folder = *runtime;
  }
  if (folder.empty() || folder.back() != u'/') folder += u'/';
  const std::u16string name = folder + u"tallowick-" + HashText(appFolder);
  return {name + u".lock", name + u".socket"};
}

std::string HandOverMessage(const std::u16string& program,
                            const std::vector<std::u16string>& arguments,
                            const std::u16string& currentFolder) {
  std::vector<std::u16string> line{program};
  for (const std::u16string& argument : arguments) {
    const bool keep = argument.empty() || argument[0] == u'-' || argument[0] == u'/' ||
                      LowerCase(argument) == u"filedrop.dat";
    line.push_back(keep ? argument : currentFolder + u"/" + argument);
  }
  return Utf16ToUtf8(JoinCommandLine(line));
}
