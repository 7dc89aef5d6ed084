#include <gtest/gtest.h>

#include "config/UnitConfigTestSupport.h"
#include "config/UnitFileDrop.h"
#include "config/UnitFilterPresetsFile.h"
#include "config/UnitInsertMenuFile.h"
#include "config/UnitMenuShortcutsFile.h"
#include "config/UnitShortcutText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

// "caption=text" per item, "-" for separators, submenus in brackets.
std::string Show(const std::vector<TMenuEntry>& menu) {
  std::string out;
  for (const TMenuEntry& e : menu) {
    if (!out.empty()) out += "; ";
    if (e.separator) {
      out += "-";
    } else if (!e.children.empty()) {
      out += U8(e.caption) + " [" + Show(e.children) + "]";
    } else {
      out += U8(e.caption) + "=" + U8(e.text) + (e.enabled ? "" : " (off)");
    }
  }
  return out;
}

TEST(TShortcutTextTest, RecognisesShortcutTexts) {
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"Ctrl+T", "Ctrl+T"},
      {u"ctrl+t", "Ctrl+T"},
      {u"Shift+Ctrl+F5", "Ctrl+Shift+F5"},
      {u"Alt+Shift+Ctrl+Del", "Ctrl+Alt+Shift+Del"},
      {u" F12 ", "F12"},
      {u"F24", "F24"},
      {u"Ctrl+PgDn", "Ctrl+PgDown"},
      {u"BkSp", "Backspace"},
      {u"Ctrl++", "Ctrl++"},
      {u"Ctrl+1", "Ctrl+1"},
      {u"none", ""},
      {u"", ""},
      {u"Ctrl+", ""},
      {u"F0", ""},
      {u"F25", ""},
      {u"F01", ""},
      {u"Hyper+X", ""},
      {u"Ctrl+\u00E9", ""},
      {u"Ctrl+Shift", ""},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(U8(NormalShortcutText(text)), expected) << U8(text);
  }
}

TEST(TMenuShortcutsFileTest, WritesTheBuiltInShortcutsWhenMissing) {
  TFakeFileSystem fs;
  std::vector<TMenuShortcut> items = {
      {u"Preview1", u"F5"}, {u"Rename1", u""}, {u"Undo1", u"Ctrl+Z"}};
  ASSERT_TRUE(LoadMenuShortcuts(fs, kAppFolder, items).ok());
  EXPECT_EQ(*fs.FileBytes(u"/app/menu.ini"), "[shortcuts]\nPreview1=F5\nUndo1=Ctrl+Z\n");
  EXPECT_EQ(U8(items[0].shortcut), "F5");
}

TEST(TMenuShortcutsFileTest, AppliesTheUsersShortcuts) {
  TFakeFileSystem fs;
  const std::string file =
      "[Shortcuts]\r\nPreview1=none\r\nUndo1=shift+ctrl+z\r\nRename1=Banana\r\n";
  fs.AddFile(u"/app/menu.ini", file);
  std::vector<TMenuShortcut> items = {
      {u"Preview1", u"F5"}, {u"Rename1", u"F2"}, {u"Undo1", u"Ctrl+Z"}, {u"Quit1", u"Ctrl+Q"}};
  ASSERT_TRUE(LoadMenuShortcuts(fs, kAppFolder, items).ok());
  EXPECT_EQ(U8(items[0].shortcut), "F5");  // "none" keeps the built-in one
  EXPECT_EQ(U8(items[1].shortcut), "");    // unrecognisable: no shortcut
  EXPECT_EQ(U8(items[2].shortcut), "Ctrl+Shift+Z");
  EXPECT_EQ(U8(items[3].shortcut), "Ctrl+Q");        // not in the file
  EXPECT_EQ(*fs.FileBytes(u"/app/menu.ini"), file);  // never rewritten
}

TEST(TFilterPresetsFileTest, CreatesOrReadsThePresets) {
  TFakeFileSystem fs;
  std::vector<TMenuEntry> menu;
  ASSERT_TRUE(LoadFilterMenu(fs, kAppFolder, menu).ok());
  EXPECT_EQ(Show(menu), "Default: (*.*)=*.*; -; JPEGs: (*.jp*g)=*.jp*g; MP3's: (*.mp3)=*.mp3");
  EXPECT_EQ(*fs.FileBytes(u"/app/filter.ini"),
            "[Filter]\nJPEGs: (*.jp*g)=*.jp*g\nMP3's: (*.mp3)=*.mp3\n");
  // A file without keys leaves the fixed items only.
  fs.AddFile(u"/app/filter.ini", "[Filter]\n");
  ASSERT_TRUE(LoadFilterMenu(fs, kAppFolder, menu).ok());
  EXPECT_EQ(Show(menu), "Default: (*.*)=*.*; -");
  // Every key of every section, in file order; section names are not shown.
  fs.AddFile(u"/app/filter.ini", "[Pictures]\nPNG=*.png\nRaw=*.cr2\n[Music]\nFLAC='*.flac'\n");
  ASSERT_TRUE(LoadFilterMenu(fs, kAppFolder, menu).ok());
  EXPECT_EQ(Show(menu), "Default: (*.*)=*.*; -; PNG=*.png; Raw=*.cr2; FLAC=*.flac");
}

