// The model of the insert menu's "Textfile" submenu: one item per field of the
// text file, each inserting its "?textN?" variable.
#pragma once

#include <string>
#include <vector>

#include "platform/UnitStatus.h"
#include "textfile/UnitTextFileParameters.h"

class TFileSystem;
class TTextFileFormat;

struct TTextFileMenuItem {
  std::u16string Caption;  // "Field 1"
  std::u16string Insert;   // "?text1?"
};

struct TTextFileMenu {
  bool Enabled = false;
  std::vector<TTextFileMenuItem> Items;
};

// After any change of the panel's parameters: disables the submenu; when the
// named file exists, applies skip count and delimiter to `format`, loads the
// file and rebuilds and enables the submenu (items stop at "?text99?"). A file
// that exists but cannot be read leaves the submenu disabled and gives its status.
TStatus RebuildTextFileMenu(TFileSystem& fs, const TTextFileParameters& parameters,
                            TTextFileFormat& format, TTextFileMenu& menu);
