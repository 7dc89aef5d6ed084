#include "session/UnitSession.h"

#include <cerrno>

#include "platform/UnitFileSystem.h"
#include "platform/UnitProgress.h"
#include "platform/UnitText.h"
#include "scriptio/UnitOlderScript.h"
#include "scriptio/UnitScriptFile.h"

namespace {

TCaseStyle CaseStyleOf(TCaseMode mode) {
  switch (mode) {
    case TCaseMode::None: return TCaseStyle::None;
    case TCaseMode::Uppercase: return TCaseStyle::Uppercase;
    case TCaseMode::Lowercase: return TCaseStyle::Lowercase;
    case TCaseMode::CapitalizeWords: return TCaseStyle::CapitalizeWords;
    case TCaseMode::CapitalizeSentence: return TCaseStyle::CapitalizeSentence;
    case TCaseMode::TitleCase: return TCaseStyle::TitleCase;
  }
  return TCaseStyle::None;
}

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() &&
         SameTextIgnoringCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

TSession::TSession(TFileSystem& fileSystem, const TClock& clk, const TEnvironment& env,
                   TTagReader& tags, std::u16string folder)
    : fs(fileSystem),
      clock(clk),
      appFolder(std::move(folder)),
      vars(fileSystem, clk, env, tags),
      ctx(vars, sequence, collisions),
      twscript(model, fileSystem, appFolder),
      list(fileSystem, clk),
      textFile(fileSystem, textFormat) {}

TStatus TSession::LoadScript(const std::u16string& path, std::vector<std::u16string>* skipped) {
  // The file is read as it is named: ".twscr" in the current format, any
  // other name in the older one (which refuses what holds no script).
  if (!fs.Exists(path) || fs.DirectoryExists(path)) {
    return TStatus::Error(ENOENT, path, u"No such file");
  }
  if (EndsWithIgnoringCase(path, u".twscr")) {
    return LoadFromExactFile(script, twscript, fs, path, skipped);
  }
  return LoadOlderScript(script, twscript, path);
}

TScanOptions TSession::ScanOptions() const {
  TScanOptions options;
  options.folder = model.folder;
  options.filter = model.filter;
  options.mode = model.fileFolderMode;
  options.noHiddenFiles = noHiddenFiles;
  options.dontSelectFolders = dontSelectFolders;
  options.fullDateTime = showTimeInDates;
  if (listingForRun) {
    options.describeEntries = RunReadsEntryAttributes();
    options.keepIdentities = true;
  }
  return options;
}

bool TSession::RunReadsEntryAttributes() const {
  switch (list.GetSortOrder().kind) {
    case TSortKind::Name:
    case TSortKind::NewName:
    case TSortKind::Type: break;
    default: return true;
  }
  return script.MayReadEntryAttributes() || !customColumns.empty() || !model.textFileName.empty();
}

TPreviewOptions TSession::PreviewOptions() const {
  TPreviewOptions options;
  options.counting.rbUsePosition = model.usePositionInList;
  options.counting.txtStartAt = model.startCountingAt;
  options.counting.txtIncrement = model.incrementBy;
  options.caseOptions.cbOverrideCase = model.changeCase;
  options.caseOptions.Mode = CaseStyleOf(model.caseMode);
  options.caseOptions.cbSplit = model.extraSeparators;
  options.caseOptions.txtSplit = model.separatorChars;
  options.caseOptions.cbCRoman = model.romanNumerals;
  options.caseOptions.cbCPreserverExtension = model.preserveExtension;
  options.useRegExp = model.useRegExp;
  options.customColumns = customColumns;
  return options;
}

TTextFileParameters TSession::TextParameters() const {
  TTextFileParameters p;
  p.txtTName = model.textFileName;
  p.txtTSkip = model.textSkip;
  p.cbTDelim = model.textSplitFields;
  p.txtTDelim = model.textDelimiter;
  p.Match = model.textMatch == TTextMatch::BySearch ? TTextMatchMode::BySearch
                                                    : TTextMatchMode::ByLineNumber;
  p.cbxSearchWith = model.textSearchWith;
  p.txtTFind = model.textFind;
  return p;
}

bool TSession::Refresh(TProgress& progress, bool recursive) {
  bool once = recursive;
  int checked = 0;
  if (!list.RefreshFileList(ScanOptions(), progress, once, filesCount_, false, checked,
                            foldersCount_)) {
    return false;
  }
  (void)exclude.ExcludeNow(list);
  return true;
}

TPreviewResult TSession::Preview(TProgress& progress) {
  const TTextFileParameters text = TextParameters();
  const bool useTextFile = !text.txtTName.empty();
  return ShowPreviewList(list, script, ctx, PreviewOptions(), progress,
                         useTextFile ? &textFile : nullptr, useTextFile ? &text : nullptr);
}

std::array<std::u16string, 3> TSession::Status(const TPreviewResult& result) const {
  return StatusPanels(filesCount_, foldersCount_, list.GetCheckedCount(), result.ChangedCount,
                      result.CollisionCount, result.IllegalCount, result.subStatus);
}
