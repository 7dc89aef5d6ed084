// The visibility of the four optional list columns and its file "columns.dat"
// in the application folder: four bytes, 1 shown or 0 hidden, in the order
// Type, Date Modified, Size, Date Created.
#pragma once

#include <string>

#include "platform/UnitStatus.h"

class TFileSystem;

struct TColumnVisibility {
  bool type = true;
  bool dateModified = true;
  bool size = true;
  bool dateCreated = true;
};

// Reads "columns.dat" from `appFolder` into `visibility`. A missing file
// changes nothing and is not an error. A file of another size sets the items
// it holds bytes for (any byte but 0 means shown), leaves the rest, and
// reports its size; an unreadable file changes nothing and reports why.
TStatus LoadColumnVisibility(TFileSystem& fs, const std::u16string& appFolder,
                             TColumnVisibility& visibility);
TStatus SaveColumnVisibility(TFileSystem& fs, const std::u16string& appFolder,
                             const TColumnVisibility& visibility);
