#include "platform/UnitDateTime.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "platform/UnitText.h"

namespace {

TDateTime Encode(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                 int millisecond = 0) {
  TDateTime value = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(TryEncodeDateTime(year, month, day, hour, minute, second, millisecond, value))
      << year << "-" << month << "-" << day << " " << hour << ":" << minute << ":" << second << "."
      << millisecond;
  return value;
}

std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

// A random date and time in years 1..9999 with whole seconds.
TDateTime RandomDateTime(std::mt19937& rng) {
  const int year = std::uniform_int_distribution<int>(1, 9999)(rng);
  const int month = std::uniform_int_distribution<int>(1, 12)(rng);
  const int day = std::uniform_int_distribution<int>(1, DaysInMonth(year, month))(rng);
  const int hour = std::uniform_int_distribution<int>(0, 23)(rng);
  const int minute = std::uniform_int_distribution<int>(0, 59)(rng);
  const int second = std::uniform_int_distribution<int>(0, 59)(rng);
  return Encode(year, month, day, hour, minute, second);
}

void ExpectParts(const TDateTimeParts& parts, int year, int month, int day, int hour, int minute,
                 int second, int millisecond, const std::string& label) {
  EXPECT_EQ(parts.year, year) << label;
  EXPECT_EQ(parts.month, month) << label;
  EXPECT_EQ(parts.day, day) << label;
  EXPECT_EQ(parts.hour, hour) << label;
  EXPECT_EQ(parts.minute, minute) << label;
  EXPECT_EQ(parts.second, second) << label;
  EXPECT_EQ(parts.millisecond, millisecond) << label;
}

}  // namespace

// ---- Encoding and decoding ----

TEST(DateTimeEncodingTest, KnownSerialNumbers) {
  EXPECT_EQ(Encode(1899, 12, 30), 0.0);
  EXPECT_EQ(Encode(1899, 12, 31, 12), 1.5);
  EXPECT_EQ(Encode(1899, 12, 29, 6), -1.25);
  EXPECT_EQ(Encode(1970, 1, 1), 25569.0);
  EXPECT_EQ(Encode(2000, 1, 1), 36526.0);
  EXPECT_EQ(Encode(1, 1, 1), -693593.0);
  EXPECT_EQ(Encode(9999, 12, 31), 2958465.0);
}

TEST(DateTimeEncodingTest, RejectsOutOfRangeParts) {
  struct Case {
    int year, month, day, hour, minute, second, millisecond;
  };
  const Case cases[] = {
      {0, 1, 1, 0, 0, 0, 0},     {10000, 1, 1, 0, 0, 0, 0}, {2013, 0, 1, 0, 0, 0, 0},
      {2013, 13, 1, 0, 0, 0, 0}, {2013, 1, 0, 0, 0, 0, 0},  {2013, 1, 32, 0, 0, 0, 0},
      {2013, 2, 29, 0, 0, 0, 0}, {1900, 2, 29, 0, 0, 0, 0}, {2000, 2, 30, 0, 0, 0, 0},
      {2013, 4, 31, 0, 0, 0, 0}, {2013, 1, 1, 24, 0, 0, 0}, {2013, 1, 1, -1, 0, 0, 0},
      {2013, 1, 1, 0, 60, 0, 0}, {2013, 1, 1, 0, 0, 60, 0}, {2013, 1, 1, 0, 0, 0, 1000},
      {2013, 1, 1, 0, 0, 0, -1},
  };
  for (const Case& c : cases) {
    TDateTime value = 42;
    EXPECT_FALSE(
        TryEncodeDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second, c.millisecond, value))
        << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
        << c.second << "." << c.millisecond;
    EXPECT_EQ(value, 42);
  }
}

TEST(DateTimeEncodingTest, LeapYears) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2012));
  EXPECT_FALSE(IsLeapYear(2013));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2013, 12), 31);
  EXPECT_EQ(DaysInMonth(2013, 0), 0);
  EXPECT_EQ(DaysInMonth(2013, 13), 0);
  EXPECT_EQ(Encode(2012, 3, 1) - Encode(2012, 2, 28), 2.0);
  EXPECT_EQ(Encode(1900, 3, 1) - Encode(1900, 2, 28), 1.0);
}

