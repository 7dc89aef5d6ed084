#include "platform/UnitClock.h"

#include <ctime>

TDateTime TSystemClock::Now() const {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  TDateTime result = 0;
  if (!TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                         static_cast<int>(ts.tv_nsec / 1000000), result)) {
    return 0;
  }
  return result;
}
