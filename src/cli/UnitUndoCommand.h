// `tallowick --undo`: reverses the newest batch in the undo store of the
// application folder (what the last run of a batch mode renamed) and keeps in
// the store only what is still to be undone, so a second call never moves an
// entry that is back already.
#pragma once

#include <string>

class TFileSystem;
class TProgress;
class TStartupMessages;

// Exit code 0 when every entry of the batch is back under its old name ("Full
// undo executed: ..." on standard output; the batch leaves the store). 1 when
// the store holds no batch, it cannot be read, or some entry is not back: each
// such entry is named on standard error with its current name (or as not
// found), and the batch's file is rewritten to hold just those entries. A line
// of the file that is not a move is reported with its number, moves nothing,
// stays in the file and makes the undo incomplete; so does a move that the
// batch's extra file does not vouch for (changed since it was stored), and
// every move when the extra file itself is damaged. The folders the batch
// made are removed once they are empty again. `progress`, when given, follows the
// moves (TfrmUndo::UndoNow).
int RunUndoCommand(TFileSystem& fs, const std::u16string& appFolder, TStartupMessages& messages,
                   TProgress* progress = nullptr);
