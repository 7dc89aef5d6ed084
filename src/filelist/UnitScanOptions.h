// What a refresh of the file list reads: the folder, the name filter and the
// options that decide which entries are listed and checked. Plain values; the
// main window fills them from its model.
#pragma once

#include <string>

#include "model/UnitFileFolderMode.h"

struct TScanOptions {
  std::u16string folder;                             // the folder to list; empty lists nothing
  std::u16string filter = u"*.*";                    // file-name filter; empty means "*.*"
  TFileFolderMode mode = TFileFolderMode::FilesOnly; // "Files Only" / "Folders Only" / both
  bool filterFolderNames = false;  // "Enable the "Filter" for Folders names"
  bool noHiddenFiles = false;      // "Disable showing hidden files" (names beginning with ".")
  bool dontSelectFolders = true;   // "Disable checking folders by default"
  bool fullDateTime = false;       // "Show the TIME in date fields"
};
