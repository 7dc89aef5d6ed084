#include "rename/UnitUndoRename.h"

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
  }
  return TStatus::Ok();
}

TStatus TUndoRename::Destroy() { return fs_.DeleteFile(MarkerFileName()); }

std::u16string TUndoRename::StateFileName(int index) const {
  std::u16string digits = IntToStr(index);
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), u'0');
  return folder_ + u'/' + digits + u".txt";
}

TStatus TUndoRename::SaveStateToFile(const std::vector<TRenamePair>& pairs) {
  if (pairs.empty()) return TStatus::Ok();
  TStatus status = fs_.ReplaceFileAtomically(StateFileName(nextIndex_), EncodeUndoState(pairs));
  if (status.ok()) ++nextIndex_;
  return status;
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
  std::string bytes;
  TStatus status = fs_.ReadWholeFile(StateFileName(nextIndex_), bytes);
  undo.ClearAll();
  if (!status.ok()) return status;
  TUndoState state = ReadUndoState(bytes);
  for (TRenamePair& pair : state.pairs) {
    undo.AddStoredUndo(std::move(pair.oldName), std::move(pair.newName));
  }
  unreadable_ = std::move(state.unreadable);
  return TStatus::Ok();
}

void TUndoRename::CancelLastLoad() {
  ++nextIndex_;
  loaded_ = -1;
}

TStatus TUndoRename::FinishLastLoad(const std::vector<TRenamePair>& remaining) {
  if (loaded_ < 0) return TStatus::Ok();
  const int index = loaded_;
  loaded_ = -1;
  const TStatus status = KeepOnly(index, remaining, unreadable_);
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
                              const std::vector<TUndoStateLine>& unreadable) {
  const std::u16string file = StateFileName(index);
  if (remaining.empty() && unreadable.empty()) return fs_.DeleteFile(file);
  const TStatus status = fs_.ReplaceFileAtomically(file, EncodeUndoState(remaining, unreadable));
  // The file as it was names entries that are back now; undoing it again
  // would move them away, so it goes rather than stays wrong.
  if (!status.ok()) (void)fs_.DeleteFile(file);
  return status;
}
