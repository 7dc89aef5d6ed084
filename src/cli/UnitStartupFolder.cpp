#include "cli/UnitStartupFolder.h"

#include "cli/UnitCommandLineSplit.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

// The folder of `param` when it names an existing file (not a folder) whose
// folder exists; empty otherwise.
std::u16string FolderOfFile(TFileSystem& fs, const std::u16string& param,
                            const TPathSpelling& spell) {
  if (param.empty()) return {};
  const std::u16string path = spell(param);
  if (!fs.Exists(path) || fs.DirectoryExists(path)) return {};
  std::u16string folder = ExtractFilePath(path);
  if (folder.size() > 1) folder.pop_back();  // the trailing "/"
  return !folder.empty() && fs.DirectoryExists(folder) ? folder : std::u16string();
}

std::u16string WithoutTrailingSlash(std::u16string folder) {
  while (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  return folder;
}

}  // namespace

TStartupFolder ChooseStartupFolder(const TFrmDummyInstance& params, TFileSystem& fs,
                                   const std::u16string& appFolder,
                                   const std::u16string& remembered, const TPathSpelling& spell) {
  TStartupFolder start;
  const int count = params.ParamCount();
  std::u16string chosen;
  if (count == 1) {
    const std::u16string first = params.ParamStr(1);
    const std::u16string path = first.empty() ? first : spell(first);
    if (!path.empty() && fs.DirectoryExists(path)) {
      chosen = path;
    } else {
      chosen = FolderOfFile(fs, first, spell);
      start.MultiSelectOption = !chosen.empty();
    }
  } else if (count > 1 && !SameTextIgnoringCase(params.ParamStr(1), u"-s")) {
    chosen = FolderOfFile(fs, params.ParamStr(1), spell);
    start.MultiSelectOption = !chosen.empty();
  } else {
    chosen = remembered;
  }
  if (chosen.empty() || !fs.DirectoryExists(chosen)) chosen = appFolder;
  start.folder = WithoutTrailingSlash(spell(chosen));
  return start;
}
