#include "rename/UnitRenameCommand.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "model/UnitRenameRecord.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitSplitWork.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "filelist/UnitFileList.h"
#include "rename/UnitRenameWorkspace.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"

namespace {

constexpr int kProgressEvery = 300;
constexpr int kProgressStart = 15;

// The new name lies in a sub-folder of the listed folder.
bool HasFolderPart(const TPlannedRename& entry) {
  return entry.target.find(u'/') != std::u16string::npos;
}

// Undo failures during "Stop and Undo" are collected, never asked about: the
// reversal must go on for every other entry.
class TCollectUndoFailures : public TRenameErrorHandler {
 public:
  explicit TCollectUndoFailures(std::vector<TRenamePair>& failures) : failures_(failures) {}
  TRenameErrorAnswer RenameFailed(const std::u16string& source, const std::u16string& target,
                                  const TStatus&) override {
    failures_.push_back({source, target});
    return TRenameErrorAnswer::Ignore;
  }

 private:
  std::vector<TRenamePair>& failures_;
};

std::u16string TempName(const std::u16string& target) {
  std::u16string temp;
  temp.reserve(target.size() + kTempNameSuffix.size());
  return temp.append(target).append(kTempNameSuffix);
}

// `temp` is `target` followed by the temporary-name suffix.
bool IsTempNameOf(std::u16string_view temp, std::u16string_view target) {
  return temp.size() == target.size() + kTempNameSuffix.size() && temp.starts_with(target) &&
         temp.ends_with(kTempNameSuffix);
}

size_t DiskBytes(std::u16string_view name) { return Utf8Length(name); }

// The longest beginning of `name` that takes at most `budget` bytes on disk,
// never cutting a surrogate pair.
std::u16string PrefixWithin(std::u16string_view name, size_t budget) {
  std::u16string prefix(name);
  while (!prefix.empty() && DiskBytes(prefix) > budget) {
    prefix.pop_back();
    if (!prefix.empty() && prefix.back() >= 0xD800 && prefix.back() <= 0xDBFF) prefix.pop_back();
  }
  return prefix;
}

}  // namespace

TStatus CheckNewNameCharacters(std::u16string_view newName) {
  const size_t bad = newName.find_first_of(kIllegalNameCharacters);
  if (bad == std::u16string_view::npos) return TStatus::Ok();
  return TStatus::Error(EINVAL, std::u16string(newName),
                        u"The new name holds a character that is not allowed: '" +
                            std::u16string(1, newName[bad]) + u"'");
}

TStatus CheckNewNameLength(std::u16string_view name) {
  size_t start = 0;
  while (true) {
    const size_t slash = name.find(u'/', start);
    if (DiskBytes(name.substr(start, slash - start)) > kMaxNameBytes) {
      return TStatus::Error(ENAMETOOLONG, std::u16string(name),
                            u"The new name is longer than the file system allows");
    }
    if (slash == std::u16string_view::npos) return TStatus::Ok();
    start = slash + 1;
  }
}

TStatus CheckNewNameStaysInFolder(std::u16string_view name) {
  if (name.find(u'\0') != std::u16string_view::npos) {
    return TStatus::Error(EINVAL, std::u16string(name), u"A file name cannot hold a NUL character");
  }
  size_t start = 0;
  while (true) {
    const size_t slash = name.find(u'/', start);
    const std::u16string_view part = name.substr(start, slash - start);
    if (part.empty() || part == u"." || part == u"..") {
      return TStatus::Error(EINVAL, std::u16string(name),
                            u"The new name would leave the listed folder");
    }
    if (slash == std::u16string_view::npos) return TStatus::Ok();
    start = slash + 1;
  }
}

TRenameCommand::TRenameCommand(TRenameWorkspace& workspace, TfrmUndo& undo, TUndoRename& store,
                               TRenameErrorHandler& errors)
    : workspace_(workspace), undo_(undo), store_(store), errors_(errors) {}

const std::u16string& TRenameCommand::Base() const {
  // Kept between calls: a run asks for it several times for every entry.
  const std::u16string& folder = workspace_.Entries().ListedFolder();
  const bool slash = !folder.empty() && folder.back() == u'/';
  if (base_.size() != folder.size() + (slash ? 0 : 1) || !base_.starts_with(folder)) {
    base_ = folder;
    if (!slash) base_ += u'/';
  }
  return base_;
}

