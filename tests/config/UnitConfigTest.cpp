#include "config/UnitConfig.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "config/UnitColumnManager.h"
#include "config/UnitConfigTestSupport.h"
#include "model/UnitMainModel.h"
#include "scriptio/UnitMyINIFile.h"
#include "support/UnitScriptTestContext.h"

namespace {

const std::u16string kIniPath = kAppFolder + u"tw.ini";

class TfrmConfigTest : public ::testing::Test {
 protected:
  TScriptTestContext c;  // in-memory file system and a real TMetaVariables
  TMainModel model;

  std::unique_ptr<TfrmConfig> Config(TMainModel& m) {
    return std::make_unique<TfrmConfig>(c.fs, kAppFolder, c.vars, m);
  }
  std::unique_ptr<TfrmConfig> Loaded(const std::string& fixture, TStatus* status = nullptr) {
    if (!fixture.empty()) c.fs.AddFile(kIniPath, ConfigFixture(fixture));
    auto config = Config(model);
    const TStatus st = config->LoadConfig();
    if (status != nullptr) *status = st;
    return config;
  }
  TMyINIFile Stored() {
    TMyINIFile ini;
    const std::string* bytes = c.fs.FileBytes(kIniPath);
    if (bytes != nullptr) ini.LoadFromBytes(*bytes);
    return ini;
  }
  std::u16string StoredText() {
    const std::string* bytes = c.fs.FileBytes(kIniPath);
    std::u16string text;
    for (size_t i = 2; bytes != nullptr && i + 1 < bytes->size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>((*bytes)[i]) |
                                           static_cast<unsigned char>((*bytes)[i + 1]) << 8));
    }
    return text;
  }
  std::string Expand(std::u16string_view text) {
    return U8(c.vars.Expand(text, TestRecord(u"a.txt")).text);
  }
};

// The text a setting is stored with when nothing was ever changed.
std::u16string StoredDefault(const TSettingDef& def) {
  if (def.form == TSettingForm::Colour) return IntToStr(BuiltInColour(def.id, TSystemColours()));
  return def.defaultValue;
}

