// The undo store: each rename run and each single rename since start kept as
// a numbered state file in the "undo" folder of the application folder, so
// batches can be undone newest first. "notclean.txt" marks a running program.
#pragma once

#include <string>
#include <vector>

#include "platform/UnitStatus.h"
#include "rename/UnitRenamePair.h"
#include "rename/UnitUndoStateFile.h"

class TFileSystem;
class TfrmUndo;

class TUndoRename {
 public:
  // REQUIRES: `fs` outlives the store; `appFolder` ends with "/". Touches
  // nothing on disk until Create.
  TUndoRename(TFileSystem& fs, const std::u16string& appFolder);

  // At start: creates the folder, deletes the state files 0000.txt, 0001.txt,
  // ... up to the first that does not exist (batches of an earlier run are not
  // offered), empties the store and creates "notclean.txt".
  TStatus Create();
  // At normal exit: deletes "notclean.txt".
  TStatus Destroy();

  bool HasState() const { return nextIndex_ != 0; }
  int NextIndex() const { return nextIndex_; }
  const std::u16string& Folder() const { return folder_; }
  // The folder + "/" + `index` in at least four digits + ".txt".
  std::u16string StateFileName(int index) const;

  // Stores a run's moves (old and new full paths) as the next state file,
  // written atomically. With no pairs nothing is written. On failure the store
  // is unchanged and the status says why.
  TStatus SaveStateToFile(const std::vector<TRenamePair>& pairs);
  TStatus SaveSingleRenameToFile(const std::u16string& oldName, const std::u16string& newName);
  // Takes the newest stored batch into `undo` (which is cleared first), as
  // stored moves (TfrmUndo::AddStoredUndo). With nothing stored, `undo` stays
  // as it is. When the file cannot be read, the batch is dropped, `undo` is
  // left empty and the status says why. Lines of the file that are not moves
  // go to UnreadableLines.
  TStatus LoadLastState(TfrmUndo& undo);
  // The lines of the batch LoadLastState took last that were not moves; they
  // stay in its file (FinishLastLoad) until it is removed by hand.
  const std::vector<TUndoStateLine>& UnreadableLines() const { return unreadable_; }
  // Puts the batch that LoadLastState took back into the store.
  void CancelLastLoad();
  // After the batch that LoadLastState took was reversed: `remaining` (the
  // reversal's TUndoResult::remaining) is what is still to be undone. When it
  // and UnreadableLines are empty the batch's file is removed; otherwise the
  // file is rewritten to hold only those pairs and lines, and the batch goes
  // back into the store, so undoing it again never moves an entry that is
  // back already. Does nothing when no batch is loaded. On failure the status
  // says why and the batch is no longer offered (see KeepOnly).
  TStatus FinishLastLoad(const std::vector<TRenamePair>& remaining);

  // For another process than the one that stored them: the number of state
  // files on disk, counted from 0000.txt up to the first that is missing.
  int CountStateFiles() const;
  // Replaces state file `index` by one that holds only `remaining` and the
  // `unreadable` lines, or removes it when neither holds anything; written
  // atomically. When it cannot be rewritten it is removed all the same, so
  // that it never names entries that are back as still to be undone; the
  // status says why.
  TStatus KeepOnly(int index, const std::vector<TRenamePair>& remaining,
                   const std::vector<TUndoStateLine>& unreadable = {});

 private:
  std::u16string MarkerFileName() const { return folder_ + u"/notclean.txt"; }

  TFileSystem& fs_;
  std::u16string folder_;
  int nextIndex_ = 0;
  int loaded_ = -1;  // the index LoadLastState took, until it is finished or cancelled
  std::vector<TUndoStateLine> unreadable_;
};
