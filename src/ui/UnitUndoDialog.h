// The Undo dialog: the newest stored batch (at most its first 101 moves as
// old and new file names) and "&Yes" to reverse it or "&Cancel" to keep it.
#pragma once

#include <QDialog>

#include "rename/UnitUndo.h"

class TRenameErrorHandler;
class TUndoRename;

// Shows the dialog over the store's newest batch. Returns the reversal's
// result when the user said Yes (the store keeps what is not back), nothing
// when there was no batch or the user cancelled (the batch stays stored).
std::optional<TUndoResult> ShowUndoDialog(QWidget* parent, TfrmUndo& undo, TUndoRename& store,
                                          TRenameErrorHandler& errors);
