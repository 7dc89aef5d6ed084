#include "rename/UnitUndoRename.h"

#include <algorithm>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoStateFile.h"

TUndoRename::TUndoRename(TFileSystem& fs, const std::u16string& appFolder)
    : fs_(fs), folder_(appFolder + u"undo") {}

TStatus TUndoRename::Create() {
  nextIndex_ = 0;
  TStatus status = fs_.CreateFolderPath(folder_);
  if (!status.ok()) return status;
  // The marker first: a store that cannot be written keeps its batches, so
  // a run refused for it leaves the last batch undoable.
  status = fs_.WriteWholeFile(MarkerFileName(), std::string());
  if (!status.ok()) return status;
  for (int index = 0; fs_.Exists(StateFileName(index)); ++index) {
    status = fs_.DeleteFile(StateFileName(index));
    if (!status.ok()) return status;
    (void)fs_.DeleteFile(ExtraFileName(index));
  }
  return TStatus::Ok();
}

TStatus TUndoRename::Destroy() { return fs_.DeleteFile(MarkerFileName()); }

std::u16string TUndoRename::StateFileName(int index) const {
  std::u16string digits = IntToStr(index);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), u'0');
  return folder_ + u'/' + digits + u".txt";
}

std::u16string TUndoRename::ExtraFileName(int index) const {
  std::u16string name = StateFileName(index);
  return name.insert(name.size() - 4, u"-extra");
}

std::vector<TUndoStateLine> TStoredBatch::KeptLines() const {
  std::vector<TUndoStateLine> lines = state.unreadable;
  lines.insert(lines.end(), state.unchecked.begin(), state.unchecked.end());
  std::stable_sort(
      lines.begin(), lines.end(),
      [](const TUndoStateLine& a, const TUndoStateLine& b) { return a.number < b.number; });
  return lines;
}

void TUndoRename::WriteExtra(int index, const std::vector<TRenamePair>& pairs,
                             const std::vector<std::u16string>& folders,
                             const std::vector<uint64_t>& missing) {
  (void)fs_.ReplaceFileAtomically(ExtraFileName(index), EncodeUndoExtra(pairs, folders, missing));
}

TStatus TUndoRename::SaveStateToFile(const std::vector<TRenamePair>& pairs,
                                     const std::vector<std::u16string>& folders) {
  if (pairs.empty()) return TStatus::Ok();
  return SaveEncodedState(EncodeBatch(pairs, folders));
}

TStatus TUndoRename::SaveEncodedState(const TEncodedBatch& batch) {
  if (batch.moves == 0) return TStatus::Ok();
  // An extra file of an earlier batch under this number vouches for nothing here.
  (void)fs_.DeleteFile(ExtraFileName(nextIndex_));
  TStatus status = fs_.ReplaceFileAtomically(StateFileName(nextIndex_), batch.state);
  if (!status.ok()) return status;
  (void)fs_.ReplaceFileAtomically(ExtraFileName(nextIndex_), batch.extra);
  ++nextIndex_;
  return status;
}

TPreparedBatch::TPreparedBatch() = default;
TPreparedBatch::~TPreparedBatch() = default;
TPreparedBatch::TPreparedBatch(TPreparedBatch&&) noexcept = default;
TPreparedBatch& TPreparedBatch::operator=(TPreparedBatch&&) noexcept = default;

TPreparedBatch TUndoRename::PrepareState(int index, const TEncodedBatch& batch) const {
  TPreparedBatch prepared;
  if (batch.moves == 0) return prepared;
  prepared.index = index;
  prepared.state = fs_.PrepareReplacement(StateFileName(index), batch.state);
  prepared.extra = fs_.PrepareReplacement(ExtraFileName(index), batch.extra);
  return prepared;
}

TStatus TUndoRename::CommitPreparedState(TPreparedBatch& prepared, const TEncodedBatch& batch) {
  if (batch.moves == 0) return TStatus::Ok();
  const bool usable = prepared.index == nextIndex_ && prepared.state && prepared.extra &&
                      prepared.state->Prepared().ok();
  if (!usable) {
    prepared = TPreparedBatch();
    return SaveEncodedState(batch);
  }
  prepared.index = -1;
  (void)fs_.DeleteFile(ExtraFileName(nextIndex_));
  const TStatus status = prepared.state->Commit();
  if (!status.ok()) return status;
  (void)prepared.extra->Commit();
  ++nextIndex_;
  return status;
}

