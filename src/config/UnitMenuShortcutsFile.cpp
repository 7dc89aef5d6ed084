#include "config/UnitMenuShortcutsFile.h"

#include "config/UnitPlainIniFile.h"
#include "config/UnitShortcutText.h"

namespace {
constexpr char16_t kFileName[] = u"menu.ini";
constexpr char16_t kSection[] = u"shortcuts";
}  // namespace

TStatus LoadMenuShortcuts(TFileSystem& fs, const std::u16string& appFolder,
                          std::vector<TMenuShortcut>& items) {
  const std::u16string path = appFolder + kFileName;
  TPlainIniFile ini;
  bool existed = false;
  if (TStatus st = LoadPlainIniFile(fs, path, ini, existed); !st.ok()) return st;
  if (existed) {
    for (TMenuShortcut& item : items) {
      const std::u16string value = ini.ReadString(kSection, item.name, u"none");
      if (value != u"none") item.shortcut = NormalShortcutText(value);
    }
    return TStatus::Ok();
  }
  for (const TMenuShortcut& item : items) {
    if (!item.shortcut.empty()) ini.WriteString(kSection, item.name, item.shortcut);
  }
  return SavePlainIniFile(fs, path, ini);
}
