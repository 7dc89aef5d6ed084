#include "config/UnitConfig.h"

#include <cerrno>

#include "config/UnitColumnManager.h"
#include "matching/UnitMetaVariables.h"
#include "model/UnitMainModel.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"

namespace {

constexpr size_t kMaxReportedProblems = 3;

size_t Row(TSetting id) { return static_cast<size_t>(id); }

// The reserved character each replacement box stands for, or 0.
char16_t ReservedCharOf(TSetting id) {
  switch (id) {
    case TSetting::ReplaceBackslash:
      return u'\\';
    case TSetting::ReplaceSlash:
      return u'/';
    case TSetting::ReplaceColon:
      return u':';
    case TSetting::ReplaceAsterisk:
      return u'*';
    case TSetting::ReplaceQuestion:
      return u'?';
    case TSetting::ReplacePipe:
      return u'|';
    case TSetting::ReplaceGreater:
      return u'>';
    case TSetting::ReplaceLess:
      return u'<';
    case TSetting::ReplaceQuote:
      return u'"';
    case TSetting::ReplacePeriod:
      return u'.';
    default:
      return 0;
  }
}

bool IsNumberForm(TSettingForm form) {
  return form == TSettingForm::Switch || form == TSettingForm::Integer ||
         form == TSettingForm::Colour;
}

bool IsSizingMode(int mode) { return mode == 0 || mode == 1 || mode == 3; }

TStatus ProblemsStatus(const std::u16string& file, const std::vector<std::u16string>& problems) {
  if (problems.empty()) return TStatus::Ok();
  std::u16string reason;
  for (size_t i = 0; i < problems.size() && i < kMaxReportedProblems; ++i) {
    if (i > 0) reason += u"; ";
    reason += problems[i];
  }
  if (problems.size() > kMaxReportedProblems) {
    reason += u" (and " + IntToStr(static_cast<long long>(problems.size() - kMaxReportedProblems)) +
              u" more)";
  }
  return TStatus::Error(EINVAL, file, reason);
}

bool IsColumnSection(std::u16string_view name) {
  return name.size() > 7 && SameTextIgnoringCase(name.substr(0, 7), u"Column_");
}

}  // namespace

std::u16string SaveConfigErrorText(const TStatus& status) {
  return u"Error saving configuration: \r\n" + status.Message();
}

TfrmConfig::TfrmConfig(TFileSystem& fs, std::u16string appFolder, TMetaVariables& vars,
                       TMainModel& model, const TSystemColours& system)
    : fs_(fs), appFolder_(std::move(appFolder)), vars_(vars), model_(model), system_(system) {
  ResetToDefaults();
}

void TfrmConfig::ResetToDefaults() {
  for (const TSettingDef& def : SettingTable()) {
    TValue& v = values_[Row(def.id)];
    v = TValue();
    if (def.form == TSettingForm::YesNo) {
      v.number = std::u16string_view(def.defaultValue) == u"Yes";
    } else if (def.form == TSettingForm::Colour) {
      v.number = BuiltInColour(def.id, system_);
    } else if (IsNumberForm(def.form)) {
      (void)TryStrToInt(def.defaultValue, v.number);
    } else {
      v.text = def.defaultValue;
    }
  }
}

// --- loading ---------------------------------------------------------------------

void TfrmConfig::ReadSetting(const TMyINIFile& ini, size_t row,
                             std::vector<std::u16string>& problems) {
  const TSettingDef& def = SettingTable()[row];
  TValue& v = values_[row];
  if (!def.read) return;
  if (def.form == TSettingForm::Text) {
    v.text = ini.ReadString(def.section, def.key, def.defaultValue);
    return;
  }
  const std::u16string stored = ini.ReadString(def.section, def.key, def.defaultValue);
  if (def.form == TSettingForm::YesNo) {
    v.number = stored == u"Yes";
    return;
  }
  int number = 0;
  if (!ParseIniInteger(stored, number)) {
    problems.push_back(u"[" + std::u16string(def.section) + u"] " + def.key + u": \"" + stored +
                       u"\" is not a number");
    return;  // the default stays
  }
  if (def.form == TSettingForm::Switch) {
    v.number = number != 0;
  } else if (def.form == TSettingForm::Colour) {
    v.number = number == kColourKeep ? BuiltInColour(def.id, system_) : number;
  } else {
    v.number = number;
  }
}

