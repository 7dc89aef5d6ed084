#include "textfile/UnitTextFileFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

std::string Show(std::u16string_view text) { return Utf16ToUtf8(text); }

std::string Escaped(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out.push_back(c);
    } else {
      out += "\\x" + std::string(1, "0123456789ABCDEF"[b >> 4]) + "0123456789ABCDEF"[b & 15];
    }
  }
  return out;
}

std::vector<std::string> Lines(TTextFileFormat& format) {
  std::vector<std::string> lines;
  for (int i = 0; i < format.Count(); ++i) lines.push_back(Show(format.Get(i)));
  return lines;
}

struct TLinesCase {
  std::string bytes;
  std::vector<std::string> lines;
};

// The first line containing `search`, the slow way.
int NaiveFindLine(TTextFileFormat& format, std::u16string_view search) {
  if (search.empty()) return -1;
  for (int i = 0; i < format.Count(); ++i) {
    if (format.Get(i).find(search) != std::u16string_view::npos) return i;
  }
  return -1;
}

}  // namespace

TEST(TTextFileFormatTest, DecodesByByteOrderMarkAndSplitsAtEveryLineEnd) {
  using namespace std::string_literals;
  const std::vector<TLinesCase> cases = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},  // a line end at the very end adds no line
      {"\n", {""}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"\xEF\xBB\xBF" "caf\xC3\xA9\r\nx", {"caf\xC3\xA9", "x"}},
      {"caf\xC3\xA9", {"caf\xC3\xA9"}},  // valid UTF-8 without a mark
      {"caf\xE9", {"caf\xC3\xA9"}},      // otherwise Windows-1252
      {"\x80", {"\xE2\x82\xAC"}},
      {"\xFF\xFE" "a\0\r\0\n\0b\0"s, {"a", "b"}},
      {"\xFE\xFF" "\0a\0\n\0b"s, {"a", "b"}},
      {"\xFF\xFE" "a\0b"s, {"a"}},  // an odd last byte is dropped
      {"\xFF\xFE", {}},
      {"\xFF\xFE" "=\xD8" "a\0"s, {"\xED\xA0\xBD" "a"}},  // a lone surrogate stays
      {"a\0b\nc"s, {"a\0b"s, "c"}},
  };
  for (const TLinesCase& c : cases) {
    TTextFileFormat format;
    format.LoadFromBytes(c.bytes);
    EXPECT_EQ(Lines(format), c.lines) << "bytes: " << Escaped(c.bytes);
  }
}

TEST(TTextFileFormatTest, SkippedLinesAreDroppedAndTheFirstRemainingLineFixesFieldCount) {
  const std::vector<std::pair<int, std::vector<std::string>>> cases = {
      {0, {"h1,h2", "a,b,c", "d"}}, {1, {"a,b,c", "d"}}, {3, {}}, {9, {}}, {-2, {"h1,h2", "a,b,c", "d"}}};
  for (const auto& [skip, lines] : cases) {
    TTextFileFormat format;
    format.SetSkipedLines(skip);
    format.LoadFromBytes("h1,h2\na,b,c\nd\n");
    EXPECT_EQ(Lines(format), lines) << "skip " << skip;
  }
  TTextFileFormat format;
  format.SetSkipedLines(1);
  format.LoadFromBytes("h1,h2\na,b,c\nd\n");
  EXPECT_EQ(format.FieldCount(), 3);
  format.SetSkipedLines(0);
  format.LoadFromBytes("h1,h2\na,b,c\nd\n");
  EXPECT_EQ(format.FieldCount(), 2);
  format.LoadFromBytes("");
  EXPECT_EQ(format.FieldCount(), 0);
}

TEST(TTextFileFormatTest, OutOfRangeLinesAndFieldsAreEmpty) {
  TTextFileFormat format;
  format.LoadFromBytes("a,\"b,c\",d\nx\n");
  EXPECT_EQ(Show(format.GetField(0, 1)), "b,c");
  EXPECT_EQ(Show(format.GetField(0, 2)), "d");
  EXPECT_EQ(Show(format.GetField(1, 0)), "x");
  EXPECT_EQ(Show(format.GetField(1, 1)), "");
  EXPECT_EQ(Show(format.GetField(0, 3)), "");
  EXPECT_EQ(Show(format.GetField(0, -1)), "");
  EXPECT_EQ(Show(format.GetField(2, 0)), "");
  EXPECT_EQ(Show(format.GetField(-1, 0)), "");
  EXPECT_EQ(Show(format.Get(2)), "");
  EXPECT_EQ(Show(format.Get(-1)), "");
  format.Put(5, u"ignored");
  EXPECT_EQ(format.Count(), 2);
  // Fields of an earlier line are split again after looking at another.
  EXPECT_EQ(Show(format.GetField(0, 0)), "a");
}