bool TRenameCommand::EntryExists(const std::u16string& relative) const {
  return folder_ ? folder_->Exists(relative) : workspace_.Files().Exists(Base() + relative);
}

TStatus TRenameCommand::MoveBeneath(const std::u16string& fromRelative,
                                    const std::u16string& toRelative) {
  if (folder_) return folder_->RenameNoReplaceBeneath(fromRelative, toRelative);
  return workspace_.Files().RenameNoReplaceBeneath(Base(), fromRelative, toRelative);
}

std::vector<TEntryIdentity> TRenameCommand::IdentitiesBeneath(
    const std::vector<TPlannedRename>& plan) const {
  if (!folder_) {
    std::vector<TEntryIdentity> ids;
    ids.reserve(plan.size());
    for (const TPlannedRename& entry : plan) {
      ids.push_back(IdentityOf(workspace_.Files(), Base() + entry.source));
    }
    return ids;
  }
  // Only the entries whose listing told no identity are asked for.
  std::vector<TEntryIdentity> ids(plan.size());
  std::vector<size_t> unknown;
  std::vector<std::u16string_view> sources;
  std::vector<int> rows;
  for (size_t i = 0; i < plan.size(); ++i) {
    ids[i] = plan[i].listed;
    if (ids[i].Known()) continue;
    unknown.push_back(i);
    sources.emplace_back(plan[i].source);
    rows.push_back(plan[i].row);
  }
  if (unknown.empty()) return ids;
  const std::vector<TEntryIdentity> read =
      ahead_ ? ahead_->IdentitiesOf(rows, sources) : folder_->EntryIdentities(sources);
  for (size_t k = 0; k < unknown.size(); ++k) ids[unknown[k]] = read[k];
  return ids;
}

const std::u16string& TRenameCommand::AlternativeOf(const TPlannedRename& entry) const {
  // The list stays as it was planned from until the run has ended.
  static const std::u16string kNone;
  const TFileListData* data = workspace_.Entries().GetFileData(entry.row);
  return data != nullptr && data->caption == entry.source ? data->GetAltName() : kNone;
}

std::vector<TPlannedRename> TRenameCommand::PlanRenames() const {
  std::vector<TPlannedRename> plan;
  const TFrmDummyShowPreview& list = workspace_.Entries();
  plan.reserve(static_cast<size_t>(std::max(0, list.GetCheckedCount())));
  bool anyFolderPart = false;  // found while each new name is at hand
  // The listing's identities are taken while each row is at hand; they are
  // the journal's only when the folder stays open for the run.
  const bool listed = folder_ && list.HasListedIdentities();
  for (int row = 0; row < list.Count(); ++row) {
    list.FetchAhead(row);
    const TFileListData& data = *list.GetFileData(row);
    if (!data.Checked()) continue;
    std::u16string target = list.GetFullNewName(row);
    if (data.GetNewName().empty() || target == data.caption) continue;
    TPlannedRename entry;
    entry.row = row;
    entry.source = data.caption;
    if (listed) entry.listed = list.ListedIdentity(row);
    entry.refused = CheckNewNameStaysInFolder(target);
    if (entry.refused.ok()) entry.refused = CheckNewNameLength(target);
    const TTagData* tag = list.GetTagData(row);
    if (entry.refused.ok() && tag != nullptr && tag->IsIllegalNewname) {
      entry.refused = CheckNewNameCharacters(data.GetNewName());
      if (entry.refused.ok()) {
        entry.refused = TStatus::Error(EINVAL, target, u"The new name is not allowed");
      }
    }
    entry.temp = TempName(target);
    entry.target = std::move(target);
    anyFolderPart = anyFolderPart || HasFolderPart(entry);
    plan.push_back(std::move(entry));
  }
  // A new name inside a folder that the run renames would go wherever that
  // folder goes, and leave its entry under no name the run knows of. (Letter
  // case aside, as a file system that ignores it would take it.)
  // Most runs move nothing into a sub-folder: then there is nothing to check.
  if (!anyFolderPart) {
    ShortenTemporaryNames(plan);
    return plan;
  }
  std::unordered_set<std::u16string> sources;
  for (const TPlannedRename& entry : plan) sources.insert(AsciiLowerCase(entry.source));
  for (TPlannedRename& entry : plan) {
    if (!entry.refused.ok()) continue;
    const std::u16string target = AsciiLowerCase(entry.target);
    for (size_t slash = target.find(u'/'); slash != std::u16string::npos;
         slash = target.find(u'/', slash + 1)) {
      if (sources.count(target.substr(0, slash)) == 0) continue;
      entry.refused = TStatus::Error(EINVAL, entry.target,
                                     u"The new name lies in " + entry.target.substr(0, slash) +
                                         u", which this run renames too");
      break;
    }
  }
  ShortenTemporaryNames(plan);
  return plan;
}

