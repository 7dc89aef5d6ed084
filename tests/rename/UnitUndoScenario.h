// Rename runs for the undo tests: a mixed plan of swaps, chains, rotations,
// case changes and a folder swap, and the two phases of the Rename command
// carried out on any TFileSystem, recording into the undo list as it does.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/UnitFileSystem.h"
#include "rename/UnitRenameErrorHandler.h"
#include "rename/UnitRenamePair.h"
#include "rename/UnitUndo.h"

struct TUndoScenario {
  std::u16string base;                          // the folder, with a trailing "/"
  std::vector<TRenamePair> plan;                // full paths, in list order
  std::map<std::u16string, std::string> files;  // every file before the run -> content
  std::vector<std::u16string> folders;          // folders before the run, parents first

  // The names where the file `path` of `files` may be after a run and a
  // reversal that failed somewhere: its old name, new name, temporary name and
  // parking name (applied to the planned entry it lies in).
  std::vector<std::u16string> Candidates(const std::u16string& path) const;
};

// `groups` times: a swap, a chain of three into a free name, a rotation of
// three, a case-only change; plus one swap of two folders holding files.
TUndoScenario MixedScenario(const std::u16string& base, int groups);

// Phase 1: every entry to its new name + ".TW_TEMPNAME", recorded in `undo`;
// phase 2: to its new name, for the first `phase2Count` entries (all when
// negative). Stops at the first failure; false then.
bool RunTwoPhases(TFileSystem& fs, TfrmUndo& undo, const TUndoScenario& scenario,
                  int phase2Count = -1);

// A handler that records every report and answers `answer`.
class TRecordingErrors : public TRenameErrorHandler {
 public:
  struct TReport {
    std::u16string source;
    std::u16string target;
    int code;
  };
  TRenameErrorAnswer answer = TRenameErrorAnswer::Ignore;
  std::vector<TReport> reports;
  TRenameErrorAnswer RenameFailed(const std::u16string& source, const std::u16string& target,
                                  const TStatus& status) override {
    reports.push_back({source, target, status.code()});
    return answer;
  }
};
