#include "matching/UnitFormatPart.h"

#include <cmath>

#include "platform/UnitDateTime.h"
#include "platform/UnitText.h"

namespace {

bool ReadLength(std::u16string_view text, int& n) {
  return TryStrToInt(text, n) && n >= 0 && n <= kMaxFormatLength;
}

// "l" + c + n / "r" + c + n
std::u16string Pad(std::u16string_view value, std::u16string_view format, bool left) {
  int n = 0;
  if (format.size() < 3 || !ReadLength(format.substr(2), n)) return std::u16string(value);
  if (static_cast<int>(value.size()) >= n) return std::u16string(value);
  const std::u16string fill(static_cast<size_t>(n) - value.size(), format[1]);
  return left ? fill + std::u16string(value) : std::u16string(value) + fill;
}

// "d" + n
std::u16string Decimals(std::u16string_view value, std::u16string_view format) {
  int n = 0;
  if (!ReadLength(format.substr(1), n)) return std::u16string(value);
  std::u16string out(value);
  const size_t dot = out.find(u'.');
  if (dot == std::u16string::npos) return out + u"." + std::u16string(static_cast<size_t>(n), u'0');
  const size_t have = out.size() - dot - 1;
  if (have > static_cast<size_t>(n)) {
    out.resize(dot + 1 + static_cast<size_t>(n));
  } else {
    out.append(static_cast<size_t>(n) - have, u'0');
  }
  return out;
}

// "f" + date format
std::u16string DateFormat(std::u16string_view value, std::u16string_view format) {
  if (value.empty()) return {};
  TDateTime date = 0;
  if (!TryStrToDateTime(value, date)) return std::u16string(value);
  return FormatDateTime(format.substr(1), date);
}

bool MoveDate(TDateTime& date, int unit, long long amount) {
  constexpr double kMinutesPerDay = 1440.0;
  switch (unit) {
    case 0: date += static_cast<double>(amount) / kMinutesPerDay; break;
    case 1: date += static_cast<double>(amount) / 24.0; break;
    case 2: date += static_cast<double>(amount); break;
    case 3:
    case 4: {
      const long long months = unit == 4 ? amount * 12 : amount;
      if (months > 120000 || months < -120000) return false;
      date = IncMonth(date, static_cast<int>(months));
      break;
    }
    default: return false;
  }
  // Keep within years 1..9999.
  return date > -693594.0 && date < 2958466.0;
}

// "c" + ("p"|"m") + unit digit + amount + "f" + date format
std::u16string DateArithmetic(std::u16string_view value, std::u16string_view format) {
  if (format.size() < 4 || (format[1] != u'p' && format[1] != u'm')) return std::u16string(value);
  if (format[2] < u'0' || format[2] > u'4') return std::u16string(value);
  const size_t f = format.find(u'f', 3);
  if (f == std::u16string_view::npos) return std::u16string(value);
  long long amount = 0;
  if (!TryStrToInt64(format.substr(3, f - 3), amount) || amount < 0 || amount > 100000000) {
    return std::u16string(value);
  }
  TDateTime date = 0;
  if (!TryStrToDateTime(value, date)) return std::u16string(value);
  if (!MoveDate(date, format[2] - u'0', format[1] == u'm' ? -amount : amount)) {
    return std::u16string(value);
  }
  return FormatDateTime(format.substr(f + 1), date);
}

// "h" + n
std::u16string Hexadecimal(std::u16string_view value, std::u16string_view format) {
  int n = 0;
  long long number = 0;
  if (!ReadLength(format.substr(1), n) || !TryStrToInt64(value, number)) {
    return std::u16string(value);
  }
  auto bits = static_cast<unsigned long long>(number);
  std::u16string digits;
  do {
    digits.insert(digits.begin(), u"0123456789ABCDEF"[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  if (digits.size() < static_cast<size_t>(n)) {
    digits.insert(0, static_cast<size_t>(n) - digits.size(), u'0');
  }
  return digits;
}

// "s" + x + "." + y: characters x through y, clamped to the value.
std::u16string SubString(std::u16string_view value, std::u16string_view format) {
  const size_t dot = format.find(u'.');
  int x = 0;
  int y = 0;
  if (dot == std::u16string_view::npos || !TryStrToInt(format.substr(1, dot - 1), x) ||
      !TryStrToInt(format.substr(dot + 1), y)) {
    return std::u16string(value);
  }
  const long long first = x < 1 ? 1 : x;
  const long long last = y > static_cast<long long>(value.size()) ? value.size() : y;
  if (last < first) return {};
  return std::u16string(value.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1)));
}

// "t0" / "t1": 0 -> "A"; letters from the right, base 26.
std::u16string Letters(std::u16string_view value, std::u16string_view format) {
  long long d = 0;
  if (format.size() != 2 || (format[1] != u'0' && format[1] != u'1') ||
      !TryStrToInt64(value, d) || d < 0) {
    return std::u16string(value);
  }
  if (d == 0) return u"A";
  std::u16string out;
  bool first = true;
  while (d != 0) {
    if (format[1] == u'1' || !first) d -= 1;
    out.insert(out.begin(), static_cast<char16_t>(u'A' + d % 26));
    d /= 26;
    first = false;
  }
  return out;
}

}  // namespace

std::u16string ApplyFormat(std::u16string_view value, std::u16string_view rawFormat) {
  if (rawFormat.empty()) return std::u16string(value);
  const std::u16string format = LowerCase(rawFormat);
  switch (format[0]) {
    case u'l': return Pad(value, format, true);
    case u'r': return Pad(value, format, false);
    case u'd': return Decimals(value, format);
    case u'f': return DateFormat(value, format);
    case u'c': return DateArithmetic(value, format);
    case u'h': return Hexadecimal(value, format);
    case u's': return SubString(value, format);
    case u't': return Letters(value, format);
    default: return std::u16string(value);
  }
}
