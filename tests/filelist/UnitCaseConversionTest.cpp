#include "filelist/UnitCaseConversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/UnitText.h"

namespace {

std::string Show(std::u16string_view text) { return Utf16ToUtf8(text); }

struct TTextCase {
  std::u16string input;
  std::u16string expected;
};

struct TConvertCase {
  TCaseStyle mode;
  std::u16string name;
  std::u16string ext;
  std::u16string expectedName;
  std::u16string expectedExt;
};

TCaseOptions On(TCaseStyle mode) {
  TCaseOptions options;
  options.cbOverrideCase = true;
  options.Mode = mode;
  return options;
}

}  // namespace

TEST(TCaseConversionTest, SeparatorAndStopWordTablesHaveTheirStoredSizes) {
  EXPECT_EQ(kWordSeparators.size(), 32u);
  EXPECT_EQ(kTitleCaseStopWords.size(), 199u);
}

TEST(TCaseConversionTest, CapitalizeWordsUpperCasesTheFirstLetterOfEveryWord) {
  const std::vector<TTextCase> cases = {
      {u"the lord of the rings", u"The Lord Of The Rings"},
      {u"(abc) def", u"(Abc) Def"},
      {u"3rd time", u"3rd Time"},
      {u"HELLO wORLD", u"Hello World"},
      {u".jpg", u".Jpg"},
      {u"", u""},
      {u"a", u"A"},
      {u"-", u"-"},
      {u"a--b__c", u"A--B__C"},
      {u"don't stop", u"Don't Stop"},  // the apostrophe is no separator
      {u"x1y2 z", u"X1y2 Z"},
      {u"((abc", u"((Abc"},
      {u"a/b\\c|d", u"A/B\\C|D"},
      {u"\u00e9cole", u"Ecole"},                      // best fit drops the accent
      {u"caf\u00e9 \u00e9t\u00e9", u"Caf\u00e9 Et\u00e9"},
      {u"\u00c9COLE", u"Ecole"},                       // the first letter loses its accent
      {u"x \u00c9T\u00c9", u"X Et\u00c9"},              // only A-Z are lower-cased
      {u"\u03b1\u03b2 gamma", u"\u03b1\u03b2 Gamma"},  // no best fit: kept as it is
      {u"\U0001D400x y", u"\U0001D400x Y"},
      {u"\xDC80" u"ab cd", u"\xDC80" u"ab Cd"},       // an undecodable byte stays
  };
  for (const TTextCase& c : cases) {
    EXPECT_EQ(Show(CapitalizeWords(c.input, u"")), Show(c.expected)) << "input: " << Show(c.input);
  }
}

TEST(TCaseConversionTest, ExtraSeparatorsSplitWordsToo) {
  EXPECT_EQ(Show(CapitalizeWords(u"one'two'three", u"'")), "One'Two'Three");
  // A letter as separator: the last character of the text starts a piece of its own.
  EXPECT_EQ(Show(CapitalizeWords(u"abxx", u"x")), "AbxX");
  EXPECT_EQ(Show(CapitalizeWords(u"abxxc", u"x")), "AbxxC");
}

TEST(TCaseConversionTest, TitleCaseKeepsStopWordsLowerBetweenFirstAndLastWord) {
  const std::vector<TTextCase> cases = {
      {u"the lord of the rings", u"The Lord of the Rings"},
      {u"what it is for", u"What It Is For"},  // last word stays capitalised
      {u"a tale of two cities", u"A Tale of Two Cities"},
      {u"1ABC", u"1ABC"},                          // no capital after capitalizing: unchanged
      {u"123", u"123"},
      {u"", u""},
      {u"the", u"The"},
      {u"war and peace", u"War and Peace"},
      {u"a (the) b", u"A (the) B"},
      {u"gone with  the wind", u"Gone with  the Wind"},
      {u"in the mood", u"In the Mood"},
      {u"over-the-top show", u"Over-the-Top Show"},
      {u"3rd of may", u"3rd Of May"},  // the first capital begins the first segment
      {u"amid the rubble", u"Amid the Rubble"},
      {u".jpg", u".Jpg"},
  };
  for (const TTextCase& c : cases) {
    EXPECT_EQ(Show(TitleCase(c.input, u"")), Show(c.expected)) << "input: " << Show(c.input);
  }
}

