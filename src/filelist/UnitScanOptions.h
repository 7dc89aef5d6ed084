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
  // false: the listing reads names, kinds and what identities the folder's
  // listing gives only; sizes and times are left unknown (for a rename run
  // whose script reads neither).
  bool describeEntries = true;
  // The list keeps each entry's identity as the listing read it, for a
  // rename that follows the listing at once and need not ask for them again.
  bool keepIdentities = false;
};
