// The undo list: the moves of the current rename run (or of a batch loaded
// from the undo store), and their reversal, on disk or as a shell script.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/UnitDateTime.h"
#include "platform/UnitStatus.h"
#include "rename/UnitRenamePair.h"

class TFileSystem;
class TProgress;
class TRenameErrorHandler;

// What a reversal did.
struct TUndoResult {
  TStatus status;       // writing the batch file; always Ok for a reversal on disk
  int reversed = 0;     // entries moved back under their old names (lines written, for a batch file)
  int alreadyBack = 0;  // entries under none of their new names whose old name is taken: not
                        // moved, taken to be back (this is how an entry undone before looks)
  int skipped = 0;      // entries found nowhere whose old name is free: nothing to move
  int failed = 0;       // moves reported to the error handler
  // Every entry that is not back under its old name, newest move first:
  // `oldName` where it belongs, `newName` where it is now, empty when it was
  // found nowhere. Empty exactly when the whole list is back. For a batch file:
  // the entries that get no lines and whose old name is free.
  std::vector<TRenamePair> notBack;
  // What is still to be undone, for an undo store to keep: the entries of
  // `notBack` in the same order, each with the name it is under now, or the
  // new name it was recorded with when it was found nowhere.
  std::vector<TRenamePair> remaining;
  // The folders the list had made (CreateFolderPath) that are still there
  // because they are not empty, outermost first; for an undo store to keep.
  std::vector<std::u16string> foldersLeft;
  bool AllBack() const { return notBack.empty(); }
};

// `path` + `suffix`, a name beside `path`. When its last part would be
// longer than a file name may be (255 bytes), that part is cut at a
// character and followed by "~", eight hexadecimal digits of a hash of the
// whole part, and `suffix`: still beside `path`, and different for names
// that share their beginning.
std::u16string WithSuffixFitting(const std::u16string& path, std::u16string_view suffix);

// Where a reversal parks the entry whose old name is `oldName` (a full path)
// before it moves it there: `oldName` + `tag` + "2", made to fit.
std::u16string UndoParkingName(const std::u16string& oldName, std::u16string_view tag);

// "undo__yy-mm-dd__hh-nn-ss.sh" for the time `now`.
std::u16string UndoBatchFileName(TDateTime now);

class TfrmUndo {
 public:
  // REQUIRES: `fs` outlives the list. `appFolder` ends with "/": batch files
  // named without a folder are written there.
  TfrmUndo(TFileSystem& fs, std::u16string appFolder);

  void ClearAll();
  // Makes room for `moves` more records, so that a run of many moves does not
  // copy the list as it grows.
  void Reserve(size_t moves);
  // Records that `oldName` was moved to `newName` (full paths) by the current
  // run: a new name ending in the temporary tag is the run's temporary name,
  // which the run's second phase may have taken the tag off again.
  void AddUndo(std::u16string oldName, std::u16string newName);
  // Records one move of a batch read back from the undo store: the moves of a
  // stored batch happened side by side, each names where the run left the
  // entry, and none continues another, whatever tags their names hold.
  void AddStoredUndo(std::u16string oldName, std::u16string newName);
  // Creates the folder `path` with every missing parent (TFileSystem::
  // CreateFolderPath) and records each folder it made, so that the reversal
  // removes it again once it is empty.
  TStatus CreateFolderPath(const std::u16string& path);
  // The same for `relative` below `base` (which ends in "/"), through
  // TFileSystem::CreateFolderPathBeneath: never through a symbolic link.
  TStatus CreateFolderPathBeneath(const std::u16string& base, const std::u16string& relative);
  // Records a folder made for the list (outermost first), as a stored batch
  // names them.
  void AddCreatedFolder(std::u16string path);
  const std::vector<std::u16string>& CreatedFolders() const { return folders_; }
  // Removes the recorded folders that are empty now (innermost first) and
  // forgets them; the others stay recorded. A run calls it when it ends, so
  // that a folder no entry reached is not left behind.
  void RemoveEmptyCreatedFolders();
  int UndoCount() const { return static_cast<int>(pairs_.size()); }
  // REQUIRES: 0 <= index < UndoCount().
  const std::u16string& GetUndoOldName(int index) const;
  const std::u16string& GetUndoNewName(int index) const;
  const std::vector<TRenamePair>& Pairs() const { return pairs_; }
  // The suffix of the run's temporary names; ".TW_TEMPNAME" until set.
  void SetTempTag(std::u16string tag) { tempTag_ = std::move(tag); }
  const std::u16string& TempTag() const { return tempTag_; }
  // True when `name`, or `name` + the temporary tag, is a recorded new name
  // (ignoring case).
  bool IsNewName(std::u16string_view name) const;

  // Reverses the list, newest move first, and clears it. Each entry is looked
  // for under its new name, then, for a move of the run whose new name ends in
  // the temporary tag, under that name without the tag at its end (where the
  // run's second phase put it); it is parked under its old name +
  // tag + "2" and, once every entry is parked, moved to its old name. An entry
  // found under none of these names is never moved; when its old name is
  // taken (by no entry of the list that stayed elsewhere) it counts as back.
  // No move ever replaces an entry: an entry whose old name is taken meanwhile
  // stays under the name it was found under, and like every failed move it is
  // reported to `errors` (source: where the entry now is, target: its old
  // name). The answer Stop parks no further entries; those already parked are
  // still moved on. The result lists every entry that is not back.
  // `progress`, when given, is told every 300 entries how many the two rounds
  // have handled together. Moves that a later move of the list undid (a run's
  // put-back) cancel out first, so every entry returns to where it was before
  // the list began.
  // Once every entry is parked, every recorded folder that is empty again is
  // removed (it may stand where an entry returns; a folder the list made and
  // something else filled meanwhile stays: TUndoResult::foldersLeft); an
  // entry that cannot return and goes back into such a folder makes it again.
  // With a non-empty `fileName` nothing is moved: a shell script of the same
  // moves ("mv -n --", output appended to "tw_error_log.txt", and "rmdir" for
  // the recorded folders, which fails harmlessly on one that is not empty) is written to
  // `fileName` (in the application folder unless it holds a "/"), with lines
  // only for the entries found on disk now. When that file cannot be written
  // the list is kept and the status says why. `progress`, when given, is
  // started as "Undoing" with two steps per entry (parked, then back),
  // advanced every few hundred and finished before this returns.
  TUndoResult UndoNow(const std::u16string& fileName, TRenameErrorHandler& errors,
                      TProgress* progress = nullptr);

 private:
  // Runs `create` for the folder `path` and records every folder of it that
  // was missing before and is there after.
  TStatus RecordingCreated(const std::u16string& path, const std::function<TStatus()>& create);
  // One (first old name, last new name) pair per moved entry, newest first;
  // entries that came back to where they started are left out. `fromRun` says
  // of each whether its last new name is one the current run recorded.
  std::vector<TRenamePair> MovesToReverse(std::vector<bool>& fromRun) const;
  bool EndsWithTag(std::u16string_view name) const;

  TFileSystem& fs_;
  std::u16string appFolder_;
  std::vector<TRenamePair> pairs_;
  std::vector<bool> stored_;  // per pair: read from the undo store
  // The lower-cased new names of pairs_[0, keyedPairs_), added when asked:
  // most runs never ask, and lower-casing every name costs time.
  mutable std::unordered_set<std::u16string> newNameKeys_;
  mutable size_t keyedPairs_ = 0;
  std::vector<std::u16string> folders_;             // made for the list, outermost first
  std::u16string tempTag_{kTempNameSuffix};
};
