// The journal of an undo, shared by the command line and the window, so that
// a reversal cut short is carried to its end by --recover or the next start.
#pragma once

#include <string>
#include <vector>

#include "rename/UnitRenameJournal.h"
#include "rename/UnitRenamePair.h"
#include "rename/UnitUndoStateFile.h"

class TFileSystem;

// A move whose entry the reversal found nowhere, kept as a line that is
// reported and never moved again: whatever holds its new name later may be
// another entry (one of a swap, back under its old name).
TUndoStateLine NotFoundLine(const TRenamePair& pair);

// Where each entry of `pairs` found on disk will be when the reversal is
// through (its old name, or where it is now when its old name is held by an
// entry outside the batch and not by one of the `folders` the batch made,
// which go before entries return). `remaining` receives the moves the
// reversal will leave in the store, `notFound` the lines of those it will
// find nowhere. The journal's folders are `folders`.
TJournal UndoJournal(TFileSystem& fs, const std::vector<TRenamePair>& pairs,
                     const std::vector<std::u16string>& folders,
                     std::vector<TRenamePair>& remaining, std::vector<TUndoStateLine>& notFound);
