// The Rename command: carries out the previewed new names of the checked
// entries on disk in two phases (every entry to its new name + ".TW_TEMPNAME",
// then to its new name), so names that swap or chain never meet. The window's
// Rename button and the command line's batch modes both run it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/UnitFileSystem.h"
#include "platform/UnitStatus.h"
#include "rename/UnitIdentityReadAhead.h"
#include "rename/UnitRenameJournal.h"
#include "rename/UnitRenamePair.h"
#include "rename/UnitRenameState.h"

class TWorkBeside;
struct TEncodedBatch;
struct TPreparedBatch;

class TProgress;
class TRenameErrorHandler;
class TRenameWorkspace;
class TUndoRename;
class TfrmUndo;

// One entry the run moves: names relative to the listed folder.
struct TPlannedRename {
  int row = 0;
  // The identity the listing gave the entry, where it kept one (a run's own
  // listing); otherwise unknown, and read for the journal.
  TEntryIdentity listed;
  std::u16string source;       // the caption
  std::u16string target;       // the full relative new name
  // The temporary name of phase 1 (relative): target + ".TW_TEMPNAME", or,
  // where that would pass the longest name the disk keeps, a shorter one
  // ending in ".TW_TEMPNAME" (see PlanRenames).
  std::u16string temp;
  TStatus refused;             // set when the new name may not be carried out
};

// Where each planned entry is during a run.
enum class TPlannedState : uint8_t {
  Waiting,  // under its old name
  Parked,   // under its temporary name (phase 1 done)
  Done,     // under its new name
};

// An entry the run could not rename: its old and its new name (relative to
// the listed folder) and why.
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
  bool stopped = false;      // the run was stopped and reversed (error answer, batch undo, interrupt)
  bool interrupted = false;  // the progress asked to stop (a signal in batch mode)
  bool undoEnabled = false;  // the Undo command may be offered
  TStatus storeStatus;       // writing the batch to the undo store
  TStatus journalStatus;     // writing the journal; when it failed nothing was moved
  bool journalKept = false;  // entries are left that only the journal finds: it stays for recovery
  std::vector<TRenameFailure> failures;   // every failed move, in order
  std::vector<TRenamePair> undoFailures;  // moves back that "Stop and Undo" could not make
  // After a reversal: every entry not back under its old name (old name, and
  // where it is now; empty when found nowhere).
  std::vector<TRenamePair> notBack;
  std::vector<TPlannedRename> plan;       // the entries the run was to rename, in order
  std::vector<TPlannedState> where;       // where each of them ended
};

// Why a new name (relative to the listed folder) may not be carried out:
// it leaves the folder (absolute, or a component "", "." or ".."), or holds a
// NUL, which no file name can. Ok when it may be.
TStatus CheckNewNameStaysInFolder(std::u16string_view fullRelativeNewName);

// The characters the preview marks a new name illegal for; the rename refuses
// such names, as file systems of other platforms do.
inline constexpr std::u16string_view kIllegalNameCharacters = u"?<>\":|*";
// Why the new name may not be carried out because of an illegal character;
// Ok when it holds none.
TStatus CheckNewNameCharacters(std::u16string_view fullRelativeNewName);

// Why the new name may not be carried out because a part of it is longer
// than kMaxNameBytes (in UTF-8 bytes, as the disk holds it); Ok when none is.
TStatus CheckNewNameLength(std::u16string_view fullRelativeNewName);

class TRenameCommand {
 public:
  // REQUIRES: every argument outlives the command; `store` was created.
  // `errors` is asked about a failed move unless the run skips errors or a
  // batch mode decides; its answer Stop reverses the run at once ("Stop and
  // Undo") and ends it.
  TRenameCommand(TRenameWorkspace& workspace, TfrmUndo& undo, TUndoRename& store,
                 TRenameErrorHandler& errors);

  // The whole command: preview, phase 1, phase 2 or the put-back of phase 1,
  // the undo store, the refresh, and the checks moved to exactly the renamed
  // entries. `askShowRecursiveAgain` is asked after a run over a recursive
  // list outside batch mode (no function: No).
  // A checked entry whose new name is illegal or leaves the folder fails like
  // any failed move. An entry whose second move fails goes back to its old
  // name. A run that went on past failures stores the entries it renamed as
  // a batch for undo; a stopped run is reversed and stores nothing.
  // Before the first move the plan goes to the journal of the undo store,
  // flushed to the disk; it is removed when the run has ended and its batch
  // is stored, so a run cut short by a crash can be recovered. When the
  // journal cannot be written nothing is moved.
  // When `progress.Cancelled()` turns true the run stops at the next entry:
  // with BatchIgnore it finishes the entries already parked under their
  // temporary names and stores them; otherwise it is reversed as by
  // "Stop and Undo". No entry is left under a temporary name either way.
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
  // counts). An entry whose new name + ".TW_TEMPNAME" is too long for the
  // disk gets as temporary name the beginning of its new name's last part,
  // "~", a number and ".TW_TEMPNAME": a name free on disk and used by no
  // other entry of the plan.
  std::vector<TPlannedRename> PlanRenames() const;