// Radio buttons read in order: switching one on switches the others off, so
// the last one stored as on wins; when none is on, "Files Only" is.
void TfrmConfig::ReadRenamingMode() {
  TFileFolderMode mode = TFileFolderMode::FilesOnly;
  bool any = false;
  const std::pair<TSetting, TFileFolderMode> radios[] = {
      {TSetting::RenameFilesOnly, TFileFolderMode::FilesOnly},
      {TSetting::RenameFoldersOnly, TFileFolderMode::FoldersOnly},
      {TSetting::RenameFilesFolders, TFileFolderMode::FilesAndFolders}};
  for (const auto& [id, m] : radios) {
    if (values_[Row(id)].number != 0) mode = m, any = true;
  }
  model_.fileFolderMode = any ? mode : TFileFolderMode::FilesOnly;
}

void TfrmConfig::ApplyWindowState() {
  ReadRenamingMode();
  for (TSetting id : {TSetting::LargeThumbnails, TSetting::ToggleToolbar, TSetting::FilelistOnLeft,
                      TSetting::WideLayout, TSetting::MiniRenamingButtons}) {
    if (bool* flag = ModelFlag(id)) *flag = values_[Row(id)].number != 0;
  }
}

void TfrmConfig::ReadColumnLayout(const TMyINIFile& ini) {
  columnLayout_.Clear();
  for (const std::u16string& section : ini.ReadSections()) {
    if (!IsColumnSection(section)) continue;
    columnLayout_.Set(
        {section, ini.ReadInteger(section, u"Width", -1), ini.ReadInteger(section, u"Index", -1)});
  }
}

TStatus TfrmConfig::LoadConfig(bool writeWhenMissing) {
  const std::u16string path = SettingsFileName();
  firstRun_ = !fs_.Exists(path);
  TMyINIFile ini;
  const TStatus read = ini.Open(fs_, path);
  std::vector<std::u16string> problems;
  if (!read.ok()) problems.push_back(read.reason());
  ResetToDefaults();
  for (size_t row = 0; row < kSettingCount; ++row) ReadSetting(ini, row, problems);
  if (!IsSizingMode(Integer(TSetting::ColumnResizeType))) {
    problems.push_back(u"[Startup] ColumnResizeType: " +
                       IntToStr(Integer(TSetting::ColumnResizeType)) +
                       u" is not a column sizing mode");
    SetInteger(TSetting::ColumnResizeType, 0);
  }
  // The window state goes to the main window once; a later load (the dialog
  // shown again) must not undo what the user toggled since.
  if (!windowStateLoaded_) ApplyWindowState();
  windowStateLoaded_ = true;
  ReadColumnLayout(ini);
  for (const TSettingDef& def : SettingTable()) PushToExpansion(def.id);
  if (firstRun_ && writeWhenMissing) {
    if (TStatus saved = SaveConfig(); !saved.ok()) return saved;
  }
  return ProblemsStatus(path, problems);
}

// --- saving ----------------------------------------------------------------------

void TfrmConfig::WriteSetting(TMyINIFile& ini, size_t row) const {
  const TSettingDef& def = SettingTable()[row];
  switch (def.form) {
    case TSettingForm::YesNo:
      ini.WriteString(def.section, def.key, Flag(def.id) ? u"Yes" : u"No");
      break;
    case TSettingForm::Switch:
      ini.WriteBool(def.section, def.key, Flag(def.id));
      break;
    case TSettingForm::Integer:
    case TSettingForm::Colour:
      ini.WriteInteger(def.section, def.key, Integer(def.id));
      break;
    case TSettingForm::Text:
      // The last folder is kept only while "Last Used Path" is on.
      if (def.id == TSetting::LastFolder && !UseLastFolder()) {
        ini.WriteString(def.section, def.key, u"");
      } else {
        ini.WriteString(def.section, def.key, Text(def.id));
      }
      break;
  }
}

