// The window's tools that stand on the menu files and the variable catalogue:
// the keyboard shortcuts of "menu.ini", the Tools menu with the
// meta-variable picker, and the insert menu's "More ..." items.
#pragma once

#include <QString>
#include <string>

#include "config/UnitInsertMenuFile.h"
#include "platform/UnitStatus.h"

class QAction;
class QLineEdit;
class QMenuBar;
class TFileSystem;
struct TWindowParts;

// The name a menu item has in "menu.ini": its object name, or else "mnu"
// followed by the letters and digits of its caption ("Open Folder..." ->
// "mnuOpenFolder").
QString MenuItemName(const QAction& action);

// Applies "menu.ini" of `appFolder` to the items of the menus of `bar`
// (writing the file with the present shortcuts when it is missing).
TStatus ApplyMenuShortcuts(QMenuBar& bar, TFileSystem& fs, const std::u16string& appFolder);

// The picker's page for a "More ..." item of the insert menu.
std::u16string_view PickerFamilyOf(TInsertAction action);

// Opens the picker over `window` on the page of `action` for the file
// selected in the list; the chosen variable replaces the selection of `edit`.
void OpenMetaVariablePicker(const TWindowParts& window, TInsertAction action, QLineEdit* edit);

// Adds Tools > "Insert Meta-Variables...", lets the insert menu's "More ..."
// items open the picker and applies "menu.ini"; a failed read or write of
// the file is shown in the status line.
void InstallDesktopTools(const TWindowParts& window);
