#include "platform/UnitDateTime.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/UnitText.h"

namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kFirstDay = -693593;    // 0001-01-01
constexpr int64_t kLastDay = 2958465;     // 9999-12-31
constexpr int64_t kUnixEpochDay = 25569;  // 1970-01-01
constexpr int64_t kCivilShift = 719468;   // days from 0000-03-01 to 1970-01-01
constexpr int64_t kDaysPer400Years = 146097;

constexpr std::array<std::u16string_view, 12> kLongMonthNames{
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<std::u16string_view, 12> kShortMonthNames{
    u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
constexpr std::array<std::u16string_view, 7> kLongDayNames{
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
constexpr std::array<std::u16string_view, 7> kShortDayNames{u"Sun", u"Mon", u"Tue", u"Wed",
                                                            u"Thu", u"Fri", u"Sat"};

// Calendar conversion over 400-year eras counted from 0000-03-01, so that the
// leap day is the last day of each computed year.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysPer400Years + dayOfEra - kCivilShift;
}

void CivilFromDays(int64_t days, TDateTimeParts& parts) {
  days += kCivilShift;
  const int64_t era = (days >= 0 ? days : days - (kDaysPer400Years - 1)) / kDaysPer400Years;
  const int64_t dayOfEra = days - era * kDaysPer400Years;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  parts.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  parts.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  parts.year = static_cast<int>(yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0));
}

TDateTimeParts PartsOf(int64_t serialDay, int64_t msOfDay) {
  TDateTimeParts parts;
  CivilFromDays(serialDay - kUnixEpochDay, parts);
  parts.hour = static_cast<int>(msOfDay / 3600000);
  parts.minute = static_cast<int>(msOfDay / 60000 % 60);
  parts.second = static_cast<int>(msOfDay / 1000 % 60);
  parts.millisecond = static_cast<int>(msOfDay % 1000);
  // Day 0 (1899-12-30) was a Saturday.
  parts.dayOfWeek = static_cast<int>(((serialDay - 1) % 7 + 7) % 7) + 1;
  return parts;
}

char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

bool StartsWithIgnoringCase(std::u16string_view text, size_t pos, std::u16string_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[pos + i]) != prefix[i]) return false;
  }
  return true;
}

void AppendNumber(std::u16string& out, int value, size_t width) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  if (digits.size() < width) out.append(width - digits.size(), u'0');
  out += digits;
}

// ---- Formatting ----

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

// Length of a quoted literal starting at `pos`, both quotes included; an
// unclosed quote runs to the end of the format.
size_t QuotedLength(std::u16string_view format, size_t pos) {
  const size_t close = format.find(format[pos], pos + 1);
  return close == std::u16string_view::npos ? format.size() - pos : close - pos + 1;
}

// Length of the am/pm specifier at `pos`, 0 when there is none.
size_t AmPmLength(std::u16string_view format, size_t pos) {
  if (format[pos] != u'a' && format[pos] != u'A') return 0;
  for (const std::u16string_view specifier : {u"am/pm", u"a/p", u"ampm"}) {
    if (StartsWithIgnoringCase(format, pos, specifier)) return specifier.size();
  }
  return 0;
}

bool UsesTwelveHourClock(std::u16string_view format) {
  size_t pos = 0;
  while (pos < format.size()) {
    if (IsQuote(format[pos])) {
      pos += QuotedLength(format, pos);
    } else if (AmPmLength(format, pos) > 0) {
      return true;
    } else {
      ++pos;
    }
  }
  return false;
}

size_t RunLength(std::u16string_view format, size_t pos) {
  const char16_t letter = AsciiLower(format[pos]);
  size_t end = pos + 1;
  while (end < format.size() && AsciiLower(format[end]) == letter) ++end;
  return end - pos;
}

// Writes one format into `out`; the nested formats ("ddddd", "t", "c", ...)
// are written by writers of their own, with their own minute and 12-hour rules.
class TDateFormatWriter {
 public:
  TDateFormatWriter(const TDateTimeParts& parts, std::u16string& out) : fParts(parts), fOut(out) {}

