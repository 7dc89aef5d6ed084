#include "platform/UnitNumberFormat.h"

#include <cmath>
#include <cstdio>

#include "platform/UnitDateTime.h"
#include "platform/UnitText.h"

std::u16string FormatThousands(long long value) {
  const std::string digits = std::to_string(value);
  const size_t start = (value < 0) ? 1 : 0;
  std::u16string out = AsciiToUtf16(digits.substr(0, start));
  const size_t count = digits.size() - start;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) out.push_back(FormatSettings::ThousandSeparator);
    out.push_back(static_cast<char16_t>(digits[start + i]));
  }
  return out;
}

std::u16string FormatFixed2(double value) {
  if (!std::isfinite(value)) return u"0.00";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  std::u16string out = AsciiToUtf16(buffer);
  for (auto& c : out) {
    if (c == u'.') c = FormatSettings::DecimalSeparator;
  }
  return out;
}