TEST_F(TfrmConfigTest, LoadsAnOlderSettingsFileWithPlainKeys) {
  c.vars.SetReplacement(u'?', u'Q');
  TStatus status;
  const auto config = Loaded("tw-old-plain.ini", &status);
  ASSERT_TRUE(status.ok()) << U8(status.Message());
  EXPECT_FALSE(config->IsFirstRun());
  struct TFlagCase {
    TSetting id;
    bool on;
  };
  const TFlagCase flags[] = {
      {TSetting::LargeThumbnails, true},      {TSetting::ToggleToolbar, true},
      {TSetting::OnContextMenu, true},        {TSetting::RememberPosition, true},
      {TSetting::RememberSize, false},        {TSetting::FilelistOnLeft, true},
      {TSetting::WideLayout, false},          {TSetting::OpenMaximized, false},
      {TSetting::RememberColumnSizes, true},  {TSetting::FullDateTime, true},
      {TSetting::AutoFormatPopup, false},     {TSetting::ShowUpDown, true},
      {TSetting::IgnoreEmpty, false},         {TSetting::DetectEnvVars, false},
      {TSetting::FilterFolders, false},       {TSetting::AutoPreview, false},
      {TSetting::NoHiddenFiles, true},        {TSetting::DisableIcons, true},
      {TSetting::DontSelectFolders, false},   {TSetting::NoIcache, true},
      {TSetting::MiniRenamingButtons, false}, {TSetting::UseEffects, false},
  };
  for (const TFlagCase& f : flags) {
    EXPECT_EQ(config->Flag(f.id), f.on) << U8(SettingDef(f.id).key);
  }
  EXPECT_EQ(config->GetLastPosition().x, 120);
  EXPECT_EQ(config->GetLastSize().y, 700);
  EXPECT_EQ(config->GetLastSplitterSize().x, 310);
  EXPECT_EQ(config->GetLastSplitterSize().y, 220);
  EXPECT_EQ(U8(config->GetLastFolder()), "/home/anna/Fotos/Sommer \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(config->GetLastBrowsePaneWidth(), 180);
  EXPECT_EQ(config->GetColumnButtonPressed(), 3);
  EXPECT_EQ(config->Integer(TSetting::ThumbnailWidth), 500);
  EXPECT_EQ(U8(config->GetFont().name), "Tahoma");
  EXPECT_TRUE(config->GetFont().bold);
  EXPECT_EQ(config->GetScriptFont().size, 10);
  EXPECT_TRUE(config->GetScriptFont().italic);
  // The window state went to the main window's model.
  EXPECT_EQ(model.fileFolderMode, TFileFolderMode::FoldersOnly);
  EXPECT_TRUE(model.toolbarShown);
  EXPECT_FALSE(model.wideLayout);
  // The replacements went to expansion; the emptied box handed over nothing.
  EXPECT_EQ(c.vars.Replacement(u'\\'), u'_');
  EXPECT_EQ(c.vars.Replacement(u'/'), u'~');
  EXPECT_EQ(c.vars.Replacement(u':'), u' ');
  EXPECT_EQ(c.vars.Replacement(u'?'), u'Q');
  EXPECT_EQ(c.vars.Replacement(u'<'), u')');
  EXPECT_EQ(c.vars.Replacement(u'.'), u',');
  EXPECT_EQ(U8(config->Text(TSetting::ReplaceQuestion)), "");
  // Loading an existing file does not write it.
  EXPECT_EQ(*c.fs.FileBytes(kIniPath), ConfigFixture("tw-old-plain.ini"));
}

TEST_F(TfrmConfigTest, ColoursKeepSystemReferencesAndBuiltIns) {
  const auto config = Loaded("tw-old-plain.ini");
  EXPECT_EQ(config->Colour(TSetting::ColourPathFore), -16777208);  // system window text
  EXPECT_EQ(config->Colour(TSetting::ColourPathBack), 0xFFFFFF);
  EXPECT_EQ(config->Colour(TSetting::ColourCollisionsFore), 0x0000FF);
  EXPECT_EQ(config->Colour(TSetting::ColourToBeRenamed), 0x008000);
  EXPECT_EQ(config->Colour(TSetting::ColourAddStep), 0x748172);     // stored -1
  EXPECT_EQ(config->Colour(TSetting::ColourRemoveStep), 0x726F86);  // missing
  EXPECT_EQ(config->Colour(TSetting::ColourOptionsFore), 0x000000);
  ASSERT_TRUE(config->SaveConfig().ok());
  // A system reference is written back as it is.
  EXPECT_EQ(Stored().ReadInteger(u"Colors", u"lblPathFore", 0), -16777208);
  EXPECT_EQ(Stored().ReadInteger(u"Colors", u"lblToBeRenamed", 0), 0x008000);
}

TEST(TColoursTest, ResolvesSystemColoursThroughThePalette) {
  TSystemColours dark;
  dark.rgb[kSystemWindow] = 0x202020;
  dark.rgb[kSystemWindowText] = 0xF0F0F0;
  EXPECT_EQ(ColorToRGB(-16777208, dark), 0xF0F0F0);
  EXPECT_EQ(ColorToRGB(SystemColour(kSystemWindow), dark), 0x202020);
  EXPECT_EQ(ColorToRGB(SystemColour(200), dark), 0);  // unknown index
  EXPECT_EQ(ColorToRGB(0x123456, dark), 0x123456);
  EXPECT_TRUE(IsSystemColour(-16777211));
  EXPECT_FALSE(IsSystemColour(-1 & 0x00FFFFFF));
  // Built-ins: window colours as RGB of the palette, the rest fixed.
  EXPECT_EQ(BuiltInColour(TSetting::ColourFileListFore, dark), 0xF0F0F0);
  EXPECT_EQ(BuiltInColour(TSetting::ColourFileListBack, dark), 0x202020);
  EXPECT_EQ(BuiltInColour(TSetting::ColourToBeRenamed, dark), -16777208);
  EXPECT_EQ(BuiltInColour(TSetting::ColourStepContainer, dark), 0xC4C4C6);
}

TEST_F(TfrmConfigTest, ReadsTheCurrentStoreAndItsPlainLeftovers) {
  TStatus status;
  const auto config = Loaded("tw-current.ini", &status);
  EXPECT_EQ(U8(config->GetLastFolder()), " /srv/media ");  // quoted: blanks kept
  EXPECT_EQ(config->GetLastPosition().x, 0x20);
  EXPECT_EQ(config->GetLastSize().x, 890);  // "wide" is no number: default
  EXPECT_EQ(config->GetColumnButtonPressed(), 1);
  EXPECT_EQ(c.vars.Replacement(u'\\'), u' ');
  EXPECT_EQ(U8(config->Text(TSetting::ReplaceSlash)), "\" x");
  EXPECT_EQ(U8(config->Text(TSetting::ReplaceAsterisk)), "\"+\"");
  EXPECT_EQ(model.fileFolderMode, TFileFolderMode::FoldersOnly);  // the last "Yes" wins
  EXPECT_EQ(config->Colour(TSetting::ColourFileListBack), -16777211);
  // The value that did not parse is reported with its file and key.
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(U8(status.file()), "/app/tw.ini");
  EXPECT_NE(U8(status.reason()).find("WindowWD"), std::string::npos) << U8(status.reason());
  // Saving adds the suffixed key and leaves the plain one as it was.
  ASSERT_TRUE(config->SaveConfig().ok());
  const std::u16string text = StoredText();
  EXPECT_NE(text.find(u"lastfolder=/old/plain\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"lastfolder_unicode=\" /srv/media \"\r\n"), std::u16string::npos);
}

TEST_F(TfrmConfigTest, FirstRunSavesEveryKeyWithItsDefault) {
  const auto config = Loaded("");
  EXPECT_TRUE(config->IsFirstRun());
  ASSERT_NE(c.fs.FileBytes(kIniPath), nullptr);
  const std::string& bytes = *c.fs.FileBytes(kIniPath);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE[\0", 4));
  const TMyINIFile ini = Stored();
  const std::u16string text = StoredText();
  for (const TSettingDef& def : SettingTable()) {
    EXPECT_EQ(U8(ini.ReadString(def.section, def.key, u"(missing)")), U8(StoredDefault(def)))
        << U8(def.section) << "/" << U8(def.key);
    EXPECT_NE(text.find(std::u16string(def.key) + u"_unicode="), std::u16string::npos)
        << U8(def.key);
  }
  EXPECT_NE(text.find(u"[Startup]\r\nthumbnaillist1_unicode=0\r\n"), std::u16string::npos);
  // The defaults in memory.
  EXPECT_EQ(config->GetLastSize().x, 890);
  EXPECT_EQ(config->GetLastBrowsePaneWidth(), -1);
  EXPECT_EQ(model.fileFolderMode, TFileFolderMode::FilesOnly);
  EXPECT_EQ(U8(config->GetScriptFont().name), "Sans Serif");
  EXPECT_EQ(U8(config->Text(TSetting::ScriptFontBoxName)), "Times New Roman");
  EXPECT_EQ(c.vars.Replacement(u'>'), u'[');
  // The next load is no first run.
  TMainModel other;
  auto again = Config(other);
  ASSERT_TRUE(again->LoadConfig().ok());
  EXPECT_FALSE(again->IsFirstRun());
}

TEST_F(TfrmConfigTest, ReloadingDiscardsUnsavedOptionsButNotTheWindowState) {
  auto config = Loaded("");
  ASSERT_TRUE(config->IsFirstRun());
  config->SetFlag(TSetting::ShowUpDown, true);  // changed in a cancelled dialog
  model.toolbarShown = true;                    // toggled in the main window
  ASSERT_TRUE(config->LoadConfig().ok());       // the dialog is shown again
  EXPECT_FALSE(config->Flag(TSetting::ShowUpDown));
  EXPECT_TRUE(model.toolbarShown);
  EXPECT_FALSE(config->IsFirstRun());
  ASSERT_TRUE(config->SaveConfig().ok());
  EXPECT_TRUE(Stored().ReadBool(u"Startup", u"ToggleToolbar1", false));
}

TEST_F(TfrmConfigTest, AFailedWriteIsReportedAndChangesNothing) {
  auto first = Loaded("");
  const std::string before = *c.fs.FileBytes(kIniPath);
  first->SetLastFolder(u"/elsewhere");
  c.fs.FailWrites(1);
  const TStatus st = first->SaveConfig();
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(U8(st.file()), "/app/tw.ini");
  EXPECT_EQ(*c.fs.FileBytes(kIniPath), before);
  EXPECT_EQ(U8(SaveConfigErrorText(st)).substr(0, 30), "Error saving configuration: \r\n");
  // A first run whose save fails still leaves usable defaults.
  TScriptTestContext other;
  TMainModel m;
  TfrmConfig config(other.fs, kAppFolder, other.vars, m);
  other.fs.FailWrites(1);
  EXPECT_FALSE(config.LoadConfig().ok());
  EXPECT_EQ(config.GetLastSize().y, 650);
}

TEST_F(TfrmConfigTest, LastFolderIsKeptOnlyWithLastUsedPath) {
  auto config = Loaded("");
  config->SetLastFolder(u"/data/photos");
  config->SetLastPosition({-40, 30});
  config->SetFlag(TSetting::DontUseLastFolder, true);
  config->SetFlag(TSetting::RememberPosition, false);
  ASSERT_TRUE(config->SaveConfig().ok());
  EXPECT_EQ(U8(Stored().ReadString(u"Startup", u"lastfolder", u"x")), "");
  EXPECT_EQ(U8(Stored().ReadString(u"Startup", u"DontUseLastFolder", u"x")), "Yes");
  EXPECT_EQ(Stored().ReadInteger(u"Startup", u"WindowX", 0), -40);  // written in any case
  config->SetFlag(TSetting::DontUseLastFolder, false);
  ASSERT_TRUE(config->SaveConfig().ok());
  EXPECT_EQ(U8(Stored().ReadString(u"Startup", u"lastfolder", u"x")), "/data/photos");
}

TEST_F(TfrmConfigTest, QueriesFollowTheRenamingModeAndOptions) {
  auto config = Loaded("");
  struct TCase {
    TFileFolderMode mode;
    bool dontSelectFolders;
    bool files, folders, selectFolders;
  };
  const TCase cases[] = {
      {TFileFolderMode::FilesOnly, true, true, false, false},
      {TFileFolderMode::FilesOnly, false, true, false, true},
      {TFileFolderMode::FoldersOnly, true, false, true, true},
      {TFileFolderMode::FilesAndFolders, true, true, true, false},
      {TFileFolderMode::FilesAndFolders, false, true, true, true},
  };
  for (const TCase& t : cases) {
    model.fileFolderMode = t.mode;
    config->SetFlag(TSetting::DontSelectFolders, t.dontSelectFolders);
    const int mode = static_cast<int>(t.mode);
    EXPECT_EQ(config->RenameFiles(), t.files) << mode;
    EXPECT_EQ(config->RenameFolders(), t.folders) << mode;
    EXPECT_EQ(config->SelectFolders(), t.selectFolders) << mode << " " << t.dontSelectFolders;
  }
  EXPECT_FALSE(config->UseFileIcons());  // icons are not switched off by default
  config->SetFlag(TSetting::DisableIcons, true);
  EXPECT_TRUE(config->UseFileIcons());
  EXPECT_TRUE(config->GetScriptView());
  EXPECT_FALSE(config->GetDisableCollisionDetection());
  EXPECT_TRUE(config->UseLastFolder());
  EXPECT_TRUE(config->GetRememberBrowsePaneState());
  // A radio button switched on selects its mode, switched off changes nothing.
  config->SetFlag(TSetting::RenameFilesFolders, true);
  EXPECT_EQ(model.fileFolderMode, TFileFolderMode::FilesAndFolders);
  config->SetFlag(TSetting::RenameFilesFolders, false);
  EXPECT_EQ(model.fileFolderMode, TFileFolderMode::FilesAndFolders);
}

TEST_F(TfrmConfigTest, SaveFileFolderViewWritesOnlyTheModeKeys) {
  auto config = Config(model);
  model.fileFolderMode = TFileFolderMode::FoldersOnly;
  ASSERT_TRUE(config->SaveFileFolderView().ok());
  const TMyINIFile ini = Stored();
  EXPECT_EQ(ini.ReadSections().size(), 1u);
  EXPECT_EQ(U8(ini.ReadString(u"Renaming", u"Files", u"")), "No");
  EXPECT_EQ(U8(ini.ReadString(u"Renaming", u"Folders", u"")), "Yes");
  EXPECT_EQ(U8(ini.ReadString(u"Renaming", u"FilesFolders", u"")), "No");
}

TEST_F(TfrmConfigTest, ReplacementsAndSwitchesArePushedToExpansion) {
  auto config = Loaded("");
  config->SetText(TSetting::ReplaceSlash, u"ab");
  EXPECT_EQ(c.vars.Replacement(u'/'), u'a');
  config->SetText(TSetting::ReplaceSlash, u"");  // an empty box hands over nothing
  EXPECT_EQ(c.vars.Replacement(u'/'), u'a');
  // Saved empty, restarted: the box is empty and expansion keeps its own.
  ASSERT_TRUE(config->SaveConfig().ok());
  c.vars.SetReplacement(u'/', u'%');
  TMainModel other;
  auto again = Config(other);
  ASSERT_TRUE(again->LoadConfig().ok());
  EXPECT_EQ(U8(again->Text(TSetting::ReplaceSlash)), "");
  EXPECT_EQ(c.vars.Replacement(u'/'), u'%');
  // The two switches.
  c.env.values[u"TW_X"] = u"1";
  EXPECT_EQ(Expand(u"%TW_X%"), "1");
  EXPECT_EQ(Expand(u"?temp?"), "?temp?");
  again->SetFlag(TSetting::DetectEnvVars, false);
  again->SetFlag(TSetting::IgnoreEmpty, false);
  EXPECT_EQ(Expand(u"%TW_X%"), "%TW_X%");
  EXPECT_EQ(Expand(u"?temp?"), "");
}

TEST_F(TfrmConfigTest, ColumnSectionsAreStoredAsPlainKeys) {
  auto config = Loaded("tw-old-plain.ini");
  TColumnManager columns;
  config->GetLastColumnsSizes(columns);
  EXPECT_EQ(U8(columns.Caption(0)), "New Name");
  EXPECT_EQ(U8(columns.Caption(1)), "[+] Name");
  EXPECT_EQ(columns.Column(1).width, 250);
  EXPECT_EQ(U8(columns.Caption(5)), "Date Modified");
  // Store a new layout: plain "Width"/"Index" keys, not the "_unicode" form.
  columns.SetWidth(2, 77);
  config->SetLastColumnsSizes(columns);
  ASSERT_TRUE(config->SaveConfig().ok());
  const std::u16string text = StoredText();
  EXPECT_NE(text.find(u"[Column_Size]\r\nWidth=77\r\nIndex=2\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"[Column_Name]\r\nWidth=250\r\nIndex=1\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"\nWidth_unicode"), std::u16string::npos);
  TMainModel other;
  auto again = Config(other);
  ASSERT_TRUE(again->LoadConfig().ok());
  TColumnManager restored;
  again->GetLastColumnsSizes(restored);
  for (size_t i = 0; i < columns.Count(); ++i) {
    EXPECT_EQ(U8(restored.Caption(i)), U8(columns.Caption(i))) << i;
    EXPECT_EQ(restored.Column(i).width, columns.Column(i).width) << i;
  }
}

TEST_F(TfrmConfigTest, BadFilesNeverCrashAndFallBackToDefaults) {
  const std::string inputs[] = {
      "",                                                 // empty
      std::string("\xFF\xFE", 2),                         // only a byte-order mark
      std::string("\xFF\xFE[\0S\0", 5),                   // odd length, cut inside a line
      "[Startup]\nWindowWD=12abc\nColumnResizeType=7\n",  // no byte-order mark, bad values
      std::string("\x00\x01\x02\xFE\xFF\x80\x81[=]=\r\r\n", 14),
      "[[[[\n====\n]]]]\n[Startup\nWindowWD",
  };
  for (const std::string& input : inputs) {
    TScriptTestContext ctx;
    TMainModel m;
    ctx.fs.AddFile(kIniPath, input);
    TfrmConfig config(ctx.fs, kAppFolder, ctx.vars, m);
    (void)config.LoadConfig();
    EXPECT_EQ(config.GetLastSize().x, 890) << input.size();
    EXPECT_EQ(config.GetColumnButtonPressed(), 0) << input.size();
    EXPECT_TRUE(config.SaveConfig().ok());
  }
  // Values that do not parse are named in the message.
  TScriptTestContext ctx;
  TMainModel m;
  ctx.fs.AddFile(kIniPath, "[Startup]\nWindowWD=12abc\nColumnResizeType=7\n");
  TfrmConfig config(ctx.fs, kAppFolder, ctx.vars, m);
  const TStatus st = config.LoadConfig();
  EXPECT_NE(U8(st.reason()).find("WindowWD"), std::string::npos) << U8(st.reason());
  EXPECT_NE(U8(st.reason()).find("ColumnResizeType"), std::string::npos) << U8(st.reason());
  // A folder where the file should be: defaults and the reason.
  TScriptTestContext folder;
  TMainModel fm;
  folder.fs.AddFolder(kIniPath);
  TfrmConfig blocked(folder.fs, kAppFolder, folder.vars, fm);
  EXPECT_FALSE(blocked.LoadConfig().ok());
  EXPECT_EQ(blocked.GetLastSize().y, 650);
}

// Random values for every setting survive a save and a load.
TEST_F(TfrmConfigTest, RandomSettingsRoundTrip) {
  std::mt19937 rng(20240611);
  const std::u16string pool = u"ab Z09 \"'=;[]\\/:*?|<>.\t\u00E9\u20AC\U0001F600";
  for (int round = 0; round < 30; ++round) {
    TScriptTestContext ctx;
    TMainModel m1, m2;
    TfrmConfig out(ctx.fs, kAppFolder, ctx.vars, m1);
    for (const TSettingDef& def : SettingTable()) {
      if (def.form == TSettingForm::Text) {
        std::u16string text;
        for (size_t n = rng() % 8; n > 0; --n) text.push_back(pool[rng() % pool.size()]);
        out.SetText(def.id, text);
      } else if (def.form == TSettingForm::Integer || def.form == TSettingForm::Colour) {
        out.SetInteger(def.id, static_cast<int>(rng()));
      } else {
        out.SetFlag(def.id, rng() % 2 == 0);
      }
    }
    out.SetColumnButtonPressed(static_cast<uint8_t>(rng() % 2 == 0 ? 1 : 3));
    m1.fileFolderMode = static_cast<TFileFolderMode>(rng() % 3);
    ASSERT_TRUE(out.SaveConfig().ok());
    TfrmConfig in(ctx.fs, kAppFolder, ctx.vars, m2);
    ASSERT_TRUE(in.LoadConfig().ok()) << round;
    for (const TSettingDef& def : SettingTable()) {
      if (!def.read) continue;
      const std::string where = std::to_string(round) + " " + U8(def.key);
      if (def.form == TSettingForm::Text) {
        const bool dropped = def.id == TSetting::LastFolder && !out.UseLastFolder();
        EXPECT_EQ(U8(in.Text(def.id)), dropped ? "" : U8(out.Text(def.id))) << where;
      } else if (def.form == TSettingForm::Integer || def.form == TSettingForm::Colour) {
        EXPECT_EQ(in.Integer(def.id), out.Integer(def.id)) << where;
      } else {
        EXPECT_EQ(in.Flag(def.id), out.Flag(def.id)) << where;
      }
    }
    EXPECT_EQ(m2.fileFolderMode, m1.fileFolderMode);
  }
}

}  // namespace
