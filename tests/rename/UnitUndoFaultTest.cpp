// Breaks each move of a reversal in turn, over runs of a few hundred entries
// that swap, chain, rotate and change case, and checks that no file is lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "UnitUndoScenario.h"
#include "platform/UnitText.h"
#include "rename/UnitUndo.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFaultyFileSystem.h"
#include "support/UnitTempFolder.h"

namespace {

void Populate(TFakeFileSystem& fs, const TUndoScenario& s) {
  for (const std::u16string& folder : s.folders) fs.AddFolder(folder);
  for (const auto& [path, content] : s.files) fs.AddFile(path, content);
}

void Populate(const TTempFolder&, const TUndoScenario& s) {
  for (const std::u16string& folder : s.folders)
    std::filesystem::create_directories(Utf16ToUtf8(folder));
  for (const auto& [path, content] : s.files) {
    std::ofstream(Utf16ToUtf8(path), std::ios::binary) << content;
  }
}

bool Holds(TFileSystem& fs, const std::u16string& path, const std::string& content) {
  std::string bytes;
  return fs.ReadWholeFile(path, bytes).ok() && bytes == content;
}

bool Reported(const TRecordingErrors& errors, const std::u16string& path, bool asSource) {
  for (const auto& r : errors.reports) {
    const std::u16string& name = asSource ? r.source : r.target;
    if (path == name || path.compare(0, name.size() + 1, name + u'/') == 0) return true;
  }
  return false;
}

// Every file is under exactly one of its possible names with its content;
// entries that were not reported are back under their old names; an entry
// left under its parking name was reported there.
using TCandidates = std::map<std::u16string, std::vector<std::u16string>>;

// The possible names of every file of `s` (TUndoScenario::Candidates).
TCandidates CandidateTable(const TUndoScenario& s) {
  TCandidates table;
  for (const auto& file : s.files) table[file.first] = s.Candidates(file.first);
  return table;
}

void ExpectNothingLost(TFileSystem& fs, const TUndoScenario& s, const TCandidates& candidates,
                       const TRecordingErrors& errors, const std::string& label) {
  for (const auto& [path, content] : s.files) {
    const std::vector<std::u16string>& names = candidates.at(path);
    int found = 0;
    for (size_t i = 0; i < names.size(); ++i) {
      if (!Holds(fs, names[i], content)) continue;
      ++found;
      if (i == 3) {
        EXPECT_TRUE(Reported(errors, names[i], true)) << label << Utf16ToUtf8(path);
      }
    }
    EXPECT_EQ(found, 1) << label << " " << Utf16ToUtf8(path);
    if (!Reported(errors, path, false)) {
      EXPECT_TRUE(Holds(fs, path, content)) << label << Utf16ToUtf8(path);
    }
  }
}

// Reverses `pairs` with the `k`-th move failing (none when 0); returns the
// number of moves attempted.
int Reverse(TFileSystem& disk, const std::vector<TRenamePair>& pairs, int k,
            TRecordingErrors& errors) {
  TFaultyFileSystem fs(disk);
  TfrmUndo undo(fs, u"/app/");
  for (const TRenamePair& pair : pairs) undo.AddUndo(pair.oldName, pair.newName);
  if (k > 0) fs.FailRename(k);
  const TUndoResult result = undo.UndoNow(u"", errors);
  EXPECT_EQ(result.skipped, 0);
  return fs.RenameCount();
}

TEST(TUndoFaultTest, NoFailedMoveOfAReversalLosesAFile) {
  const TUndoScenario s = MixedScenario(u"/d/", 30);
  ASSERT_GT(s.plan.size(), 250u);
  const int moves = 2 * static_cast<int>(s.plan.size());
  const TCandidates table = CandidateTable(s);
  for (const int phase2Count : {-1, static_cast<int>(s.plan.size() / 2)}) {
    TFakeFileSystem renamed;
    Populate(renamed, s);
    TfrmUndo run(renamed, u"/app/");
    ASSERT_TRUE(RunTwoPhases(renamed, run, s, phase2Count));
    for (int k = 0; k <= moves; ++k) {
      TFakeFileSystem fake = renamed;
      TRecordingErrors errors;
      const int attempted = Reverse(fake, run.Pairs(), k, errors);
      const std::string label = "phase 2 count " + std::to_string(phase2Count) + ", failing move " +
                                std::to_string(k) + ":";
      if (k == 0) {
        EXPECT_EQ(attempted, moves);
        EXPECT_TRUE(errors.reports.empty());
      } else {
        EXPECT_FALSE(errors.reports.empty()) << label;
      }
      ExpectNothingLost(fake, s, table, errors, label);
    }
  }
}

TEST(TUndoFaultTest, NoFailedMoveLosesAFileOnDisk) {
  for (int k = 0; k <= 60; ++k) {
    TTempFolder dir;
    const TUndoScenario s = MixedScenario(Utf8ToUtf16(dir.Path()) + u"/", 3);
    std::unique_ptr<TFileSystem> posix = NewPosixFileSystem();
    Populate(dir, s);
    TfrmUndo run(*posix, u"/app/");
    ASSERT_TRUE(RunTwoPhases(*posix, run, s));
    TRecordingErrors errors;
    const int moves = Reverse(*posix, run.Pairs(), k, errors);
    if (k > moves) break;
    const std::string label = "failing move " + std::to_string(k) + ":";
    ExpectNothingLost(*posix, s, CandidateTable(s), errors, label);
    if (k == 0) {
      EXPECT_TRUE(errors.reports.empty());
      size_t entries = 0;
      for ([[maybe_unused]] const auto& e :
           std::filesystem::recursive_directory_iterator(dir.Path())) {
        ++entries;
      }
      EXPECT_EQ(entries, s.files.size() + s.folders.size() - 1)
          << "nothing but the original entries";
    }
  }
}

}  // namespace
