// Random and mutated bytes fed to every reader of the configuration files:
// nothing crashes or hangs, and every setting stays usable.
#include <gtest/gtest.h>

#include <random>

#include "config/UnitColumnManager.h"
#include "config/UnitColumnVisibility.h"
#include "config/UnitConfig.h"
#include "config/UnitConfigTestSupport.h"
#include "config/UnitCustomColumnsFile.h"
#include "config/UnitFileDrop.h"
#include "config/UnitFilterPresetsFile.h"
#include "config/UnitInsertMenuFile.h"
#include "config/UnitMenuShortcutsFile.h"
#include "config/UnitPlainIniFile.h"
#include "model/UnitMainModel.h"
#include "support/UnitScriptTestContext.h"

namespace {

// Random bytes biased towards the characters INI files are made of.
std::string RandomIniBytes(std::mt19937& rng) {
  static const std::string alphabet = std::string("[]=;\"' \r\n\t\xFF\xFE") + '\0' +
                                      "\xC3\xA9\x80"
                                      "ab01xTitle";
  std::string bytes;
  for (size_t n = rng() % 300; n > 0; --n) {
    bytes.push_back(rng() % 4 == 0 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()]);
  }
  return bytes;
}

// A valid file with a few bytes changed, cut or inserted.
std::string Mutated(std::string bytes, std::mt19937& rng) {
  for (int n = 1 + static_cast<int>(rng() % 4); n > 0 && !bytes.empty(); --n) {
    const size_t at = rng() % bytes.size();
    switch (rng() % 3) {
      case 0:
        bytes[at] = static_cast<char>(rng());
        break;
      case 1:
        bytes.resize(at);
        break;
      default:
        bytes.insert(at, 1, static_cast<char>(rng()));
    }
  }
  return bytes;
}

TEST(TConfigRandomTest, ReadersSurviveRandomAndMutatedFiles) {
  std::mt19937 rng(7321);
  const std::string seeds[] = {ConfigFixture("tw-old-plain.ini"), ConfigFixture("tw-current.ini"),
                               ConfigFixture("customcolumns-cp1252.ini")};
  for (int round = 0; round < 300; ++round) {
    const std::string bytes =
        round % 2 == 0 ? RandomIniBytes(rng) : Mutated(seeds[rng() % std::size(seeds)], rng);
    TScriptTestContext c;
    for (const char16_t* name : {u"tw.ini", u"customcolumns.ini", u"columns.dat", u"menu.ini",
                                 u"filter.ini", u"insert3.ini", u"filedrop.dat"}) {
      c.fs.AddFile(kAppFolder + name, bytes);
    }
    TMainModel model;
    TfrmConfig config(c.fs, kAppFolder, c.vars, model);
    (void)config.LoadConfig();
    EXPECT_TRUE(config.GetColumnButtonPressed() == 0 || config.GetColumnButtonPressed() == 1 ||
                config.GetColumnButtonPressed() == 3);
    TColumnManager columns;
    (void)LoadCustomColumns(c.fs, kAppFolder, columns);
    config.GetLastColumnsSizes(columns);
    EXPECT_GE(columns.Count(), 6u);
    TColumnVisibility visibility;
    (void)LoadColumnVisibility(c.fs, kAppFolder, visibility);
    std::vector<TMenuShortcut> shortcuts = {{u"a", u"F1"}, {u"b", u""}};
    (void)LoadMenuShortcuts(c.fs, kAppFolder, shortcuts);
    std::vector<TMenuEntry> menu;
    (void)LoadFilterMenu(c.fs, kAppFolder, menu);
    EXPECT_GE(menu.size(), 2u);
    (void)LoadInsertMenu(c.fs, kAppFolder, menu);
    EXPECT_GE(menu.size(), 5u);
    TFileDrop drop;
    (void)ReadFileDrop(c.fs, kAppFolder, drop);
    // Whatever was read saves and reads back the same.
    ASSERT_TRUE(config.SaveConfig().ok());
    TMainModel again;
    TfrmConfig reread(c.fs, kAppFolder, c.vars, again);
    EXPECT_TRUE(reread.LoadConfig().ok()) << round;
    EXPECT_EQ(U8(reread.GetLastFolder()), U8(config.UseLastFolder() ? config.GetLastFolder() : u""))
        << round;
    const TPlainIniFile ini = TPlainIniFile::FromBytes(bytes);
    EXPECT_EQ(TPlainIniFile::FromBytes(ini.ToBytes()).SectionNames(), ini.SectionNames());
  }
}

}  // namespace
