#include "config/UnitFileDrop.h"

#include <cerrno>

#include "config/UnitPlainIniFile.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

std::vector<std::u16string> NonEmptyLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t stop = text.find_first_of(u"\r\n", start);
    if (stop == std::u16string::npos) stop = text.size();
    if (stop > start) lines.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return lines;
}

}  // namespace

TStatus ReadFileDrop(TFileSystem& fs, const std::u16string& appFolder, TFileDrop& drop) {
  drop = TFileDrop();
  const std::u16string path = appFolder + u"filedrop.dat";
  std::string bytes;
  if (TStatus st = fs.ReadWholeFile(path, bytes); !st.ok()) return st;
  drop.paths = NonEmptyLines(DecodePlainText(bytes));
  if (drop.paths.empty()) return TStatus::Error(ENOENT, path, u"The list of files is empty");
  const std::u16string& last = drop.paths.back();
  drop.folder = last.substr(0, last.rfind(u'/') + 1);
  for (auto it = drop.paths.rbegin(); it != drop.paths.rend(); ++it) {
    drop.namesLastFirst.push_back(it->substr(it->rfind(u'/') + 1));
  }
  return TStatus::Ok();
}