void TRenameCommand::ShortenTemporaryNames(std::vector<TPlannedRename>& plan) const {
  const auto tooLong = [](const TPlannedRename& entry) {
    // No code unit takes more than three bytes on disk: most names are
    // told short without reading them.
    if (entry.temp.size() * 3 <= kMaxNameBytes || !entry.refused.ok()) return false;
    const size_t slash = entry.temp.rfind(u'/');
    return DiskBytes(std::u16string_view(entry.temp).substr(slash + 1)) > kMaxNameBytes;
  };
  if (std::none_of(plan.begin(), plan.end(), tooLong)) return;
  std::unordered_set<std::u16string> taken;  // every name of the plan, ASCII letters lowered
  for (const TPlannedRename& entry : plan) {
    taken.insert(AsciiLowerCase(entry.source));
    taken.insert(AsciiLowerCase(entry.target));
    taken.insert(AsciiLowerCase(entry.temp));
  }
  const std::u16string base = Base();
  const std::u16string suffix(kTempNameSuffix);
  int number = 0;
  for (TPlannedRename& entry : plan) {
    if (!tooLong(entry)) continue;
    const size_t slash = entry.target.rfind(u'/');
    const std::u16string folder =
        slash == std::u16string::npos ? u"" : entry.target.substr(0, slash + 1);
    const std::u16string_view last = std::u16string_view(entry.target).substr(folder.size());
    while (true) {
      const std::u16string tail = u"~" + IntToStr(++number) + suffix;
      const std::u16string temp =
          folder + PrefixWithin(last, kMaxNameBytes - DiskBytes(tail)) + tail;
      if (taken.count(AsciiLowerCase(temp)) != 0 || workspace_.Files().Exists(base + temp)) {
        continue;
      }
      taken.insert(AsciiLowerCase(temp));
      entry.temp = temp;
      break;
    }
  }
}

TStatus TRenameCommand::TryMove(const std::u16string& source, const std::u16string& target,
                                const std::u16string& alternative,
                                const std::u16string*& movedFrom) {
  movedFrom = &source;
  TStatus status;
  while (true) {
    const size_t slash = target.rfind(u'/');
    if (slash != std::u16string::npos) {
      (void)undo_.CreateFolderPathBeneath(Base(), target.substr(0, slash));
    }
    // Beneath: a folder part that is a symbolic link never takes the entry
    // out of the listed folder.
    status = MoveBeneath(*movedFrom, target);
    state.ErrorIOResult = status.code();
    if (status.ok() || alternative.empty() || alternative == *movedFrom) break;
    movedFrom = &alternative;  // reaches an entry through its short name
  }
  state.ErrorSrcFile = *movedFrom;
  state.ErrorTargetFile = target;
  return status;
}

bool TRenameCommand::RenameOne(const std::u16string& source, const std::u16string& target,
                               const std::u16string& alternative, bool noUndo) {
  const std::u16string* from = nullptr;
  const TStatus status = TryMove(source, target, alternative, from);
  if (!status.ok()) {
    Failed(*from, target, status);
    return false;
  }
  if (!noUndo) undo_.AddUndo(Base() + *from, Base() + target);
  return true;
}

bool TRenameCommand::MoveEntry(const std::vector<TPlannedRename>& plan, size_t index,
                               const std::u16string& from, const std::u16string& to,
                               bool noUndo) {
  static const std::u16string kNoAlternative;
  const TPlannedRename& entry = plan[index];
  const std::u16string* movedFrom = nullptr;
  TStatus status = TryMove(from, to, kNoAlternative, movedFrom);
  if (!status.ok() && from == entry.source) {
    // Looked up only now: most moves never need it.
    const std::u16string& alternative = AlternativeOf(entry);
    if (!alternative.empty() && alternative != from) {
      status = TryMove(alternative, to, kNoAlternative, movedFrom);
    }
  }
  if (!status.ok()) {
    Failed(entry.source, entry.target, Explain(plan, index, status));
    return false;
  }
  if (!noUndo) undo_.AddUndo(Base() + *movedFrom, Base() + to);
  return true;
}