void TfrmConfig::WriteColumnLayout(TMyINIFile& ini) const {
  for (const TColumnPlacement& p : columnLayout_.Placements()) {
    ini.WritePlainString(p.section, u"Width", IntToStr(p.width));
    ini.WritePlainString(p.section, u"Index", IntToStr(p.index));
  }
}

TStatus TfrmConfig::SaveConfig() {
  TMyINIFile ini;
  // A file that cannot be read is replaced by a complete new one.
  if (!ini.Open(fs_, SettingsFileName()).ok()) ini.Create(fs_, SettingsFileName());
  for (size_t row = 0; row < kSettingCount; ++row) WriteSetting(ini, row);
  WriteColumnLayout(ini);
  return ini.UpdateFile();
}

TStatus TfrmConfig::SaveFileFolderView() {
  TMyINIFile ini;
  // Only three keys are written: an unreadable file is left alone.
  if (TStatus st = ini.Open(fs_, SettingsFileName()); !st.ok()) return st;
  for (TSetting id :
       {TSetting::RenameFilesOnly, TSetting::RenameFoldersOnly, TSetting::RenameFilesFolders}) {
    WriteSetting(ini, Row(id));
  }
  return ini.UpdateFile();
}

TStatus TfrmConfig::SaveSetting(TSetting id) {
  TMyINIFile ini;
  // One key is written: an unreadable file is left alone.
  if (TStatus st = ini.Open(fs_, SettingsFileName()); !st.ok()) return st;
  WriteSetting(ini, Row(id));
  return ini.UpdateFile();
}

// --- values ----------------------------------------------------------------------

bool* TfrmConfig::ModelFlag(TSetting id) const {
  switch (id) {
    case TSetting::LargeThumbnails:
      return &model_.largeThumbnails;
    case TSetting::ToggleToolbar:
      return &model_.toolbarShown;
    case TSetting::FilelistOnLeft:
      return &model_.fileListOnLeft;
    case TSetting::WideLayout:
      return &model_.wideLayout;
    case TSetting::MiniRenamingButtons:
      return &model_.miniRenamingButtons;
    default:
      return nullptr;
  }
}

bool TfrmConfig::Flag(TSetting id) const {
  if (const bool* flag = ModelFlag(id)) return *flag;
  switch (id) {
    case TSetting::RenameFilesOnly:
      return model_.fileFolderMode == TFileFolderMode::FilesOnly;
    case TSetting::RenameFoldersOnly:
      return model_.fileFolderMode == TFileFolderMode::FoldersOnly;
    case TSetting::RenameFilesFolders:
      return model_.fileFolderMode == TFileFolderMode::FilesAndFolders;
    default:
      return values_[Row(id)].number != 0;
  }
}

int TfrmConfig::Integer(TSetting id) const { return values_[Row(id)].number; }

const std::u16string& TfrmConfig::Text(TSetting id) const { return values_[Row(id)].text; }

void TfrmConfig::SetFlag(TSetting id, bool value) {
  if (bool* flag = ModelFlag(id)) {
    *flag = value;
    return;
  }
  // A radio button switched on selects its mode; switched off it changes nothing.
  if (id == TSetting::RenameFilesOnly && value) model_.fileFolderMode = TFileFolderMode::FilesOnly;
  if (id == TSetting::RenameFoldersOnly && value) {
    model_.fileFolderMode = TFileFolderMode::FoldersOnly;
  }
  if (id == TSetting::RenameFilesFolders && value) {
    model_.fileFolderMode = TFileFolderMode::FilesAndFolders;
  }
  values_[Row(id)].number = value;
  PushToExpansion(id);
}

