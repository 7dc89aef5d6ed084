// The folder the program starts in, chosen from the command line, and the
// spelling of a path as the file system spells it.
#pragma once

#include <functional>
#include <string>

class TFileSystem;
class TFrmDummyInstance;

// Rewrites a path as the file system spells it: absolute, links and "." /
// ".." resolved (CanonicalPath in the program; tests pass their own).
using TPathSpelling = std::function<std::u16string(const std::u16string& path)>;

struct TStartupFolder {
  std::u16string folder;           // spelled as the file system spells it
  bool MultiSelectOption = false;  // files were named: only they get checked
};

// One parameter: an existing folder, or the folder of an existing file (then
// MultiSelectOption), else the application folder. Several, the first not
// "-s": the folder of the first when it names an existing file (then
// MultiSelectOption), else the application folder. None, or "-s" first with
// more: `remembered` (the settings' start folder: the last folder, its parent,
// or the application folder). A chosen folder that is gone gives the
// application folder.
TStartupFolder ChooseStartupFolder(const TFrmDummyInstance& params, TFileSystem& fs,
                                   const std::u16string& appFolder,
                                   const std::u16string& remembered, const TPathSpelling& spell);