TStatus TUndoRename::ReadState(int index, TStoredBatch& batch) const {
  batch = TStoredBatch();
  std::string bytes;
  TStatus status = fs_.ReadWholeFile(StateFileName(index), bytes);
  if (!status.ok()) return status;
  batch.state = ReadUndoState(bytes);
  const std::u16string extraFile = ExtraFileName(index);
  if (!fs_.Exists(extraFile)) return TStatus::Ok();  // stored by a program that writes none
  TUndoExtra extra;
  const TStatus read = fs_.ReadWholeFile(extraFile, bytes);
  if (!read.ok()) {
    batch.extraProblem = read.Message();
  } else if (!DecodeUndoExtra(bytes, extra)) {
    batch.extraProblem = extraFile + u" is damaged";
    extra = TUndoExtra();
  }
  CheckUndoState(batch.state, extra);
  batch.folders = std::move(extra.folders);
  return TStatus::Ok();
}

TStatus TUndoRename::SaveSingleRenameToFile(const std::u16string& oldName,
                                            const std::u16string& newName) {
  return SaveStateToFile({{oldName, newName}});
}

TStatus TUndoRename::LoadLastState(TfrmUndo& undo) {
  if (nextIndex_ <= 0) return TStatus::Ok();
  --nextIndex_;
  loaded_ = nextIndex_;
  unreadable_.clear();
  TStoredBatch batch;
  TStatus status = ReadState(nextIndex_, batch);
  undo.ClearAll();
  if (!status.ok()) return status;
  for (TRenamePair& pair : batch.state.pairs) {
    undo.AddStoredUndo(std::move(pair.oldName), std::move(pair.newName));
  }
  for (std::u16string& folder : batch.folders) undo.AddCreatedFolder(std::move(folder));
  unreadable_ = batch.KeptLines();
  missing_ = batch.state.missing;
  for (size_t i = 0; i < missing_.size(); ++i) {
    unreadable_.push_back({0, u"(a move stored with the batch is missing from its file)"});
  }
  return TStatus::Ok();
}

void TUndoRename::CancelLastLoad() {
  ++nextIndex_;
  loaded_ = -1;
}

TStatus TUndoRename::FinishLastLoad(const std::vector<TRenamePair>& remaining,
                                    const std::vector<std::u16string>& folders) {
  if (loaded_ < 0) return TStatus::Ok();
  const int index = loaded_;
  loaded_ = -1;
  std::vector<TUndoStateLine> lines;
  for (const TUndoStateLine& line : unreadable_) {
    if (line.number != 0) lines.push_back(line);
  }
  const TStatus status = KeepOnly(index, remaining, lines, folders, missing_);
  const bool kept = !remaining.empty() || !unreadable_.empty();
  if (status.ok() && kept && nextIndex_ == index) ++nextIndex_;
  return status;
}

int TUndoRename::CountStateFiles() const {
  int count = 0;
  while (fs_.Exists(StateFileName(count))) ++count;
  return count;
}

TStatus TUndoRename::KeepOnly(int index, const std::vector<TRenamePair>& remaining,
                              const std::vector<TUndoStateLine>& unreadable,
                              const std::vector<std::u16string>& folders,
                              const std::vector<uint64_t>& missing) {
  const std::u16string file = StateFileName(index);
  if (remaining.empty() && unreadable.empty()) {
    (void)fs_.DeleteFile(ExtraFileName(index));
    return fs_.DeleteFile(file);
  }
  const TStatus status = Rewrite(index, remaining, unreadable, folders, missing);
  if (status.ok()) return status;
  // The file as it was names entries that are back now; undoing it again
  // would move them away, so it goes rather than stays wrong.
  (void)fs_.DeleteFile(file);
  (void)fs_.DeleteFile(ExtraFileName(index));
  return status;
}

TStatus TUndoRename::Rewrite(int index, const std::vector<TRenamePair>& remaining,
                             const std::vector<TUndoStateLine>& unreadable,
                             const std::vector<std::u16string>& folders,
                             const std::vector<uint64_t>& missing) {
  const TStatus status =
      fs_.ReplaceFileAtomically(StateFileName(index), EncodeUndoState(remaining, unreadable));
  if (status.ok()) WriteExtra(index, remaining, folders, missing);
  return status;
}
