#include "cli/UnitUndoCommand.h"

#include <utility>

#include "cli/UnitConsoleUndoErrors.h"
#include "cli/UnitStartupMessages.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "rename/UnitRenameJournal.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoJournal.h"
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

}  // namespace

int RunUndoCommand(TFileSystem& fs, const std::u16string& appFolder, TStartupMessages& messages,
                   TProgress* progress) {
  TUndoRename store(fs, appFolder);
  const int count = store.CountStateFiles();
  if (count == 0) {
    messages.ConsoleError(u"tallowick: nothing to undo in " + store.Folder());
    return 1;
  }
  const int index = count - 1;
  const std::u16string file = store.StateFileName(index);
  TStoredBatch batch;
  const TStatus read = store.ReadState(index, batch);
  if (!read.ok()) {
    messages.ConsoleError(u"tallowick: " + read.Message());
    return 1;
  }
  TUndoState& state = batch.state;
  if (!batch.extraProblem.empty()) {
    messages.ConsoleError(u"tallowick: " + batch.extraProblem +
                          u", so no move of the batch can be checked and none is undone; "
                          u"remove that file to undo the moves as they stand in " +
                          file);
  }
  for (const TUndoStateLine& line : state.unreadable) {
    messages.ConsoleError(u"tallowick: " + file + u" line " + IntToStr(line.number) +
                          u" cannot be read and is skipped: " + line.text);
  }
  if (batch.extraProblem.empty()) {
    for (const TUndoStateLine& line : state.unchecked) {
      messages.ConsoleError(u"tallowick: " + file + u" line " + IntToStr(line.number) +
                            u" was changed or added after it was stored and is skipped: " +
                            line.text);
    }
  }
  if (!state.missing.empty()) {
    messages.ConsoleError(u"tallowick: " + IntToStr(static_cast<int>(state.missing.size())) +
                          u" of the moves stored in " + file +
                          u" are missing from it (cut short or changed); they cannot be undone");
  }
  TfrmUndo undo(fs, appFolder);
  for (TRenamePair& pair : state.pairs) {
    undo.AddStoredUndo(std::move(pair.oldName), std::move(pair.newName));
  }
  for (const std::u16string& folder : batch.folders) undo.AddCreatedFolder(folder);
  // Before the first move: the journal, and the store as the reversal will
  // leave it, so that recovery and the store agree wherever it is cut short.
  // (With nothing left, recovery removes the state file itself.)
  const std::vector<TUndoStateLine> skipped = batch.KeptLines();
  std::vector<TRenamePair> expected;
  std::vector<TUndoStateLine> expectedLines = skipped;
  TJournal plan = UndoJournal(fs, undo.Pairs(), batch.folders, expected, expectedLines);
  TRenameJournal journal(fs, store.Folder() + u"/");
  const bool journaled = !plan.entries.empty();
  if (journaled) {
    const bool emptied = expected.empty() && expectedLines.empty() && state.missing.empty();
    if (emptied) plan.stateFile = file;
    TStatus ready = journal.Write(plan);
    if (ready.ok() && !emptied) {
      ready = store.Rewrite(index, expected, expectedLines, batch.folders, state.missing);
      if (!ready.ok()) (void)journal.Remove();
    }
    if (!ready.ok()) {
      messages.ConsoleError(
          u"tallowick: the undo cannot be made safe against a crash, so "
          u"nothing was undone: " +
          ready.Message());
      return 1;
    }
  }
  TConsoleUndoErrors errors(messages);
  const TUndoResult result = undo.UndoNow(u"", errors, progress);
  const int entries =
      result.reversed + result.alreadyBack + static_cast<int>(result.notBack.size());
  // The store keeps only what is still to be undone, so that undoing again
  // never moves an entry that is back already; lines it could not read or
  // check stay too, for whoever looks into the file, and so do the entries
  // found nowhere, as lines that are never moved.
  std::vector<TRenamePair> stillToUndo;
  std::vector<TUndoStateLine> keptLines = skipped;
  for (size_t i = 0; i < result.remaining.size(); ++i) {
    if (result.notBack[i].newName.empty()) {
      keptLines.push_back(NotFoundLine(result.remaining[i]));
    } else {
      stillToUndo.push_back(result.remaining[i]);
    }
  }
  const TStatus kept =
      store.KeepOnly(index, stillToUndo, keptLines, result.foldersLeft, state.missing);
  if (journaled) (void)journal.Remove();
  const bool complete = result.AllBack() && skipped.empty() && state.missing.empty();
  if (complete) {
    messages.ConsoleLine(u"Full undo executed: " + IntToStr(entries) +
                         u" entries back under their old names.");
  }
  if (!result.AllBack()) {
    ReportNotBack(result, entries, messages);
    if (kept.ok()) messages.ConsoleError(u"They stay in " + file + u" for another --undo.");
  }
  if (!skipped.empty()) {
    const size_t lines = skipped.size();
    messages.ConsoleError(
        u"Undo incomplete: " + IntToStr(static_cast<int>(lines)) +
        (lines == 1 ? u" line of " : u" lines of ") + file +
        (!state.unchecked.empty()
             ? (lines == 1 ? u" was skipped; it stays there." : u" were skipped; they stay there.")
             : (lines == 1 ? u" cannot be read; it stays there."
                           : u" cannot be read; they stay there.")));
  }
  if (!kept.ok()) {
    messages.ConsoleError(u"tallowick: the undo store could not be brought up to date, " +
                          kept.Message());
    return 1;
  }
  return complete ? 0 : 1;
}