TEST(DateTimeEncodingTest, NegativeValuesCountTheTimeForward) {
  ExpectParts(DecodeDateTime(-1.25), 1899, 12, 29, 6, 0, 0, 0, "-1.25");
  ExpectParts(DecodeDateTime(-1.75), 1899, 12, 29, 18, 0, 0, 0, "-1.75");
  ExpectParts(DecodeDateTime(-0.5), 1899, 12, 30, 12, 0, 0, 0, "-0.5");
  ExpectParts(DecodeDateTime(-693593.5), 1, 1, 1, 12, 0, 0, 0, "first day noon");
}

TEST(DateTimeEncodingTest, DecodingRoundsToTheMillisecondAndCarries) {
  const double halfMs = 0.5 / 86400000.0;
  ExpectParts(DecodeDateTime(Encode(2013, 8, 14, 23, 59, 59, 999) + 0.9 * halfMs * 2), 2013, 8, 15,
              0, 0, 0, 0, "just before midnight");
  // Before 1899-12-30 the next midnight is still the next calendar day.
  ExpectParts(DecodeDateTime(-2.0 + halfMs / 2), 1899, 12, 30, 0, 0, 0, 0, "-1.99999...");
  ExpectParts(DecodeDateTime(-0.9999999999), 1899, 12, 31, 0, 0, 0, 0, "-0.99999...");
}

TEST(DateTimeEncodingTest, DecodingClampsOutOfRangeValues) {
  ExpectParts(DecodeDateTime(-1e9), 1, 1, 1, 0, 0, 0, 0, "-1e9");
  ExpectParts(DecodeDateTime(-693594), 1, 1, 1, 0, 0, 0, 0, "day before year 1");
  ExpectParts(DecodeDateTime(1e300), 9999, 12, 31, 23, 59, 59, 999, "1e300");
  ExpectParts(DecodeDateTime(2958465.9999999999), 9999, 12, 31, 23, 59, 59, 999, "last instant");
  ExpectParts(DecodeDateTime(std::numeric_limits<double>::infinity()), 9999, 12, 31, 23, 59, 59,
              999, "+inf");
  ExpectParts(DecodeDateTime(-std::numeric_limits<double>::infinity()), 1, 1, 1, 0, 0, 0, 0,
              "-inf");
  ExpectParts(DecodeDateTime(std::numeric_limits<double>::quiet_NaN()), 1899, 12, 30, 0, 0, 0, 0,
              "NaN");
}

TEST(DateTimeEncodingTest, DayOfWeek) {
  EXPECT_EQ(DecodeDateTime(0).dayOfWeek, 7);                    // Saturday
  EXPECT_EQ(DecodeDateTime(-1.25).dayOfWeek, 6);                // Friday
  EXPECT_EQ(DecodeDateTime(Encode(2013, 8, 14)).dayOfWeek, 4);  // Wednesday
  EXPECT_EQ(DecodeDateTime(Encode(1, 1, 1)).dayOfWeek, 2);      // Monday
  EXPECT_EQ(DecodeDateTime(Encode(2000, 1, 2)).dayOfWeek, 1);   // Sunday
}

TEST(DateTimeEncodingTest, RandomPartsRoundTripExactly) {
  std::mt19937 rng(20130814);
  for (int round = 0; round < 20000; ++round) {
    const int year = std::uniform_int_distribution<int>(1, 9999)(rng);
    const int month = std::uniform_int_distribution<int>(1, 12)(rng);
    const int day = std::uniform_int_distribution<int>(1, DaysInMonth(year, month))(rng);
    const int hour = std::uniform_int_distribution<int>(0, 23)(rng);
    const int minute = std::uniform_int_distribution<int>(0, 59)(rng);
    const int second = std::uniform_int_distribution<int>(0, 59)(rng);
    const int ms = std::uniform_int_distribution<int>(0, 999)(rng);
    const TDateTime value = Encode(year, month, day, hour, minute, second, ms);
    const TDateTimeParts parts = DecodeDateTime(value);
    ASSERT_TRUE(parts.year == year && parts.month == month && parts.day == day &&
                parts.hour == hour && parts.minute == minute && parts.second == second &&
                parts.millisecond == ms)
        << "round " << round << ": " << year << "-" << month << "-" << day << " " << hour << ":"
        << minute << ":" << second << "." << ms;
  }
}

// ---- Formatting ----