void TfrmConfig::SetInteger(TSetting id, int value) { values_[Row(id)].number = value; }

void TfrmConfig::SetText(TSetting id, std::u16string_view value) {
  values_[Row(id)].text = std::u16string(value);
  PushToExpansion(id);
}

void TfrmConfig::PushToExpansion(TSetting id) {
  if (id == TSetting::IgnoreEmpty) vars_.SetKeepEmptyVariables(Flag(id));
  if (id == TSetting::DetectEnvVars) vars_.SetExpandEnvironment(Flag(id));
  const char16_t reserved = ReservedCharOf(id);
  if (reserved != 0 && !Text(id).empty()) vars_.SetReplacement(reserved, Text(id)[0]);
}

// --- remembered state ------------------------------------------------------------

TPoint TfrmConfig::GetLastPosition() const {
  return {Integer(TSetting::WindowX), Integer(TSetting::WindowY)};
}

void TfrmConfig::SetLastPosition(TPoint p) {
  SetInteger(TSetting::WindowX, p.x);
  SetInteger(TSetting::WindowY, p.y);
}

TPoint TfrmConfig::GetLastSize() const {
  return {Integer(TSetting::WindowWD), Integer(TSetting::WindowHT)};
}

void TfrmConfig::SetLastSize(TPoint p) {
  SetInteger(TSetting::WindowWD, p.x);
  SetInteger(TSetting::WindowHT, p.y);
}

TPoint TfrmConfig::GetLastSplitterSize() const {
  return {Integer(TSetting::WindowSplitterXa), Integer(TSetting::LastSplitterYa)};
}

void TfrmConfig::SetlastSplitterSize(TPoint p) {
  SetInteger(TSetting::WindowSplitterXa, p.x);
  SetInteger(TSetting::LastSplitterYa, p.y);
}

uint8_t TfrmConfig::GetColumnButtonPressed() const {
  const int mode = Integer(TSetting::ColumnResizeType);
  return static_cast<uint8_t>(IsSizingMode(mode) ? mode : 0);
}

void TfrmConfig::GetLastColumnsSizes(TColumnManager& columns) const {
  RestoreColumnLayout(columns, columnLayout_);
}

void TfrmConfig::SetLastColumnsSizes(const TColumnManager& columns) {
  StoreColumnLayout(columns, columnLayout_);
}

TFontDescription TfrmConfig::GetFont() const {
  return {Text(TSetting::FontName), Integer(TSetting::FontSize), Flag(TSetting::FontBold),
          Flag(TSetting::FontItalic)};
}

void TfrmConfig::SetLastFont(const TFontDescription& font) {
  SetText(TSetting::FontName, font.name);
  SetInteger(TSetting::FontSize, font.size);
  SetFlag(TSetting::FontBold, font.bold);
  SetFlag(TSetting::FontItalic, font.italic);
}

TFontDescription TfrmConfig::GetScriptFont() const {
  return {Text(TSetting::ScriptFontName), Integer(TSetting::ScriptFontSize),
          Flag(TSetting::ScriptFontBold), Flag(TSetting::ScriptFontItalic)};
}

void TfrmConfig::SetScriptFont(const TFontDescription& font) {
  SetText(TSetting::ScriptFontName, font.name);
  SetInteger(TSetting::ScriptFontSize, font.size);
  SetFlag(TSetting::ScriptFontBold, font.bold);
  SetFlag(TSetting::ScriptFontItalic, font.italic);
  SetText(TSetting::ScriptFontBoxName, font.name);
}

// --- queries ---------------------------------------------------------------------

bool TfrmConfig::SelectFolders() const {
  return !Flag(TSetting::DontSelectFolders) ||
         model_.fileFolderMode == TFileFolderMode::FoldersOnly;
}

bool TfrmConfig::RenameFiles() const {
  return model_.fileFolderMode != TFileFolderMode::FoldersOnly;
}

bool TfrmConfig::RenameFolders() const {
  return model_.fileFolderMode != TFileFolderMode::FilesOnly;
}
