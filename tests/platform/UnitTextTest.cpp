#include "platform/UnitText.h"

#include <gtest/gtest.h>

#include <random>

TEST(TextConversionTest, RandomByteStringsRoundTripExactly) {
  std::mt19937 rng(20261208);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 64);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(static_cast<size_t>(length(rng)), '\0');
    // Bias some rounds towards bytes that start or continue multi-byte sequences.
    for (auto& b : bytes) {
      int v = byte(rng);
      if (round % 3 == 0) v = 0x80 | (v & 0x7F);
      b = static_cast<char>(v);
    }
    ASSERT_EQ(Utf16ToUtf8(Utf8ToUtf16(bytes)), bytes) << "round " << round;
  }
}

TEST(TextConversionTest, RandomUnitsEncodeAlikeEveryWay) {
  // ASCII, other BMP letters, surrogates paired or alone, escaped bytes.
  std::mt19937 rng(20261209);
  const int ranges[][2] = {{0x20, 0x7E}, {0x80, 0xD7FF}, {0xD800, 0xDBFF}, {0xDC00, 0xDFFF},
                           {0xDC80, 0xDCFF}, {0xE000, 0xFFFF}};
  std::uniform_int_distribution<int> pick(0, 5);
  std::uniform_int_distribution<int> length(0, 24);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text;
    for (int i = length(rng); i > 0; --i) {
      const auto& range = ranges[pick(rng)];
      text += static_cast<char16_t>(std::uniform_int_distribution<int>(range[0], range[1])(rng));
    }
    const std::string bytes = Utf16ToUtf8(text);
    ASSERT_EQ(Utf8Length(text), bytes.size()) << "round " << round;
    std::string appended = "x\xC3";
    AppendUtf16AsUtf8(appended, text);
    ASSERT_EQ(appended, "x\xC3" + bytes) << "round " << round;
  }
}

TEST(TextConversionTest, ValidUtf8DecodesToItsCharacters) {
  EXPECT_EQ(Utf8ToUtf16("caf\xC3\xA9"), u"caf\u00E9");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x8E\xB5"), u"\U0001F3B5");
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
}

TEST(TextConversionTest, InvalidBytesBecomeEscapes) {
  // A lone Latin-1 byte, an overlong "/", an encoded surrogate, a truncated sequence.
  EXPECT_EQ(Utf8ToUtf16("a\xE9"), u"a\xDCE9");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\xDCC0\xDCAF");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\xDCED\xDCA0\xDC80");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\xDCE2\xDC82");
  EXPECT_FALSE(IsValidUtf8("a\xE9"));
}

TEST(TextConversionTest, Windows1252MapsTheHighBlock) {
  EXPECT_EQ(Windows1252ToUtf16("\x80\x96\xE9\x81"), u"\u20AC\u2013\u00E9\u0081");
  EXPECT_EQ(Utf16ToWindows1252(u"\u20AC\u2013\u00E9\u0081\u4E2D"), "\x80\x96\xE9\x81?");
}

TEST(TextCaseTest, CaseMappingKeepsLength) {
  EXPECT_EQ(LowerCase(u"ABC \u00C9\u0130"), u"abc \u00E9i");
  EXPECT_EQ(UpperCase(u"stra\u00DFe"), u"STRA\u00DFE");  // no expansion to "SS"
  EXPECT_EQ(UpperCase(u"jpg-Az09"), u"JPG-AZ09");
  EXPECT_EQ(LowerCase(u"\xDCE9X"), u"\xDCE9x");          // escapes pass unchanged
  EXPECT_EQ(AsciiLowerCase(u"\u00C9A"), u"\u00C9a");
  EXPECT_TRUE(SameAsciiTextIgnoringCase(u".TW_tempName", u".tw_TEMPNAME"));
  EXPECT_FALSE(SameAsciiTextIgnoringCase(u"\u00C9", u"\u00E9"));  // ASCII letters only
  EXPECT_FALSE(SameAsciiTextIgnoringCase(u"[", u"{"));             // not letters
  EXPECT_FALSE(SameAsciiTextIgnoringCase(u"ab", u"abc"));
}

TEST(TextSearchTest, IgnoringCase) {
  EXPECT_EQ(FindIgnoringCase(u"abcABC", u"Bc", 2), 4u);
  EXPECT_EQ(ReplaceAllIgnoringCase(u"?N02?-?n02?", u"?n02?", u"07"), u"07-07");
  EXPECT_EQ(ReplaceAllIgnoringCase(u"aaa", u"a", u"aa"), u"aaaaaa");
  EXPECT_EQ(ReplaceAll(u"a|b|", u"|", u"?"), u"a?b?");
  EXPECT_EQ(Trim(u"  x y \t"), u"x y");
}

TEST(TextNumberTest, ReadsIntegersStrictly) {
  struct Case {
    std::u16string text;
    bool ok;
    long long value;
  };
  const Case cases[] = {{u"42", true, 42},       {u"-7", true, -7},
                        {u"+3", true, 3},        {u"0x1F", true, 31},
                        {u"$ff", true, 255},     {u" 5", true, 5},
                        {u"5 ", false, 0},       {u"", false, 0},
                        {u"-", false, 0},        {u"1e3", false, 0},
                        {u"9223372036854775807", true, 9223372036854775807LL},
                        {u"9223372036854775808", false, 0}};
  for (const auto& c : cases) {
    long long value = 0;
    EXPECT_EQ(TryStrToInt64(c.text, value), c.ok) << Utf16ToUtf8(c.text);
    if (c.ok) {
      EXPECT_EQ(value, c.value) << Utf16ToUtf8(c.text);
    }
  }
  int small = 0;
  EXPECT_FALSE(TryStrToInt(u"4294967296", small));
  EXPECT_TRUE(TryStrToInt(u"-2147483648", small));
  EXPECT_EQ(small, -2147483647 - 1);
}
