// How the desktop starts the program on a folder or on files: the folder
// entry of the file managers' right-click menus and the "Send To" shortcut.
#pragma once

#include <string>

#include "platform/UnitStatus.h"

class TShellIntegration {
 public:
  virtual ~TShellIntegration() = default;
  // Adds (`shown`) or removes the right-click menu entry on folders. `report`
  // receives one line per file written, removed or left alone, with why.
  virtual TStatus SetFolderMenu(bool shown, std::u16string& report) = 0;
  // Makes the entry that opens selected files in the program; `report` as
  // above.
  virtual TStatus CreateSendTo(std::u16string& report) = 0;
  // Whether the folder entry is in place now (what a settings view shows).
  virtual bool IsFolderMenuShown() const = 0;
};
