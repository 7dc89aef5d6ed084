// The keys of "tw.ini": one table of setting, section, stored key name, form
// and default, in the order they are read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

enum class TSetting : uint8_t {
  LargeThumbnails,  // thumbnaillist1
  ToggleToolbar,    // ToggleToolbar1
  OnContextMenu,
  DontUseLastFolder,
  RememberPosition,
  RememberSize,
  WindowX,
  WindowY,
  WindowWD,
  WindowHT,
  WindowSplitterXa,
  LastSplitterYa,
  FilelistOnLeft,  // MIFilelistonLeftSize1
  WideLayout,      // MIToggleWideLayout1
  OpenMaximized,
  LastFolder,  // lastfolder
  RememberColumnSizes,
  BrowsePaneWidth,    // BroswePaneWidth
  BrowsePaneVisible,  // BroswePaneVisible
  ColumnResizeType,
  RememberBrowserPane,
  FullDateTime,
  ReplaceBackslash,  // the ten reserved-character replacement boxes
  ReplaceSlash,
  ReplaceColon,
  ReplaceAsterisk,
  ReplaceQuestion,
  ReplacePipe,
  ReplaceGreater,
  ReplaceLess,  // Lest
  ReplaceQuote,
  ReplacePeriod,
  AutoFormatPopup,        // cbAutoFormatPopup
  ShowUpDown,             // cbShowUpDown
  AlwaysShowStepButtons,  // cbAlwaysShowStepButtons
  AlwaysShowStepDescriptions,
  IgnoreEmpty,         // cbIgnoreEmpty
  DetectEnvVars,       // cbDetectEnvVars
  AutoCollapse,        // cbAutoCollapse
  RenameFilesOnly,     // Files
  RenameFoldersOnly,   // Folders
  RenameFilesFolders,  // FilesFolders
  FilterFolders,
  AutoPreview,    // cbAutoPreview
  NoHiddenFiles,  // cbNoHiddenFiles
  DisableIcons,
  DontSelectFolders,
  NoIcache,       // cbNoIcache
  NoClearFilter,  // cbNoClearFilter
  FontName,
  FontSize,
  FontBold,
  FontItalic,
  ScriptFontName,
  ScriptFontSize,
  ScriptFontBold,
  ScriptFontItalic,
  ScriptFontBoxName,  // txtScriptFontName
  ThumbnailWidth,
  ThumbnailHeight,
  PickerTopOffset,       // topoffset
  PickerLeftOffset,      // leftoffset
  PickerDetailsVisible,  // DetailsVisible
  MiniRenamingButtons,   // MiniRenamingButtons1
  ColourPathFore,        // lblPathFore ... the twelve colour keys
  ColourPathBack,
  ColourOptionsFore,
  ColourOptionsBack,
  ColourFileListFore,
  ColourFileListBack,
  ColourCollisionsFore,
  ColourToBeRenamed,
  ColourAddStep,
  ColourRemoveStep,
  ColourReplaceStep,
  ColourStepContainer,
  UseEffects,  // cbUseEffects
  RecentFolders,  // the folder box's drop-down, "|" between folders
  Count,
};

constexpr size_t kSettingCount = static_cast<size_t>(TSetting::Count);

// Yes/No: "Yes" (exact) is on, anything else off. Switch: "1"/"0". Colour: a
// signed 32-bit 0x00BBGGRR, or 0xFF0000nn naming system colour nn; -1 keeps
// the built-in colour.
enum class TSettingForm : uint8_t { YesNo, Switch, Integer, Text, Colour };

struct TSettingDef {
  TSetting id;
  const char16_t* section;
  const char16_t* key;
  TSettingForm form;
  const char16_t* defaultValue;  // in stored form
  bool read = true;              // false: written at save, never read
};

// Every setting in file order; entry i describes TSetting i.
std::span<const TSettingDef> SettingTable();
const TSettingDef& SettingDef(TSetting id);

// The face the fonts have before anything is stored (size 9).
constexpr char16_t kDefaultFontName[] = u"Sans Serif";
