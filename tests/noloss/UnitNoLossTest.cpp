// Nothing is ever lost: random scripts over random folders, through the real
// command line on real files (the preview, the four batch modes, --undo,
// --recover, and runs cut short at any change they make on disk), on the
// machine's own file system, on file systems that ignore letter case (vfat,
// ext4 with casefold) and on a small one that is full before the run starts.
// Afterwards every file is there with its content, once, none under a
// temporary name; after --undo (or --recover) each is back where it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepReplace.h"
#include "noloss/UnitLoopMount.h"
#include "noloss/UnitNoLossSupport.h"
#include "platform/UnitText.h"
#include "scriptio/UnitMyINIFile.h"
#include "scriptio/UnitScriptFile.h"
#include "session/UnitSession.h"
#include "support/UnitTempFolder.h"

namespace {

using TRandom = std::mt19937;

int Between(TRandom& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

template <typename T>
const T& Pick(TRandom& random, const std::vector<T>& items) {
  return items[static_cast<size_t>(Between(random, 0, static_cast<int>(items.size()) - 1))];
}

// Names of the folder to rename, as bytes: blanks, leading dots and dashes,
// many dots, bytes that are not UTF-8, letters beyond ASCII, names of 244 to
// 255 bytes (whose temporary names are too long), the temporary tag itself.
std::string RandomOldName(TRandom& random) {
  switch (Between(random, 0, 9)) {
    case 0:
      return Pick(random, std::vector<std::string>{"a", "b", "ab", "A", "B", "ba"});
    case 1:
      return Pick(random, std::vector<std::string>{" lead", "trail ", "in side", "  "});
    case 2:
      return Pick(random, std::vector<std::string>{".hid", "..two", "-dash", "--opt", "-"});
    case 3:
      return Pick(random, std::vector<std::string>{"a.b.c.d", "many....dots", "x.txt", "X.TXT"});
    case 4:
      return Pick(random, std::vector<std::string>{"n\xFF", "caf\xE9", "\xC3(", "\x80"});
    case 5:
      return Pick(random, std::vector<std::string>{"\xC3\x84pfel", "\xC3\xA4pfel", "\xC3\x9F"});
    case 6:
      return std::string(static_cast<size_t>(Between(random, 240, 251)), 'L') + ".txt";
    case 7:
      return "z.TW_TEMPNAME";
    default:
      return std::string(1, static_cast<char>('c' + Between(random, 0, 5))) + "." +
             std::to_string(Between(random, 0, 99));
  }
}

// New names for the plan: valid UTF-8 (the text file must decode as such).
std::string RandomNewName(TRandom& random) {
  switch (Between(random, 0, 5)) {
    case 0:
      return Pick(random, std::vector<std::string>{"a", "b", "B", "ab", "x.txt", "X.txt"});
    case 1:
      return Pick(random, std::vector<std::string>{"in side", "-x", ".dot", "a..b", "v.1.2.3"});
    case 2:
      return Pick(random, std::vector<std::string>{"\xC3\x84pfel", "\xC3\xA4PFEL", "caf\xC3\xA9"});
    case 3:
      return std::string(static_cast<size_t>(Between(random, 230, 300)), 'N');
    default:
      return "n" + std::to_string(Between(random, 0, 30));
  }
}

// True when `bytes` is UTF-8 throughout (no byte decodes to its stand-in).
bool ValidUtf8(const std::string& bytes) {
  const std::u16string text = Utf8ToUtf16(bytes);
  for (size_t i = 0; i < text.size(); ++i) {
    const bool afterHigh = i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF;
    if (text[i] >= 0xDC80 && text[i] <= 0xDCFF && !afterHigh) return false;
  }
  return true;
}

std::string ToggledCase(const std::string& name) {
  std::u16string text = Utf8ToUtf16(name);
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - 32);
    } else if (c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c + 32);
    } else if (c == 0xE4 || c == 0xC4) {
      c = c == 0xE4 ? 0xC4 : 0xE4;
    }
  }
  return Utf16ToUtf8(text);
}

// Makes a file that did not exist (a name the file system takes for an
// existing one in another letter case, or refuses, is left out).
void MakeFile(const std::string& path, const std::string& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const bool written =
      ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  ::close(fd);
  if (!written) ::unlink(path.c_str());
}

void MakeFolder(TRandom& random, const std::string& folder, int& serial) {
  const int count = Between(random, 3, 12);
  for (int i = 0; i < count; ++i) {
    MakeFile(folder + "/" + RandomOldName(random), "content " + std::to_string(++serial) + "\n");
  }
  for (const char* sub : {"sub", "Sub", "d.dir"}) {
    if (Between(random, 0, 2) != 0) continue;
    const std::string path = folder + "/" + sub;
    if (::mkdir(path.c_str(), 0755) != 0) continue;
    for (int i = Between(random, 0, 2); i > 0; --i) {
      MakeFile(path + "/" + RandomOldName(random), "content " + std::to_string(++serial) + "\n");
    }
  }
}