TEST(TTextFileFormatTest, FindLineIsExactCaseSensitiveAndTakesTheFirstLine) {
  TTextFileFormat format;
  format.LoadFromBytes("photo.jpg,One\nPhoto.JPG,Two\nmy photo.jpg,Three\nphoto.jpg,Four\n");
  EXPECT_EQ(format.FindLine(u"photo.jpg"), 0);
  EXPECT_EQ(format.FindLine(u"Photo.JPG"), 1);
  EXPECT_EQ(format.FindLine(u"PHOTO.JPG"), -1);
  EXPECT_EQ(format.FindLine(u"my photo"), 2);
  EXPECT_EQ(format.FindLine(u"Four"), 3);
  EXPECT_EQ(format.FindLine(u""), -1);
  EXPECT_EQ(format.FindLine(u"One\nPhoto"), -1);  // never across lines
  EXPECT_EQ(format.FindLine(u"JPG,Two"), 1);
}

TEST(TTextFileFormatTest, FindLineColumnInStrFindsTheFirstLineWhoseFieldOccursInTheText) {
  TTextFileFormat format;
  format.LoadFromBytes("key,value\n,empty\nholiday,1\nday,2\nholiday,3\n");
  EXPECT_EQ(format.FindLine_ColumnInStr(0, u"my holiday.jpg"), 2);
  EXPECT_EQ(format.FindLine_ColumnInStr(0, u"sunday.jpg"), 3);
  EXPECT_EQ(format.FindLine_ColumnInStr(0, u"nothing"), -1);
  EXPECT_EQ(format.FindLine_ColumnInStr(0, u""), -1);  // the empty field matches nothing
  EXPECT_EQ(format.FindLine_ColumnInStr(1, u"value 2"), 0);
  EXPECT_EQ(format.FindLine_ColumnInStr(1, u"x2x"), 3);
  EXPECT_EQ(format.FindLine_ColumnInStr(2, u"holiday"), -1);  // not below FieldCount
  EXPECT_EQ(format.FindLine_ColumnInStr(-1, u"holiday"), -1);
  // A long text takes the scanning path and gives the same answer.
  const std::u16string longText = std::u16string(70000, u'x') + u"day";
  EXPECT_EQ(format.FindLine_ColumnInStr(0, longText), 3);
}

TEST(TTextFileFormatTest, PutReplacesALineForLookupsToo) {
  TTextFileFormat format;
  format.LoadFromBytes("one\ntwo\nthree\n");
  EXPECT_EQ(format.FindLine(u"two"), 1);
  format.Put(0, u"second two");
  EXPECT_EQ(Show(format.Get(0)), "second two");
  EXPECT_EQ(format.FindLine(u"two"), 0);
  EXPECT_EQ(format.FindLine(u"one"), -1);
  format.Put(2, u"a\nb");  // a line holding a line end is still searched
  EXPECT_EQ(format.FindLine(u"a\nb"), 2);
  EXPECT_EQ(format.FindLine(u"two"), 0);
}

