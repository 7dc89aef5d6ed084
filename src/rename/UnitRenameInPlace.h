// Rename in place: the name typed into a row's name cell is carried out at
// once, without a temporary name, and kept in the undo store as a batch of
// its own.
#pragma once

#include <string>

#include "platform/UnitStatus.h"

class TRenameWorkspace;
class TUndoRename;
class TfrmUndo;

// The list hint while a name cell is edited.
inline constexpr const char16_t* kRenameInPlaceHint = u"Press UP or DOWN arrow to move rename box";
// The message shown when the move fails.
inline constexpr const char16_t* kCannotRenameFile = u"Cannot rename file";

struct TRenameInPlaceResult {
  TStatus status;       // the move (Ok on success); the window then shows kCannotRenameFile
  TStatus storeStatus;  // writing the single rename to the undo store
};

// Moves the entry of `row` to `newName` (relative to the listed folder, as the
// name cell shows it), never replacing an entry. A new name in sub-folders
// makes them first, below the listed folder and never through a symbolic
// link. On success the row's name becomes `newName`, the move (with the
// folders made for it) is stored as a batch of its own and the undo list in
// memory is cleared. A name that leaves the listed folder, an empty name, a
// name with a part longer than kMaxNameBytes and a row past the end change
// nothing and fail; a failed move removes the folders made for it again and
// leaves the undo list as it was.
TRenameInPlaceResult RenameInPlace(TRenameWorkspace& workspace, int row, const std::u16string& newName,
                                   TfrmUndo& undo, TUndoRename& store);