struct FormatCase {
  std::u16string format;
  std::u16string expected;
};

void ExpectFormats(TDateTime value, const std::vector<FormatCase>& cases) {
  for (const FormatCase& c : cases) {
    EXPECT_EQ(Narrow(FormatDateTime(c.format, value)), Narrow(c.expected))
        << "format \"" << Narrow(c.format) << "\"";
  }
}

TEST(FormatDateTimeTest, ElementsOfAMorningTime) {
  const std::vector<FormatCase> cases = {
      {u"yyyy", u"2013"},
      {u"yyy", u"2013"},
      {u"yy", u"13"},
      {u"y", u"13"},
      {u"m", u"8"},
      {u"mm", u"08"},
      {u"mmm", u"Aug"},
      {u"mmmm", u"August"},
      {u"d", u"14"},
      {u"dd", u"14"},
      {u"ddd", u"Wed"},
      {u"dddd", u"Wednesday"},
      {u"ddddd", u"2013-08-14"},
      {u"dddddd", u"Wednesday, August 14, 2013"},
      {u"h", u"9"},
      {u"hh", u"09"},
      {u"n", u"5"},
      {u"nn", u"05"},
      {u"s", u"3"},
      {u"ss", u"03"},
      {u"z", u"7"},
      {u"zzz", u"007"},
      {u"t", u"09:05"},
      {u"tt", u"09:05:03"},
      {u"c", u"2013-08-14 09:05:03"},
      {u"", u"2013-08-14 09:05:03"},
      {u"yyyy/mm/dd", u"2013-08-14"},
      {u"hh:nn:ss.zzz", u"09:05:03.007"},
      {u"YYYY-MM-DD HH:NN", u"2013-08-14 09:05"},
      {u"DDDD MMMM", u"Wednesday August"},
      {u"dd-mmm-yyyy", u"14-Aug-2013"},
      {u"yy-mm-dd__hh-mm-ss", u"13-08-14__09-05-03"},
  };
  ExpectFormats(Encode(2013, 8, 14, 9, 5, 3, 7), cases);
}

TEST(FormatDateTimeTest, MonthAfterAnHourMeansMinutes) {
  const std::vector<FormatCase> cases = {
      {u"hh-mm-ss", u"09-05-03"},
      {u"h:m", u"9:5"},
      {u"HH:MM", u"09:05"},
      {u"hh mm", u"09 05"},
      {u"h\"h\"mm", u"9h05"},      // quoted text between
      {u"hhxmm", u"09x05"},        // a literal between
      {u"mm hh mm", u"08 09 05"},  // only the one after the hour
      {u"hh:nn mm", u"09:05 08"},  // the minute came last
      {u"hh:mm:ss mm", u"09:05:03 08"},
      {u"hh dd mm", u"09 14 08"},  // a day in between
      {u"hh mmm", u"09 Aug"},      // names stay months
      {u"hh mmmm", u"09 August"},
      {u"t mm", u"09:05 08"},  // nested hours do not count
  };
  ExpectFormats(Encode(2013, 8, 14, 9, 5, 3), cases);
}

TEST(FormatDateTimeTest, QuotedAndLiteralText) {
  const std::vector<FormatCase> cases = {
      {u"\"yyyy\"yyyy", u"yyyy2013"},
      {u"'mm'-mm", u"mm-08"},
      {u"'it''s' d", u"its 14"},
      {u"\"a'b\"", u"a'b"},
      {u"'a\"b'", u"a\"b"},
      {u"\"\"", u""},
      {u"yyyy'unclosed mm", u"2013unclosed mm"},
      {u"d'", u"14"},
      {u"[dd] #1 \u00E9", u"[14] #1 \u00E9"},
      {u"ex", u"ex"},
      {u"a", u"a"},
      {u"amx", u"a8x"},  // "am" alone is no specifier
      {u"hh:nn", u"09:05"},
      {u"d/m", u"14-8"},
  };
  ExpectFormats(Encode(2013, 8, 14, 9, 5, 3), cases);
}

