#include "session/UnitTextFileImport.h"

#include <algorithm>

#include "engine/UnitScriptStepFactory.h"
#include "model/UnitRenameRecord.h"
#include "model/UnitTagData.h"
#include "session/UnitSession.h"
#include "textfile/UnitTextFileDetection.h"
#include "textfile/UnitTextFileFormat.h"

namespace {

std::u16string Decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string WithSlash(std::u16string folder) {
  if (!folder.empty() && folder.back() != u'/') folder += u'/';
  return folder;
}

TTextMatch ModelMatch(TTextMatchMode mode) {
  return mode == TTextMatchMode::BySearch ? TTextMatch::BySearch : TTextMatch::ByLineNumber;
}

TScriptType ImportStepType(TImportScript kind) {
  return kind == TImportScript::ReplaceName ? TScriptType::stReplaceNameExtension
                                            : TScriptType::stAddBeginningEnding;
}

// Puts the field variable into the step "Finish" makes.
void SetImportParameters(TScriptStep& step, TImportScript kind, int column) {
  if (kind == TImportScript::ReplaceName) {
    step.SetText(step.FindParameter(u"txtReplaceWith"), TextVariableName(column));
    step.SetChoice(step.FindParameter(u"cbxReplacePart"), 0);
  } else {
    step.SetText(step.FindParameter(u"txtAdd"), TextVariableName(column));
  }
}

}  // namespace

std::u16string TextVariableName(int column) { return u"?text" + Decimal(column + 1) + u"?"; }

TTextFileImport::TTextFileImport(TSession& session)
    : parameters(session.TextParameters()),
      session_(session),
      renaming_(session.fs, session.textFormat) {}

TStatus TTextFileImport::ChooseFile(const std::u16string& path) {
  parameters.txtTName = path;
  const TFrmDummyShowPreview& list = session_.list;
  std::vector<TTextFileListEntry> entries;
  entries.reserve(static_cast<size_t>(list.Count()));
  for (int row = 0; row < list.Count(); ++row) {
    entries.push_back({list.GetFileData(row)->caption, list.IsFolder(row), list.GetChecked(row)});
  }
  return DetectTextFileParameters(session_.fs, entries, parameters);
}

bool TTextFileImport::FileExists() const { return TextFileExists(session_.fs, parameters.txtTName); }

TStatus TTextFileImport::FirstLines(int count, std::vector<std::u16string>& lines) const {
  lines.clear();
  if (!FileExists()) return TStatus::Ok();
  TTextFileFormat file;
  const TStatus status = file.LoadFromFile(session_.fs, parameters.txtTName);
  for (int i = 0; i < std::min(count, file.Count()); ++i) lines.emplace_back(file.Get(i));
  return status;
}

TStatus TTextFileImport::Reload() {
  const TStatus status = renaming_.Prepare(parameters);
  if (!renaming_.Prepared()) session_.textFormat.Clear();
  return status;
}

std::vector<std::u16string> TTextFileImport::FieldNames() const {
  const int fields = parameters.cbTDelim ? session_.textFormat.FieldCount() : 1;
  std::vector<std::u16string> names;
  for (int i = 0; i < std::clamp(fields, 1, kMaxTextFields); ++i) names.push_back(TextVariableName(i));
  return names;
}

std::vector<std::vector<std::u16string>> TTextFileImport::FieldRows() const {
  TTextFileFormat& format = session_.textFormat;
  const int rows = std::min(parameters.cbTDelim ? kFieldRows : kWholeLineRows, format.Count());
  const int fields = static_cast<int>(FieldNames().size());
  std::vector<std::vector<std::u16string>> grid(static_cast<size_t>(rows));
  for (int line = 0; line < rows; ++line) {
    if (!parameters.cbTDelim) {
      grid[static_cast<size_t>(line)].emplace_back(format.Get(line));
      continue;
    }
    for (int field = 0; field < fields; ++field) {
      grid[static_cast<size_t>(line)].push_back(format.GetField(line, field));
    }
  }
  return grid;
}

std::vector<int> TTextFileImport::PreviewRows() const {
  const TFrmDummyShowPreview& list = session_.list;
  int first = 0;
  while (first < list.Count() && list.IsFolder(first)) ++first;
  std::vector<int> rows;
  for (int row = first; row < std::min(list.Count(), first + kPreviewEntries); ++row) {
    rows.push_back(row);
  }
  return rows;
}

int TTextFileImport::MatchRow(int row, int shown, RenameRecord& rec) {
  TFrmDummyShowPreview& list = session_.list;
  const TFileListData& data = *list.GetFileData(row);
  FillRenameRecordNames(rec, WithSlash(list.ListedFolder()), data.caption, list.IsFolder(row),
                        data.GetAltName(), data.GetDate());
  rec.filesize = data.GetSize();
  if (const TTagData* tag = list.GetTagData(row)) {
    rec.Created = tag->Created;
    rec.Modified = tag->Modified;
  }
  rec.listposition = row + 1;
  rec.listtotal = list.Count();
  rec.selectedposition = shown;
  return renaming_.AssignFields(rec, shown, session_.vars);
}

std::vector<TImportMatch> TTextFileImport::Matches() {
  const char16_t delim = session_.textFormat.Delim();
  std::vector<TImportMatch> matches;
  int shown = 0;
  for (int row : PreviewRows()) {
    RenameRecord rec;
    const int line = MatchRow(row, ++shown, rec);
    TImportMatch match{session_.list.GetFileData(row)->caption, u"--", {}};
    if (line >= 0) {
      std::u16string text(session_.textFormat.Get(line));
      if (parameters.cbTDelim) std::replace(text.begin(), text.end(), delim, u' ');
      match.lineNumber = Decimal(line + 1);
      match.line = u"\"" + text + u"\"";
    }
    matches.push_back(std::move(match));
  }
  return matches;
}

std::vector<TImportNewName> TTextFileImport::NewNames(TImportScript kind, int column) {
  const std::unique_ptr<TScriptStep> step = NewScriptStep(ImportStepType(kind));
  SetImportParameters(*step, kind, column);
  std::vector<TImportNewName> names;
  int shown = 0;
  for (int row : PreviewRows()) {
    RenameRecord rec;
    TImportNewName entry{session_.list.GetFileData(row)->caption, u"--"};
    if (MatchRow(row, ++shown, rec) >= 0) {
      std::u16string name = rec.name;
      std::u16string ext = u"." + rec.ext;
      if (kind != TImportScript::None) {
        session_.ctx.BeginEntry();
        step->Execute(name, ext, rec, session_.ctx);
      }
      entry.newName = ext == u"." ? name : name + ext;
    }
    names.push_back(std::move(entry));
  }
  return names;
}

void TTextFileImport::Finish(TImportScript kind, int column, bool replaceScript) {
  TMainModel& model = session_.model;
  model.textFileName = parameters.txtTName;
  model.textSkip = parameters.txtTSkip;
  model.textSplitFields = parameters.cbTDelim;
  model.textDelimiter = parameters.txtTDelim;
  model.textMatch = ModelMatch(parameters.Match);
  model.textSearchWith = parameters.cbxSearchWith;
  model.textFind = parameters.txtTFind;
  if (kind == TImportScript::None) return;
  if (replaceScript) session_.script.Clear();
  SetImportParameters(session_.script.NewScriptControl(ImportStepType(kind)), kind, column);
}