// Settings that decide what is listed; "/" stays the sub-folder separator.
void WriteSettings(TFileSystem& fs, const std::u16string& home, TRandom& random) {
  TMyINIFile ini;
  ini.Create(fs, home + u"tw.ini");
  const int mode = Between(random, 0, 3);
  ini.WriteString(u"Renaming", u"Files", mode <= 1 ? u"Yes" : u"No");
  ini.WriteString(u"Renaming", u"Folders", mode == 2 ? u"Yes" : u"No");
  ini.WriteString(u"Renaming", u"FilesFolders", mode == 3 ? u"Yes" : u"No");
  ini.WriteString(u"Renaming", u"cbNoHiddenFiles", Between(random, 0, 1) ? u"1" : u"0");
  ini.WriteString(u"FileOptions", u"DontSelectFolders", u"No");
  ini.WriteString(u"System", u"Slash", u"/");
  ASSERT_TRUE(ini.UpdateFile().ok());
}

// The script: the extension cleared, the name taken from the plan's line of
// each entry, and maybe one more step that adds a sub-folder, a blank, a
// dash, a dot or a long run of letters.
void WriteScript(TFileSystem& fs, const std::u16string& home, TRandom& random) {
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TSession maker(fs, clock, env, tags, home);
  TScriptStep& ext = maker.script.NewScriptControl(TScriptType::stReplaceNameExtension);
  ext.SetChoice(TScriptStepReplaceNameExtension::cbxReplacePart, 1);
  ext.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, u"");
  TScriptStep& name = maker.script.NewScriptControl(TScriptType::stReplaceNameExtension);
  name.SetChoice(TScriptStepReplaceNameExtension::cbxReplacePart, 0);
  name.SetText(TScriptStepReplaceNameExtension::txtReplaceWith, u"?text1?");
  if (Between(random, 0, 3) == 0) {
    TScriptStep& add = maker.script.NewScriptControl(TScriptType::stAddBeginningEnding);
    add.SetText(TScriptStepAddBeginningEnding::txtAdd,
                Pick(random, std::vector<std::u16string>{u"d/", u"sub/", u" ", u"-", u".",
                                                         std::u16string(120, u'q')}));
    add.SetChoice(TScriptStepAddBeginningEnding::cbxAddAtThe, Between(random, 0, 1));
  }
  maker.model.textFileName = home + u"plan.txt";
  maker.model.textSplitFields = false;
  ASSERT_TRUE(SaveToFile(maker.script, maker.twscript, fs, home + u"t.twscr").ok());
}

// The captions of the checked entries of a preview, in list order.
std::vector<std::string> CheckedCaptions(const std::u16string& out) {
  std::vector<std::string> captions;
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find(u'\n', start);
    if (end == std::u16string::npos) end = out.size();
    const std::u16string line = out.substr(start, end - start);
    start = end + 1;
    if (line.starts_with(u"# ") || !line.starts_with(u"1\t")) continue;
    const size_t tab = line.find(u'\t', 2);
    captions.push_back(Utf16ToUtf8(line.substr(2, tab - 2)));
  }
  return captions;
}

// One new name per checked entry: its own, another entry's (swaps, chains),
// its own or another's in the other letter case, a long one, one in a
// sub-folder (new, existing, or named like a file), one an earlier entry
// takes too, or a fresh one.
std::string WritePlan(TRandom& random, const std::vector<std::string>& captions,
                      const std::string& file) {
  std::vector<std::string> usable;  // captions that can stand in the text file
  for (const std::string& caption : captions) {
    if (ValidUtf8(caption) && caption.find('\n') == std::string::npos) usable.push_back(caption);
  }
  std::vector<std::string> chosen;
  std::string text;
  for (const std::string& caption : captions) {
    std::string name;
    const int kind = Between(random, 0, 99);
    const std::string& other = usable.empty() ? caption : Pick(random, usable);
    if (kind < 12) {
      name = caption;
    } else if (kind < 30) {
      name = other;
    } else if (kind < 38) {
      name = ToggledCase(caption);
    } else if (kind < 46) {
      name = ToggledCase(other);
    } else if (kind < 52) {
      name = std::string(static_cast<size_t>(Between(random, 240, 270)), 'M');
    } else if (kind < 64) {
      name = Pick(random,
                  std::vector<std::string>{"sub/", "new/", "new/deeper/", "Sub/", other + "/"}) +
             RandomNewName(random);
    } else if (kind < 72 && !chosen.empty()) {
      name = Pick(random, chosen);
    } else {
      name = RandomNewName(random);
    }
    // Only an entry that holds the temporary tag already may end up with it.
    if (!ValidUtf8(name) || (name != caption && name.find(".TW_TEMPNAME") != std::string::npos)) {
      name = RandomNewName(random);
    }
    chosen.push_back(name);
    text += name + "\n";
  }
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out != nullptr) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
  return text;
}

