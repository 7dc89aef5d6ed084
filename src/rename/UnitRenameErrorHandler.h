// How a failed move is reported while renaming or undoing: the window answers
// with its error dialog, the command line by its mode.
#pragma once

#include <cstdint>
#include <string>

#include "platform/UnitStatus.h"

enum class TRenameErrorAnswer : uint8_t {
  Ignore,  // go on with the next entry
  Stop,    // end the run (the caller decides what stopping involves)
};

class TRenameErrorHandler {
 public:
  virtual ~TRenameErrorHandler() = default;
  // Moving `source` to `target` failed for the reason in `status`.
  virtual TRenameErrorAnswer RenameFailed(const std::u16string& source,
                                          const std::u16string& target, const TStatus& status) = 0;
};

// For callers that count failures instead of reporting them.
class TIgnoreRenameErrors : public TRenameErrorHandler {
 public:
  TRenameErrorAnswer RenameFailed(const std::u16string&, const std::u16string&,
                                  const TStatus&) override {
    return TRenameErrorAnswer::Ignore;
  }
};
