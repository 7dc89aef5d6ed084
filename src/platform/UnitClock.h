// The source of "now", passed to whoever needs today's date so tests can fix it.
#pragma once

#include "platform/UnitDateTime.h"

class TClock {
 public:
  virtual ~TClock() = default;
  // The current local date and time.
  virtual TDateTime Now() const = 0;
};

// The machine's clock in local time.
class TSystemClock : public TClock {
 public:
  TDateTime Now() const override;
};