  void Write(std::u16string_view format) {
    fTwelveHour = UsesTwelveHourClock(format);
    size_t pos = 0;
    while (pos < format.size()) pos += WriteElement(format, pos);
  }

 private:
  const TDateTimeParts& fParts;
  std::u16string& fOut;
  bool fTwelveHour = false;
  char16_t fLastElement = 0;  // letter of the most recent date-time element

  // Writes the element at `pos` and returns how many characters it used.
  size_t WriteElement(std::u16string_view format, size_t pos) {
    const char16_t c = format[pos];
    if (IsQuote(c)) return WriteQuoted(format, pos);
    if (AsciiLower(c) == u'a') return WriteAmPm(format, pos);
    const size_t count = RunLength(format, pos);
    const char16_t element = WriteLetterRun(AsciiLower(c), count);
    if (element == 0) {
      WriteSeparatorOrLiteral(c);
      return 1;
    }
    fLastElement = element;
    return count;
  }

  // Returns the element written (minutes for an "m" after an hour), 0 for none.
  char16_t WriteLetterRun(char16_t letter, size_t count) {
    switch (letter) {
      case u'y':
        WriteYear(count);
        break;
      case u'm':
        return WriteMonthOrMinute(count);
      case u'd':
        WriteDay(count);
        break;
      case u'h':
        AppendNumber(fOut, DisplayHour(), Width(count));
        break;
      case u'n':
        AppendNumber(fOut, fParts.minute, Width(count));
        break;
      case u's':
        AppendNumber(fOut, fParts.second, Width(count));
        break;
      case u'z':
        AppendNumber(fOut, fParts.millisecond, count >= 3 ? 3 : 1);
        break;
      case u't':
        WriteTime(count);
        break;
      case u'c':
        WriteFullDateTime();
        break;
      default:
        return 0;
    }
    return letter;
  }

  void WriteYear(size_t count) {
    if (count <= 2) {
      AppendNumber(fOut, fParts.year % 100, 2);
    } else {
      AppendNumber(fOut, fParts.year, 4);
    }
  }

  void WriteTime(size_t count) {
    Nested(count == 1 ? FormatSettings::ShortTimeFormat : FormatSettings::LongTimeFormat);
  }

  static size_t Width(size_t count) { return count >= 2 ? 2 : 1; }

  int DisplayHour() const {
    if (!fTwelveHour) return fParts.hour;
    const int hour = fParts.hour % 12;
    return hour == 0 ? 12 : hour;
  }

  // "m" and "mm" after an hour are minutes; returns the element written.
  char16_t WriteMonthOrMinute(size_t count) {
    if (count <= 2 && fLastElement == u'h') {
      AppendNumber(fOut, fParts.minute, count);
      return u'n';
    }
    if (count <= 2) {
      AppendNumber(fOut, fParts.month, count);
    } else {
      const auto& names = count == 3 ? kShortMonthNames : kLongMonthNames;
      fOut += names[static_cast<size_t>(fParts.month - 1)];
    }
    return u'm';
  }

  void WriteDay(size_t count) {
    const auto weekday = static_cast<size_t>(fParts.dayOfWeek - 1);
    switch (count) {
      case 1:
      case 2:
        AppendNumber(fOut, fParts.day, count);
        break;
      case 3:
        fOut += kShortDayNames[weekday];
        break;
      case 4:
        fOut += kLongDayNames[weekday];
        break;
      case 5:
        Nested(FormatSettings::ShortDateFormat);
        break;
      default:
        Nested(FormatSettings::LongDateFormat);
        break;
    }
  }

  void WriteFullDateTime() {
    Nested(FormatSettings::ShortDateFormat);
    fOut += u' ';
    Nested(FormatSettings::LongTimeFormat);
  }

  void Nested(std::u16string_view format) { TDateFormatWriter(fParts, fOut).Write(format); }

  size_t WriteQuoted(std::u16string_view format, size_t pos) {
    const size_t length = QuotedLength(format, pos);
    const size_t textLength =
        length >= 2 && format[pos + length - 1] == format[pos] ? length - 2 : length - 1;
    fOut += format.substr(pos + 1, textLength);
    return length;
  }

