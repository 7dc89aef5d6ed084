// The settings object: every user preference and the remembered window state,
// loaded from and saved to "tw.ini" in the application folder, and the small
// queries the rest of the program reads them through. No user interface: the
// configuration dialog only shows and edits this object.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/UnitColours.h"
#include "config/UnitColumnLayout.h"
#include "config/UnitSettingsTable.h"
#include "platform/UnitStatus.h"

class TColumnManager;
class TFileSystem;
class TMetaVariables;
class TMyINIFile;
struct TMainModel;

struct TPoint {
  int x = 0;
  int y = 0;
};

struct TFontDescription {
  std::u16string name;
  int size = 0;
  bool bold = false;
  bool italic = false;
};

// The text shown when handing the state over at program end fails.
std::u16string SaveConfigErrorText(const TStatus& status);

class TfrmConfig {
 public:
  // Every setting starts at its default. `appFolder` ends with "/".
  // REQUIRES: `fs`, `vars` and `model` outlive the settings object.
  TfrmConfig(TFileSystem& fs, std::u16string appFolder, TMetaVariables& vars, TMainModel& model,
             const TSystemColours& system = {});

  std::u16string SettingsFileName() const { return appFolder_ + u"tw.ini"; }

  // Reads "tw.ini". Every setting takes its stored value or its default, the
  // main window's model takes the window state (at the first load only), and
  // expansion takes the ten replacements and its two switches. When the file
  // did not exist (a first run) everything is saved at once. Afterwards every
  // setting is usable whatever went wrong; the status reports an unreadable
  // file, values that did not parse (they keep their defaults) or a failed
  // first-run save.
  TStatus LoadConfig(bool writeWhenMissing = true);
  // Writes every setting (window state taken from the model) in one atomic
  // rewrite of "tw.ini"; other keys and sections of the file stay. On failure
  // the file keeps its old content and the status names it and the reason.
  TStatus SaveConfig();
  // Writes only the three renaming-mode keys (the user picked a mode).
  TStatus SaveFileFolderView();
  // Writes only the key of `id` (a setting that acts at once, such as the
  // folder menu); other keys of the file stay as they are.
  TStatus SaveSetting(TSetting id);

  // Any setting by its table row. Flag: Yes/No and Switch forms; Integer:
  // Integer and Colour forms; Text: Text form. Window state lives in the model.
  bool Flag(TSetting id) const;
  int Integer(TSetting id) const;
  const std::u16string& Text(TSetting id) const;
  void SetFlag(TSetting id, bool value);
  void SetInteger(TSetting id, int value);
  // A replacement box that is not empty hands its first character to
  // expansion; an empty one hands over nothing.
  void SetText(TSetting id, std::u16string_view value);

  // True when "tw.ini" did not exist at the last load.
  bool IsFirstRun() const { return firstRun_; }
  TPoint GetLastPosition() const;
  void SetLastPosition(TPoint p);
  TPoint GetLastSize() const;
  void SetLastSize(TPoint p);
  TPoint GetLastSplitterSize() const;
  void SetlastSplitterSize(TPoint p);
  const std::u16string& GetLastFolder() const { return Text(TSetting::LastFolder); }
  void SetLastFolder(std::u16string_view folder) { SetText(TSetting::LastFolder, folder); }
  int GetLastBrowsePaneWidth() const { return Integer(TSetting::BrowsePaneWidth); }
  void SetLastBrowsePaneWidth(int width) { SetInteger(TSetting::BrowsePaneWidth, width); }
  bool GetLastBorwsePaneVisible() const { return Flag(TSetting::BrowsePaneVisible); }
  void SetLastBrowsePaneVisible(bool on) { SetFlag(TSetting::BrowsePaneVisible, on); }
  // The column sizing mode: 0 auto width, 1 fit screen, 3 user width.
  uint8_t GetColumnButtonPressed() const;
  void SetColumnButtonPressed(uint8_t mode) { SetInteger(TSetting::ColumnResizeType, mode); }
  // Restores remembered widths and order / remembers the current ones.
  void GetLastColumnsSizes(TColumnManager& columns) const;
  void SetLastColumnsSizes(const TColumnManager& columns);
  TFontDescription GetFont() const;
  void SetLastFont(const TFontDescription& font);
  TFontDescription GetScriptFont() const;
  // Also shows the face in the script-font box.
  void SetScriptFont(const TFontDescription& font);

  bool RememberPosition() const { return Flag(TSetting::RememberPosition); }
  bool RememberSize() const { return Flag(TSetting::RememberSize); }
  bool UseLastFolder() const { return !Flag(TSetting::DontUseLastFolder); }
  bool GetRememberBrowsePaneState() const { return Flag(TSetting::RememberBrowserPane); }
  bool UseFullDateTime() const { return Flag(TSetting::FullDateTime); }
  bool UseFolderFilters() const { return Flag(TSetting::FilterFolders); }
  // True when file icons are switched OFF ("Disable icons on file/preview lists").
  bool UseFileIcons() const { return Flag(TSetting::DisableIcons); }
  // Whether new folder entries start checked.
  bool SelectFolders() const;
  bool RenameFiles() const;
  bool RenameFolders() const;
  bool GetScriptView() const { return true; }
  bool GetDisableCollisionDetection() const { return false; }

  // The current colour of a colour key (built-in unless stored or chosen);
  // possibly a system-colour reference.
  TColour Colour(TSetting id) const { return Integer(id); }
  void SetColour(TSetting id, TColour colour) { SetInteger(id, colour); }

 private:
  struct TValue {
    int number = 0;
    std::u16string text;
  };

  void ResetToDefaults();
  void ReadSetting(const TMyINIFile& ini, size_t row, std::vector<std::u16string>& problems);
  void WriteSetting(TMyINIFile& ini, size_t row) const;
  void ReadColumnLayout(const TMyINIFile& ini);
  void WriteColumnLayout(TMyINIFile& ini) const;
  void ReadRenamingMode();
  void ApplyWindowState();
  bool* ModelFlag(TSetting id) const;
  void PushToExpansion(TSetting id);

  TFileSystem& fs_;
  std::u16string appFolder_;
  TMetaVariables& vars_;
  TMainModel& model_;
  TSystemColours system_;
  std::array<TValue, kSettingCount> values_;
  TColumnLayout columnLayout_;
  bool firstRun_ = false;
  bool windowStateLoaded_ = false;
};
