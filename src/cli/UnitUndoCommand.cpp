#include "cli/UnitUndoCommand.h"

#include "cli/UnitConsoleUndoErrors.h"
#include "cli/UnitStartupMessages.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "rename/UnitRenameJournal.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"
#include "rename/UnitUndoStateFile.h"

namespace {

// One line per entry that is not back, with where it is now.
void ReportNotBack(const TUndoResult& result, int entries, TStartupMessages& messages) {
  messages.ConsoleError(u"Undo incomplete: " + IntToStr(static_cast<int>(result.notBack.size())) +
                        u" of " + IntToStr(entries) +
                        u" entries not back under their old names:");
  for (size_t i = 0; i < result.notBack.size(); ++i) {
    const TRenamePair& entry = result.notBack[i];
    if (!entry.newName.empty()) {
      messages.ConsoleError(u"  " + entry.oldName + u" is at " + entry.newName);
    } else {
      messages.ConsoleError(u"  " + entry.oldName + u" not found (renamed to " +
                            result.remaining[i].newName + u")");
    }
  }
}

// Each entry goes home to its old name; until then it is under its new name
// or parked beside its old name.
TJournal UndoJournal(TFileSystem& fs, const std::vector<TRenamePair>& pairs,
                     const std::u16string& stateFile, const std::u16string& tag) {
  TJournal journal;
  journal.kind = u"undo";
  journal.stateFile = stateFile;
  journal.entries.reserve(pairs.size());
  for (const TRenamePair& pair : pairs) {
    TJournalEntry entry{pair.oldName, {pair.newName, pair.oldName + tag + u"2"}, {}};
    for (const std::u16string& name : {pair.newName, entry.places[1], pair.oldName}) {
      entry.id = IdentityOf(fs, name);
      if (entry.id.Known()) break;
    }
    journal.entries.push_back(std::move(entry));
  }
  return journal;
}

}  // namespace

int RunUndoCommand(TFileSystem& fs, const std::u16string& appFolder, TStartupMessages& messages) {
  TUndoRename store(fs, appFolder);
  const int count = store.CountStateFiles();
  if (count == 0) {
    messages.ConsoleError(u"tallowick: nothing to undo in " + store.Folder());
    return 1;
  }
  const int index = count - 1;
  const std::u16string file = store.StateFileName(index);
  std::string bytes;
  const TStatus read = fs.ReadWholeFile(file, bytes);
  if (!read.ok()) {
    messages.ConsoleError(u"tallowick: " + read.Message());
    return 1;
  }
  TUndoState state = ReadUndoState(bytes);
  for (const TUndoStateLine& line : state.unreadable) {
    messages.ConsoleError(u"tallowick: " + file + u" line " + IntToStr(line.number) +
                          u" cannot be read and is skipped: " + line.text);
  }
  TfrmUndo undo(fs, appFolder);
  // The reversal is a run of its own: a journal lets a kill half-way be
  // recovered by finishing the undo.
  TRenameJournal journal(fs, store.Folder() + u"/");
  const TStatus journaled = journal.Write(UndoJournal(fs, state.pairs, file, undo.TempTag()));
  if (!journaled.ok()) {
    messages.ConsoleError(u"tallowick: the journal of the undo cannot be written, so nothing was "
                          u"moved: " + journaled.Message());
    return 1;
  }
  for (TRenamePair& pair : state.pairs) {
    undo.AddStoredUndo(std::move(pair.oldName), std::move(pair.newName));
  }
  TConsoleUndoErrors errors(messages);
  const TUndoResult result = undo.UndoNow(u"", errors);
  const int entries =
      result.reversed + result.alreadyBack + static_cast<int>(result.notBack.size());
  // The store keeps only what is still to be undone, so that undoing again
  // never moves an entry that is back already; lines it could not read stay
  // too, for whoever looks into the file.
  const TStatus kept = store.KeepOnly(index, result.remaining, state.unreadable);
  (void)journal.Remove();
  const bool complete = result.AllBack() && state.unreadable.empty();
  if (complete) {
    messages.ConsoleLine(u"Full undo executed: " + IntToStr(entries) +
                         u" entries back under their old names.");
  }
  if (!result.AllBack()) {
    ReportNotBack(result, entries, messages);
    if (kept.ok()) messages.ConsoleError(u"They stay in " + file + u" for another --undo.");
  }
  if (!state.unreadable.empty()) {
    const size_t lines = state.unreadable.size();
    messages.ConsoleError(u"Undo incomplete: " + IntToStr(static_cast<int>(lines)) +
                          (lines == 1 ? u" line of " : u" lines of ") + file +
                          (lines == 1 ? u" cannot be read; it stays there."
                                      : u" cannot be read; they stay there."));
  }
  if (!kept.ok()) {
    messages.ConsoleError(u"tallowick: the undo store could not be brought up to date, " +
                          kept.Message());
    return 1;
  }
  return complete ? 0 : 1;
}
