// The hand-over list "filedrop.dat" (application folder): one full file path
// per line, written by an outside component and only read here. Starting with
// the argument "filedrop.dat" opens the folder of the last path and checks
// and selects the listed files.
#pragma once

#include <string>
#include <vector>

#include "platform/UnitStatus.h"

class TFileSystem;

struct TFileDrop {
  std::vector<std::u16string> paths;  // the non-empty lines in file order
  std::u16string folder;              // folder of the last path, with a trailing "/"
  // File names to check and select, from the last line to the first.
  std::vector<std::u16string> namesLastFirst;
};

// Reads the list (UTF-8, or Windows-1252 when not valid UTF-8). A missing,
// unreadable or empty file gives an empty `drop` and an error naming the file.
TStatus ReadFileDrop(TFileSystem& fs, const std::u16string& appFolder, TFileDrop& drop);
