#include "config/UnitFilterPresetsFile.h"

#include "config/UnitPlainIniFile.h"

namespace {

constexpr char16_t kFileName[] = u"filter.ini";

struct TPreset {
  const char16_t* caption;
  const char16_t* filter;
};

constexpr TPreset kBuiltInPresets[] = {
    {u"JPEGs: (*.jp*g)", u"*.jp*g"},
    {u"MP3's: (*.mp3)", u"*.mp3"},
};

std::vector<TMenuEntry> FixedItems() {
  return {TMenuEntry::Item(u"Default: (*.*)", u"*.*"), TMenuEntry::Separator()};
}

}  // namespace

std::vector<TMenuEntry> BuiltInFilterMenu() {
  std::vector<TMenuEntry> menu = FixedItems();
  for (const TPreset& p : kBuiltInPresets) menu.push_back(TMenuEntry::Item(p.caption, p.filter));
  return menu;
}

TStatus LoadFilterMenu(TFileSystem& fs, const std::u16string& appFolder,
                       std::vector<TMenuEntry>& menu) {
  const std::u16string path = appFolder + kFileName;
  menu = BuiltInFilterMenu();
  TPlainIniFile ini;
  bool existed = false;
  if (TStatus st = LoadPlainIniFile(fs, path, ini, existed); !st.ok()) return st;
  if (!existed) {
    for (const TPreset& p : kBuiltInPresets) ini.WriteString(u"Filter", p.caption, p.filter);
    return SavePlainIniFile(fs, path, ini);
  }
  menu = FixedItems();
  for (const std::u16string& section : ini.SectionNames()) {
    for (const TPlainIniValue& v : ini.SectionValues(section)) {
      menu.push_back(TMenuEntry::Item(v.key, v.value));
    }
  }
  return TStatus::Ok();
}