  // "am/pm" and "a/p" keep the letters as written; "ampm" writes "AM"/"PM".
  size_t WriteAmPm(std::u16string_view format, size_t pos) {
    const size_t length = AmPmLength(format, pos);
    if (length == 0) {
      fOut += format[pos];
      return 1;
    }
    const bool pm = fParts.hour >= 12;
    if (length == 4) {
      fOut += pm ? u"PM" : u"AM";
    } else {
      const size_t half = (length + 1) / 2;  // "am/pm": 3, "a/p": 2
      fOut += format.substr(pm ? pos + half : pos, half - 1);
    }
    fLastElement = u'a';
    return length;
  }

  void WriteSeparatorOrLiteral(char16_t c) {
    if (c == u'/') {
      fOut += FormatSettings::DateSeparator;
    } else if (c == u':') {
      fOut += FormatSettings::TimeSeparator;
    } else {
      fOut += c;
    }
  }
};

// ---- Parsing ----

class TDateTimeScanner {
 public:
  explicit TDateTimeScanner(std::u16string_view text) : fText(text) {}

  bool AtEnd() const { return fPos >= fText.size(); }

  // Reads minDigits..maxDigits ASCII digits not followed by another digit.
  bool ReadNumber(size_t minDigits, size_t maxDigits, int& value) {
    size_t digits = 0;
    int result = 0;
    while (fPos < fText.size() && IsDigit(fText[fPos])) {
      if (++digits > maxDigits) return false;
      result = result * 10 + (fText[fPos++] - u'0');
    }
    if (digits < minDigits) return false;
    value = result;
    return true;
  }

  bool Skip(char16_t c) {
    if (AtEnd() || fText[fPos] != c) return false;
    ++fPos;
    return true;
  }

  bool SkipOneOf(std::u16string_view set, char16_t& which) {
    if (AtEnd() || set.find(fText[fPos]) == std::u16string_view::npos) return false;
    which = fText[fPos++];
    return true;
  }

  size_t SkipBlanks() {
    const size_t start = fPos;
    while (!AtEnd() && (fText[fPos] == u' ' || fText[fPos] == u'\t')) ++fPos;
    return fPos - start;
  }

  // `word` in lower case.
  bool SkipWordIgnoringCase(std::u16string_view word) {
    if (!StartsWithIgnoringCase(fText, fPos, word)) return false;
    fPos += word.size();
    return true;
  }

 private:
  static bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

  std::u16string_view fText;
  size_t fPos = 0;
};

struct TDateFields {
  int year = 1899, month = 12, day = 30;
};

struct TTimeFields {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool ReadDate(TDateTimeScanner& scanner, TDateFields& date) {
  char16_t separator = 0;
  return scanner.ReadNumber(4, 4, date.year) && scanner.SkipOneOf(u"-/.", separator) &&
         scanner.ReadNumber(1, 2, date.month) && scanner.Skip(separator) &&
         scanner.ReadNumber(1, 2, date.day);
}

bool ApplyAmPm(int& hour, bool pm) {
  if (hour < 1 || hour > 12) return false;
  hour = hour % 12 + (pm ? 12 : 0);
  return true;
}

bool ReadTime(TDateTimeScanner& scanner, TTimeFields& time) {
  if (!scanner.ReadNumber(1, 2, time.hour) || !scanner.Skip(u':') ||
      !scanner.ReadNumber(1, 2, time.minute)) {
    return false;
  }
  if (scanner.Skip(u':')) {
    if (!scanner.ReadNumber(1, 2, time.second)) return false;
    if (scanner.Skip(u'.') && !scanner.ReadNumber(1, 3, time.millisecond)) return false;
  }
  scanner.SkipBlanks();
  if (scanner.SkipWordIgnoringCase(u"am")) return ApplyAmPm(time.hour, false);
  if (scanner.SkipWordIgnoringCase(u"pm")) return ApplyAmPm(time.hour, true);
  return true;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, TDateTime& result) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) return false;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    return false;
  }
  const int64_t serialDay = DaysFromCivil(year, month, day) + kUnixEpochDay;
  const int64_t msOfDay = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  const double time = static_cast<double>(msOfDay) / static_cast<double>(kMsPerDay);
  const auto date = static_cast<double>(serialDay);
  result = serialDay >= 0 ? date + time : date - time;
  return true;
}

