// The state of one run of the Rename command: the flags the run steers by and
// what the window and the command line read after it.
#pragma once

#include <string>

#include "platform/UnitStatus.h"

struct TRenameRunState {
  bool SkipErrors = false;    // no more error reports in this run
  bool StopRenaming = false;  // leave the current loop
  bool ErrorOccured = false;  // at least one rename failed
  int ErrorIOResult = 0;      // errno of the last attempt, 0 on success
  // Source and target of the last attempt, relative to the listed folder.
  std::u16string ErrorSrcFile;
  std::u16string ErrorTargetFile;
  // The first attempt that failed in the run, and why; the command line names
  // this pair, not the last move tried (often a put-back).
  std::u16string FirstErrorSrcFile;
  std::u16string FirstErrorTargetFile;
  TStatus FirstError;
  // Command-line modes: stop (and undo afterwards) on the first failure, or
  // skip failures. Neither: the error handler is asked.
  bool BatchUndo = false;
  bool BatchIgnore = false;
  // The list came from a recursive scan; the next refresh is recursive once.
  bool CurrentFileListIsRecursive = false;
  bool UseRecursiveOnce = false;
  int ExitCode = 0;  // 1 once a batch-mode failure occurred

  // Clears the flags a run starts with; the batch modes stay.
  void StartRun() {
    SkipErrors = false;
    StopRenaming = false;
    ErrorOccured = false;
    ErrorIOResult = 0;
    FirstErrorSrcFile.clear();
    FirstErrorTargetFile.clear();
    FirstError = TStatus::Ok();
  }
};
