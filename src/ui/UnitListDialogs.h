// The window's dialogs over the checks of the list and the pending renames:
// Select > "Check by Pattern...", "Exclude List..." (kept in "exclude.ini")
// and "&Exclude Now", and Rename > "Generate Batch File ...".
#pragma once

#include <QWidget>

#include "rename/UnitGenerateBatch.h"

struct TWindowParts;

// Adds the menu items to the window's Select and Rename menus.
void InstallListDialogs(const TWindowParts& window);

// Writes the batch file for `batch` after a fresh preview, asking `dialog`'s
// user before an existing file is replaced. Every refusal and failure is shown
// with the file and the reason; returns true when the dialog may close (the
// file was written, or there was nothing to write).
bool SaveBatchFile(const TWindowParts& window, const TfrmGenerateBatch& batch, QWidget& dialog);
