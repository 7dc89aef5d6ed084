// Undoing a stored batch through the command line on real files: the folders
// the batch made go again, and only those; a state file that is cut short,
// damaged, or names entries that are gone is reported, and nothing moves that
// the batch cannot account for.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "noloss/UnitNoLossSupport.h"
#include "platform/UnitText.h"
#include "rename/UnitUndoRename.h"
#include "rename/UnitUndoStateFile.h"
#include "scriptio/UnitMyINIFile.h"
#include "session/UnitSession.h"
#include "support/UnitRenameRunFixture.h"
#include "support/UnitTempFolder.h"

namespace {

// A folder renamed by a plan with -xi or -xu, through the command line.
class TRenamedFolder {
 public:
  TRenamedFolder() : home_(Utf8ToUtf16(temp_.Path() + "/home/")), tallowick_(home_) {
    folder = temp_.Path() + "/f";
    TMyINIFile ini;
    ini.Create(Files(), home_ + u"tw.ini");
    ini.WriteString(u"System", u"Slash", u"/");  // "/" in a new name makes a sub-folder
    EXPECT_TRUE(Files().CreateFolderPath(home_).ok());
    EXPECT_TRUE(ini.UpdateFile().ok());
  }
  TFileSystem& Files() { return tallowick_.Files(); }
  std::u16string Folder16() const { return Utf8ToUtf16(folder); }
  // Makes the folder's files (and `folders`) and renames them by `plan`.
  int Rename(const TNamePlan& plan, const std::vector<std::u16string>& folders = {},
             const char16_t* mode = u"-xi") {
    Populate(Files(), Folder16(), plan);
    for (const std::u16string& sub : folders)
      EXPECT_TRUE(Files().CreateFolderPath(Folder16() + u"/" + sub).ok());
    TFixedClock clock;
    TMapEnvironment env;
    TFakeTagReader tags;
    TSession maker(Files(), clock, env, tags, home_);
    EXPECT_TRUE(UsePlan(maker, Folder16(), plan, home_ + u"plan.txt", home_ + u"plan.twscr").ok());
    before = Snapshot(folder);
    TStringOutput output;
    const int code = tallowick_.Run({mode, home_ + u"plan.twscr", Folder16()}, output);
    said = Utf16ToUtf8(output.out + output.err);
    return code;
  }
  int Undo() {
    TStringOutput output;
    const int code = tallowick_.Run({u"--undo"}, output);
    said = Utf16ToUtf8(output.out + output.err);
    return code;
  }
  TUndoRename Store() { return TUndoRename(Files(), home_); }

  std::string folder;
  TTree before;
  std::string said;  // what the last command wrote

