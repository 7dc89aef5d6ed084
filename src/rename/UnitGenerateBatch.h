// The batch-file generator: writes pending renames as a POSIX shell script
// that performs them later through the same two phases as renaming (every
// entry to its new name + ".TW_TEMPNAME" first, then to its new name). The
// script checks nothing; every path in it is quoted so names run as names.
#pragma once

#include <string>
#include <vector>

#include "platform/UnitStatus.h"
#include "rename/UnitRenameCommand.h"
#include "rename/UnitRenamePair.h"

class TFileSystem;

// The moves a batch file makes for the entries of `plan`, as full paths below
// `base` (which ends with "/"), in plan order. An entry the rename would
// refuse (a new name that leaves the folder, is illegal or too long) is left
// out, so the script never does what renaming in the window would not.
std::vector<TRenamePair> BatchMoves(const std::vector<TPlannedRename>& plan,
                                    const std::u16string& base);

// The script text: "#!/bin/sh", then one line per move, `command` first.
// A move into another folder than its source's is preceded (once per folder,
// before the first move) by a "mkdir -p" of that folder, as renaming creates
// it. `makeundo` writes the moves that reverse `pairs` (new name back to old).
std::string BuildRenameScript(const std::vector<TRenamePair>& pairs, std::u16string_view command,
                              bool makeundo);

// What the "Generate Batch File" dialog edits, and the writer it calls.
class TfrmGenerateBatch {
 public:
  std::u16string txtName;                   // "Batch File Name", without extension
  std::u16string txtCommand = u"mv -n --";  // "Rename command to use"

  // "Save" is enabled whenever a name is given.
  bool SaveEnabled() const { return !txtName.empty(); }
  // The application folder (ending with "/") + the name + ".sh".
  std::u16string FullName(const std::u16string& appFolder) const {
    return appFolder + txtName + u".sh";
  }

  // Writes the script for `pairs` (old and new full paths of the entries that
  // take part, in list order) to `fullname`, replacing an existing file. With
  // no pairs nothing is written. The dialog passes `makeundo` false.
  TStatus GenerateScript(TFileSystem& fs, const std::u16string& fullname, bool makeundo,
                         const std::vector<TRenamePair>& pairs) const;
};
