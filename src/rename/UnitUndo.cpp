#include "rename/UnitUndo.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "platform/UnitShellScript.h"

namespace {

constexpr std::u16string_view kUndoCommand = u"mv -n --";
// Ends every command of the undo script; the empty line follows each command.
constexpr std::string_view kLogRedirect = " >> tw_error_log.txt 2>&1\n\n";
constexpr int kProgressInterval = 300;

// True when `name` ends with the non-empty `tag` and holds more than it.
bool EndsWith(std::u16string_view name, std::u16string_view tag) {
  return !tag.empty() && name.size() > tag.size() && name.substr(name.size() - tag.size()) == tag;
}

// One entry on its way back.
struct TEntryBack {
  size_t move;             // index in the reversed moves
  std::u16string current;  // where the entry was found
  std::u16string parked;   // old name + tag + "2"
};

// The two rounds of one reversal, moving on disk or writing script lines.
class TReversal {
 public:
  // `fromRun[i]`: the new name of `moves[i]` was recorded by the current run.
  TReversal(TFileSystem& fs, std::u16string_view tag, std::string* script,
            TRenameErrorHandler& errors, TProgress* progress, const std::vector<TRenamePair>& moves,
            const std::vector<bool>& fromRun)
      : fs_(fs),
        tag_(tag),
        script_(script),
        errors_(errors),
        progress_(progress),
        moves_(moves),
        fromRun_(fromRun),
        where_(moves.size()),
        state_(moves.size(), TState::Unknown) {
    if (script_ == nullptr) HoldCommonFolder();
  }

  // `betweenRounds` runs once every entry is parked (the folders the list
  // made are empty then, and one may stand where an entry returns);
  // `makeFolder` makes the folder again that an entry returns into when its
  // old name is taken.
  void Run(TUndoResult& result, const std::function<void()>& betweenRounds,
           const std::function<void(const std::u16string&)>& makeFolder) {
    const std::vector<TEntryBack> parked = ParkAll(result);
    betweenRounds();
    RestoreAll(parked, result, makeFolder);
    Account(result);
  }

 private:
  enum class TState : uint8_t { Unknown, Back, NotBack, NotFound };

  // Round 1: every entry found moves to its parking name.
  std::vector<TEntryBack> ParkAll(TUndoResult& result) {
    std::vector<TEntryBack> parked;
    parked.reserve(moves_.size());
    bool stopped = false;
    for (size_t i = 0; i < moves_.size(); ++i) {
      Tick();
      const TRenamePair& move = moves_[i];
      TEntryBack entry{i, {}, UndoParkingName(move.oldName, tag_)};
      // Nearly every entry of a stored batch is where the list says: the move
      // itself finds it, with no look beforehand. Only when it fails is the
      // entry looked for.
      const bool mayHaveLostTag = fromRun_[i] && EndsWith(move.newName, tag_);
      if (!stopped && script_ == nullptr && !mayHaveLostTag && move.newName != entry.parked) {
        const TStatus status = Move(move.newName, entry.parked);
        if (status.ok()) {
          entry.current = move.newName;
          parked.push_back(std::move(entry));
          continue;
        }
        if (EntryExists(move.newName)) {
          ++result.failed;
          NotBack(i, move.newName);
          stopped = errors_.RenameFailed(move.newName, move.oldName, status) ==
                    TRenameErrorAnswer::Stop;
          continue;
        }
      }
      entry.current = Locate(move, fromRun_[i]);
      if (entry.current.empty()) {
        state_[i] = TState::NotFound;
        continue;
      }
      if (stopped) {
        NotBack(i, entry.current);
        continue;
      }
      // An entry that an earlier reversal left parked is parked already.
      const TStatus status =
          entry.current == entry.parked ? TStatus::Ok() : Move(entry.current, entry.parked);
      if (status.ok()) {
        parked.push_back(std::move(entry));
        continue;
      }
      ++result.failed;
      NotBack(i, entry.current);
      stopped = errors_.RenameFailed(entry.current, move.oldName, status) ==
                TRenameErrorAnswer::Stop;
    }
    return parked;
  }

