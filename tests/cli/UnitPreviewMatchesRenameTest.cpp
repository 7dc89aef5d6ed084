// What `--preview` shows is what `-xi` does: random settings in the
// application folder, random scripts and random folders, run through the real
// command line on real files.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandLineMain.h"
#include "cli/UnitCommandOutput.h"
#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepReplace.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"
#include "session/UnitSession.h"
#include "support/UnitFakeServices.h"
#include "support/UnitRenameRunFixture.h"
#include "support/UnitTempFolder.h"

namespace {

using TRandom = std::mt19937;

template <typename T>
const T& Pick(TRandom& random, const std::vector<T>& items) {
  return items[std::uniform_int_distribution<size_t>(0, items.size() - 1)(random)];
}

bool Chance(TRandom& random) { return std::bernoulli_distribution(0.5)(random); }

struct TPreviewLine {
  bool checked = false;
  std::u16string caption;
  std::u16string newName;
  std::u16string flags;
};

std::vector<TPreviewLine> ParsePreview(const std::u16string& out) {
  std::vector<TPreviewLine> lines;
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find(u'\n', start);
    if (end == std::u16string::npos) end = out.size();
    const std::u16string line = out.substr(start, end - start);
    start = end + 1;
    if (line.starts_with(u"# ")) continue;
    std::vector<std::u16string> fields;
    size_t from = 0;
    for (size_t tab; (tab = line.find(u'\t', from)) != std::u16string::npos; from = tab + 1) {
      fields.push_back(line.substr(from, tab - from));
    }
    fields.push_back(line.substr(from));
    EXPECT_EQ(fields.size(), 4u) << Utf16ToUtf8(line);
    if (fields.size() == 4) lines.push_back({fields[0] == u"1", fields[1], fields[2], fields[3]});
  }
  return lines;
}

// Random settings that decide what is listed and how names come out.
void WriteSettings(TFileSystem& fs, const std::u16string& home, TRandom& random) {
  TMyINIFile ini;
  ini.Create(fs, home + u"tw.ini");
  const int mode = std::uniform_int_distribution<int>(0, 2)(random);
  ini.WriteString(u"Renaming", u"Files", mode == 0 ? u"Yes" : u"No");
  ini.WriteString(u"Renaming", u"Folders", mode == 1 ? u"Yes" : u"No");
  ini.WriteString(u"Renaming", u"FilesFolders", mode == 2 ? u"Yes" : u"No");
  ini.WriteString(u"Renaming", u"cbNoHiddenFiles", Chance(random) ? u"1" : u"0");
  ini.WriteString(u"FileOptions", u"DontSelectFolders", Chance(random) ? u"Yes" : u"No");
  ini.WriteString(u"RenamingScript", u"cbIgnoreEmpty", Chance(random) ? u"1" : u"0");
  ini.WriteString(u"System", u"Colon", Pick(random, std::vector<std::u16string>{u";", u"_", u":"}));
  ini.WriteString(u"System", u"Slash", Pick(random, std::vector<std::u16string>{u"{", u"/"}));
  ASSERT_TRUE(ini.UpdateFile().ok());
  std::string exclude;
  for (const char* mask : {"*.txt\n", "b*\n", ".hid\n"}) {
    if (Chance(random)) exclude += mask;
  }
  ASSERT_TRUE(fs.WriteWholeFile(home + u"exclude.ini", exclude).ok());
}

// A script of one to three steps that swap, chain, collide, leave the folder
// name alone or not, add illegal characters and variables that may be empty.
void WriteScript(TFileSystem& fs, const std::u16string& home, TRandom& random) {
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession maker(fs, clock, env, tags, home);
  const int steps = std::uniform_int_distribution<int>(1, 3)(random);
  for (int i = 0; i < steps; ++i) {
    const int kind = std::uniform_int_distribution<int>(0, 5)(random);
    if (kind <= 1) {
      TScriptStep& step = maker.script.NewScriptControl(TScriptType::stReplaceNameExtension);
      step.SetText(TScriptStepReplaceNameExtension::txtReplacePhrase, kind == 0 ? u"a" : u"b");
      step.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, kind == 0 ? u"b" : u"a");
      step.SetChoice(TScriptStepReplaceNameExtension::cbxReplaceTarget, 1);
      continue;
    }
    TScriptStep& step = maker.script.NewScriptControl(TScriptType::stAddBeginningEnding);
    // Sizes and dates too: a run that reads none lists names only.
    const std::vector<std::u16string> texts = {u"x:",    u"?x_dto:Fyyyy-mm-dd? ", u"d/",
                                               u"?cfo?", u"?n01?", u"?zn?", u"?dmo?"};
    step.SetText(TScriptStepAddBeginningEnding::txtAdd, Pick(random, texts));
    step.SetChoice(TScriptStepAddBeginningEnding::cbxAddAtThe, Chance(random) ? 0 : 1);
  }
  ASSERT_TRUE(SaveToFile(maker.script, maker.twscript, fs, home + u"t.twscr").ok());
}

