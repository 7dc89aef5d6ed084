// The keyboard shortcuts of the main menu's items in "menu.ini" (application
// folder, section `shortcuts`, key = item name, value = shortcut text).
#pragma once

#include <string>
#include <vector>

#include "platform/UnitStatus.h"

class TFileSystem;

struct TMenuShortcut {
  std::u16string name;      // component name of a second-level menu item
  std::u16string shortcut;  // shortcut text; empty for none
};

// When the file exists, every item whose key holds a value other than "none"
// takes that shortcut in normal form (NormalShortcutText; empty, that is no
// shortcut, when it is not recognisable); the others keep theirs. When it
// does not exist, it is written with every item that has a shortcut, and the
// items stay as they are. The status reports a failed read or write.
TStatus LoadMenuShortcuts(TFileSystem& fs, const std::u16string& appFolder,
                          std::vector<TMenuShortcut>& items);