TStatus TRenameCommand::Explain(const std::vector<TPlannedRename>& plan, size_t index,
                                const TStatus& status) const {
  const TPlannedRename& entry = plan[index];
  if (status.code() != EEXIST && status.code() != ENOTEMPTY) {
    return TStatus::Error(status.code(), entry.target, status.reason());
  }
  // Built on the first clash only: most runs never need it.
  if (targetOwners_.empty()) {
    targetOwners_.reserve(plan.size());
    for (size_t i = 0; i < plan.size(); ++i) targetOwners_.emplace(AsciiLowerCase(plan[i].target), i);
  }
  const auto [first, last] = targetOwners_.equal_range(AsciiLowerCase(entry.target));
  for (auto owner = first; owner != last; ++owner) {
    if (owner->second == index) continue;
    return TStatus::Error(status.code(), entry.target,
                          entry.target + u" is also the new name of " + plan[owner->second].source);
  }
  return TStatus::Error(status.code(), entry.target, entry.target + u" already exists");
}

void TRenameCommand::Failed(const std::u16string& source, const std::u16string& target,
                            const TStatus& status) {
  if (!state.ErrorOccured) {
    state.FirstErrorSrcFile = source;
    state.FirstErrorTargetFile = target;
    state.FirstError = status;
  }
  state.ErrorOccured = true;
  failures_.push_back({source, target, status});
  if (state.BatchUndo) {
    state.StopRenaming = true;
    state.ExitCode = 1;
  }
  if (state.BatchIgnore) state.SkipErrors = true;
  if (state.StopRenaming || state.SkipErrors) return;
  if (errors_.RenameFailed(source, target, status) == TRenameErrorAnswer::Ignore) {
    state.SkipErrors = true;
  } else {
    StopAndUndo();
  }
}

void TRenameCommand::StopAndUndo() {
  TCollectUndoFailures failures(undoFailures_);
  const TUndoResult undone = undo_.UndoNow(u"", failures);
  notBack_.insert(notBack_.end(), undone.notBack.begin(), undone.notBack.end());
  state.StopRenaming = true;
}

void TRenameCommand::Report(TProgress& progress, int row, int base) const {
  const int entries = workspace_.Entries().Count();
  if (entries <= 1 || row % kProgressEvery != 0 || row == 0) return;
  const int half = static_cast<int>(std::lround(row * 100.0 / (entries - 1))) / 2;
  const int position = base == 0 ? std::max(1, half) : base + half;
  progress.Advanced(position);
  progress.Message(u"Renaming ... %" + IntToStr(position));
}

bool TRenameCommand::Interrupted(TProgress& progress, TRenameResult& result) const {
  if (!progress.Cancelled()) return false;
  result.interrupted = true;
  return true;
}

void TRenameCommand::RunPhase1(const std::vector<TPlannedRename>& plan, TProgress& progress,
                               std::vector<TPlannedState>& where, TRenameResult& result) {
  where.assign(plan.size(), TPlannedState::Waiting);
  for (size_t i = 0; i < plan.size(); ++i) {
    if (state.StopRenaming) break;
    if (Interrupted(progress, result)) {
      // Skipping failures: the parked entries still go on in phase 2.
      if (!state.BatchIgnore) state.StopRenaming = true;
      break;
    }
    const TPlannedRename& entry = plan[i];
    if (!entry.refused.ok()) {
      state.ErrorSrcFile = entry.source;
      state.ErrorTargetFile = entry.target;
      Failed(entry.source, entry.target, entry.refused);
    } else if (entry.temp == entry.source) {
      where[i] = TPlannedState::Parked;  // its old name is its temporary name
    } else if (MoveEntry(plan, i, entry.source, entry.temp, false)) {
      where[i] = TPlannedState::Parked;
    }
    Report(progress, entry.row, 0);
  }
}

namespace {

// True when `name` ends in the temporary-name suffix, letter case aside, as
// every temporary name does.
bool EndsLikeTemporaryName(const std::u16string& name) {
  const std::u16string_view suffix(kTempNameSuffix);
  return name.size() >= suffix.size() &&
         SameAsciiTextIgnoringCase(std::u16string_view(name).substr(name.size() - suffix.size()),
                                   suffix);
}

// FNV-1a over `name` with ASCII letters lowered.
uint64_t LoweredNameHash(std::u16string_view name) {
  uint64_t hash = 14695981039346656037ULL;
  for (char16_t c : name) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    hash = (hash ^ c) * 1099511628211ULL;
  }
  return hash;
}