TEST(TTextFileFormatTest, LoadFromFileReadsAgainOnlyAfterTheFileOrTheLayoutChanged) {
  TFakeFileSystem fs;
  fs.AddFile(u"/t/a.txt", "a;b,c\n");
  fs.AddFile(u"/t/b.txt", "z\n");
  TTextFileFormat format;
  ASSERT_TRUE(format.LoadFromFile(fs, u"/t/a.txt").ok());
  EXPECT_EQ(fs.OpenCount(), 1);
  EXPECT_EQ(format.FieldCount(), 2);
  ASSERT_TRUE(format.LoadFromFile(fs, u"/t/a.txt").ok());
  EXPECT_EQ(fs.OpenCount(), 1);
  format.SetDelim(u',');  // unchanged
  format.SetSkipedLines(0);
  ASSERT_TRUE(format.LoadFromFile(fs, u"/t/a.txt").ok());
  EXPECT_EQ(fs.OpenCount(), 1);
  format.SetDelim(u';');
  EXPECT_EQ(Show(format.LastFile()), "");
  ASSERT_TRUE(format.LoadFromFile(fs, u"/t/a.txt").ok());
  EXPECT_EQ(fs.OpenCount(), 2);
  EXPECT_EQ(format.FieldCount(), 2);
  EXPECT_EQ(Show(format.GetField(0, 1)), "b,c");
  format.SetSkipedLines(1);
  ASSERT_TRUE(format.LoadFromFile(fs, u"/t/a.txt").ok());
  EXPECT_EQ(fs.OpenCount(), 3);
  EXPECT_EQ(format.Count(), 0);
  ASSERT_TRUE(format.LoadFromFile(fs, u"/t/b.txt").ok());
  EXPECT_EQ(fs.OpenCount(), 4);
}

TEST(TTextFileFormatTest, AFileThatCannotBeReadLeavesNoLines) {
  TFakeFileSystem fs;
  fs.AddFile(u"/t/a.txt", "a\nb\n");
  fs.AddFolder(u"/t/folder");
  TTextFileFormat format;
  ASSERT_TRUE(format.LoadFromFile(fs, u"/t/a.txt").ok());
  EXPECT_FALSE(format.LoadFromFile(fs, u"/t/missing.txt").ok());
  EXPECT_EQ(format.Count(), 0);
  EXPECT_EQ(Show(format.LastFile()), "");
  EXPECT_FALSE(format.LoadFromFile(fs, u"/t/folder").ok());
  EXPECT_EQ(format.Count(), 0);
}

TEST(TTextFileFormatTest, BadInputNeverBreaksLoadingSplittingOrSearching) {
  std::string hugeLine(10 * 1024 * 1024, 'x');
  hugeLine[5 * 1024 * 1024] = ',';
  std::string quotes = "\"" + std::string(1000, '"') + ",\"a\n\"b";
  std::mt19937 random(3);
  std::string binary(1 << 16, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  std::string utf16Odd = "\xFF\xFE" + binary.substr(0, 1001);
  std::string utf16Surrogates = "\xFE\xFF\xDC\x00\xD8\x00\x00\n\xD8\x00";
  for (const std::string* bytes : {&hugeLine, &quotes, &binary, &utf16Odd, &utf16Surrogates}) {
    TTextFileFormat format;
    format.LoadFromBytes(*bytes);
    for (int line = 0; line < std::min(format.Count(), 50); ++line) {
      for (int field = 0; field < 4; ++field) (void)format.GetField(line, field);
    }
    for (int i = 0; i < 40; ++i) {
      (void)format.FindLine(format.Get(i % std::max(format.Count(), 1)).substr(0, 3));
    }
    (void)format.FindLine_ColumnInStr(0, u"xxxx");
  }
  TTextFileFormat format;
  format.LoadFromBytes(hugeLine);
  EXPECT_EQ(format.FieldCount(), 2);
  EXPECT_EQ(format.GetField(0, 1).size(), 5u * 1024 * 1024 - 1);
}

TEST(TTextFileFormatTest, RandomSearchesAgreeWithAPlainScanBeforeAndAfterIndexing) {
  std::mt19937 random(5);
  const std::string alphabet = "ab,\n\r\xC3\xA9";
  for (int round = 0; round < 60; ++round) {
    std::string bytes;
    const int length = static_cast<int>(random() % 400);
    for (int i = 0; i < length; ++i) bytes.push_back(alphabet[random() % alphabet.size()]);
    TTextFileFormat format;
    format.LoadFromBytes(bytes);
    // Enough searches that later ones go through the substring index.
    for (int query = 0; query < 200; ++query) {
      std::u16string search;
      const int searchLength = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < searchLength; ++i) search.push_back(u"ab,\u00e9\n"[random() % 5]);
      ASSERT_EQ(format.FindLine(search), NaiveFindLine(format, search))
          << "bytes: " << Escaped(bytes) << " search: " << Show(search);
    }
  }
}