TEST(FormatDateTimeTest, TwelveHourForms) {
  const std::vector<FormatCase> morning = {
      {u"h:nn am/pm", u"9:05 am"}, {u"hh AM/PM", u"09 AM"}, {u"h Am/pM", u"9 Am"},
      {u"h a/p", u"9 a"},          {u"h A/P", u"9 A"},      {u"h ampm", u"9 AM"},
      {u"am/pm hh", u"am 09"},  // the specifier may come first
  };
  ExpectFormats(Encode(2013, 8, 14, 9, 5, 3), morning);
  const std::vector<FormatCase> evening = {
      {u"hh:nn", u"21:45"},
      {u"h:nn am/pm", u"9:45 pm"},
      {u"hh AM/PM", u"09 PM"},
      {u"h Am/pM", u"9 pM"},
      {u"h a/p", u"9 p"},
      {u"h ampm", u"9 PM"},
      {u"'am/pm' hh", u"am/pm 21"},  // quoted: no 12-hour clock
      {u"hh:mm am/pm", u"09:45 pm"},
      {u"t am/pm", u"21:45 pm"},  // nested formats keep 24 hours
      {u"z", u"999"},
  };
  ExpectFormats(Encode(2013, 8, 14, 21, 45, 59, 999), evening);
  ExpectFormats(Encode(2013, 8, 14, 0, 30), {{u"h:nn am/pm", u"12:30 am"}});
  ExpectFormats(Encode(2013, 8, 14, 12, 0), {{u"h:nn am/pm", u"12:00 pm"}});
}

TEST(FormatDateTimeTest, DayAndMonthNames) {
  const std::u16string longNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                      u"Thursday", u"Friday", u"Saturday"};
  for (int day = 0; day < 7; ++day) {
    const TDateTime sunday = Encode(2013, 8, 11);
    EXPECT_EQ(Narrow(FormatDateTime(u"dddd", sunday + day)), Narrow(longNames[day]));
    EXPECT_EQ(Narrow(FormatDateTime(u"ddd", sunday + day)), Narrow(longNames[day].substr(0, 3)));
  }
  const std::u16string months[] = {u"January",   u"February", u"March",    u"April",
                                   u"May",       u"June",     u"July",     u"August",
                                   u"September", u"October",  u"November", u"December"};
  for (int month = 1; month <= 12; ++month) {
    const TDateTime value = Encode(2013, month, 1);
    EXPECT_EQ(Narrow(FormatDateTime(u"mmmm", value)), Narrow(months[month - 1]));
    EXPECT_EQ(Narrow(FormatDateTime(u"mmm", value)), Narrow(months[month - 1].substr(0, 3)));
  }
}

TEST(FormatDateTimeTest, EarlyAndNegativeDates) {
  ExpectFormats(Encode(813, 1, 2, 3, 4, 5),
                {{u"yyyy", u"0813"}, {u"yy", u"13"}, {u"c", u"0813-01-02 03:04:05"}});
  ExpectFormats(Encode(2005, 1, 2), {{u"yy", u"05"}, {u"c", u"2005-01-02 00:00:00"}});
  ExpectFormats(-1.25, {{u"c", u"1899-12-29 06:00:00"}, {u"dddd", u"Friday"}});
  EXPECT_EQ(Narrow(DateTimeToStr(1.5)), "1899-12-31 12:00:00");
}

// ---- Parsing ----

TEST(StrToDateTimeTest, AcceptsWhatTheFixedFormatsWrite) {
  struct Case {
    std::u16string text;
    TDateTime expected;
  };
  const Case cases[] = {
      {u"2013-08-14", Encode(2013, 8, 14)},
      {u"2013/08/14", Encode(2013, 8, 14)},
      {u"2013.8.4", Encode(2013, 8, 4)},
      {u"  2013-08-14 09:05  ", Encode(2013, 8, 14, 9, 5)},
      {u"2013-08-14\t9:5", Encode(2013, 8, 14, 9, 5)},
      {u"2013-08-14 09:05:03", Encode(2013, 8, 14, 9, 5, 3)},
      {u"2013-08-14 09:05:03.007", Encode(2013, 8, 14, 9, 5, 3, 7)},
      {u"2013-08-14 09:05:03.7", Encode(2013, 8, 14, 9, 5, 3, 7)},
      {u"2013-08-14   9:05:03 pm", Encode(2013, 8, 14, 21, 5, 3)},
      {u"1899-12-29 06:00:00", -1.25},
      {u"0001-01-01", Encode(1, 1, 1)},
      {u"9999-12-31 23:59:59.999", Encode(9999, 12, 31, 23, 59, 59, 999)},
      {u"2012-02-29", Encode(2012, 2, 29)},
      {u"09:05", Encode(1899, 12, 30, 9, 5)},
      {u"23:59:59", Encode(1899, 12, 30, 23, 59, 59)},
      {u"9:05 PM", Encode(1899, 12, 30, 21, 5)},
      {u"12:00 am", 0.0},
      {u"12:30PM", Encode(1899, 12, 30, 12, 30)},
  };
  for (const Case& c : cases) {
    TDateTime value = -99999;
    EXPECT_TRUE(TryStrToDateTime(c.text, value)) << "\"" << Narrow(c.text) << "\"";
    EXPECT_EQ(value, c.expected) << "\"" << Narrow(c.text) << "\"";
  }
}