bool IsAscii(std::u16string_view name) {
  return std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; });
}

// The parked entries (highest first) whose new name is checked before phase
// 2. One whose new name is taken fails in phase 2 and goes back to its old
// name then just as well, unless another entry may take that old name first:
// only an entry whose old name is another's new name (letter case aside; a
// shared hash is enough) needs the check. Every one is checked when a new
// name lies in a folder, which the run may make, and when a name is not all
// ASCII: a file system that ignores case may also fold other letters, or
// take two spellings of one accented letter for one.
std::vector<size_t> EntriesToCheck(const std::vector<TPlannedRename>& plan,
                                   const std::vector<size_t>& parked) {
  const auto checkAll = [&](size_t i) {
    return HasFolderPart(plan[i]) || !IsAscii(plan[i].source) || !IsAscii(plan[i].target);
  };
  if (std::any_of(parked.begin(), parked.end(), checkAll)) return parked;
  std::vector<uint64_t> targets;
  targets.reserve(parked.size());
  for (const size_t i : parked) targets.push_back(LoweredNameHash(plan[i].target));
  std::sort(targets.begin(), targets.end());
  std::vector<size_t> check;
  for (const size_t i : parked) {
    if (std::binary_search(targets.begin(), targets.end(), LoweredNameHash(plan[i].source))) {
      check.push_back(i);
    }
  }
  return check;
}

}  // namespace

void TRenameCommand::ReturnBlocked(const std::vector<TPlannedRename>& plan,
                                   std::vector<TPlannedState>& where) {
  std::vector<size_t> parked;  // highest first
  for (size_t i = plan.size(); i-- > 0;) {
    if (where[i] == TPlannedState::Parked) parked.push_back(i);
  }
  // A new name that is another parked entry's temporary name is freed in
  // phase 2 when that entry moves on: left to phase 2. Only a new name that
  // ends like one can be one.
  std::unordered_set<std::u16string> temporary;
  const bool mayBeTemporary = std::any_of(parked.begin(), parked.end(), [&](size_t i) {
    return EndsLikeTemporaryName(plan[i].target);
  });
  if (mayBeTemporary) {
    for (const size_t i : parked) temporary.insert(AsciiLowerCase(plan[i].temp));
  }
  // Parked entries by new name, letter case aside: on a file system that
  // ignores case an old name also takes the new name in another case. Made
  // at the first blocked entry, from the entries parked at the start.
  std::unordered_multimap<std::u16string, size_t> byTarget;
  const auto pushTakers = [&](const std::u16string& source, std::vector<size_t>& work) {
    if (byTarget.empty()) {
      for (const size_t i : parked) byTarget.emplace(AsciiLowerCase(plan[i].target), i);
    }
    const auto [first, last] = byTarget.equal_range(AsciiLowerCase(source));
    for (auto other = first; other != last; ++other) work.push_back(other->second);
  };
  std::vector<size_t> work = EntriesToCheck(plan, parked);
  while (!work.empty() && !state.StopRenaming) {
    const size_t i = work.back();
    work.pop_back();
    const TPlannedRename& entry = plan[i];
    if (where[i] != TPlannedState::Parked ||
        (mayBeTemporary && temporary.count(AsciiLowerCase(entry.target)) != 0) ||
        !EntryExists(entry.target)) {
      continue;
    }
    state.ErrorSrcFile = entry.source;
    state.ErrorTargetFile = entry.target;
    Failed(entry.source, entry.target,
           Explain(plan, i, TStatus::Error(EEXIST, Base() + entry.target, u"File exists")));
    if (state.StopRenaming) break;  // the whole run is reversed
    Unpark(entry, where[i]);
    if (where[i] == TPlannedState::Parked) {
      // Its old name is a folder made for parked entries whose new names lie
      // in it: they give way, so that it is not left under its temporary name.
      const std::u16string inside = AsciiLowerCase(entry.source) + u"/";
      for (size_t j = 0; j < plan.size() && !state.StopRenaming; ++j) {
        if (where[j] != TPlannedState::Parked ||
            !AsciiLowerCase(plan[j].target).starts_with(inside)) {
          continue;
        }
        Failed(plan[j].source, plan[j].target,
               TStatus::Error(EBUSY, plan[j].target,
                              u"its folder " + entry.source +
                                  u" is the old name of an entry that cannot be renamed"));
        Unpark(plan[j], where[j]);
        if (where[j] == TPlannedState::Waiting) pushTakers(plan[j].source, work);
      }
      if (state.StopRenaming) break;
      Unpark(entry, where[i]);
    }
    if (where[i] == TPlannedState::Waiting) pushTakers(entry.source, work);
  }
}