TEST(TInsertMenuFileTest, CreatesTheBuiltInGroupsAndReadsThemBack) {
  TFakeFileSystem fs;
  std::vector<TMenuEntry> menu;
  ASSERT_TRUE(LoadInsertMenu(fs, kAppFolder, menu).ok());
  ASSERT_NE(fs.FileBytes(u"/app/insert3.ini"), nullptr);
  std::vector<TMenuEntry> reread;
  ASSERT_TRUE(LoadInsertMenu(fs, kAppFolder, reread).ok());
  EXPECT_EQ(Show(reread), Show(menu));
  EXPECT_EQ(Show(menu), Show(BuiltInInsertMenu()));
  ASSERT_EQ(menu.size(), 10u);
  EXPECT_EQ(U8(menu[0].caption), "Renumbering");
  EXPECT_EQ(Show(menu[4].children),
            "Track=?i_tr?; Song Title=?i_ti?; Album=?i_al?; Artist=?i_ar?; -; "
            "Track - Song Title=?i_tr? - ?i_ti?; "
            "Artist - Track - Song Title=?i_ar? - ?i_tr? - ?i_ti?; "
            "Artist - Album/Track - Song Title=?i_ar? - ?i_al?/?i_tr? - ?i_ti?; -; "
            "More ...=MORE/MP3");
  EXPECT_EQ(Show(menu[2].children),
            "Extension=?t?; Parent Folder=?pf?; Current Folder=?cf?; Size in bytes=?zc?; "
            "Size in megabytes=?zm2d?; -; More ...=MORE/PROPERTIES");
  EXPECT_EQ(Show({menu.begin() + 5, menu.end()}),
            "?temp? variable=?temp?; Textfile= (off); -; Wildcards [?  [1 character exactly]=?; "
            "*  [0 or more characters]=*; ?* [1 or more characters]=?*]; "
            "Advanced Insert / More ...=MORE/");
  const std::string& file = *fs.FileBytes(u"/app/insert3.ini");
  EXPECT_EQ(file.substr(0, 39), "[Renumbering]\nCounter=?n02?\nTotal Files");
  EXPECT_NE(file.find("\n\n[File Date]\n"), std::string::npos);
}

TEST(TInsertMenuFileTest, AnExtraSectionAddsASubmenu) {
  TFakeFileSystem fs;
  fs.AddFile(u"/app/insert3.ini", "[Mine]\nYear=?dmo:FYYYY?\n-=\n[mp3]\nArtist=?i_ar?\n");
  std::vector<TMenuEntry> menu;
  ASSERT_TRUE(LoadInsertMenu(fs, kAppFolder, menu).ok());
  ASSERT_EQ(menu.size(), 7u);
  EXPECT_EQ(Show({menu[0], menu[1]}),
            "Mine [Year=?dmo:FYYYY?; -]; mp3 [Artist=?i_ar?; -; More ...=MORE/MP3]");
}

TEST(TInsertMenuFileTest, ItemsEitherInsertOrOpenThePicker) {
  const std::pair<const char16_t*, TInsertAction> cases[] = {
      {u"MORE/JPEG", TInsertAction::PickerJpeg},
      {u"MORE/MP3", TInsertAction::PickerMp3},
      {u"MORE/PROPERTIES", TInsertAction::PickerProperties},
      {u"MORE/", TInsertAction::PickerMain},
      {u"more/mp3", TInsertAction::InsertText},
      {u"?n02?", TInsertAction::InsertText},
  };
  for (const auto& [text, action] : cases) EXPECT_EQ(InsertActionOf(text), action) << U8(text);
}

TEST(TFileDropTest, ReadsTheListLastFirst) {
  TFakeFileSystem fs;
  fs.AddFile(u"/app/filedrop.dat", ConfigFixture("filedrop-cp1252.dat"));
  TFileDrop drop;
  ASSERT_TRUE(ReadFileDrop(fs, kAppFolder, drop).ok());
  ASSERT_EQ(drop.paths.size(), 2u);
  EXPECT_EQ(U8(drop.folder), "/home/anna/M\xC3\xBCsik/");
  ASSERT_EQ(drop.namesLastFirst.size(), 2u);
  EXPECT_EQ(U8(drop.namesLastFirst[0]), "02 song.mp3");
  EXPECT_EQ(U8(drop.namesLastFirst[1]), "01 intro.mp3");
  // A name without folder, and the failures.
  fs.AddFile(u"/app/filedrop.dat", "alone.txt");
  ASSERT_TRUE(ReadFileDrop(fs, kAppFolder, drop).ok());
  EXPECT_EQ(U8(drop.folder), "");
  EXPECT_EQ(U8(drop.namesLastFirst[0]), "alone.txt");
  fs.AddFile(u"/app/filedrop.dat", "\r\n\n");
  EXPECT_FALSE(ReadFileDrop(fs, kAppFolder, drop).ok());
  EXPECT_TRUE(drop.paths.empty());
  TFakeFileSystem empty;
  const TStatus missing = ReadFileDrop(empty, kAppFolder, drop);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(U8(missing.file()), "/app/filedrop.dat");
}

}  // namespace
