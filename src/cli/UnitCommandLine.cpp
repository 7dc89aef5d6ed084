#include "cli/UnitCommandLine.h"

#include <csignal>
#include <unordered_map>
#include <vector>

#include "cli/UnitCommandLineSplit.h"
#include "cli/UnitConsoleUndoErrors.h"
#include "cli/UnitStartupMessages.h"
#include "cli/UnitUsageText.h"
#include "config/UnitFileDrop.h"
#include "model/UnitRenameRecord.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitInterrupt.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"
#include "session/UnitSession.h"

namespace {

enum class TMode : uint8_t { None, Show, ExecuteIgnore, ExecuteUndo, RecursiveIgnore, RecursiveUndo };

TMode ModeOf(const std::u16string& option) {
  const std::u16string p = LowerCase(option);
  if (p == u"-s") return TMode::Show;
  if (p == u"-xi") return TMode::ExecuteIgnore;
  if (p == u"-xu") return TMode::ExecuteUndo;
  if (p == u"-ri") return TMode::RecursiveIgnore;
  if (p == u"-ru") return TMode::RecursiveUndo;
  return TMode::None;
}

std::u16string WithoutTrailingSlash(std::u16string folder) {
  while (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  return folder;
}

}  // namespace

TCommandLineForm ClassifyCommandLine(const TFrmDummyInstance& params) {
  const int count = params.ParamCount();
  if (count == 0) return TCommandLineForm::Plain;
  const std::u16string first = params.ParamStr(1);
  if (first.empty() || first[0] != u'-') return TCommandLineForm::Listing;
  if (count != 2 && count != 3) return TCommandLineForm::Usage;
  switch (ModeOf(first)) {
    case TMode::None: return TCommandLineForm::OtherOption;
    case TMode::Show: return TCommandLineForm::Show;
    default: return TCommandLineForm::Batch;
  }
}

bool OpensWindow(TCommandLineForm form) {
  return form != TCommandLineForm::Usage && form != TCommandLineForm::Batch;
}

TCommandLine::TCommandLine(const TCommandLineServices& services)
    : s_(services), rename_(services.session, services.undo, services.store, services.errors) {}

TCommandLineOutcome TCommandLine::Handle(const TFrmDummyInstance& params,
                                         const TStartupFolder& start) {
  TCommandLineOutcome outcome;
  switch (ClassifyCommandLine(params)) {
    case TCommandLineForm::Plain:
    case TCommandLineForm::OtherOption:
      break;
    case TCommandLineForm::Listing:
      HandleListing(params, start, outcome);
      break;
    case TCommandLineForm::Usage: {
      std::u16string usage = UsageText();
      usage.pop_back();
      s_.messages.ConsoleLine(usage);
      outcome.endProgram = true;
      break;
    }
    case TCommandLineForm::Show:
    case TCommandLineForm::Batch:
      HandleMode(params, outcome);
      break;
  }
  return outcome;
}

void TCommandLine::RefreshAllFiles() {
  TMainModel& model = s_.session.model;
  const std::u16string kept = model.filter;
  model.filter = u"*.*";
  s_.session.Refresh(s_.progress, false);
  model.filter = kept;
}

// Unchecks every entry, then checks (and selects) the entries named.
void TCommandLine::CheckOnly(const std::vector<std::u16string>& names, bool keepSelection) {
  TFrmDummyShowPreview& list = s_.session.list;
  std::unordered_map<std::u16string, int> rowOf;
  for (int row = 0; row < list.Count(); ++row) {
    list.SetChecked(row, false);
    rowOf.emplace(list.GetFileData(row)->caption, row);
  }
  for (const std::u16string& name : names) {
    const auto found = rowOf.find(name);
    if (found == rowOf.end()) continue;
    list.SetChecked(found->second, true);
    list.SetSelected(found->second, true);
  }
  if (!keepSelection) list.ClearAllSelected();
}

void TCommandLine::HandleListing(const TFrmDummyInstance& params, const TStartupFolder& start,
                                 TCommandLineOutcome& outcome) {
  outcome.listed = true;
  if (LowerCase(params.ParamStr(1)) == u"filedrop.dat") {
    HandleFileDrop();
    return;
  }
  RefreshAllFiles();
  if (!start.MultiSelectOption) return;
  std::vector<std::u16string> names;
  for (int i = 1; i <= params.ParamCount(); ++i) names.push_back(ExtractFileName(params.ParamStr(i)));
  CheckOnly(names, true);
}

void TCommandLine::HandleFileDrop() {
  TFileDrop drop;
  const TStatus status = ReadFileDrop(s_.session.fs, s_.session.appFolder, drop);
  const std::u16string folder = WithoutTrailingSlash(drop.folder);
  if (!status.ok() || folder.empty() || !s_.session.fs.DirectoryExists(folder)) {
    s_.messages.MessageBox(status.ok() ? u"Unable to find the Path listed: \n" + folder
                                       : status.Message());
    RefreshAllFiles();
    return;
  }
  s_.session.model.folder = s_.spell(folder);
  RefreshAllFiles();
  CheckOnly(drop.namesLastFirst, false);
}

std::u16string TCommandLine::FindScript(const std::u16string& param, std::u16string& shown) const {
  TFileSystem& fs = s_.session.fs;
  // A script named with a folder is used as given.
  if (param.find(u'/') != std::u16string::npos) {
    shown = param;
    return fs.Exists(param) && !fs.DirectoryExists(param) ? param : std::u16string();
  }
  const std::u16string name = param;
  shown = s_.session.appFolder + name;
  // The name as given first; the lower-case form is where a script of the
  // original layout (which looked names up in lower case) lives.
  for (const std::u16string& candidate : {shown, s_.session.appFolder + LowerCase(name)}) {
    if (!name.empty() && fs.Exists(candidate) && !fs.DirectoryExists(candidate)) return candidate;
  }
  return {};
}

void TCommandLine::Fail(TCommandLineOutcome& outcome) const {
  outcome.endProgram = true;
  outcome.exitCode = 1;
}

bool TCommandLine::LoadScript(const std::u16string& script, TCommandLineOutcome& outcome) {
  std::vector<std::u16string> skipped;
  const TStatus status = s_.session.LoadScript(script, &skipped);
  for (const std::u16string& line : skipped) s_.messages.ConsoleError(u"tallowick: " + line);
  if (!status.ok()) {
    s_.messages.ConsoleError(u"tallowick: " + status.Message());
    Fail(outcome);
    return false;
  }
  outcome.DefaultScriptName = script;
  return true;
}

bool TCommandLine::OpenFolderParameter(const std::u16string& param, TCommandLineOutcome& outcome) {
  const std::u16string folder = WithoutTrailingSlash(param);
  if (folder.empty() || !s_.session.fs.DirectoryExists(folder)) {
    s_.messages.MessageBox(u"Unable to find the Path listed: \n" + folder);
    Fail(outcome);
    return false;
  }
  s_.session.model.folder = s_.spell(folder);
  return true;
}

void TCommandLine::HandleMode(const TFrmDummyInstance& params, TCommandLineOutcome& outcome) {
  const TMode mode = ModeOf(params.ParamStr(1));
  const bool batch = mode != TMode::Show;
  TRenameRunState& state = rename_.state;
  state.BatchUndo = mode == TMode::ExecuteUndo || mode == TMode::RecursiveUndo;
  state.BatchIgnore = mode == TMode::ExecuteIgnore || mode == TMode::RecursiveIgnore;
  std::u16string shown;
  const std::u16string script = FindScript(params.ParamStr(2), shown);
  if (script.empty()) {
    const bool bare = params.ParamStr(2).find(u'/') == std::u16string::npos;
    s_.messages.MessageBox(u"Unable to find script file: " + shown +
                           (bare ? u"\n\nNOTE: a script named without a folder is looked up in "
                                   u"the application folder; give a path to use another."
                                 : u""));
    Fail(outcome);
    return;
  }
  const bool hasFolder = params.ParamCount() == 3;
  TMainModel& model = s_.session.model;
  // Without a folder parameter a batch run renames only the folder the script
  // names, never the start folder it happened to begin in.
  if (batch && !hasFolder) model.folder.clear();
  if (!LoadScript(script, outcome)) return;
  if (batch && !hasFolder && (model.folder.empty() || !s_.session.fs.DirectoryExists(model.folder))) {
    s_.messages.ConsoleError(u"Error: Path in script not found.");
    Fail(outcome);
    return;
  }
  if (hasFolder && !OpenFolderParameter(params.ParamStr(3), outcome)) return;
  if (!batch) {
    s_.session.Refresh(s_.progress, false);
    outcome.listed = true;
    outcome.BatchScriptLoaded = true;
    return;
  }
  RunBatch(mode == TMode::RecursiveIgnore || mode == TMode::RecursiveUndo, outcome);
}

void TCommandLine::RunBatch(bool recursive, TCommandLineOutcome& outcome) {
  outcome.endProgram = true;
  // The run follows at once: the listing reads the identities its journal
  // needs, and no sizes or times unless the script reads them.
  s_.session.listingForRun = true;
  s_.session.Refresh(s_.progress, recursive);
  outcome.listed = true;
  if (s_.progress.Cancelled()) {
    s_.messages.ConsoleError(u"tallowick: interrupted before renaming; nothing was renamed.");
    outcome.exitCode = InterruptedExitCode();
    return;
  }
  rename_.state.CurrentFileListIsRecursive = recursive;
  // The store starts afresh with this run, so no earlier batch can be taken
  // for this one's; a run that could not be undone does not start.
  const TStatus store = s_.store.Create();
  if (!store.ok()) {
    s_.messages.ConsoleError(u"tallowick: the undo store cannot be prepared, so nothing was "
                             u"renamed: " + store.Message());
    outcome.exitCode = 1;
    return;
  }
  outcome.rename = rename_.btnRenameClick(s_.progress);
  ReportBatch(outcome);
  if (outcome.rename.journalKept) {
    s_.messages.ConsoleError(
        u"tallowick: entries of this run are left under temporary names and "
        u"nothing could be kept for undo; tallowick --recover (or the next "
        u"start) puts every entry of the run back under its old name.");
    if (outcome.exitCode == 0) outcome.exitCode = 1;
  }
}

int TCommandLine::InterruptedExitCode() {
  const int signal = CaughtInterrupt();
  return InterruptExitCode(signal != 0 ? signal : SIGINT);
}

void TCommandLine::ReportFailures(const TRenameResult& result) {
  for (const TRenameFailure& failure : result.failures) {
    s_.messages.ConsoleError(u"Skipped (" + failure.source + u")->(" + failure.target + u"): " +
                             failure.status.reason());
  }
  for (const TRenamePair& pair : result.undoFailures) {
    s_.messages.ConsoleError(u"Error: could not move back (" + pair.oldName + u")->(" +
                             pair.newName + u")");
  }
}

void TCommandLine::ReportStore(const TRenameResult& result, TCommandLineOutcome& outcome) {
  if (result.storeStatus.ok()) return;
  s_.messages.ConsoleError(u"tallowick: the batch could not be kept for undo: " +
                           result.storeStatus.Message());
  if (outcome.exitCode == 0) outcome.exitCode = 1;
}

void TCommandLine::ReportCounts(const TRenameResult& result) {
  const int skipped = result.planned - result.renamed;
  s_.messages.ConsoleError(IntToStr(result.renamed) + u" of " + IntToStr(result.planned) +
                           u" renamed, " + IntToStr(skipped) + u" skipped" +
                           (result.renamed > 0 && result.storeStatus.ok()
                                ? u"; tallowick --undo reverses what was renamed."
                                : u"."));
}

// Reverses what the run still holds recorded (the run itself reversed what
// it did when it stopped); true when every entry is back, else each entry
// that is not is named with where it is.
bool TCommandLine::UndoRun(const TRenameResult& result) {
  TConsoleUndoErrors undoErrors(s_.messages);
  const TUndoResult undone = s_.undo.UndoNow(u"", undoErrors);
  std::vector<TRenamePair> notBack = result.notBack;
  notBack.insert(notBack.end(), undone.notBack.begin(), undone.notBack.end());
  for (const TRenamePair& entry : notBack) {
    s_.messages.ConsoleError(u"  " + entry.oldName +
                             (entry.newName.empty() ? u" was not found"
                                                    : u" is at " + entry.newName));
  }
  return notBack.empty() && result.undoFailures.empty();
}

void TCommandLine::ReportInterrupt(TCommandLineOutcome& outcome) {
  const TRenameResult& result = outcome.rename;
  outcome.exitCode = InterruptedExitCode();
  const int signal = CaughtInterrupt();
  const std::u16string by =
      u"tallowick: interrupted by " + std::u16string(InterruptName(signal != 0 ? signal : SIGINT));
  ReportFailures(result);
  if (rename_.state.BatchIgnore) {
    s_.messages.ConsoleError(by + u"; the entries under way were finished.");
    ReportCounts(result);
    ReportStore(result, outcome);
    return;
  }
  const bool back = UndoRun(result);
  outcome.undone = true;
  s_.messages.ConsoleError(by + (back ? u"; every entry is back under its old name."
                                      : u"; some entries could not be moved back (listed above)."));
}

void TCommandLine::ReportBatch(TCommandLineOutcome& outcome) {
  const TRenameRunState& state = rename_.state;
  const TRenameResult& result = outcome.rename;
  if (!result.journalStatus.ok()) {
    s_.messages.ConsoleError(u"tallowick: the journal of the run cannot be written, so nothing "
                             u"was renamed: " + result.journalStatus.Message());
    outcome.exitCode = 1;
    return;
  }
  if (result.interrupted) {
    ReportInterrupt(outcome);
    return;
  }
  if (!state.ErrorOccured) {
    outcome.exitCode = 0;
    if (result.planned == 0) s_.messages.ConsoleLine(u"nothing to rename");
    ReportStore(result, outcome);
    return;
  }
  outcome.exitCode = 1;
  const std::u16string pair = u"(" + state.FirstErrorSrcFile + u")->(" +
                              state.FirstErrorTargetFile + u")";
  if (state.BatchUndo) {
    outcome.undone = true;
    if (UndoRun(result)) {
      s_.messages.ConsoleError(u"Error: Failed to rename " + pair + u". Full undo executed.");
    } else {
      s_.messages.ConsoleError(u"Error: Failed to rename " + pair +
                               u". Undo incomplete: the entries listed above are not back "
                               u"under their old names.");
    }
    s_.messages.ConsoleError(u"  " + state.FirstError.reason());
    return;
  }
  ReportFailures(result);
  s_.messages.ConsoleError(u"Error: A rename failed, but errors are ignored. Skipped.");
  ReportCounts(result);
  ReportStore(result, outcome);
}
