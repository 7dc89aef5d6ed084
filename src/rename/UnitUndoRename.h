// The undo store: each rename run and each single rename since start kept as
// a numbered state file in the "undo" folder of the application folder, so
// batches can be undone newest first. "notclean.txt" marks a running program.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/UnitStatus.h"
#include "rename/UnitRenamePair.h"
#include "rename/UnitUndoStateFile.h"

class TFileSystem;
class TPreparedReplacement;
class TfrmUndo;

// A batch written ahead of storing it (TUndoRename::PrepareState).
struct TPreparedBatch {
  TPreparedBatch();
  ~TPreparedBatch();
  TPreparedBatch(TPreparedBatch&&) noexcept;
  TPreparedBatch& operator=(TPreparedBatch&&) noexcept;

  int index = -1;
  std::unique_ptr<TPreparedReplacement> state;
  std::unique_ptr<TPreparedReplacement> extra;
};

// A stored batch as read back: its moves, its lines that are not (or no
// longer) moves, and the folders it made.
struct TStoredBatch {
  TUndoState state;
  std::vector<std::u16string> folders;
  // Empty, or why the extra file could not be read: then no move of the
  // batch is vouched for, and every one is in `state.unchecked`.
  std::u16string extraProblem;
  // The unreadable and unchecked lines together, in file order: what a
  // rewritten state file keeps beside its moves.
  std::vector<TUndoStateLine> KeptLines() const;
};

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
  // Its extra file (UnitUndoStateFile.h): the same with "-extra.txt".
  std::u16string ExtraFileName(int index) const;

  // Stores a run's moves (old and new full paths) as the next state file,
  // written atomically, with its extra file: a check of every move and the
  // `folders` the run made (outermost first). With no pairs nothing is
  // written. On failure the store is unchanged and the status says why; when
  // only the extra file cannot be written the batch is stored without it.
  TStatus SaveStateToFile(const std::vector<TRenamePair>& pairs,
                          const std::vector<std::u16string>& folders = {});
  // The same for a batch encoded already (EncodeBatch).
  TStatus SaveEncodedState(const TEncodedBatch& batch);
  // SaveEncodedState in two steps, for a batch encoded before it may be
  // stored: writes the files of `batch` as state file `index` (NextIndex
  // when it is stored) without storing it. Touches nothing but the file
  // system, so it may run beside the caller's thread.
  TPreparedBatch PrepareState(int index, const TEncodedBatch& batch) const;
  // Stores `batch` as SaveEncodedState does, putting the files of `prepared`
  // in place where they were written for it and the next index; otherwise
  // (they could not be written, or another batch was stored since) writes
  // them again.
  TStatus CommitPreparedState(TPreparedBatch& prepared, const TEncodedBatch& batch);
  TStatus SaveSingleRenameToFile(const std::u16string& oldName, const std::u16string& newName);
  // Takes the newest stored batch into `undo` (which is cleared first), as
  // stored moves (TfrmUndo::AddStoredUndo), with the folders it made. With
  // nothing stored, `undo` stays as it is. When the file cannot be read, the
  // batch is dropped, `undo` is left empty and the status says why. Lines of
  // the file that are not moves, or moves its extra file does not vouch for,
  // go to UnreadableLines.
  TStatus LoadLastState(TfrmUndo& undo);
  // Reads state file `index` with its extra file (ReadState never fails for
  // the extra file: see TStoredBatch::extraProblem).
  TStatus ReadState(int index, TStoredBatch& batch) const;
  // The lines of the batch LoadLastState took last that were not moves; they
  // stay in its file (FinishLastLoad) until it is removed by hand. Moves
  // missing from that file since it was stored count as such a line each.
  const std::vector<TUndoStateLine>& UnreadableLines() const { return unreadable_; }
  // Puts the batch that LoadLastState took back into the store.
  void CancelLastLoad();
  // After the batch that LoadLastState took was reversed: `remaining` (the
  // reversal's TUndoResult::remaining) is what is still to be undone. When it
  // and UnreadableLines are empty the batch's file is removed; otherwise the
  // file is rewritten to hold only those pairs and lines, and the batch goes
  // back into the store, so undoing it again never moves an entry that is
  // back already; `folders` (TUndoResult::foldersLeft) stay recorded with it.
  // Does nothing when no batch is loaded. On failure the status says why and
  // the batch is no longer offered (see KeepOnly).
  TStatus FinishLastLoad(const std::vector<TRenamePair>& remaining,
                         const std::vector<std::u16string>& folders = {});

  // For another process than the one that stored them: the number of state
  // files on disk, counted from 0000.txt up to the first that is missing.
  int CountStateFiles() const;
  // Replaces state file `index` by one that holds only `remaining` and the
  // `unreadable` lines, with an extra file of their checks and `folders`, or
  // removes both when neither holds anything; written atomically. When it
  // cannot be rewritten it is removed all the same, so that it never names
  // entries that are back as still to be undone; the status says why.
  // The checks of moves `missing` from the file stay in its extra file, so
  // that every later undo still reports them.
  TStatus KeepOnly(int index, const std::vector<TRenamePair>& remaining,
                   const std::vector<TUndoStateLine>& unreadable = {},
                   const std::vector<std::u16string>& folders = {},
                   const std::vector<uint64_t>& missing = {});
  // Writes state file `index` to hold `remaining` and `unreadable`, with its
  // extra file; a failure leaves the file as it was.
  TStatus Rewrite(int index, const std::vector<TRenamePair>& remaining,
                  const std::vector<TUndoStateLine>& unreadable,
                  const std::vector<std::u16string>& folders,
                  const std::vector<uint64_t>& missing = {});

 private:
  std::u16string MarkerFileName() const { return folder_ + u"/notclean.txt"; }
  // Writes the extra file of state file `index`. When it cannot be written
  // the one before stays: it vouches for no line it did not vouch for before
  // (a move rewritten with another name is then no longer undone), and names
  // every folder that may still be recorded.
  void WriteExtra(int index, const std::vector<TRenamePair>& pairs,
                  const std::vector<std::u16string>& folders,
                  const std::vector<uint64_t>& missing = {});

  TFileSystem& fs_;
  std::u16string folder_;
  int nextIndex_ = 0;
  int loaded_ = -1;  // the index LoadLastState took, until it is finished or cancelled
  std::vector<TUndoStateLine> unreadable_;
  std::vector<uint64_t> missing_;  // of the batch LoadLastState took last
};
