#include "rename/UnitRenameCommand.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "model/UnitRenameRecord.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "filelist/UnitFileList.h"
#include "rename/UnitRenameWorkspace.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"

namespace {

constexpr int kProgressEvery = 300;
constexpr int kProgressStart = 15;

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
  return target + std::u16string(kTempNameSuffix);
}

}  // namespace

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

std::u16string TRenameCommand::Base() const {
  std::u16string base = workspace_.Entries().ListedFolder();
  if (base.empty() || base.back() != u'/') base += u'/';
  return base;
}

std::vector<TPlannedRename> TRenameCommand::PlanRenames() const {
  std::vector<TPlannedRename> plan;
  const TFrmDummyShowPreview& list = workspace_.Entries();
  for (int row = 0; row < list.Count(); ++row) {
    const TFileListData& data = *list.GetFileData(row);
    if (!data.Checked()) continue;
    std::u16string target = list.GetFullNewName(row);
    if (data.GetNewName().empty() || target == data.caption) continue;
    TPlannedRename entry;
    entry.row = row;
    entry.source = data.caption;
    entry.refused = CheckNewNameStaysInFolder(target);
    entry.target = std::move(target);
    entry.alternative = data.altname;
    plan.push_back(std::move(entry));
  }
  return plan;
}

bool TRenameCommand::RenameOne(const std::u16string& source, const std::u16string& target,
                               const std::u16string& alternative, bool noUndo) {
  const std::u16string base = Base();
  std::u16string from = source;
  TStatus status;
  while (true) {
    const size_t slash = target.rfind(u'/');
    if (slash != std::u16string::npos) {
      (void)workspace_.Files().CreateFolderPath(base + target.substr(0, slash));
    }
    status = workspace_.Files().RenameNoReplace(base + from, base + target);
    state.ErrorIOResult = status.code();
    if (status.ok() || alternative.empty() || alternative == from) break;
    from = alternative;  // reaches an entry through its short name
  }
  state.ErrorSrcFile = from;
  state.ErrorTargetFile = target;
  if (!status.ok()) {
    Failed(from, target, status);
    return false;
  }
  if (!noUndo) undo_.AddUndo(base + from, base + target);
  return true;
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
  state.ErrorIOResult = status.code();
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
  (void)undo_.UndoNow(u"", failures);
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

void TRenameCommand::RunPhase1(const std::vector<TPlannedRename>& plan, TProgress& progress,
                               std::vector<bool>& moved) {
  moved.assign(plan.size(), false);
  for (size_t i = 0; i < plan.size(); ++i) {
    if (state.StopRenaming) break;
    const TPlannedRename& entry = plan[i];
    if (!entry.refused.ok()) {
      state.ErrorSrcFile = entry.source;
      state.ErrorTargetFile = entry.target;
      Failed(entry.source, entry.target, entry.refused);
    } else {
      moved[i] = RenameOne(entry.source, TempName(entry.target), entry.alternative, false);
    }
    Report(progress, entry.row, 0);
  }
}

void TRenameCommand::RunPhase2(const std::vector<TPlannedRename>& plan,
                               const std::vector<bool>& moved, TProgress& progress,
                               int& renamed) {
  for (size_t i = 0; i < plan.size(); ++i) {
    if (state.StopRenaming) break;
    const TPlannedRename& entry = plan[i];
    if (moved[i] && RenameOne(TempName(entry.target), entry.target, u"", true)) ++renamed;
    Report(progress, entry.row, 50);
  }
}

// After a stop in phase 1: every entry phase 1 moved goes back to its name.
void TRenameCommand::PutBack(const std::vector<TPlannedRename>& plan,
                             const std::vector<bool>& moved) {
  state.StopRenaming = false;
  const std::u16string base = Base();
  for (size_t i = 0; i < plan.size(); ++i) {
    const std::u16string temp = TempName(plan[i].target);
    if (moved[i] && workspace_.Files().Exists(base + temp)) {
      RenameOne(temp, plan[i].source, plan[i].alternative, false);
    }
  }
}

void TRenameCommand::StoreBatch(const std::vector<TPlannedRename>& plan, TRenameResult& result) {
  std::vector<TRenamePair> pairs;
  pairs.reserve(plan.size());
  const std::u16string base = Base();
  for (const TPlannedRename& entry : plan) pairs.push_back({base + entry.source, base + entry.target});
  result.storeStatus = store_.SaveStateToFile(pairs);
  if (store_.HasState()) result.undoEnabled = true;
}

void TRenameCommand::RefreshAndRecheck(TProgress& progress) {
  const bool recursive = state.UseRecursiveOnce;
  state.UseRecursiveOnce = false;
  workspace_.Refresh(progress, recursive);
  if (undo_.UndoCount() == 0) return;
  TFrmDummyShowPreview& list = workspace_.Entries();
  const std::u16string base = Base();
  for (int row = 0; row < list.Count(); ++row) {
    list.SetChecked(row, undo_.IsNewName(base + list.GetFileData(row)->caption));
  }
}

TRenameResult TRenameCommand::btnRenameClick(TProgress& progress,
                                             const std::function<bool()>& askShowRecursiveAgain) {
  TRenameResult result;
  const TPreviewResult preview = workspace_.Preview(progress);
  if (!preview.ran) return result;
  result.ran = true;
  undo_.ClearAll();
  undo_.SetTempTag(std::u16string(kTempNameSuffix));
  undoFailures_.clear();
  failures_.clear();
  state.StartRun();

  const std::vector<TPlannedRename> plan = PlanRenames();
  result.planned = static_cast<int>(plan.size());
  progress.Started(u"Renaming ...", 100);
  progress.Advanced(kProgressStart);
  progress.Message(u"Renaming ...");
  std::vector<bool> moved;
  RunPhase1(plan, progress, moved);
  const bool stoppedInPhase1 = state.StopRenaming;
  if (!stoppedInPhase1) RunPhase2(plan, moved, progress, result.renamed);
  result.stopped = state.StopRenaming;
  if (stoppedInPhase1) PutBack(plan, moved);
  progress.Message(u"");
  progress.Finished();

  result.undoEnabled = !result.stopped;
  const bool batch = state.BatchUndo || state.BatchIgnore;
  if (state.CurrentFileListIsRecursive && !batch && askShowRecursiveAgain &&
      askShowRecursiveAgain()) {
    state.UseRecursiveOnce = true;
  }
  state.CurrentFileListIsRecursive = false;
  if (!state.ErrorOccured) StoreBatch(plan, result);
  // A batch run ends the program: nobody would see the list again.
  if (!batch) RefreshAndRecheck(progress);
  result.undoFailures = std::move(undoFailures_);
  result.failures = std::move(failures_);
  undoFailures_.clear();
  failures_.clear();
  return result;
}