void TRenameCommand::RunPhase2(const std::vector<TPlannedRename>& plan,
                               std::vector<TPlannedState>& where, TProgress& progress,
                               TRenameResult& result) {
  ReturnBlocked(plan, where);
  for (size_t i = 0; i < plan.size(); ++i) {
    if (state.StopRenaming) break;
    if (!state.BatchIgnore && Interrupted(progress, result)) {
      StopAndUndo();
      break;
    }
    const TPlannedRename& entry = plan[i];
    if (where[i] == TPlannedState::Parked) {
      // An entry parked without a move has no phase-1 record: this move is it.
      // A shortened temporary name is not the new name + the tag, so the undo
      // list could not find the entry from it: this move is recorded too.
      const bool recorded = entry.temp != entry.source && IsTempNameOf(entry.temp, entry.target);
      if (MoveEntry(plan, i, entry.temp, entry.target, recorded)) {
        where[i] = TPlannedState::Done;
        ++result.renamed;
      } else if (!state.StopRenaming) {
        Unpark(entry, where[i]);
      }
    }
    Report(progress, entry.row, 50);
  }
}

void TRenameCommand::Unpark(const TPlannedRename& entry, TPlannedState& where) {
  const std::u16string& temp = entry.temp;
  if (temp == entry.source) {
    where = TPlannedState::Waiting;
    return;
  }
  const std::u16string base = Base();
  if (!EntryExists(temp)) return;
  TStatus moved = MoveBeneath(temp, entry.source);
  if (!moved.ok()) {
    // A folder made for another entry that did not stay in it may stand there.
    undo_.RemoveEmptyCreatedFolders();
    moved = MoveBeneath(temp, entry.source);
  }
  if (moved.ok()) {
    undo_.AddUndo(base + temp, base + entry.source);
    where = TPlannedState::Waiting;
  } else {
    undoFailures_.push_back({base + temp, base + entry.source});
  }
}

// After a stop in phase 1: every entry phase 1 moved goes back to its name.
void TRenameCommand::PutBack(const std::vector<TPlannedRename>& plan,
                             std::vector<TPlannedState>& where) {
  state.StopRenaming = false;
  undo_.RemoveEmptyCreatedFolders();  // one may stand where an entry returns
  const std::u16string base = Base();
  for (size_t i = 0; i < plan.size(); ++i) {
    if (where[i] != TPlannedState::Parked) continue;
    const std::u16string& temp = plan[i].temp;
    if (temp == plan[i].source) {
      where[i] = TPlannedState::Waiting;
    } else if (EntryExists(temp) &&
               RenameOne(temp, plan[i].source, AlternativeOf(plan[i]), false)) {
      where[i] = TPlannedState::Waiting;
    }
  }
}

std::string TRenameCommand::EncodedJournalOf(const std::vector<TPlannedRename>& plan) const {
  const TJournal head = JournalHeadOf(plan);
  const std::vector<TEntryIdentity> ids = IdentitiesBeneath(plan);
  // The entries are read straight from the plan: copying a hundred thousand
  // of them first would keep the run from its first move for longer.
  return EncodeJournal(head, plan.size(),
                       [&plan, &ids](size_t i, TJournalEntryView& entry, std::u16string& scratch) {
                         const TPlannedRename& planned = plan[i];
                         entry.id = ids[i];
                         entry.home = planned.source;
                         // The last name: where a reversal inside the run parks the entry.
                         scratch = UndoParkingName(planned.source, kTempNameSuffix);
                         // The new name first: the temporary name refers to it.
                         entry.places = {planned.target, planned.temp, scratch};
                       });
}