 private:
  TTempFolder temp_;
  std::u16string home_;
  TTallowick tallowick_;
};

TEST(TUndoStoreTest, UndoRemovesTheFoldersTheBatchMadeAndOnlyThose) {
  TRenamedFolder batch;
  ASSERT_EQ(batch.Rename({{u"a", u"new/deeper/a"},
                          {u"b", u"sub/b"},
                          {u"c", u"keep/c"},
                          {u"d", u"fresh/d"},
                          {u"e", u"e"}},
                         {u"keep", u"sub"}),
            0)
      << batch.said;
  TUndoExtra extra;
  std::string bytes;
  ASSERT_TRUE(batch.Files().ReadWholeFile(batch.Store().ExtraFileName(0), bytes).ok());
  ASSERT_TRUE(DecodeUndoExtra(bytes, extra));
  const std::u16string f = batch.Folder16();
  EXPECT_EQ(extra.folders,
            (std::vector<std::u16string>{f + u"/new", f + u"/new/deeper", f + u"/fresh"}));
  EXPECT_EQ(extra.checks.size(), 4u);

  // Something else went into one of them since: that one stays.
  ASSERT_TRUE(batch.Files().WriteWholeFile(f + u"/fresh/mine", "mine").ok());
  EXPECT_EQ(batch.Undo(), 0) << batch.said;
  TTree expected = batch.before;
  expected["fresh/"] = 0;
  expected["fresh/mine"] = Snapshot(batch.folder).at("fresh/mine");
  EXPECT_EQ(Snapshot(batch.folder), expected) << batch.said;
}

// -xu reverses the run inside it: the folders it made go with the moves.
TEST(TUndoStoreTest, ARunThatUndoesItselfRemovesItsFolders) {
  TRenamedFolder batch;
  // "b" cannot become "c", which stays: the run fails after "a" moved into "made".
  EXPECT_EQ(batch.Rename({{u"a", u"made/a"}, {u"b", u"c"}, {u"c", u"c"}}, {}, u"-xu"), 1);
  EXPECT_EQ(Snapshot(batch.folder), batch.before) << batch.said;
}

// The state file as UTF-16 lines (without their line ends) and back.
std::vector<std::u16string> Lines(const std::string& bytes) {
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  std::vector<std::u16string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Bytes(const std::vector<std::u16string>& lines) {
  std::string bytes = "\xFF\xFE";
  for (const std::u16string& line : lines) {
    for (const char16_t c : line + u"\r\n") {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
  }
  return bytes;
}

// Random damage to a stored batch of swaps, chains and case changes: cut
// short, bytes changed, lines dropped, doubled or forged (a move of a file
// that exists), the extra file gone or changed, renamed files deleted. Then
// --undo, twice: nothing is lost, and every file is where the run left it or
// back under its old name, never anywhere else; an undo that leaves anything
// behind says so.
TEST(TUndoStoreTest, ADamagedBatchMovesNothingItCannotAccountFor) {
  std::mt19937 random(std::getenv("TALLOWICK_NOLOSS_SEED")
                          ? std::strtoul(std::getenv("TALLOWICK_NOLOSS_SEED"), nullptr, 10)
                          : 20261212);
  const auto chance = [&](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  const auto below = [&](size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random);
  };
  for (int trial = 0; trial < 60; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    TRenamedFolder batch;
    ASSERT_EQ(batch.Rename(SwapChainCasePlan(2)), 0) << batch.said;
    TFileSystem& fs = batch.Files();
    const TTree renamed = Snapshot(batch.folder);
    const std::u16string stateFile = batch.Store().StateFileName(0);
    const std::u16string extraFile = batch.Store().ExtraFileName(0);
    std::string bytes;
    ASSERT_TRUE(fs.ReadWholeFile(stateFile, bytes).ok());
    std::vector<std::u16string> lines = Lines(bytes);
    std::string damage;
    const bool noExtra = chance(25);  // as a program that writes none stored it
    if (noExtra) {
      ASSERT_TRUE(fs.DeleteFile(extraFile).ok());
      damage += " no-extra";
    }
    if (chance(40)) {
      lines.erase(lines.begin() + static_cast<long>(below(lines.size())));
      damage += " line-dropped";
    }
    if (chance(30)) {
      const size_t i = below(lines.size());
      lines.insert(lines.begin() + static_cast<long>(i), lines[i]);
      damage += " line-doubled";
    }
    if (!noExtra && chance(40)) {
      // A move of a file that is there to a name that is free.
      const std::string victim = FilesOf(renamed).rbegin()->first;
      lines.push_back(u"\"" + batch.Folder16() + u"/forged\" \"" + batch.Folder16() + u"/" +
                      Utf8ToUtf16(victim) + u"\"");
      damage += " forged";
    }
    bytes = Bytes(lines);
    if (chance(40)) {
      bytes.resize(2 + below(bytes.size() - 2));
      damage += " cut";
    }
    if (!noExtra && chance(40)) {
      for (int flips = 1 + static_cast<int>(below(3)); flips > 0; --flips) {
        bytes[2 + below(bytes.size() - 2)] ^= static_cast<char>(1 << below(8));
      }
      damage += " bytes-changed";
    }
    ASSERT_TRUE(fs.WriteWholeFile(stateFile, bytes).ok());
    if (!noExtra && chance(15)) {
      std::string extra;
      ASSERT_TRUE(fs.ReadWholeFile(extraFile, extra).ok());
      extra[below(extra.size())] ^= 4;
      ASSERT_TRUE(fs.WriteWholeFile(extraFile, extra).ok());
      damage += " extra-changed";
    }
    TTree left = renamed;  // what should be there
    const TTree renamedFiles = FilesOf(renamed);
    if (chance(30)) {
      auto gone = renamedFiles.begin();
      std::advance(gone, static_cast<long>(below(renamedFiles.size())));
      ASSERT_TRUE(fs.DeleteFile(batch.Folder16() + u"/" + Utf8ToUtf16(gone->first)).ok());
      left.erase(gone->first);
      damage += " file-deleted";
    }
    SCOPED_TRACE("damage:" + damage);
    std::map<uint64_t, std::string> wasAt;
    for (const auto& [path, hash] : FilesOf(batch.before)) wasAt[hash] = path;
    for (int attempt = 0; attempt < 2; ++attempt) {
      const int code = batch.Undo();
      const TTree now = Snapshot(batch.folder);
      ExpectNothingLost(left, now, false, "after --undo " + std::to_string(attempt));
      bool allBack = true;
      for (const auto& [path, hash] : FilesOf(now)) {
        const auto ranTo = std::find_if(renamed.begin(), renamed.end(),
                                        [&](const auto& file) { return file.second == hash; });
        const bool stayed = ranTo != renamed.end() && ranTo->first == path;
        const bool back = wasAt[hash] == path;
        allBack = allBack && back;
        EXPECT_TRUE(stayed || back) << path << " was neither left there by the run nor is "
                                    << "its old name; --undo " << attempt << " said:\n"
                                    << batch.said << "after the run:\n"
                                    << Listing(renamed) << "now:\n"
                                    << Listing(now);
      }
      // Without its extra file nothing tells that whole lines are gone.
      const bool undetectable = noExtra && (damage.find("line-dropped") != std::string::npos ||
                                            damage.find("cut") != std::string::npos);
      if (code == 0 && !undetectable) {
        EXPECT_TRUE(allBack) << "a full undo left files elsewhere:\n" << batch.said;
      } else {
        EXPECT_FALSE(batch.said.empty());
      }
      if (damage == " no-extra" && attempt == 0) {
        EXPECT_EQ(code, 0) << "an intact batch without its extra file is undone:\n" << batch.said;
      }
    }
  }
}

}  // namespace