  // Round 2: every parked entry moves to its old name, or back to where it
  // was found when that name is taken.
  void RestoreAll(const std::vector<TEntryBack>& parked, TUndoResult& result,
                  const std::function<void(const std::u16string&)>& makeFolder) {
    for (const TEntryBack& entry : parked) {
      Tick();
      const std::u16string& oldName = moves_[entry.move].oldName;
      const TStatus status = Move(entry.parked, oldName);
      if (status.ok()) {
        ++result.reversed;
        state_[entry.move] = TState::Back;
        continue;
      }
      ++result.failed;
      bool back = Move(entry.parked, entry.current).ok();
      if (!back && script_ == nullptr) {
        makeFolder(entry.current.substr(0, entry.current.rfind(u'/')));
        back = Move(entry.parked, entry.current).ok();
      }
      NotBack(entry.move, back ? entry.current : entry.parked);
      (void)errors_.RenameFailed(back ? entry.current : entry.parked, oldName, status);
    }
  }

  // Decides on the entries found nowhere, now that the others are where the
  // reversal leaves them: one whose old name is taken, and not by an entry of
  // the list that stayed elsewhere, is back already (undone before, or put
  // back by hand); the others are missing. Then lists what is not back.
  void Account(TUndoResult& result) {
    std::unordered_set<std::u16string> heldByOthers;
    for (size_t i = 0; i < moves_.size(); ++i) {
      if (state_[i] == TState::NotBack) heldByOthers.insert(where_[i]);
    }
    for (size_t i = 0; i < moves_.size(); ++i) {
      const TRenamePair& move = moves_[i];
      if (state_[i] == TState::NotFound) {
        if (heldByOthers.count(move.oldName) == 0 && EntryExists(move.oldName)) {
          ++result.alreadyBack;
          continue;
        }
        ++result.skipped;
        result.notBack.push_back({move.oldName, u""});
        result.remaining.push_back(move);
      } else if (state_[i] == TState::NotBack) {
        result.notBack.push_back({move.oldName, where_[i]});
        result.remaining.push_back({move.oldName, where_[i]});
      }
    }
  }

  void NotBack(size_t move, const std::u16string& where) {
    state_[move] = TState::NotBack;
    where_[move] = where;
  }

  // The name the entry of `move` has now: its new name, else, when that is a
  // temporary name of the run, the name the run's second phase gave it: the
  // new name without the tag at its end. Only there did the run append the
  // tag; the same text elsewhere (in a folder's name, inside a name, in a name
  // of a stored batch) belongs to the name. Empty when neither exists.
  std::u16string Locate(const TRenamePair& move, bool fromRun) const {
    if (EntryExists(move.newName)) return move.newName;
    if (!fromRun || !EndsWith(move.newName, tag_)) return {};
    const std::u16string untagged = move.newName.substr(0, move.newName.size() - tag_.size());
    if (!untagged.empty() && untagged.back() != u'/' && EntryExists(untagged)) return untagged;
    return {};
  }

  // When every name of the reversal lies right in one folder, as after a run
  // in a listed folder, that folder is held open: no check or move has to
  // find it by its path again.
  void HoldCommonFolder() {
    if (moves_.empty()) return;
    const std::u16string& first = moves_.front().oldName;
    const size_t slash = first.rfind(u'/');
    if (slash == std::u16string::npos || slash == 0) return;
    heldBase_ = first.substr(0, slash + 1);
    for (const TRenamePair& move : moves_) {
      if (!InHeldFolder(move.oldName) || !InHeldFolder(move.newName)) return;
    }
    held_ = fs_.OpenFolderHandle(heldBase_);
  }

  bool InHeldFolder(const std::u16string& path) const {
    return path.size() > heldBase_.size() && path.starts_with(heldBase_) &&
           path.find(u'/', heldBase_.size()) == std::u16string::npos;
  }

  bool EntryExists(const std::u16string& path) const {
    if (held_ && InHeldFolder(path)) return held_->Exists(path.substr(heldBase_.size()));
    return fs_.Exists(path);
  }

  TStatus Move(const std::u16string& from, const std::u16string& to) {
    if (held_ && InHeldFolder(from) && InHeldFolder(to)) {
      return held_->RenameNoReplaceBeneath(from.substr(heldBase_.size()),
                                           to.substr(heldBase_.size()));
    }
    if (script_ == nullptr) return fs_.RenameNoReplace(from, to);
    script_->append(ShellMoveCommand(kUndoCommand, from, to));
    script_->append(kLogRedirect);
    return TStatus::Ok();
  }