TJournal TRenameCommand::JournalHeadOf(const std::vector<TPlannedRename>& plan) const {
  TJournal journal;
  journal.kind = u"rename";
  journal.stateFile = store_.StateFileName(store_.NextIndex());
  const std::u16string& base = Base();
  journal.base = base;  // the names below are relative to it
  // Every folder of a new name that the run may make: one that is no folder
  // yet (missing, or a file the run may move away), or one that an entry of
  // the run is, or lies in, which moves away and leaves the name free.
  if (std::none_of(plan.begin(), plan.end(), HasFolderPart)) return journal;
  std::unordered_set<std::u16string> sources;
  for (const TPlannedRename& entry : plan) sources.insert(entry.source);
  std::unordered_set<std::u16string> seen;
  for (const TPlannedRename& entry : plan) {
    std::vector<std::u16string> chain;  // the folders of the new name, innermost first
    for (size_t slash = entry.target.rfind(u'/'); slash != std::u16string::npos && slash > 0;
         slash = entry.target.rfind(u'/', slash - 1)) {
      chain.push_back(entry.target.substr(0, slash));
    }
    size_t moving = 0;  // chain[i] for i < moving is, or lies in, an entry of the run
    for (size_t i = 0; i < chain.size(); ++i) {
      if (sources.count(chain[i]) != 0) moving = i + 1;
    }
    std::vector<std::u16string> made;
    for (size_t i = 0; i < chain.size(); ++i) {
      if (i >= moving && workspace_.Files().DirectoryExists(base + chain[i])) break;
      if (seen.insert(chain[i]).second) made.push_back(chain[i]);
    }
    journal.folders.insert(journal.folders.end(), made.rbegin(), made.rend());
  }
  return journal;
}

namespace {

// The moves a run stores, under full names: every entry renamed, and one that
// could be moved neither on nor back where it is, so that undo still finds
// it.
std::vector<TRenamePair> StoredMoves(const std::vector<TPlannedRename>& plan,
                                     const std::vector<TPlannedState>& where,
                                     const std::u16string& base) {
  std::vector<TRenamePair> pairs;
  pairs.reserve(plan.size());
  for (size_t i = 0; i < plan.size(); ++i) {
    const TPlannedState state = where[i];
    if (state == TPlannedState::Done) {
      pairs.push_back({base + plan[i].source, base + plan[i].target});
    } else if (state == TPlannedState::Parked && plan[i].temp != plan[i].source) {
      pairs.push_back({base + plan[i].source, base + plan[i].temp});
    }
  }
  return pairs;
}

}  // namespace

void TRenameCommand::StoreBatch(const std::vector<TPlannedRename>& plan,
                                const std::vector<TPlannedState>& where, TWorkBeside& encoding,
                                const TEncodedBatch& planned, TPreparedBatch& prepared,
                                TRenameResult& result) {
  const bool asPlanned =
      undo_.CreatedFolders().empty() &&
      std::all_of(where.begin(), where.end(), [](TPlannedState s) { return s == TPlannedState::Done; });
  if (asPlanned) {
    encoding.Finish();
    result.storeStatus = store_.CommitPreparedState(prepared, planned);
  } else {
    encoding.Abandon();
    result.storeStatus =
        store_.SaveStateToFile(StoredMoves(plan, where, Base()), undo_.CreatedFolders());
  }
  if (store_.HasState()) result.undoEnabled = true;
}

void TRenameCommand::RefreshAndRecheck(TProgress& progress, const std::vector<TPlannedRename>& plan,
                                       const std::vector<TPlannedState>& where) {
  const bool recursive = state.UseRecursiveOnce;
  state.UseRecursiveOnce = false;
  workspace_.Refresh(progress, recursive);
  if (undo_.UndoCount() == 0) return;
  // Where the run left the entries it moved. The undo list's new names would
  // also take in the entries put back after a failure and an entry of the
  // folder that holds the new name a failed entry was parked for.
  std::unordered_set<std::u16string> moved;
  for (size_t i = 0; i < plan.size() && i < where.size(); ++i) {
    if (where[i] == TPlannedState::Done) moved.insert(plan[i].target);
    if (where[i] == TPlannedState::Parked && plan[i].temp != plan[i].source) {
      moved.insert(plan[i].temp);
    }
  }
  TFrmDummyShowPreview& list = workspace_.Entries();
  for (int row = 0; row < list.Count(); ++row) {
    list.SetChecked(row, moved.count(list.GetFileData(row)->caption) != 0);
  }
}

