#include "config/UnitSettingsTable.h"

#include <array>

namespace {

using F = TSettingForm;
using S = TSetting;

constexpr TSettingDef kTable[] = {
    {S::LargeThumbnails, u"Startup", u"thumbnaillist1", F::Switch, u"0"},
    {S::ToggleToolbar, u"Startup", u"ToggleToolbar1", F::Switch, u"0"},
    {S::OnContextMenu, u"Registry", u"OnContextMenu", F::YesNo, u"No"},
    {S::DontUseLastFolder, u"Startup", u"DontUseLastFolder", F::YesNo, u"No"},
    {S::RememberPosition, u"Startup", u"RememberPosition", F::YesNo, u"Yes"},
    {S::RememberSize, u"Startup", u"RememberSize", F::YesNo, u"Yes"},
    {S::WindowX, u"Startup", u"WindowX", F::Integer, u"0"},
    {S::WindowY, u"Startup", u"WindowY", F::Integer, u"0"},
    {S::WindowWD, u"Startup", u"WindowWD", F::Integer, u"890"},
    {S::WindowHT, u"Startup", u"WindowHT", F::Integer, u"650"},
    {S::WindowSplitterXa, u"Startup", u"WindowSplitterXa", F::Integer, u"0"},
    {S::LastSplitterYa, u"Startup", u"LastSplitterYa", F::Integer, u"0"},
    {S::FilelistOnLeft, u"Startup", u"MIFilelistonLeftSize1", F::Switch, u"0"},
    {S::WideLayout, u"Startup", u"MIToggleWideLayout1", F::Switch, u"1"},
    {S::OpenMaximized, u"Startup", u"OpenMaximized", F::Switch, u"0"},
    {S::LastFolder, u"Startup", u"lastfolder", F::Text, u""},
    {S::RememberColumnSizes, u"Startup", u"RememberColumnSizes", F::Switch, u"0"},
    {S::BrowsePaneWidth, u"Startup", u"BroswePaneWidth", F::Integer, u"-1"},
    {S::BrowsePaneVisible, u"Startup", u"BroswePaneVisible", F::Switch, u"0"},
    {S::ColumnResizeType, u"Startup", u"ColumnResizeType", F::Integer, u"0"},
    {S::RememberBrowserPane, u"Startup", u"RememberBrowserPane", F::Switch, u"1"},
    {S::FullDateTime, u"System", u"FullDateTime", F::YesNo, u"No"},
    {S::ReplaceBackslash, u"System", u"Backslash", F::Text, u"-"},
    {S::ReplaceSlash, u"System", u"Slash", F::Text, u"{"},
    {S::ReplaceColon, u"System", u"Colon", F::Text, u";"},
    {S::ReplaceAsterisk, u"System", u"Asterisk", F::Text, u"+"},
    {S::ReplaceQuestion, u"System", u"Question", F::Text, u"#"},
    {S::ReplacePipe, u"System", u"Pipe", F::Text, u"!"},
    {S::ReplaceGreater, u"System", u"Greater", F::Text, u"["},
    {S::ReplaceLess, u"System", u"Lest", F::Text, u"]"},
    {S::ReplaceQuote, u"System", u"Quote", F::Text, u"'"},
    {S::ReplacePeriod, u"System", u"Period", F::Text, u"."},
    {S::AutoFormatPopup, u"RenamingScript", u"cbAutoFormatPopup", F::Switch, u"1"},
    {S::ShowUpDown, u"RenamingScript", u"cbShowUpDown", F::Switch, u"0"},
    {S::AlwaysShowStepButtons, u"RenamingScript", u"cbAlwaysShowStepButtons", F::Switch, u"0"},
    {S::AlwaysShowStepDescriptions, u"RenamingScript", u"cbAlwaysShowStepDescriptions", F::Switch,
     u"0"},
    {S::IgnoreEmpty, u"RenamingScript", u"cbIgnoreEmpty", F::Switch, u"1"},
    {S::DetectEnvVars, u"RenamingScript", u"cbDetectEnvVars", F::Switch, u"1"},
    {S::AutoCollapse, u"RenamingScript", u"cbAutoCollapse", F::Switch, u"1"},
    {S::RenameFilesOnly, u"Renaming", u"Files", F::YesNo, u"Yes"},
    {S::RenameFoldersOnly, u"Renaming", u"Folders", F::YesNo, u"No"},
    {S::RenameFilesFolders, u"Renaming", u"FilesFolders", F::YesNo, u"No"},
    {S::FilterFolders, u"Renaming", u"FilterFolders", F::YesNo, u"No"},
    {S::AutoPreview, u"Renaming", u"cbAutoPreview", F::Switch, u"1"},
    {S::NoHiddenFiles, u"Renaming", u"cbNoHiddenFiles", F::Switch, u"0"},
    {S::DisableIcons, u"FileOptions", u"DisableIcons", F::YesNo, u"No"},
    {S::DontSelectFolders, u"FileOptions", u"DontSelectFolders", F::YesNo, u"Yes"},
    {S::NoIcache, u"FileOptions", u"cbNoIcache", F::Switch, u"0"},
    {S::NoClearFilter, u"FileOptions", u"cbNoClearFilter", F::Switch, u"0"},
    {S::FontName, u"Font", u"Name", F::Text, kDefaultFontName},
    {S::FontSize, u"Font", u"Size", F::Integer, u"9"},
    {S::FontBold, u"Font", u"Bold", F::Switch, u"0"},
    {S::FontItalic, u"Font", u"Italic", F::Switch, u"0"},
    {S::ScriptFontName, u"ScriptFont", u"Name", F::Text, kDefaultFontName},
    {S::ScriptFontSize, u"ScriptFont", u"Size", F::Integer, u"9"},
    {S::ScriptFontBold, u"ScriptFont", u"Bold", F::Switch, u"0"},
    {S::ScriptFontItalic, u"ScriptFont", u"Italic", F::Switch, u"0"},
    {S::ScriptFontBoxName, u"ScriptFont", u"txtScriptFontName", F::Text, u"Times New Roman"},
    {S::ThumbnailWidth, u"ThumbnailWindow", u"width", F::Integer, u"350"},
    {S::ThumbnailHeight, u"ThumbnailWindow", u"height", F::Integer, u"400"},
    {S::PickerTopOffset, u"MetavariableWindow", u"topoffset", F::Integer, u"0", false},
    {S::PickerLeftOffset, u"MetavariableWindow", u"leftoffset", F::Integer, u"0", false},
    {S::PickerDetailsVisible, u"MetavariableWindow", u"DetailsVisible", F::Switch, u"0", false},
    {S::MiniRenamingButtons, u"View", u"MiniRenamingButtons1", F::Switch, u"1"},
    {S::ColourPathFore, u"Colors", u"lblPathFore", F::Colour, u"-1"},
    {S::ColourPathBack, u"Colors", u"lblPathBack", F::Colour, u"-1"},
    {S::ColourOptionsFore, u"Colors", u"lblOptionsFore", F::Colour, u"-1"},
    {S::ColourOptionsBack, u"Colors", u"lblOptionsBack", F::Colour, u"-1"},
    {S::ColourFileListFore, u"Colors", u"lblFileListFore", F::Colour, u"-1"},
    {S::ColourFileListBack, u"Colors", u"lblFileListBack", F::Colour, u"-1"},
    {S::ColourCollisionsFore, u"Colors", u"lblCollisionsFore", F::Colour, u"-1"},
    {S::ColourToBeRenamed, u"Colors", u"lblToBeRenamed", F::Colour, u"-1"},
    {S::ColourAddStep, u"Colors", u"lblAddStep", F::Colour, u"-1"},
    {S::ColourRemoveStep, u"Colors", u"lblRemoveStep", F::Colour, u"-1"},
    {S::ColourReplaceStep, u"Colors", u"lblReplaceStep", F::Colour, u"-1"},
    {S::ColourStepContainer, u"Colors", u"lblStepContainer", F::Colour, u"-1"},
    {S::UseEffects, u"Colors", u"cbUseEffects", F::Switch, u"1"},
    {S::RecentFolders, u"Startup", u"RecentFolders", F::Text, u""},
};

static_assert(std::size(kTable) == kSettingCount, "one table row per setting");

constexpr bool RowsInEnumOrder() {
  for (size_t i = 0; i < std::size(kTable); ++i) {
    if (static_cast<size_t>(kTable[i].id) != i) return false;
  }
  return true;
}
static_assert(RowsInEnumOrder(), "row i describes TSetting i");

}  // namespace

std::span<const TSettingDef> SettingTable() { return kTable; }

const TSettingDef& SettingDef(TSetting id) { return kTable[static_cast<size_t>(id)]; }
