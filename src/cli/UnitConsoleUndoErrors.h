// Failures of a reversal (an undo, or a batch run undoing itself), one
// console error each; the reversal always goes on with the next entry.
#pragma once

#include <string>

#include "cli/UnitStartupMessages.h"
#include "rename/UnitRenameErrorHandler.h"

class TConsoleUndoErrors : public TRenameErrorHandler {
 public:
  explicit TConsoleUndoErrors(TStartupMessages& messages) : messages_(messages) {}
  TRenameErrorAnswer RenameFailed(const std::u16string& source, const std::u16string& target,
                                  const TStatus& status) override {
    messages_.ConsoleError(u"Error: Failed to undo (" + source + u")->(" + target + u"): " +
                           status.reason());
    ++count;
    return TRenameErrorAnswer::Ignore;
  }
  int count = 0;

 private:
  TStartupMessages& messages_;
};