TEST(TCaseConversionTest, RomanNumeralsUpperCaseWordsOfRomanDigitsOnly) {
  const std::vector<TTextCase> cases = {
      {u"Louis Xiv", u"Louis XIV"},
      {u"mix", u"MIX"},  // only the letters are tested
      {u"part ii - the end", u"part II - the end"},
      {u"vol.iv_final", u"vol.IV_final"},
      {u"chapter 12", u"chapter 12"},
      {u"", u""},
      {u"--", u"--"},
      {u"civil mild", u"CIVIL MILD"},
      {u"xii\u00e9", u"XII\u00e9"},  // non-ASCII letters are not part of the word
      {u"a1i", u"a1I"},
  };
  for (const TTextCase& c : cases) {
    EXPECT_EQ(Show(RomanNumerals(c.input)), Show(c.expected)) << "input: " << Show(c.input);
  }
}

TEST(TCaseConversionTest, ConvertAppliesTheModeToNameAndExtension) {
  const std::vector<TConvertCase> cases = {
      {TCaseStyle::Uppercase, u"hello \u00e9t\u00e9", u".jpg", u"HELLO \u00c9T\u00c9", u".JPG"},
      {TCaseStyle::Lowercase, u"HeLLo \u00c9T\u00c9", u".JPG", u"hello \u00e9t\u00e9", u".jpg"},
      {TCaseStyle::CapitalizeWords, u"the lord", u".jpg", u"The Lord", u".Jpg"},
      {TCaseStyle::CapitalizeSentence, u"HELLO World", u".JPG", u"Hello world", u".jpg"},
      {TCaseStyle::CapitalizeSentence, u"\u00e9T\u00c9", u".TXT", u"\u00c9t\u00c9", u".txt"},
      {TCaseStyle::CapitalizeSentence, u"", u".", u"", u"."},
      {TCaseStyle::TitleCase, u"the lord of the rings", u".mkv", u"The Lord of the Rings",
       u".Mkv"},
      {TCaseStyle::TitleCase, u"1ABC", u".", u"1ABC", u"."},
  };
  for (const TConvertCase& c : cases) {
    std::u16string name = c.name;
    std::u16string ext = c.ext;
    ConvertCase(name, ext, On(c.mode));
    EXPECT_EQ(Show(name), Show(c.expectedName))
        << "mode " << static_cast<int>(c.mode) << ", name: " << Show(c.name);
    EXPECT_EQ(Show(ext), Show(c.expectedExt))
        << "mode " << static_cast<int>(c.mode) << ", ext: " << Show(c.ext);
  }
}

TEST(TCaseConversionTest, RomanNumeralsAndPreservedExtensionFollowTheMode) {
  TCaseOptions options = On(TCaseStyle::TitleCase);
  options.cbCRoman = true;
  std::u16string name = u"louis xiv";
  std::u16string ext = u".mix";
  ConvertCase(name, ext, options);
  EXPECT_EQ(Show(name), "Louis XIV");
  EXPECT_EQ(Show(ext), ".Mix");  // Roman numerals never touch the extension

  options = On(TCaseStyle::CapitalizeWords);
  options.cbCPreserverExtension = true;
  name = u"photo";
  ext = u".jpg";
  ConvertCase(name, ext, options);
  EXPECT_EQ(Show(name), "Photo");
  EXPECT_EQ(Show(ext), ".jpg");
}