struct TFileSystemUnderTest {
  std::string root;      // where the trials make their folders
  bool fillsUp = false;  // a small image filled up before every run
  int trials = 0;
  uint32_t seed = 0;
};

uint32_t Seed(uint32_t fallback) {
  const char* seed = std::getenv("TALLOWICK_NOLOSS_SEED");
  return seed != nullptr ? static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)) : fallback;
}

bool Says(const TStringOutput& output, const char16_t* text) {
  return output.err.find(text) != std::u16string::npos ||
         output.out.find(text) != std::u16string::npos;
}

void RunTrial(TRandom& random, const TFileSystemUnderTest& under, int trial) {
  const std::string dir = under.root + "/t" + std::to_string(trial);
  const std::string folder = dir + "/f";
  ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  ASSERT_EQ(::mkdir((dir + "/home").c_str(), 0755), 0);
  const std::u16string home = Utf8ToUtf16(dir + "/home/");
  const std::u16string folder16 = Utf8ToUtf16(folder);
  int serial = 0;
  MakeFolder(random, folder, serial);
  TTallowick tallowick(home);
  WriteSettings(tallowick.Files(), home, random);
  WriteScript(tallowick.Files(), home, random);
  const TTree before = Snapshot(folder);

  const std::u16string mode =
      Pick(random, std::vector<std::u16string>{u"-xi", u"-xu", u"-ri", u"-ru"});
  const bool recursive = mode[1] == u'r';
  std::vector<std::u16string> preview = {u"--preview", home + u"t.twscr", folder16};
  if (recursive) preview.push_back(u"--recursive");
  TStringOutput listed;
  ASSERT_EQ(tallowick.Run(preview, listed), 0) << Utf16ToUtf8(listed.err);
  const std::string plan = WritePlan(random, CheckedCaptions(listed.out), dir + "/home/plan.txt");
  TStringOutput previewed;
  ASSERT_EQ(tallowick.Run(preview, previewed), 0) << Utf16ToUtf8(previewed.err);
  EXPECT_EQ(Snapshot(folder), before) << "the preview changed the folder";
  SCOPED_TRACE("mode " + Utf16ToUtf8(mode) + ", folder:\n" + Listing(before) + "plan:\n" + plan +
               "preview:\n" + Utf16ToUtf8(previewed.out));

  std::string filler;
  if (under.fillsUp) {
    filler = FillUp(dir, "filler",
                    static_cast<uint64_t>(Pick(
                        random, std::vector<int>{0, 512, 1024, 2048, 4096, 8192, 16384, 32768})));
  }
  const std::vector<std::u16string> run = {mode, home + u"t.twscr", folder16};
  const int crash = Between(random, 0, 7);  // 1: the run dies, 2: the undo dies
  const int crashAt = Between(random, 1, 3 + 2 * static_cast<int>(before.size()));
  const bool afterTheChange = Between(random, 0, 1) == 1;
  SCOPED_TRACE(crash == 1 || crash == 2
                   ? std::string(crash == 1 ? "the run" : "--undo") + " dies at change " +
                         std::to_string(crashAt) + (afterTheChange ? ", once made" : ", before it")
                   : std::string("nothing dies"));
  // While the disk is full an entry that can move neither on nor back stays
  // under its temporary name; once there is room nothing may be left so.
  const bool full = under.fillsUp;
  TStringOutput renamed;
  bool lostTrack = false;  // the run said it could not keep what it did
  // Runs `args`, in a child that dies at change `crashAt` when `dies`; true
  // when it died. (A child that never reaches that change runs it all.)
  const auto runOrDie = [&](const std::vector<std::u16string>& args, bool dies,
                            TStringOutput& output) {
    if (dies) return tallowick.RunAndCrash(args, crashAt, afterTheChange, output);
    tallowick.Run(args, output);
    return false;
  };
  if (runOrDie(run, crash == 1, renamed)) {
    ExpectNothingLost(before, Snapshot(folder), true, "after the run died");
    // Recovery puts back a run under way; a run that died once it had
    // stored its batch is undone.
    TStringOutput recovered;
    tallowick.Run({u"--recover"}, recovered);
    ExpectNothingLost(before, Snapshot(folder), full, "after --recover");
    tallowick.Run({u"--undo"}, recovered);
    if (!under.fillsUp) {
      EXPECT_EQ(FilesOf(Snapshot(folder)), FilesOf(before))
          << "not back after --recover and --undo:\n"
          << Utf16ToUtf8(recovered.out + recovered.err);
    }
  } else {
    const TTree after = Snapshot(folder);
    ExpectNothingLost(before, after, full, "after the run");
    if (Says(renamed, u"nothing was renamed")) {
      EXPECT_EQ(after, before);
    }
    lostTrack = Says(renamed, u"could not be kept for undo");
    TStringOutput undone;
    // A cut-short undo is finished by recovery, which leaves the folders the
    // batch made.
    const bool undoDied = runOrDie({u"--undo"}, crash == 2, undone);
    if (undoDied) {
      // Recovery carries a reversal under way to its end; what had not begun
      // is still in the store.
      ExpectNothingLost(before, Snapshot(folder), true, "after --undo died");
      tallowick.Run({u"--recover"}, undone);
      ExpectNothingLost(before, Snapshot(folder), full,
                        "after --recover, which said:\n" + Utf16ToUtf8(undone.err) + "\n");
      tallowick.Run({u"--undo"}, undone);
    }
    ExpectNothingLost(before, Snapshot(folder), full, "after --undo");
    lostTrack = lostTrack || Says(undone, u"could not be brought up to date");
    if (!under.fillsUp) {
      EXPECT_EQ(undoDied ? FilesOf(Snapshot(folder)) : Snapshot(folder),
                undoDied ? FilesOf(before) : before)
          << "not back after --undo; the run said:\n"
          << Utf16ToUtf8(renamed.err) << "the undo said:\n"
          << Utf16ToUtf8(undone.out + undone.err) << "now:\n"
          << Listing(Snapshot(folder));
    }
  }
  if (under.fillsUp) {
    // With room again, what is left to undo or recover comes back.
    ::unlink(filler.c_str());
    TStringOutput again;
    tallowick.Run({u"--recover"}, again);
    tallowick.Run({u"--undo"}, again);
    ExpectNothingLost(before, Snapshot(folder), false, "after the disk had room again");
    if (!lostTrack) {
      EXPECT_EQ(FilesOf(Snapshot(folder)), FilesOf(before))
          << "not back once the disk had room; the run said:\n"
          << Utf16ToUtf8(renamed.err) << "then:\n"
          << Utf16ToUtf8(again.out + again.err);
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

void RunTrials(const TFileSystemUnderTest& under) {
  TRandom random(Seed(under.seed));
  for (int trial = 0; trial < under.trials; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial) + " of seed " + std::to_string(Seed(under.seed)));
    RunTrial(random, under, trial);
    if (testing::Test::HasFailure()) break;  // one well-described failure is enough
  }
}

TEST(TNoLossTest, OnTheMachinesOwnFileSystem) {
  const TTempFolder temp;
  RunTrials({temp.Path(), false, 150, 20261210});
}

// The loop-mounted file systems; each test mounts its own and skips, saying
// why, where the machine does not allow it.
struct TLoopCase {
  const char* name;
  TLoopKind kind;
  bool fillsUp;
  int megabytes;
  int trials;
};

class TNoLossOnLoopTest : public testing::TestWithParam<TLoopCase> {};

TEST_P(TNoLossOnLoopTest, NothingIsLost) {
  const TLoopCase& c = GetParam();
  const TTempFolder temp;
  const TLoopMount mount(c.kind, temp.Path(), c.megabytes);
  if (!mount.Mounted()) GTEST_SKIP() << c.name << " is skipped: " << mount.SkipReason();
  RunTrials({mount.Root(), c.fillsUp, c.trials, 20261211});
}

INSTANTIATE_TEST_SUITE_P(
    FileSystems, TNoLossOnLoopTest,
    testing::Values(TLoopCase{"Vfat", TLoopKind::Vfat, false, 16, 80},
                    TLoopCase{"Ext4Casefold", TLoopKind::Ext4Casefold, false, 16, 80},
                    TLoopCase{"ExfatFuse", TLoopKind::ExfatFuse, false, 16, 60},
                    TLoopCase{"FullExt4", TLoopKind::Ext4, true, 4, 60},
                    TLoopCase{"FullVfat", TLoopKind::Vfat, true, 4, 40}),
    [](const testing::TestParamInfo<TLoopCase>& param) { return std::string(param.param.name); });

}  // namespace