TEST(StrToDateTimeTest, RejectsEverythingElse) {
  const std::u16string cases[] = {
      u"",
      u"   ",
      u"garbage",
      u"2013",
      u"2013-08",
      u"2013-13-01",
      u"2013-00-10",
      u"2013-02-30",
      u"2013-02-29",
      u"0000-01-01",
      u"13-08-14",
      u"20130-08-14",
      u"-2013-08-14",
      u"2013-008-14",
      u"2013-08/14",
      u"2013-08-14x",
      u"2013-08-14T09:05",
      u"2013-08-14 09",
      u"2013-08-14 25:00",
      u"2013-08-14 09:05:60",
      u"2013-08-14 09:05:03.1234",
      u"2013-08-14 09:05:03.",
      u"2013-08-14 09:05 xm",
      u"2013-08-14 09:05 amx",
      u"24:00",
      u"09:60",
      u"9:",
      u":05",
      u"13:00 pm",
      u"0:30 am",
      u"09:05 2013-08-14",
      u"\uFF12\uFF10\uFF11\uFF13-08-14",  // full-width digits
  };
  for (const std::u16string& text : cases) {
    TDateTime value = 42;
    EXPECT_FALSE(TryStrToDateTime(text, value)) << "\"" << Narrow(text) << "\"";
    EXPECT_EQ(value, 42) << "\"" << Narrow(text) << "\"";
  }
}

TEST(StrToDateTimeTest, RandomDatesRoundTripThroughTheWrittenForms) {
  struct Form {
    std::u16string format;
    bool keepsDate, keepsTime, keepsSeconds;
  };
  const Form forms[] = {
      {u"c", true, true, true},
      {u"ddddd", true, false, false},
      {u"ddddd hh:nn", true, true, false},
      {u"ddddd hh:nn:ss", true, true, true},
      {u"yyyy-mm-dd hh:nn:ss", true, true, true},
      {u"tt", false, true, true},
      {u"t", false, true, false},
      {u"h:nn:ss am/pm", false, true, true},
  };
  std::mt19937 rng(1899);
  for (int round = 0; round < 5000; ++round) {
    const TDateTime value = RandomDateTime(rng);
    const TDateTimeParts p = DecodeDateTime(value);
    for (const Form& form : forms) {
      TDateTime expected = 0;
      ASSERT_TRUE(TryEncodeDateTime(form.keepsDate ? p.year : 1899, form.keepsDate ? p.month : 12,
                                    form.keepsDate ? p.day : 30, form.keepsTime ? p.hour : 0,
                                    form.keepsTime ? p.minute : 0, form.keepsSeconds ? p.second : 0,
                                    0, expected));
      const std::u16string text = FormatDateTime(form.format, value);
      TDateTime parsed = 0;
      ASSERT_TRUE(TryStrToDateTime(text, parsed)) << Narrow(text);
      ASSERT_EQ(parsed, expected) << Narrow(text) << " from format " << Narrow(form.format);
    }
  }
}

// ---- Month arithmetic ----

