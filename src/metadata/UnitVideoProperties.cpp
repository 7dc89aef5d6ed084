#include "metadata/UnitVideoProperties.h"

#include <cstdio>

#include "platform/UnitText.h"

std::u16string DurationText(uint64_t seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%02llu-%02llu-%02llu",
                static_cast<unsigned long long>(seconds / 3600),
                static_cast<unsigned long long>((seconds / 60) % 60),
                static_cast<unsigned long long>(seconds % 60));
  return AsciiToUtf16(text);
}
