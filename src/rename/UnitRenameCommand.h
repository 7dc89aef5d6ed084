// The Rename command: carries out the previewed new names of the checked
// entries on disk in two phases (every entry to its new name + ".TW_TEMPNAME",
// then to its new name), so names that swap or chain never meet. The window's
// Rename button and the command line's batch modes both run it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UnitStatus.h"
#include "rename/UnitRenamePair.h"
#include "rename/UnitRenameState.h"

class TProgress;
class TRenameErrorHandler;
class TRenameWorkspace;
class TUndoRename;
class TfrmUndo;

// One entry the run moves: names relative to the listed folder.
struct TPlannedRename {
  int row = 0;
  std::u16string source;       // the caption
  std::u16string target;       // the full relative new name
  std::u16string alternative;  // the short-name form; empty on this platform
  TStatus refused;             // set when the new name may not be carried out
};

// A move of the run that failed (names relative to the listed folder).
struct TRenameFailure {
  std::u16string source;
  std::u16string target;
  TStatus status;
};

// What a run did, beside the flags of TRenameRunState.
struct TRenameResult {
  bool ran = false;          // false when a refresh or preview was running
  int planned = 0;           // entries to be renamed
  int renamed = 0;           // entries that reached their new names
  bool stopped = false;      // the run was stopped (error answer or batch undo)
  bool undoEnabled = false;  // the Undo command may be offered
  TStatus storeStatus;       // writing the batch to the undo store
  std::vector<TRenameFailure> failures;   // every failed move, in order
  std::vector<TRenamePair> undoFailures;  // moves back that "Stop and Undo" could not make
};

// Why a new name (relative to the listed folder) may not be carried out:
// it leaves the folder (absolute, or a component "", "." or ".."), or holds a
// NUL, which no file name can. Ok when it may be.
TStatus CheckNewNameStaysInFolder(std::u16string_view fullRelativeNewName);

class TRenameCommand {
 public:
  // REQUIRES: every argument outlives the command; `store` was created.
  // `errors` is asked about a failed move unless the run skips errors or a
  // batch mode decides; its answer Stop reverses the run at once ("Stop and
  // Undo") and ends it.
  TRenameCommand(TRenameWorkspace& workspace, TfrmUndo& undo, TUndoRename& store,
                 TRenameErrorHandler& errors);

  // The whole command: preview, phase 1, phase 2 or the put-back of phase 1,
  // the undo store (when nothing failed), the refresh, and the checks moved
  // to exactly the renamed entries. `askShowRecursiveAgain` is asked after a
  // run over a recursive list outside batch mode (no function: No).
  TRenameResult btnRenameClick(TProgress& progress,
                               const std::function<bool()>& askShowRecursiveAgain = {});

  // Moves `source` to `target` (relative to the listed folder), creating the
  // target's folders first; on failure tries `alternative` as the source.
  // Records the move in the undo list unless `noUndo`. A failure goes through
  // the run's error handling. Returns whether the entry moved.
  bool RenameOne(const std::u16string& source, const std::u16string& target,
                 const std::u16string& alternative, bool noUndo);

  // The entries to be renamed, in list order: checked, with a full relative
  // new name that is not empty and differs from the caption (letter case
  // counts).
  std::vector<TPlannedRename> PlanRenames() const;

  TRenameRunState state;

 private:
  std::u16string Base() const;
  // `moved[i]`: plan entry i reached its temporary name in phase 1. Only
  // those go on in phase 2 or come back in the put-back, so an entry that
  // happened to carry a temporary name already is never taken for one.
  void RunPhase1(const std::vector<TPlannedRename>& plan, TProgress& progress,
                 std::vector<bool>& moved);
  void RunPhase2(const std::vector<TPlannedRename>& plan, const std::vector<bool>& moved,
                 TProgress& progress, int& renamed);
  void PutBack(const std::vector<TPlannedRename>& plan, const std::vector<bool>& moved);
  void Failed(const std::u16string& source, const std::u16string& target, const TStatus& status);
  void StopAndUndo();
  void StoreBatch(const std::vector<TPlannedRename>& plan, TRenameResult& result);
  void RefreshAndRecheck(TProgress& progress);
  void Report(TProgress& progress, int row, int base) const;

  TRenameWorkspace& workspace_;
  TfrmUndo& undo_;
  TUndoRename& store_;
  TRenameErrorHandler& errors_;
  std::vector<TRenamePair> undoFailures_;
  std::vector<TRenameFailure> failures_;
};