TRenameResult TRenameCommand::btnRenameClick(TProgress& progress,
                                             const std::function<bool()>& askShowRecursiveAgain) {
  TRenameResult result;
  // The listed folder stays open while the run lasts: no check or move has
  // to find it by its path again. The identities the journal needs are read
  // beside the preview and the plan, which ask the folder nothing.
  folder_ = workspace_.Files().OpenFolderHandle(Base());
  ahead_ = std::make_unique<TIdentityReadAhead>(*folder_, workspace_.Entries());
  const TPreviewResult preview = workspace_.Preview(progress);
  if (!preview.ran) {
    ahead_.reset();
    folder_.reset();
    return result;
  }
  result.ran = true;
  undo_.ClearAll();
  undo_.SetTempTag(std::u16string(kTempNameSuffix));
  undoFailures_.clear();
  notBack_.clear();
  failures_.clear();
  state.StartRun();

  std::vector<TPlannedRename> plan = PlanRenames();
  result.planned = static_cast<int>(plan.size());
  undo_.Reserve(plan.size());
  progress.Started(u"Renaming ...", 100);
  progress.Advanced(kProgressStart);
  progress.Message(u"Renaming ...");
  std::vector<TPlannedState> where;
  targetOwners_.clear();
  TRenameJournal journal(workspace_.Files(), store_.Folder() + u"/");
  if (!plan.empty()) result.journalStatus = journal.WriteEncoded(EncodedJournalOf(plan));
  ahead_.reset();
  if (!result.journalStatus.ok()) {
    folder_.reset();
    progress.Finished();
    result.stopped = true;
    result.plan = std::move(plan);
    result.where.assign(result.plan.size(), TPlannedState::Waiting);
    return result;
  }
  // The undo record of a run that renames every entry is encoded and written
  // beside the moves, which keep the caller's thread in the kernel; after
  // the last move it only has to be put in place.
  TEncodedBatch planned;
  TPreparedBatch prepared;
  TWorkBeside encoding([this, &plan, &planned, &prepared, base = Base(),
                        index = store_.NextIndex()] {
    // Every entry as renamed, one pair at a time.
    const auto renamed = [&plan, &base](size_t i, TRenamePair& pair) {
      pair.oldName.assign(base).append(plan[i].source);
      pair.newName.assign(base).append(plan[i].target);
    };
    planned = EncodeBatch(plan.size(), renamed, {});
    prepared = store_.PrepareState(index, planned);
  });
  RunPhase1(plan, progress, where, result);
  const bool stoppedInPhase1 = state.StopRenaming;
  if (!stoppedInPhase1) RunPhase2(plan, where, progress, result);
  result.stopped = state.StopRenaming;
  if (stoppedInPhase1) PutBack(plan, where);
  // Undoing everything on a failure happens here, inside the run, so that
  // the whole reversal is part of it.
  if (result.stopped && state.BatchUndo && undo_.UndoCount() > 0) StopAndUndo();
  progress.Message(u"");
  progress.Finished();

  result.undoEnabled = !result.stopped;
  const bool batch = state.BatchUndo || state.BatchIgnore;
  if (state.CurrentFileListIsRecursive && !batch && askShowRecursiveAgain &&
      askShowRecursiveAgain()) {
    state.UseRecursiveOnce = true;
  }
  state.CurrentFileListIsRecursive = false;
  // A folder made for an entry that did not stay in it goes again.
  undo_.RemoveEmptyCreatedFolders();
  // What was renamed stays undoable, also when some entries failed; a
  // stopped run was reversed and leaves nothing to store.
  if (!result.stopped) StoreBatch(plan, where, encoding, planned, prepared, result);
  encoding.Abandon();  // the plan moves to the result below
  prepared = TPreparedBatch();  // what was not stored is removed
  // The run has ended and what it did is stored: nothing is left to recover.
  // Unless nothing is stored and entries are left where only the journal
  // finds them (under temporary names, or not back after a reversal): then
  // it stays, and recovery puts every entry of the run back.
  bool leftOver = !notBack_.empty() || !undoFailures_.empty();
  for (size_t i = 0; i < plan.size() && !leftOver; ++i) {
    leftOver = where[i] == TPlannedState::Parked && plan[i].temp != plan[i].source;
  }
  result.journalKept = leftOver && (result.stopped || !result.storeStatus.ok());
  if (!plan.empty() && !result.journalKept) (void)journal.Remove();
  folder_.reset();
  // A batch run ends the program: nobody would see the list again.
  if (!batch) RefreshAndRecheck(progress, plan, where);
  result.plan = std::move(plan);
  result.where = std::move(where);
  result.undoFailures = std::move(undoFailures_);
  result.notBack = std::move(notBack_);
  result.failures = std::move(failures_);
  undoFailures_.clear();
  failures_.clear();
  return result;
}
