#include "config/UnitCustomColumnsFile.h"

#include <cerrno>

#include "config/UnitColumnManager.h"
#include "config/UnitPlainIniFile.h"
#include "platform/UnitText.h"

namespace {

constexpr char16_t kFileName[] = u"customcolumns.ini";

std::u16string SectionOf(size_t i) { return u"CustomColumn" + IntToStr(static_cast<long long>(i)); }

}  // namespace

TStatus LoadCustomColumns(TFileSystem& fs, const std::u16string& appFolder,
                          TColumnManager& columns) {
  const std::u16string path = appFolder + kFileName;
  TPlainIniFile ini;
  bool existed = false;
  if (TStatus st = LoadPlainIniFile(fs, path, ini, existed); !st.ok()) return st;
  const int total = ini.ReadInteger(u"Start", u"TotalCustomColumns", 0);
  std::u16string problem;
  for (int i = 0; i < total; ++i) {
    const std::u16string section = SectionOf(static_cast<size_t>(i));
    const std::u16string title = ini.ReadString(section, u"Title", u"");
    if (title.empty()) {
      if (problem.empty()) problem = u"[" + section + u"] has no title";
      // Past the last section nothing more can follow: stop early.
      if (!ini.HasSection(section)) break;
      continue;
    }
    TStatus st = columns.AddOrReplaceCustomColumn(title, ini.ReadString(section, u"Data", u""),
                                                  ini.ReadInteger(section, u"Type", 0));
    if (!st.ok()) return TStatus::Error(EINVAL, path, st.reason());
  }
  if (!problem.empty()) return TStatus::Error(EINVAL, path, problem);
  return TStatus::Ok();
}

TStatus SaveCustomColumns(TFileSystem& fs, const std::u16string& appFolder,
                          const TColumnManager& columns) {
  const std::u16string path = appFolder + kFileName;
  TPlainIniFile ini;
  bool existed = false;
  // An unreadable old file is replaced by a fresh one.
  (void)LoadPlainIniFile(fs, path, ini, existed);
  ini.WriteInteger(u"Start", u"TotalCustomColumns", static_cast<int>(columns.CustomCount()));
  for (size_t i = 0; i < columns.CustomCount(); ++i) {
    const TCustomColumn& c = columns.Custom(i);
    ini.WriteString(SectionOf(i), u"Title", c.title);
    ini.WriteString(SectionOf(i), u"Data", c.data);
    ini.WriteInteger(SectionOf(i), u"Type", c.wrapper.columnType);
  }
  return SavePlainIniFile(fs, path, ini);
}