TDateTimeParts DecodeDateTime(TDateTime value) {
  if (std::isnan(value)) value = 0;
  const double whole = std::trunc(value);
  if (whole < static_cast<double>(kFirstDay)) return PartsOf(kFirstDay, 0);
  if (whole > static_cast<double>(kLastDay)) return PartsOf(kLastDay, kMsPerDay - 1);
  auto serialDay = static_cast<int64_t>(whole);
  int64_t msOfDay = std::llround(std::fabs(value - whole) * static_cast<double>(kMsPerDay));
  if (msOfDay >= kMsPerDay) {  // rounded up to the next midnight
    ++serialDay;
    msOfDay -= kMsPerDay;
  }
  if (serialDay > kLastDay) return PartsOf(kLastDay, kMsPerDay - 1);
  return PartsOf(serialDay, msOfDay);
}

std::u16string FormatDateTime(std::u16string_view format, TDateTime value) {
  const TDateTimeParts parts = DecodeDateTime(value);
  std::u16string out;
  TDateFormatWriter(parts, out).Write(format.empty() ? std::u16string_view(u"c") : format);
  return out;
}

std::u16string DateTimeToStr(TDateTime value) { return FormatDateTime(u"c", value); }

bool TryStrToDateTime(std::u16string_view text, TDateTime& result) {
  const std::u16string trimmed = Trim(text);
  TDateTimeScanner scanner(trimmed);
  TDateFields date;
  TTimeFields time;
  if (ReadDate(scanner, date)) {
    if (!scanner.AtEnd() && (scanner.SkipBlanks() == 0 || !ReadTime(scanner, time))) return false;
  } else {
    scanner = TDateTimeScanner(trimmed);
    if (!ReadTime(scanner, time)) return false;
  }
  return scanner.AtEnd() && TryEncodeDateTime(date.year, date.month, date.day, time.hour,
                                              time.minute, time.second, time.millisecond, result);
}

TDateTime IncMonth(TDateTime value, int months) {
  const TDateTimeParts parts = DecodeDateTime(value);
  const int64_t monthIndex =
      std::clamp<int64_t>(parts.year * 12LL + (parts.month - 1) + months, 12, 9999 * 12 + 11);
  const int year = static_cast<int>(monthIndex / 12);
  const int month = static_cast<int>(monthIndex % 12) + 1;
  const int day = std::min(parts.day, DaysInMonth(year, month));
  TDateTime result = value;
  return TryEncodeDateTime(year, month, day, parts.hour, parts.minute, parts.second,
                           parts.millisecond, result)
             ? result
             : value;
}

bool DateTimeToDosDateTime(TDateTime value, int32_t& packed) {
  packed = 0;
  const TDateTimeParts parts = DecodeDateTime(value);
  if (parts.year < 1980 || parts.year > 2107) return false;
  const auto date =
      static_cast<uint32_t>(((parts.year - 1980) << 9) | (parts.month << 5) | parts.day);
  const auto time =
      static_cast<uint32_t>((parts.hour << 11) | (parts.minute << 5) | (parts.second / 2));
  packed = static_cast<int32_t>((date << 16) | time);
  return true;
}

bool DosDateTimeToDateTime(int32_t packed, TDateTime& value) {
  const auto bits = static_cast<uint32_t>(packed);
  const uint32_t date = bits >> 16;
  const uint32_t time = bits & 0xFFFF;
  return TryEncodeDateTime(1980 + static_cast<int>(date >> 9), static_cast<int>((date >> 5) & 15),
                           static_cast<int>(date & 31), static_cast<int>(time >> 11),
                           static_cast<int>((time >> 5) & 63), static_cast<int>(time & 31) * 2, 0,
                           value);
}