TEST(IncMonthTest, ClampsTheDayAndKeepsTheTime) {
  struct Case {
    TDateTime from;
    int months;
    TDateTime expected;
    const char* label;
  };
  const Case cases[] = {
      {Encode(2013, 1, 31), 1, Encode(2013, 2, 28), "Jan 31 + 1"},
      {Encode(2012, 1, 31), 1, Encode(2012, 2, 29), "Jan 31 + 1, leap year"},
      {Encode(2013, 3, 31), -1, Encode(2013, 2, 28), "Mar 31 - 1"},
      {Encode(2013, 5, 31), 1, Encode(2013, 6, 30), "May 31 + 1"},
      {Encode(2013, 12, 15), 1, Encode(2014, 1, 15), "Dec 15 + 1"},
      {Encode(2013, 1, 15), -1, Encode(2012, 12, 15), "Jan 15 - 1"},
      {Encode(2013, 1, 15), -13, Encode(2011, 12, 15), "Jan 15 - 13"},
      {Encode(2012, 2, 29), 12, Encode(2013, 2, 28), "Feb 29 + 12"},
      {Encode(2012, 2, 29), 48, Encode(2016, 2, 29), "Feb 29 + 48"},
      {Encode(2013, 8, 14, 9, 5, 3, 7), 0, Encode(2013, 8, 14, 9, 5, 3, 7), "zero months"},
      {Encode(2013, 8, 14, 21, 45), 2, Encode(2013, 10, 14, 21, 45), "time kept"},
      {-1.25, 1, Encode(1900, 1, 29, 6), "negative value forward"},
      {Encode(1900, 1, 29, 6), -1, -1.25, "back to a negative value"},
      {Encode(9999, 11, 30), 5, Encode(9999, 12, 30), "held at 9999-12"},
      {Encode(1, 3, 31), -5, Encode(1, 1, 31), "held at 0001-01"},
      {Encode(2013, 8, 14), INT_MAX, Encode(9999, 12, 14), "INT_MAX"},
      {Encode(2013, 8, 14), INT_MIN, Encode(1, 1, 14), "INT_MIN"},
  };
  for (const Case& c : cases) EXPECT_EQ(IncMonth(c.from, c.months), c.expected) << c.label;
}

// ---- DOS date-time ----

TEST(DosDateTimeTest, PacksFieldsAndRoundsSecondsDown) {
  int32_t packed = 0;
  ASSERT_TRUE(DateTimeToDosDateTime(Encode(2013, 8, 14, 9, 5, 3, 999), packed));
  const uint32_t date = (33u << 9) | (8u << 5) | 14u;
  const uint32_t time = (9u << 11) | (5u << 5) | 1u;
  EXPECT_EQ(static_cast<uint32_t>(packed), (date << 16) | time);
  TDateTime value = 0;
  ASSERT_TRUE(DosDateTimeToDateTime(packed, value));
  EXPECT_EQ(value, Encode(2013, 8, 14, 9, 5, 2));
}

TEST(DosDateTimeTest, CoversTheWholeRange) {
  int32_t packed = 0;
  TDateTime value = 0;
  ASSERT_TRUE(DateTimeToDosDateTime(Encode(1980, 1, 1), packed));
  EXPECT_EQ(packed, (33 << 16));  // month 1, day 1, all else 0
  ASSERT_TRUE(DateTimeToDosDateTime(Encode(2107, 12, 31, 23, 59, 59), packed));
  EXPECT_LT(packed, 0);  // the year's top bit is the sign bit
  ASSERT_TRUE(DosDateTimeToDateTime(packed, value));
  EXPECT_EQ(value, Encode(2107, 12, 31, 23, 59, 58));
}

TEST(DosDateTimeTest, RejectsWhatItCannotHold) {
  int32_t packed = 123;
  EXPECT_FALSE(DateTimeToDosDateTime(Encode(1979, 12, 31, 23, 59, 59), packed));
  EXPECT_EQ(packed, 0);
  EXPECT_FALSE(DateTimeToDosDateTime(Encode(2108, 1, 1), packed));
  EXPECT_FALSE(DateTimeToDosDateTime(-1.25, packed));
  EXPECT_FALSE(DateTimeToDosDateTime(std::numeric_limits<double>::quiet_NaN(), packed));

  auto pack = [](uint32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute,
                 uint32_t halfSeconds) {
    const uint32_t date = (year << 9) | (month << 5) | day;
    return static_cast<int32_t>((date << 16) | (hour << 11) | (minute << 5) | halfSeconds);
  };
  struct Case {
    int32_t packed;
    const char* label;
  };
  const Case cases[] = {
      {0, "all zero"},
      {pack(33, 0, 14, 9, 5, 1), "month 0"},
      {pack(33, 13, 14, 9, 5, 1), "month 13"},
      {pack(33, 8, 0, 9, 5, 1), "day 0"},
      {pack(33, 2, 29, 9, 5, 1), "Feb 29 in 2013"},
      {pack(33, 2, 30, 9, 5, 1), "Feb 30"},
      {pack(33, 8, 14, 24, 5, 1), "hour 24"},
      {pack(33, 8, 14, 9, 60, 1), "minute 60"},
      {pack(33, 8, 14, 9, 5, 30), "second 60"},
  };
  for (const Case& c : cases) {
    TDateTime value = 42;
    EXPECT_FALSE(DosDateTimeToDateTime(c.packed, value)) << c.label;
    EXPECT_EQ(value, 42) << c.label;
  }
  TDateTime leap = 0;
  EXPECT_TRUE(DosDateTimeToDateTime(pack(32, 2, 29, 0, 0, 0), leap));  // 2012
  EXPECT_EQ(leap, Encode(2012, 2, 29));
}

