#include "config/UnitInsertMenuFile.h"

#include "config/UnitPlainIniFile.h"
#include "platform/UnitText.h"

namespace {

constexpr char16_t kFileName[] = u"insert3.ini";
constexpr char16_t kPickerMain[] = u"MORE/";

struct TInsertItem {
  const char16_t* caption;  // "-" is a separator
  const char16_t* text;
};
struct TInsertGroup {
  const char16_t* name;
  std::vector<TInsertItem> items;
};

// The built-in groups in file order. The sub-folder separator in a new name
// is "/" here. The original item "Artist - Track - Song Title" carries a
// trailing blank that reading always dropped; it is left out.
const std::vector<TInsertGroup>& BuiltInGroups() {
  static const std::vector<TInsertGroup> groups = {
      {u"Renumbering",
       {{u"Counter", u"?n02?"},
        {u"Total Files", u"?c?"},
        {u"Selected Files", u"?sc?"},
        {u"Total Files in Current Folder", u"?fc?"},
        {u"-", u""},
        {u"File00 - padded with 2 zeros", u"File?n02?"},
        {u"File0000 - padded with 4 zeros", u"File?n04?"},
        {u"(01/30) - current and total files", u"(?n02?/?fc?)"}}},
      {u"File Date",
       {{u"Date Modified in YYYY-MM-DD format", u"?dmo:FYYYY-MM-DD?"},
        {u"Date Created in YYYY-MM-DD format", u"?dc:FYYYY-MM-DD?"},
        {u"-", u""},
        {u"Date Modified Year", u"?dmo:FYYYY?"},
        {u"Date Modified Day", u"?dmo:FDD?"},
        {u"Date Modified Month Name", u"?dmo:FMMMM?"},
        {u"Date Modified Time in HH-MM-SS format", u"?dmo:FHH-MM-SS?"}}},
      {u"File Properties",
       {{u"Extension", u"?t?"},
        {u"Parent Folder", u"?pf?"},
        {u"Current Folder", u"?cf?"},
        {u"Size in bytes", u"?zc?"},
        {u"Size in megabytes", u"?zm2d?"}}},
      {u"JPEG",
       {{u"Width", u"?J_W?"},
        {u"Height", u"?J_H?"},
        {u"-", u""},
        {u"Width x Height", u"?J_W? x ?J_H?"},
        {u"Date in YYYY-MM-DD format", u"?x_dt:Fyyyy-MM-dd?"}}},
      {u"MP3",
       {{u"Track", u"?i_tr?"},
        {u"Song Title", u"?i_ti?"},
        {u"Album", u"?i_al?"},
        {u"Artist", u"?i_ar?"},
        {u"-", u""},
        {u"Track - Song Title", u"?i_tr? - ?i_ti?"},
        {u"Artist - Track - Song Title", u"?i_ar? - ?i_tr? - ?i_ti?"},
        {u"Artist - Album/Track - Song Title", u"?i_ar? - ?i_al?/?i_tr? - ?i_ti?"}}},
  };
  return groups;
}

// Groups with a "More ..." item that opens the picker on their page.
const char16_t* MoreTextOf(std::u16string_view group) {
  if (SameTextIgnoringCase(group, u"JPEG")) return u"MORE/JPEG";
  if (SameTextIgnoringCase(group, u"MP3")) return u"MORE/MP3";
  if (SameTextIgnoringCase(group, u"File Properties")) return u"MORE/PROPERTIES";
  return nullptr;
}

TMenuEntry GroupEntry(std::u16string name, const std::vector<TPlainIniValue>& items) {
  TMenuEntry group = TMenuEntry::Item(std::move(name), u"");
  for (const TPlainIniValue& item : items) {
    group.children.push_back(item.key == u"-" ? TMenuEntry::Separator()
                                              : TMenuEntry::Item(item.key, item.value));
  }
  if (const char16_t* more = MoreTextOf(group.caption)) {
    group.children.push_back(TMenuEntry::Separator());
    group.children.push_back(TMenuEntry::Item(u"More ...", more));
  }
  return group;
}

void AppendFixedItems(std::vector<TMenuEntry>& menu) {
  menu.push_back(TMenuEntry::Item(u"?temp? variable", u"?temp?"));
  TMenuEntry textfile = TMenuEntry::Item(u"Textfile", u"");
  textfile.enabled = false;
  menu.push_back(textfile);
  menu.push_back(TMenuEntry::Separator());
  TMenuEntry wildcards = TMenuEntry::Item(u"Wildcards", u"");
  wildcards.children = {TMenuEntry::Item(u"?  [1 character exactly]", u"?"),
                        TMenuEntry::Item(u"*  [0 or more characters]", u"*"),
                        TMenuEntry::Item(u"?* [1 or more characters]", u"?*")};
  menu.push_back(wildcards);
  menu.push_back(TMenuEntry::Item(u"Advanced Insert / More ...", kPickerMain));
}

TPlainIniFile BuiltInFile() {
  TPlainIniFile ini;
  for (const TInsertGroup& g : BuiltInGroups()) {
    for (const TInsertItem& item : g.items) ini.WriteString(g.name, item.caption, item.text);
  }
  return ini;
}

std::vector<TMenuEntry> MenuFrom(const TPlainIniFile& ini) {
  std::vector<TMenuEntry> menu;
  for (const std::u16string& section : ini.SectionNames()) {
    menu.push_back(GroupEntry(section, ini.SectionValues(section)));
  }
  AppendFixedItems(menu);
  return menu;
}

}  // namespace

TInsertAction InsertActionOf(std::u16string_view text) {
  if (text == u"MORE/JPEG") return TInsertAction::PickerJpeg;
  if (text == u"MORE/MP3") return TInsertAction::PickerMp3;
  if (text == u"MORE/PROPERTIES") return TInsertAction::PickerProperties;
  if (text == kPickerMain) return TInsertAction::PickerMain;
  return TInsertAction::InsertText;
}

std::vector<TMenuEntry> BuiltInInsertMenu() { return MenuFrom(BuiltInFile()); }

TStatus LoadInsertMenu(TFileSystem& fs, const std::u16string& appFolder,
                       std::vector<TMenuEntry>& menu) {
  const std::u16string path = appFolder + kFileName;
  menu = BuiltInInsertMenu();
  TPlainIniFile ini;
  bool existed = false;
  if (TStatus st = LoadPlainIniFile(fs, path, ini, existed); !st.ok()) return st;
  if (!existed) return SavePlainIniFile(fs, path, BuiltInFile());
  menu = MenuFrom(ini);
  return TStatus::Ok();
}
