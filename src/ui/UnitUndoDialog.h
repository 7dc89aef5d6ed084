// The Undo dialog: the newest stored batch (at most its first 101 moves as
// old and new file names) and "&Yes" to reverse it or "&Cancel" to keep it.
#pragma once

#include <QDialog>

#include "rename/UnitUndo.h"

class TFileSystem;
class TRenameErrorHandler;
class TUndoRename;

// Shows the dialog over the store's newest batch. Returns the reversal's
// result when the user said Yes (the store keeps what is not back), nothing
// when there was no batch or the user cancelled (the batch stays stored).
std::optional<TUndoResult> ShowUndoDialog(QWidget* parent, TFileSystem& fs, TfrmUndo& undo,
                                          TUndoRename& store, TRenameErrorHandler& errors);

// Reverses the batch `store` loaded into `undo` under the undo store's
// journal, so a crash during the reversal is recoverable. When the journal
// cannot be written nothing moves, the batch stays stored and the result's
// status says why; otherwise the status is that of bringing the store up to
// date.
std::optional<TUndoResult> UndoJournaled(TFileSystem& fs, TfrmUndo& undo, TUndoRename& store,
                                         TRenameErrorHandler& errors);
