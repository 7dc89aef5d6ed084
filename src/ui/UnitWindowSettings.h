// The settings the window shows: the colours and fonts of the file list, the
// folder box and the renaming options, the script editor's font and the
// auto-preview box, taken at start and again whenever the configuration
// dialog saved; and Tools > "Configuration..." that opens that dialog.
#pragma once

#include <vector>

#include "config/UnitSettingsTable.h"

class TShellIntegration;
struct TWindowParts;

// Gives the window the settings' look. A colour or font left at its default
// follows the desktop theme. `changed`: what the dialog just saved (empty at
// start); a change of what the scan reads lists the folder again, and every
// save previews, so the new options show at once.
void ApplySettingsToWindow(const TWindowParts& window, const std::vector<TSetting>& changed);

// Adds Tools > "Configuration..." (the dialog over `shell`, which may be
// null), applies the settings once and, when the folder menu is on,
// registers it again so it starts the program where it is now.
void InstallConfigDialog(const TWindowParts& window, TShellIntegration* shell);