TEST(TCaseConversionTest, ExtraSeparatorsCountOnlyWhenSwitchedOn) {
  TCaseOptions options = On(TCaseStyle::CapitalizeWords);
  options.txtSplit = u"'";
  std::u16string name = u"rock'n'roll";
  std::u16string ext = u".mp3";
  ConvertCase(name, ext, options);
  EXPECT_EQ(Show(name), "Rock'n'roll");
  options.cbSplit = true;
  name = u"rock'n'roll";
  ConvertCase(name, ext, options);
  EXPECT_EQ(Show(name), "Rock'N'Roll");

  options.Mode = TCaseStyle::TitleCase;
  name = u"alpha'of'beta'gamma";
  ConvertCase(name, ext, options);
  EXPECT_EQ(Show(name), "Alpha'of'Beta'Gamma");
}

TEST(TCaseConversionTest, WithoutAModeOnlyRomanNumeralsAndPreservedExtensionApply) {
  TCaseOptions options = On(TCaseStyle::None);
  options.cbCRoman = true;
  std::u16string name = u"Part ii of III";
  std::u16string ext = u".Txt";
  ConvertCase(name, ext, options);
  EXPECT_EQ(Show(name), "Part II of III");
  EXPECT_EQ(Show(ext), ".Txt");
}

TEST(TCaseConversionTest, NothingHappensWhenChangeCaseIsOff) {
  TCaseOptions options;
  options.Mode = TCaseStyle::Lowercase;
  options.cbCRoman = true;
  options.cbCPreserverExtension = true;
  std::u16string name = u"MIX Tape";
  std::u16string ext = u".JPG";
  ConvertCase(name, ext, options);
  EXPECT_EQ(Show(name), "MIX Tape");
  EXPECT_EQ(Show(ext), ".JPG");
}

TEST(TCaseConversionTest, AsciiBestFitKeepsOnlyOneBaseLetter) {
  const std::vector<std::pair<char32_t, char16_t>> cases = {
      {U'a', u'a'},      {U'?', u'?'},      {0x00E9, u'e'},  // é
      {0x00C5, u'A'},    {0x212B, u'A'},    {0x01FB, u'a'},  // Å, angstrom sign, ǻ
      {0x1E69, u's'},    {0x00DF, u'?'},    {0x00E6, u'?'},  // ṩ, ß, æ
      {0x03B1, u'?'},    {0x0301, u'?'},    {0x01C4, u'?'},  // α, a lone mark, Ǆ
      {0xDC80, u'?'},    {0x1D400, u'?'},   {0x110000, u'?'},
      {0x212A, u'K'},  // Kelvin sign decomposes to K
  };
  for (const auto& [c, expected] : cases) {
    EXPECT_EQ(AsciiBestFit(c), expected) << "code point " << static_cast<unsigned>(c);
  }
}

TEST(TCaseConversionTest, RandomTextKeepsLengthOutsideTheBestFitAndNeverBreaksSurrogates) {
  std::mt19937 random(7);
  const std::u16string alphabet =
      u"aBcXivM '-.()_\u00e9\u00c9\u03b1\xD800\xDC00\xDC80\xD83D\xDE00 1";
  for (int round = 0; round < 3000; ++round) {
    std::u16string text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    for (const TCaseStyle mode : {TCaseStyle::None, TCaseStyle::Uppercase, TCaseStyle::Lowercase,
                                 TCaseStyle::CapitalizeWords, TCaseStyle::CapitalizeSentence,
                                 TCaseStyle::TitleCase}) {
      TCaseOptions options = On(mode);
      options.cbCRoman = round % 2 == 0;
      std::u16string name = text;
      std::u16string ext = u"." + text;
      ConvertCase(name, ext, options);
      // Every conversion maps one character to one, except that a word's
      // first character may lose its accent; none of these shrink a pair.
      EXPECT_EQ(name.size(), text.size())
          << "mode " << static_cast<int>(mode) << ", input: " << Show(text);
      std::u16string again = name;
      std::u16string againExt = ext;
      if (mode != TCaseStyle::CapitalizeSentence) {  // the others are idempotent
        ConvertCase(again, againExt, options);
        EXPECT_EQ(Show(again), Show(name))
            << "mode " << static_cast<int>(mode) << ", input: " << Show(text);
      }
    }
  }
}
