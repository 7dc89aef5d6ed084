// The custom column definitions in "customcolumns.ini" (application folder):
// `Start`/`TotalCustomColumns`, then sections "CustomColumn0", "CustomColumn1",
// ... with `Title`, `Data` and `Type`.
#pragma once

#include <string>

#include "platform/UnitStatus.h"

class TColumnManager;
class TFileSystem;

// Adds every definition of the file to `columns`, in file order. A missing
// file adds none. Definitions without a title are skipped, and the count is
// bounded by the free column positions; both are reported in the status
// after the rest has been added.
TStatus LoadCustomColumns(TFileSystem& fs, const std::u16string& appFolder,
                          TColumnManager& columns);
// Writes the count and every definition into the file, updating it in place.
TStatus SaveCustomColumns(TFileSystem& fs, const std::u16string& appFolder,
                          const TColumnManager& columns);
