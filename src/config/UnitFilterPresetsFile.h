// The filter button's menu: "Default: (*.*)", a separator and the presets of
// "filter.ini" (application folder; key = caption, value = filter).
#pragma once

#include <string>
#include <vector>

#include "config/UnitMenuEntry.h"
#include "platform/UnitStatus.h"

class TFileSystem;

// The menu with the built-in presets.
std::vector<TMenuEntry> BuiltInFilterMenu();
// When the file exists, the presets are every key of every section in file
// order. When it is missing it is created with the built-in presets. On a
// failed read the built-in presets stay and the status says why.
TStatus LoadFilterMenu(TFileSystem& fs, const std::u16string& appFolder,
                       std::vector<TMenuEntry>& menu);