  void Tick() {
    if (progress_ != nullptr && ++handled_ % kProgressInterval == 0) progress_->Advanced(handled_);
  }

  TFileSystem& fs_;
  std::u16string tag_;
  std::string* script_;  // null: move on disk
  TRenameErrorHandler& errors_;
  TProgress* progress_;
  const std::vector<TRenamePair>& moves_;
  const std::vector<bool>& fromRun_;
  std::vector<std::u16string> where_;  // per move: where a NotBack entry is
  std::vector<TState> state_;
  int handled_ = 0;
  std::u16string heldBase_;  // the common folder with "/"
  std::unique_ptr<TFolderHandle> held_;
};

}  // namespace

std::u16string UndoParkingName(const std::u16string& oldName, std::u16string_view tag) {
  return WithSuffixFitting(oldName, std::u16string(tag) + u"2");
}

std::u16string WithSuffixFitting(const std::u16string& path, std::u16string_view suffix) {
  constexpr size_t kNameMax = 255;            // bytes of one name on the file systems here
  const size_t start = path.rfind(u'/') + 1;  // 0 without a "/"
  if (Utf8Length(std::u16string_view(path).substr(start)) + Utf8Length(suffix) <= kNameMax) {
    return path + std::u16string(suffix);
  }
  std::u16string name = path.substr(start);
  uint32_t hash = 2166136261u;
  for (const char16_t c : name) hash = (hash ^ c) * 16777619u;
  std::u16string mark = u"~";
  for (int shift = 28; shift >= 0; shift -= 4) mark += u"0123456789abcdef"[(hash >> shift) & 0xF];
  mark += suffix;
  const size_t room = kNameMax - std::min(kNameMax, Utf16ToUtf8(mark).size());
  while (!name.empty() && Utf16ToUtf8(name).size() > room) {
    name.pop_back();
    // Never half of a character beyond the BMP.
    if (!name.empty() && name.back() >= 0xD800 && name.back() <= 0xDBFF) name.pop_back();
  }
  return path.substr(0, start) + name + mark;
}

std::u16string UndoBatchFileName(TDateTime now) {
  return u"undo__" + FormatDateTime(u"yy-mm-dd__hh-nn-ss", now) + u".sh";
}

TfrmUndo::TfrmUndo(TFileSystem& fs, std::u16string appFolder)
    : fs_(fs), appFolder_(std::move(appFolder)) {}

void TfrmUndo::ClearAll() {
  pairs_.clear();
  stored_.clear();
  newNameKeys_.clear();
  keyedPairs_ = 0;
  folders_.clear();
}

void TfrmUndo::Reserve(size_t moves) {
  pairs_.reserve(pairs_.size() + moves);
  stored_.reserve(stored_.size() + moves);
}

TStatus TfrmUndo::CreateFolderPath(const std::u16string& path) {
  return RecordingCreated(path, [&] { return fs_.CreateFolderPath(path); });
}

TStatus TfrmUndo::CreateFolderPathBeneath(const std::u16string& base,
                                          const std::u16string& relative) {
  return RecordingCreated(base + relative,
                          [&] { return fs_.CreateFolderPathBeneath(base, relative); });
}

TStatus TfrmUndo::RecordingCreated(const std::u16string& path,
                                   const std::function<TStatus()>& create) {
  std::vector<std::u16string> missing;  // innermost first
  for (std::u16string folder = path; !folder.empty() && !fs_.Exists(folder);) {
    missing.push_back(folder);
    const size_t slash = folder.rfind(u'/');
    if (slash == std::u16string::npos || slash == 0) break;
    folder.resize(slash);
  }
  const TStatus status = create();
  for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
    if (fs_.DirectoryExists(*folder)) AddCreatedFolder(*folder);
  }
  return status;
}

void TfrmUndo::AddCreatedFolder(std::u16string path) { folders_.push_back(std::move(path)); }

void TfrmUndo::RemoveEmptyCreatedFolders() {
  // Innermost first: a folder made inside another one was recorded after it.
  std::vector<std::u16string> kept;
  for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
    if (!fs_.RemoveEmptyFolder(*folder).ok() && fs_.DirectoryExists(*folder)) {
      kept.push_back(*folder);
    }
  }
  folders_.assign(kept.rbegin(), kept.rend());
}