  TRenameRunState state;

 private:
  const std::u16string& Base() const;
  // The checks and moves of a run, on names relative to the listed folder:
  // through the folder opened for the run, or by path outside one.
  bool EntryExists(const std::u16string& relative) const;
  TStatus MoveBeneath(const std::u16string& fromRelative, const std::u16string& toRelative);
  // The short-name form of the old name of plan entry `entry` as listed;
  // empty on this platform.
  const std::u16string& AlternativeOf(const TPlannedRename& entry) const;
  // The identity of every entry of the plan, by its old name.
  std::vector<TEntryIdentity> IdentitiesBeneath(const std::vector<TPlannedRename>& plan) const;
  // Gives the entries whose temporary name is too long a shorter one.
  void ShortenTemporaryNames(std::vector<TPlannedRename>& plan) const;
  // `moved[i]`: plan entry i reached its temporary name in phase 1. Only
  // those go on in phase 2 or come back in the put-back, so an entry that
  // happened to carry a temporary name already is never taken for one.
  void RunPhase1(const std::vector<TPlannedRename>& plan, TProgress& progress,
                 std::vector<TPlannedState>& where, TRenameResult& result);
  void RunPhase2(const std::vector<TPlannedRename>& plan, std::vector<TPlannedState>& where,
                 TProgress& progress, TRenameResult& result);
  // Moves a parked entry whose second move failed back to its old name.
  void Unpark(const TPlannedRename& entry, TPlannedState& where);
  // Before the first second move, while every parked entry's old name is
  // still free: a parked entry whose new name is taken could only fail in
  // phase 2, when another entry may have taken its old name and left it
  // under its temporary name; it fails and goes back now, and so, in turn,
  // does every parked entry whose new name that old name is. (An entry whose
  // old name no other entry takes is left to fail in phase 2.)
  void ReturnBlocked(const std::vector<TPlannedRename>& plan, std::vector<TPlannedState>& where);
  void PutBack(const std::vector<TPlannedRename>& plan, std::vector<TPlannedState>& where);
  // True once the progress asks to stop; records it in `result`.
  bool Interrupted(TProgress& progress, TRenameResult& result) const;
  // Moves `source` (or else `alternative`) to `target`, creating the target's
  // folders; `movedFrom` receives the name that was tried last.
  TStatus TryMove(const std::u16string& source, const std::u16string& target,
                  const std::u16string& alternative, const std::u16string*& movedFrom);
  // Moves `from` to `to` (relative names) for the plan entry `index`; a
  // failure is reported under the entry's old and new name.
  bool MoveEntry(const std::vector<TPlannedRename>& plan, size_t index, const std::u16string& from,
                 const std::u16string& to, bool noUndo);
  // The reason a user reads for a failed move of plan entry `index`.
  TStatus Explain(const std::vector<TPlannedRename>& plan, size_t index,
                  const TStatus& status) const;
  void Failed(const std::u16string& source, const std::u16string& target, const TStatus& status);
  void StopAndUndo();
  // Stores the run's moves; `planned` holds them encoded, and `prepared`
  // written ahead, for a run in which every entry was renamed, once
  // `encoding` is finished.
  void StoreBatch(const std::vector<TPlannedRename>& plan, const std::vector<TPlannedState>& where,
                  TWorkBeside& encoding, const TEncodedBatch& planned, TPreparedBatch& prepared,
                  TRenameResult& result);
  // The journal of the run, encoded: every entry with its temporary and new
  // name.
  std::string EncodedJournalOf(const std::vector<TPlannedRename>& plan) const;
  // Its every field but the entries.
  TJournal JournalHeadOf(const std::vector<TPlannedRename>& plan) const;
  // Refreshes the list; after a run that moved entries, exactly the entries
  // under the names the run left them are checked.
  void RefreshAndRecheck(TProgress& progress, const std::vector<TPlannedRename>& plan,
                         const std::vector<TPlannedState>& where);
  void Report(TProgress& progress, int row, int base) const;

  TRenameWorkspace& workspace_;
  TfrmUndo& undo_;
  TUndoRename& store_;
  TRenameErrorHandler& errors_;
  std::vector<TRenamePair> undoFailures_;
  std::vector<TRenamePair> notBack_;
  std::vector<TRenameFailure> failures_;
  // Plan entries by new name (ASCII letters lowered), to name the other
  // entry of a clash.
  mutable std::unordered_multimap<std::u16string, size_t> targetOwners_;
  mutable std::u16string base_;  // the listed folder with "/", as Base() gave it last
  // The listed folder, open while a run lasts.
  std::unique_ptr<TFolderHandle> folder_;
  // The checked entries' identities, read from the start of a run until its
  // journal is made.
  std::unique_ptr<TIdentityReadAhead> ahead_;
};
