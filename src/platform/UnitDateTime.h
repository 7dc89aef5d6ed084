// Dates and times as the renamer counts them: a TDateTime is the number of
// days since 1899-12-30 00:00 (local time), the fraction being the time of day.
// Formatting and parsing use the fixed formats below, never the machine's locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using TDateTime = double;

// The fixed formats of dates and numbers.
namespace FormatSettings {
inline constexpr std::u16string_view ShortDateFormat = u"yyyy-mm-dd";
inline constexpr std::u16string_view LongDateFormat = u"dddd, mmmm d, yyyy";
inline constexpr std::u16string_view ShortTimeFormat = u"hh:nn";
inline constexpr std::u16string_view LongTimeFormat = u"hh:nn:ss";
inline constexpr char16_t DateSeparator = u'-';
inline constexpr char16_t TimeSeparator = u':';
inline constexpr char16_t DecimalSeparator = u'.';
inline constexpr char16_t ThousandSeparator = u',';
}  // namespace FormatSettings

struct TDateTimeParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

// Gregorian calendar rules. DaysInMonth is 0 for a month outside 1..12.
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Builds a date and time; false when a part is out of range (year 1..9999),
// `result` then stays as it was. Before 1899-12-30 the time is subtracted:
// 1899-12-29 06:00 is -1.25.
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, TDateTime& result);
// Splits a date and time (rounded to the millisecond, carrying into the next
// day); dates before year 1 or after 9999 are clamped to 0001-01-01 00:00:00.000
// and 9999-12-31 23:59:59.999. NaN reads as 0 (1899-12-30 00:00).
TDateTimeParts DecodeDateTime(TDateTime value);

// Writes `value` with a date format: "yyyy", "yy", "mmmm", "mmm", "mm", "m",
// "dddd", "ddd", "dd", "d", "ddddd" (short date), "dddddd" (long date), "hh", "h",
// "nn", "n", "ss", "s", "zzz", "z", "ampm", "am/pm", "a/p", "c" (short date, a blank,
// long time), "t" and "tt" (short and long time), "/" and ":" (the separators),
// text in "..." or '...' written as it stands; any other character is copied.
// "m"/"mm" right after an hour part mean minutes. Letters match in any case.
// Details: "y"/"yy" write two digits, three or more "y" four; "h" counts 12
// hours when "am/pm", "a/p" or "ampm" appears anywhere outside quotes; "am/pm"
// and "a/p" keep the letter case as written, "ampm" writes "AM"/"PM"; "z" and
// "zz" write the milliseconds without, "zzz" with leading zeros; "c" always
// includes the time. An empty format writes as "c".
std::u16string FormatDateTime(std::u16string_view format, TDateTime value);

// The system's date and time as "c" writes it.
std::u16string DateTimeToStr(TDateTime value);

// Reads what the fixed formats write: a short date "yyyy-mm-dd" (also with "/"
// or "." between the parts), optionally followed by blanks and a time
// "h:n", "h:n:s" or "h:n:s.zzz", optionally followed by "am"/"pm"; or a time
// alone (date part 0). The year has four digits, month, day, hour, minute and
// second one or two, milliseconds one to three (read as a whole number, as "z"
// writes them); with "am"/"pm" the hour is 1..12. Surrounding blanks are
// ignored. False on anything else, including impossible fields (Feb 30, 25:00);
// `result` then stays as it was.
bool TryStrToDateTime(std::u16string_view text, TDateTime& result);

// Calendar-month arithmetic as the date formats need it: the day is clamped to
// the length of the target month, the time of day is kept, and results before
// 0001-01 or after 9999-12 are held at those months. `months` may be negative.
TDateTime IncMonth(TDateTime value, int months);

// Packed DOS date-time: high 16 bits date (bits 9-15 year-1980, 5-8 month,
// 0-4 day), low 16 bits time (11-15 hour, 5-10 minute, 0-4 seconds/2).
// Seconds are rounded down to even. Packing fails (returns false, `packed` 0)
// for years outside 1980..2107.
bool DateTimeToDosDateTime(TDateTime value, int32_t& packed);
// Unpacking fails for impossible fields (month 0, day 0, hour 24, ...), leaving
// `value` as it was.
bool DosDateTimeToDateTime(int32_t packed, TDateTime& value);