void TfrmUndo::AddUndo(std::u16string oldName, std::u16string newName) {
  pairs_.push_back({std::move(oldName), std::move(newName)});
  stored_.push_back(false);
}

void TfrmUndo::AddStoredUndo(std::u16string oldName, std::u16string newName) {
  AddUndo(std::move(oldName), std::move(newName));
  stored_.back() = true;
}

bool TfrmUndo::EndsWithTag(std::u16string_view name) const { return EndsWith(name, tempTag_); }

const std::u16string& TfrmUndo::GetUndoOldName(int index) const {
  return pairs_.at(static_cast<size_t>(index)).oldName;
}

const std::u16string& TfrmUndo::GetUndoNewName(int index) const {
  return pairs_.at(static_cast<size_t>(index)).newName;
}

bool TfrmUndo::IsNewName(std::u16string_view name) const {
  for (; keyedPairs_ < pairs_.size(); ++keyedPairs_) {
    newNameKeys_.insert(LowerCase(pairs_[keyedPairs_].newName));
  }
  const std::u16string key = LowerCase(name);
  return newNameKeys_.count(key) != 0 || newNameKeys_.count(key + LowerCase(tempTag_)) != 0;
}

std::vector<TRenamePair> TfrmUndo::MovesToReverse(std::vector<bool>& fromRun) const {
  std::vector<TRenamePair> entries;  // first old name, latest new name
  std::vector<size_t> lastMove;      // index in pairs_ of each entry's latest move
  std::unordered_map<std::u16string, size_t> entryAt;  // temporary name -> entry moved there
  for (size_t i = 0; i < pairs_.size(); ++i) {
    const TRenamePair& pair = pairs_[i];
    size_t entry = entries.size();
    // A move continues an earlier one only through a temporary name of the
    // run (its second phase or put-back); a stored batch holds simultaneous
    // moves, so a swap a->b beside b->a is two entries, not one moving twice,
    // and a stored name that happens to end in the tag continues nothing.
    const auto moved = stored_[i] ? entryAt.end() : entryAt.find(pair.oldName);
    if (moved != entryAt.end()) {
      entry = moved->second;
      entryAt.erase(moved);
      entries[entry].newName = pair.newName;
      lastMove[entry] = i;
    } else {
      entries.push_back(pair);
      lastMove.push_back(i);
    }
    if (!stored_[i] && EndsWithTag(pair.newName)) entryAt[pair.newName] = entry;
  }
  std::vector<size_t> order(entries.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return lastMove[a] > lastMove[b]; });
  std::vector<TRenamePair> moves;
  moves.reserve(entries.size());
  fromRun.clear();
  for (const size_t entry : order) {
    if (entries[entry].oldName == entries[entry].newName) continue;
    moves.push_back(std::move(entries[entry]));
    fromRun.push_back(!stored_[lastMove[entry]]);
  }
  return moves;
}

TUndoResult TfrmUndo::UndoNow(const std::u16string& fileName, TRenameErrorHandler& errors,
                              TProgress* progress) {
  TUndoResult result;
  const bool toFile = !fileName.empty();
  std::string script;
  if (toFile) script = kShellScriptHeader;
  std::vector<bool> fromRun;
  const std::vector<TRenamePair> moves = MovesToReverse(fromRun);
  TReversal reversal(fs_, tempTag_, toFile ? &script : nullptr, errors, progress, moves, fromRun);
  if (progress != nullptr) progress->Started(u"Undoing", 2 * static_cast<int>(moves.size()));
  const auto betweenRounds = [&] {
    if (!toFile) {
      RemoveEmptyCreatedFolders();
      return;
    }
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      script.append("rmdir -- " + ShellQuote(*folder));
      script.append(kLogRedirect);
    }
  };
  reversal.Run(result, betweenRounds,
               [&](const std::u16string& folder) { (void)CreateFolderPath(folder); });
  if (progress != nullptr) progress->Finished();
  if (toFile) {
    const std::u16string path =
        fileName.find(u'/') == std::u16string::npos ? appFolder_ + fileName : fileName;
    result.status = fs_.ReplaceFileAtomically(path, script);
    if (!result.status.ok()) return result;  // the list stays for another attempt
  } else {
    RemoveEmptyCreatedFolders();
    result.foldersLeft = folders_;
  }
  ClearAll();
  return result;
}
