// The journal of a run that moves entries (a rename run or an undo): the
// whole plan, written and flushed to the disk before the first move and
// removed once the run has ended and its undo state is stored. A journal
// found at start means a run was cut short (a crash, a kill, a power cut);
// recovery then puts every entry of it back where it belongs.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UnitFileSystem.h"
#include "platform/UnitStatus.h"

class TUndoRename;

// One entry a run moves: where recovery puts it, every other name the run
// may have left it under, and its identity, which tells it apart from any
// other entry under those names.
struct TJournalEntry {
  std::u16string home;
  std::vector<std::u16string> places;
  TEntryIdentity id;
};

struct TJournal {
  std::u16string kind;       // "rename" or "undo"
  std::u16string stateFile;  // the undo state file the run writes or consumes; may be empty
  std::vector<TJournalEntry> entries;
  // Folders that did not exist when the run began and that it may make,
  // outermost first: recovery removes those that are empty before it puts
  // the entries back, since one may stand where an entry returns.
  std::vector<std::u16string> folders;
  // When not empty, the folder (with its "/") that every name above lies in,
  // the names being kept relative to it. The journal names it once and its
  // names stay relative; a decoded journal holds whole names and no base.
  std::u16string base;
};

// Text lines, UTF-8 with every name's bytes kept: a header, "kind", "state",
// "base" for a journal with a base, then one "entry" line per entry with its fields separated by TAB, then one
// "folder" line per folder; TAB, LF, CR and backslash inside names are
// escaped, and a place that begins with an earlier name of its entry refers
// to that name.
std::string EncodeJournal(const TJournal& journal);

// One entry as the encoder reads it, its names borrowed from the caller.
struct TJournalEntryView {
  TEntryIdentity id;
  std::u16string_view home;
  std::vector<std::u16string_view> places;
};
// Fills `entry` with the entry `index`. A name the caller makes for it goes
// in `scratch`, which lives until the next call on the same thread. Called
// on two threads at once for different entries.
using TJournalEntryReader =
    std::function<void(size_t index, TJournalEntryView& entry, std::u16string& scratch)>;
// The same bytes for a journal whose `count` entries are read one by one,
// rather than copied into it first; the entries of `head` are not written.
std::string EncodeJournal(const TJournal& head, size_t count, const TJournalEntryReader& entryAt);
// False, with the reason, when `bytes` is not a whole journal (a journal is
// written whole, so a cut one is a damaged file, not a cut run).
bool DecodeJournal(const std::string& bytes, TJournal& journal, std::u16string& problem);

// What recovery did: one line per entry it moved and per entry it could not
// put back, with the reason. `complete` when every entry is home.
struct TRecoveryReport {
  std::vector<std::u16string> moved;
  std::vector<std::u16string> problems;
  bool complete = true;
};

// Puts every entry of `journal` back home, never replacing anything: each
// entry is looked for under its home and its other names by its identity;
// one found nowhere is reported, never guessed. Misplaced entries are first
// parked under a free name beside their home, so entries that swapped names
// come back too. An entry whose home another file took meanwhile stays where
// it was found and is reported.
TRecoveryReport RecoverJournal(TFileSystem& fs, const TJournal& journal);

// The journal file of the application folder's undo store.
class TRenameJournal {
 public:
  static constexpr std::u16string_view kFileName = u"journal.txt";

  // `undoFolder` ends with "/". REQUIRES: `fs` outlives the object.
  TRenameJournal(TFileSystem& fs, std::u16string undoFolder);

  std::u16string Path() const { return undoFolder_ + std::u16string(kFileName); }
  bool Exists() const { return fs_.Exists(Path()); }
  // Writes the journal atomically and flushes it and its folder to the disk.
  TStatus Write(const TJournal& journal);
  // The same for a journal encoded already.
  TStatus WriteEncoded(const std::string& bytes);
  TStatus Read(TJournal& journal) const;
  TStatus Remove();

  // Recovers a journal left over and removes it, with the undo state file it
  // names once every entry is home. Nothing to do (and Ok) without a journal.
  // A journal that cannot be read stays, and its status is returned.
  TStatus RecoverLeftOver(TRecoveryReport& report, bool& found);

 private:
  TFileSystem& fs_;
  std::u16string undoFolder_;
};

// The identity of the entry `path`; unknown where the file system cannot tell.
TEntryIdentity IdentityOf(TFileSystem& fs, const std::u16string& path);
