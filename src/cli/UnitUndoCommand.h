// `tallowick --undo`: reverses the newest batch in the undo store of the
// application folder (what the last run of a batch mode renamed) and then
// removes it from the store, so a second call reverses nothing twice.
#pragma once

#include <string>

class TFileSystem;
class TStartupMessages;

// Exit code 0 when every entry of the batch is back under its old name (the
// batch leaves the store); 1 when the store holds no batch, it cannot be
// read, or some entry could not be moved back (each one named; the batch
// stays in the store for another attempt).
int RunUndoCommand(TFileSystem& fs, const std::u16string& appFolder, TStartupMessages& messages);
