// The "insert" menu that puts meta-variable text into the focused text box:
// groups from "insert3.ini" (application folder; section = submenu, key =
// caption, value = text, key "-" = separator) above the fixed items.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/UnitMenuEntry.h"
#include "platform/UnitStatus.h"

class TFileSystem;

// What choosing an item does.
enum class TInsertAction {
  InsertText,        // replace the selection with the item's text
  PickerJpeg,        // open the meta-variable picker on its JPEG page
  PickerMp3,         // ... on its MP3 page
  PickerProperties,  // ... on its file-properties page
  PickerMain,        // "Advanced Insert / More ..."
};
TInsertAction InsertActionOf(std::u16string_view text);

// The menu built from the built-in groups.
std::vector<TMenuEntry> BuiltInInsertMenu();
// Creates the file from the built-in groups when it is missing, then builds
// the menu from the file. On a failed read the built-in groups are used; the
// status reports a failed read or write.
TStatus LoadInsertMenu(TFileSystem& fs, const std::u16string& appFolder,
                       std::vector<TMenuEntry>& menu);