// Files and folders whose names collide, swap, chain, differ in case, hide,
// hold a byte that is not UTF-8, or end in the temporary suffix.
void WriteFolder(TFileSystem& fs, const std::u16string& folder, TRandom& random) {
  const std::vector<std::u16string> names = {
      u"a", u"b", u"ab", u"A", u"x.txt", u"X.TXT", u"y.txt", u".hid", u"c d",
      u"n\xDCFF", u"a.TW_TEMPNAME", u"ba", u"d"};
  ASSERT_TRUE(fs.CreateFolderPath(folder).ok());
  for (const std::u16string& name : names) {
    if (Chance(random)) {
      ASSERT_TRUE(fs.WriteWholeFile(folder + u"/" + name, Utf16ToUtf8(name)).ok());
    }
  }
  for (const std::u16string sub : {u"sub", u"ad"}) {
    if (!Chance(random)) continue;
    ASSERT_TRUE(fs.CreateFolderPath(folder + u"/" + sub).ok());
    ASSERT_TRUE(fs.WriteWholeFile(folder + u"/" + sub + u"/in", Utf16ToUtf8(sub + u"/in")).ok());
  }
}

class TCommandLineRunner {
 public:
  TCommandLineRunner(TFileSystem& fs, const std::u16string& home) : fs_(fs), tags_(fs, u"/nowhere/debug") {
    env_.values[u"TALLOWICK_HOME"] = home;
  }
  int Run(const std::vector<std::u16string>& args, TStringOutput& output) {
    std::vector<std::string> bytes;
    for (const std::u16string& arg : args) bytes.push_back(Utf16ToUtf8(arg));
    return RunCommandLine({fs_, clock_, env_, tags_, output}, bytes);
  }

 private:
  TFileSystem& fs_;
  TFixedClock clock_{46000};
  TMapEnvironment env_;
  TFileTagReader tags_;
};

// Where each file of the folder may be after the run: under its old path,
// or under the new path the preview promised its entry (or the folder that
// holds it), both when the entry collides.
std::map<std::string, std::set<std::u16string>> AllowedPlaces(
    const std::map<std::u16string, std::string>& before, const std::vector<TPreviewLine>& preview,
    const std::u16string& folder) {
  std::map<std::string, std::set<std::u16string>> allowed;
  for (const auto& [path, content] : before) {
    if (path.ends_with(u"/")) continue;
    std::set<std::u16string>& places = allowed[content];
    places.insert(path);
    const std::u16string relative = path.substr(folder.size() + 1);
    for (const TPreviewLine& line : preview) {
      const bool owns = relative == line.caption || relative.starts_with(line.caption + u"/");
      if (!owns || line.flags.find(u'R') == std::u16string::npos) continue;
      if (line.flags.find(u'I') != std::u16string::npos) continue;
      const std::u16string moved = folder + u"/" + line.newName + relative.substr(line.caption.size());
      // A colliding entry may keep its name; so may one moved into a folder
      // whose name a file holds, which the preview does not look for.
      const bool mayFail = line.flags.find(u'C') != std::u16string::npos ||
                           line.newName.find(u'/') != std::u16string::npos;
      if (!mayFail) places.clear();
      places.insert(moved);
    }
  }
  return allowed;
}

TEST(TPreviewMatchesRenameTest, TheBatchRenamesExactlyWhatThePreviewShows) {
  TRandom random(20261209);
  for (int trial = 0; trial < 150; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const TTempFolder temp;
    const std::u16string root = Utf8ToUtf16(temp.Path());
    const std::u16string home = root + u"/home/";
    const std::u16string folder = root + u"/f";
    const auto fs = NewPosixFileSystem();
    ASSERT_TRUE(fs->CreateFolderPath(home).ok());
    WriteSettings(*fs, home, random);
    WriteScript(*fs, home, random);
    WriteFolder(*fs, folder, random);
    const auto before = Snapshot(*fs, folder);
    TCommandLineRunner tallowick(*fs, home);

    TStringOutput preview;
    ASSERT_EQ(tallowick.Run({u"--preview", home + u"t.twscr", folder}, preview), 0)
        << Utf16ToUtf8(preview.err);
    EXPECT_EQ(Snapshot(*fs, folder), before) << "the preview changed the folder";
    const std::vector<TPreviewLine> lines = ParsePreview(preview.out);

    TStringOutput batch;
    const int code = tallowick.Run({u"-xi", u"t.twscr", folder}, batch);
    const auto after = Snapshot(*fs, folder);
    const auto allowed = AllowedPlaces(before, lines, folder);
    size_t files = 0;
    for (const auto& [path, content] : after) {
      if (path.ends_with(u"/")) continue;
      ++files;
      const auto places = allowed.find(content);
      ASSERT_NE(places, allowed.end()) << "unknown file " << Utf16ToUtf8(path);
      EXPECT_EQ(places->second.count(path), 1u)
          << Utf16ToUtf8(path) << " holds " << content << "; preview:\n"
          << Utf16ToUtf8(preview.out) << "batch (" << code << "):\n"
          << Utf16ToUtf8(batch.err);
    }
    EXPECT_EQ(files, allowed.size()) << "a file was lost or overwritten";
    // Exit code 0 when nothing the preview marked, nor a move into a folder,
    // could fail. (A file left under a temporary name is in no allowed place.)
    bool clean = true;
    for (const TPreviewLine& line : lines) {
      if (line.flags.find(u'R') != std::u16string::npos &&
          (line.flags.find_first_of(u"CI") != std::u16string::npos ||
           line.newName.find(u'/') != std::u16string::npos)) {
        clean = false;
      }
    }
    if (clean) {
      EXPECT_EQ(code, 0) << Utf16ToUtf8(batch.err);
    }
  }
}

}  // namespace
