#include "textfile/UnitTextFileDetection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

constexpr char16_t kFile[] = u"/data/list.txt";

struct TDelimiterCase {
  std::string bytes;
  bool split;
  std::string delimiter;
};

TTextFileParameters Detect(TFakeFileSystem& fs, const std::vector<TTextFileListEntry>& list) {
  TTextFileParameters parameters;
  parameters.txtTName = kFile;
  parameters.cbxSearchWith = 2;
  parameters.txtTFind = u"custom";
  EXPECT_TRUE(DetectTextFileParameters(fs, list, parameters).ok());
  return parameters;
}

}  // namespace

TEST(TTextFileDetectionTest, LinesTwoAndThreeDecideTheDelimiter) {
  const std::vector<TDelimiterCase> cases = {
      {"h\na,b\nc,d\n", true, ","},
      {"h\na\tb\nc\td\n", true, "TAB"},
      {"h\n\"a\" \"b\"\n\"c\"\n", true, "TAB"},  // quoted pairs without commas
      {"h\n\"a\",\"b\"\n\"c\",\"d\"\n", true, ","},
      {"h\na\tb,c\nd\te,f\n", true, ","},  // comma wins over tab
      {"h\na,b\nc\td\n", false, ","},      // each test needs both lines
      {"h\nab\ncd\n", false, ","},
      {"a,b\nc,d\ne\n", false, ","},       // line 1 does not count
  };
  for (const TDelimiterCase& c : cases) {
    TFakeFileSystem fs;
    fs.AddFile(kFile, c.bytes);
    const TTextFileParameters p = Detect(fs, {});
    EXPECT_EQ(p.cbTDelim, c.split) << "file: " << c.bytes;
    EXPECT_EQ(Utf16ToUtf8(p.txtTDelim), c.delimiter) << "file: " << c.bytes;
  }
}

TEST(TTextFileDetectionTest, FewerThanThreeLinesOrAnUnreadableFileChangeNothing) {
  TFakeFileSystem fs;
  fs.AddFile(kFile, "a,b\nc,d\n");
  TTextFileParameters p;
  p.txtTName = kFile;
  p.cbTDelim = false;
  p.txtTDelim = u";";
  p.Match = TTextMatchMode::BySearch;
  ASSERT_TRUE(DetectTextFileParameters(fs, {}, p).ok());
  EXPECT_FALSE(p.cbTDelim);
  EXPECT_EQ(Utf16ToUtf8(p.txtTDelim), ";");
  EXPECT_EQ(p.Match, TTextMatchMode::BySearch);
  p.txtTName = u"/data/none.txt";
  EXPECT_FALSE(DetectTextFileParameters(fs, {}, p).ok());
  EXPECT_EQ(Utf16ToUtf8(p.txtTDelim), ";");
}

TEST(TTextFileDetectionTest, NamesFoundInTheFileSelectSearchByFileName) {
  TFakeFileSystem fs;
  fs.AddFile(kFile, "b.jpg,B\na.jpg,A\nc.jpg,C\n");
  const std::vector<TTextFileListEntry> list = {
      {u"sub", true, true}, {u"a.jpg", false, true}, {u"b.jpg", false, true}, {u"c.jpg", false, false}};
  TTextFileParameters p = Detect(fs, list);
  EXPECT_EQ(p.Match, TTextMatchMode::BySearch);
  EXPECT_EQ(p.cbxSearchWith, 0);
  EXPECT_EQ(Utf16ToUtf8(p.txtTFind), "?cfn?");

  // One name of the window missing, and the checked ones not on their own lines.
  const std::vector<TTextFileListEntry> missing = {
      {u"a.jpg", false, true}, {u"b.jpg", false, true}, {u"d.jpg", false, true}};
  p = Detect(fs, missing);
  EXPECT_EQ(p.Match, TTextMatchMode::ByLineNumber);
  EXPECT_EQ(p.cbxSearchWith, 2);
}

TEST(TTextFileDetectionTest, CheckedEntriesOnTheirOwnLinesAreEnoughAndOnlyElevenCount) {
  TFakeFileSystem fs;
  fs.AddFile(kFile, "a.jpg\nb.jpg\nc.jpg\n");
  // "zz.jpg" is in the window but unchecked and not in the file; the checked
  // entries sit on the lines of their list indexes.
  TTextFileParameters p = Detect(fs, {{u"a.jpg", false, true}, {u"b.jpg", false, true},
                                      {u"zz.jpg", false, false}});
  EXPECT_EQ(p.Match, TTextMatchMode::BySearch);
  // Only the first eleven entries from the first file on are looked at.
  std::vector<TTextFileListEntry> list;
  for (int i = 0; i < 11; ++i) list.push_back({u"a.jpg", false, false});
  list.push_back({u"missing.jpg", false, true});
  p = Detect(fs, list);
  EXPECT_EQ(p.Match, TTextMatchMode::BySearch);
  list.insert(list.begin() + 5, {u"missing.jpg", false, false});
  p = Detect(fs, list);
  EXPECT_EQ(p.Match, TTextMatchMode::ByLineNumber);
}

TEST(TTextFileDetectionTest, AListWithoutFilesMatchesByLineNumber) {
  TFakeFileSystem fs;
  fs.AddFile(kFile, "a,1\nb,2\nc,3\n");
  EXPECT_EQ(Detect(fs, {{u"a", true, true}, {u"b", true, true}}).Match,
            TTextMatchMode::ByLineNumber);
  EXPECT_EQ(Detect(fs, {}).Match, TTextMatchMode::ByLineNumber);
}