TEST(DosDateTimeTest, RandomValuesRoundTripAtTwoSecondResolution) {
  std::mt19937 rng(1980);
  for (int round = 0; round < 5000; ++round) {
    const int year = std::uniform_int_distribution<int>(1980, 2107)(rng);
    const int month = std::uniform_int_distribution<int>(1, 12)(rng);
    const int day = std::uniform_int_distribution<int>(1, DaysInMonth(year, month))(rng);
    const int hour = std::uniform_int_distribution<int>(0, 23)(rng);
    const int minute = std::uniform_int_distribution<int>(0, 59)(rng);
    const int second = std::uniform_int_distribution<int>(0, 59)(rng);
    int32_t packed = 0;
    TDateTime back = 0;
    ASSERT_TRUE(DateTimeToDosDateTime(Encode(year, month, day, hour, minute, second), packed));
    ASSERT_TRUE(DosDateTimeToDateTime(packed, back)) << "round " << round;
    ASSERT_EQ(back, Encode(year, month, day, hour, minute, second / 2 * 2)) << "round " << round;
  }
}

// ---- Robustness ----

TEST(DateTimeRobustnessTest, RandomFormatsAndValuesNeverMisbehave) {
  const std::u16string alphabet = u"yYmMdDhHnNsSzZtTcCaApP/:'\" -.x\u00E9";
  std::mt19937 rng(4242);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  std::uniform_int_distribution<int> anyUnit(0, 0xFFFF);
  const double specials[] = {0,
                             -1.25,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -693593.99999999,
                             2958465.99999999};
  std::uniform_real_distribution<double> anyValue(-700000, 3000000);
  for (int round = 0; round < 20000; ++round) {
    std::u16string format;
    const int n = length(rng);
    for (int i = 0; i < n; ++i) {
      format += round % 5 == 0 ? static_cast<char16_t>(anyUnit(rng)) : alphabet[pick(rng)];
    }
    const double value = round % 10 == 0 ? specials[round / 10 % 8] : anyValue(rng);
    const std::u16string out = FormatDateTime(format, value);
    ASSERT_LE(out.size(), 30 * format.size() + 30) << "round " << round;
  }
}

TEST(DateTimeRobustnessTest, RandomTextNeverParsesToAnImpossibleValue) {
  const std::u16string alphabet = u"0123456789-/.: \tapmAPMx";
  std::mt19937 rng(777);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 30);
  std::uniform_int_distribution<int> anyUnit(0, 0xFFFF);
  int accepted = 0;
  for (int round = 0; round < 50000; ++round) {
    std::u16string text;
    const int n = length(rng);
    for (int i = 0; i < n; ++i) {
      text += round % 4 == 0 ? static_cast<char16_t>(anyUnit(rng)) : alphabet[pick(rng)];
    }
    // Every tenth round mutates one character of a valid text instead.
    if (round % 10 == 1) {
      text = u"2013-08-14 09:05:03.007 pm";
      text[static_cast<size_t>(round / 10) % text.size()] = alphabet[pick(rng)];
    }
    TDateTime value = 0;
    if (!TryStrToDateTime(text, value)) continue;
    ++accepted;
    ASSERT_TRUE(std::isfinite(value)) << Narrow(text);
    ASSERT_GE(value, -693594.0) << Narrow(text);
    ASSERT_LE(value, 2958466.0) << Narrow(text);
  }
  EXPECT_GT(accepted, 0);  // the mutations keep some texts valid
}
