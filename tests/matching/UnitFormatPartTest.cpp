#include "matching/UnitFormatPart.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/UnitText.h"

namespace {

struct Case {
  std::u16string value;
  std::u16string format;
  std::u16string expected;
};

TEST(FormatPartTest, Operations) {
  const Case cases[] = {
      // padding; the format is read in lower case, so are pad characters
      {u"7", u"L05", u"00007"},
      {u"7", u"LX3", u"xx7"},
      {u"12345", u"L03", u"12345"},
      {u"ab", u"R-4", u"ab--"},
      // decimals
      {u"3.14159", u"D2", u"3.14"},
      {u"7", u"D2", u"7.00"},
      {u"7", u"D0", u"7."},
      {u"1.5", u"D3", u"1.500"},
      {u"1.2.3", u"D1", u"1.2"},
      // hexadecimal
      {u"255", u"H4", u"00FF"},
      {u"255", u"H0", u"FF"},
      {u"-1", u"H2", u"FFFFFFFFFFFFFFFF"},
      // sub-strings, clamped
      {u"abcdef", u"S2.4", u"bcd"},
      {u"abcdef", u"S0.2", u"ab"},
      {u"abcdef", u"S5.99", u"ef"},
      {u"abcdef", u"S4.2", u""},
      // numbers as letters
      {u"28", u"T1", u"AB"},
      {u"1", u"T1", u"A"},
      {u"26", u"T1", u"Z"},
      {u"27", u"T1", u"AA"},
      {u"0", u"T0", u"A"},
      {u"25", u"T0", u"Z"},
      {u"26", u"T0", u"AA"},
      {u"0", u"T1", u"A"},
      {u"702", u"T1", u"ZZ"},
      // dates
      {u"2013-08-14 09:05:03", u"Fyyyymmdd-hhmmss", u"20130814-090503"},
      {u"2013-08-14", u"Fdddd d mmmm", u"Wednesday 14 August"},
      {u"2013-08-14", u"F'Day' d", u"day 14"},  // literal text comes out in lower case
      {u"", u"Fyyyy", u""},
      {u"2013-01-31", u"CP31Fyyyy-mm-dd", u"2013-02-28"},
      {u"2013-08-14 23:50:00", u"CP020Fyyyy-mm-dd hh:nn", u"2013-08-15 00:10"},
      {u"2013-08-14 01:00:00", u"CM12Fhh", u"23"},
      {u"2012-02-29", u"CP41Fyyyy-mm-dd", u"2013-02-28"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(ApplyFormat(c.value, c.format)), Utf16ToUtf8(c.expected))
        << Utf16ToUtf8(c.value) << " with " << Utf16ToUtf8(c.format);
  }
}

TEST(FormatPartTest, UnreadableFormatsLeaveTheValue) {
  const Case cases[] = {
      {u"7", u"", u"7"},
      {u"7", u"Q5", u"7"},
      {u"7", u"L0", u"7"},
      {u"7", u"L0x", u"7"},
      {u"7", u"L099999999999", u"7"},  // overflow
      {u"7", u"L0100000", u"7"},       // beyond the longest allowed result
      {u"7", u"D-1", u"7"},
      {u"abc", u"H4", u"abc"},
      {u"abc", u"T1", u"abc"},
      {u"-3", u"T1", u"-3"},
      {u"5", u"T2", u"5"},
      {u"abc", u"S2", u"abc"},
      {u"not a date", u"Fyyyy", u"not a date"},
      {u"2013-08-14", u"CX21Fyyyy", u"2013-08-14"},
      {u"2013-08-14", u"CP91Fyyyy", u"2013-08-14"},
      {u"2013-08-14", u"CP2Fyyyy", u"2013-08-14"},
      {u"2013-08-14", u"CP4999999Fyyyy", u"2013-08-14"},  // past year 9999
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(ApplyFormat(c.value, c.format)), Utf16ToUtf8(c.expected))
        << Utf16ToUtf8(c.value) << " with " << Utf16ToUtf8(c.format);
  }
}

TEST(FormatPartTest, RandomFormatsNeverFail) {
  std::mt19937 rng(7);
  const std::u16string alphabet = u"lrdfchstpm0123456789.-:/ yXnzam\"'\xD800\xDC80";
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 12);
  const std::u16string values[] = {u"", u"12", u"2013-08-14 09:05:03", u"-5", u"abc"};
  for (int round = 0; round < 20000; ++round) {
    std::u16string format;
    for (int i = length(rng); i > 0; --i) format.push_back(alphabet[pick(rng)]);
    const std::u16string result = ApplyFormat(values[round % 5], format);
    ASSERT_LE(result.size(), static_cast<size_t>(kMaxFormatLength) + 64) << round;
  }
}

}  // namespace
