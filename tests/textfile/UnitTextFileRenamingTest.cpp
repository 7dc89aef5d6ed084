#include "textfile/UnitTextFileRenaming.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/UnitText.h"
#include "support/UnitScriptTestContext.h"
#include "textfile/UnitTextFileFormat.h"
#include "textfile/UnitTextFileMenu.h"

namespace {

constexpr char16_t kFile[] = u"/data/names.csv";

class TTextFileRenamingTest : public ::testing::Test {
 protected:
  TTextFileRenamingTest() : renaming(t.fs, format) {
    parameters.txtTName = kFile;
    t.vars.SetKeepEmptyVariables(false);
  }

  // "?text1?+?text2?+?text3?" for `fileName` at checked position `position`.
  std::string Assigned(std::u16string_view fileName, int position, int* line = nullptr) {
    const RenameRecord rec = TestRecord(fileName);
    const int taken = renaming.AssignFields(rec, position, t.vars);
    if (line) *line = taken;
    return Utf16ToUtf8(t.vars.Expand(u"?text1?+?text2?+?text3?", rec).text);
  }

  void Prepare() { ASSERT_TRUE(renaming.Prepare(parameters).ok()); }

  TScriptTestContext t;
  TTextFileFormat format;
  TTextFileRenaming renaming;
  TTextFileParameters parameters;
};

}  // namespace

TEST(TTextFileLayoutTest, SkipCountAndDelimiterTexts) {
  const std::vector<std::pair<std::u16string, int>> skips = {
      {u"0", 0}, {u"3", 3}, {u"", 0}, {u"x", 0}, {u"2a", 0}, {u"-1", -1}, {u"99999999999", 0}};
  for (const auto& [text, expected] : skips) {
    EXPECT_EQ(SkipCountFromText(text), expected) << "skip text: " << Utf16ToUtf8(text);
  }
  const std::vector<std::pair<std::u16string, char16_t>> delimiters = {
      {u"", u','}, {u",", u','}, {u";", u';'}, {u"TAB", u'\t'}, {u"Tab", u'\t'},
      {u"tAb", u'\t'}, {u"tabs", u't'}, {u"|x", u'|'}, {u" ", u' '}};
  for (const auto& [text, expected] : delimiters) {
    EXPECT_EQ(DelimiterFromText(text), expected) << "delimiter text: " << Utf16ToUtf8(text);
  }
}

TEST_F(TTextFileRenamingTest, ByLineNumberGivesEntriesBeyondTheLastLineEmptyValues) {
  t.fs.AddFile(kFile, "a1,a2\nb1,\"b,2\",b3\nc1\n");
  Prepare();
  EXPECT_EQ(Assigned(u"x.jpg", 1), "a1+a2+");
  EXPECT_EQ(Assigned(u"x.jpg", 2), "b1+b,2+");  // only FieldCount (2) fields are assigned
  EXPECT_EQ(Assigned(u"x.jpg", 3), "c1++");
  int line = 0;
  EXPECT_EQ(Assigned(u"x.jpg", 4, &line), "++");
  EXPECT_EQ(line, -1);
  EXPECT_EQ(Assigned(u"x.jpg", 5), "++");
  EXPECT_EQ(Assigned(u"x.jpg", 0), "++");
  // The first checked entry of each folder takes line 1 again when the counter restarts.
  EXPECT_EQ(Assigned(u"x.jpg", 1), "a1+a2+");
}

TEST_F(TTextFileRenamingTest, WholeLinesWhenNotSplit) {
  t.fs.AddFile(kFile, "a1,a2\nb1\n");
  parameters.cbTDelim = false;
  Prepare();
  EXPECT_EQ(Assigned(u"x.jpg", 1), "a1,a2++");
  EXPECT_EQ(Assigned(u"x.jpg", 3), "++");
}

TEST_F(TTextFileRenamingTest, SkippedLinesAndTheTabDelimiterApply) {
  t.fs.AddFile(kFile, "header\ta\tb\n1\t2\t3\n4\t5\n");
  parameters.txtTSkip = u"1";
  parameters.txtTDelim = u"Tab";
  Prepare();
  EXPECT_EQ(format.FieldCount(), 3);
  EXPECT_EQ(Assigned(u"x.jpg", 1), "1+2+3");
  EXPECT_EQ(Assigned(u"x.jpg", 2), "4+5+");
}

TEST_F(TTextFileRenamingTest, BySearchTakesTheFirstLineHoldingTheExactName) {
  t.fs.AddFile(kFile, "IMG_1.JPG,upper\nIMG_1.jpg,first\nx,IMG_1.jpg,second\nIMG_2.jpg,two\n");
  parameters.Match = TTextMatchMode::BySearch;
  Prepare();
  int line = -2;
  EXPECT_EQ(Assigned(u"IMG_1.jpg", 7, &line), "IMG_1.jpg+first+");
  EXPECT_EQ(line, 1);
  EXPECT_EQ(Assigned(u"IMG_2.jpg", 1), "IMG_2.jpg+two+");
  EXPECT_EQ(Assigned(u"img_2.jpg", 1), "++");  // another letter case is not found
  EXPECT_EQ(Assigned(u"IMG_3.jpg", 1), "++");
}

TEST_F(TTextFileRenamingTest, BySearchWithTheNameWithoutExtensionOrCustomText) {
  t.fs.AddFile(kFile, "report 2020,a\nphoto.2013,b\n");
  parameters.Match = TTextMatchMode::BySearch;
  parameters.cbxSearchWith = 1;
  Prepare();
  EXPECT_EQ(Assigned(u"photo.2013.jpg", 1), "photo.2013+b+");
  parameters.cbxSearchWith = 2;
  parameters.txtTFind = u"report ?n04?";  // a counter of 4 digits: 2020 for position 2020
  Prepare();
  RenameRecord rec = TestRecord(u"any.txt");
  rec.selectedposition = 2020;
  EXPECT_EQ(renaming.AssignFields(rec, 2020, t.vars), 0);
  parameters.txtTFind = u"";
  Prepare();
  EXPECT_EQ(Assigned(u"any.txt", 1), "++");
}

TEST_F(TTextFileRenamingTest, AMissingFileGivesEmptyValuesAndClearsOldOnes) {
  t.fs.AddFile(kFile, "a\n");
  Prepare();
  EXPECT_EQ(Assigned(u"x.jpg", 1), "a++");
  parameters.txtTName = u"/data/missing.csv";
  Prepare();
  EXPECT_FALSE(renaming.Prepared());
  EXPECT_EQ(Assigned(u"x.jpg", 1), "++");
  parameters.txtTName = u"";
  Prepare();
  EXPECT_EQ(Assigned(u"x.jpg", 1), "++");
}

TEST_F(TTextFileRenamingTest, OnlyAChangedDelimiterOrSkipCountReadsTheFileAgain) {
  t.fs.AddFile(kFile, "a;b,c\n");
  Prepare();
  const int opens = t.fs.OpenCount();
  Prepare();
  EXPECT_EQ(t.fs.OpenCount(), opens);
  EXPECT_EQ(Assigned(u"x.jpg", 1), "a;b+c+");
  parameters.txtTDelim = u";";
  Prepare();
  EXPECT_EQ(t.fs.OpenCount(), opens + 1);
  EXPECT_EQ(Assigned(u"x.jpg", 1), "a+b,c+");
  parameters.txtTSkip = u"0x0";  // still 0: nothing changed
  Prepare();
  EXPECT_EQ(t.fs.OpenCount(), opens + 1);
}

TEST_F(TTextFileRenamingTest, FieldsStopAtTheNinetyNinthVariable) {
  std::string line;
  for (int i = 1; i <= 150; ++i) line += "f" + std::to_string(i) + ",";
  t.fs.AddFile(kFile, line + "\n");
  Prepare();
  EXPECT_EQ(format.FieldCount(), 151);
  const RenameRecord rec = TestRecord(u"x.jpg");
  renaming.AssignFields(rec, 1, t.vars);
  EXPECT_EQ(Utf16ToUtf8(t.vars.Expand(u"?text99?", rec).text), "f99");
}

TEST_F(TTextFileRenamingTest, FieldMenuListsTheFieldsOfTheCurrentLayout) {
  TTextFileMenu menu;
  ASSERT_TRUE(RebuildTextFileMenu(t.fs, parameters, format, menu).ok());
  EXPECT_FALSE(menu.Enabled);  // no file

  t.fs.AddFile(kFile, "a\tb\tc\n");
  ASSERT_TRUE(RebuildTextFileMenu(t.fs, parameters, format, menu).ok());
  EXPECT_TRUE(menu.Enabled);
  ASSERT_EQ(menu.Items.size(), 1u);  // no comma: one field
  EXPECT_EQ(Utf16ToUtf8(menu.Items[0].Caption), "Field 1");
  EXPECT_EQ(Utf16ToUtf8(menu.Items[0].Insert), "?text1?");

  parameters.txtTDelim = u"TaB";
  ASSERT_TRUE(RebuildTextFileMenu(t.fs, parameters, format, menu).ok());
  ASSERT_EQ(menu.Items.size(), 3u);
  EXPECT_EQ(Utf16ToUtf8(menu.Items[2].Caption), "Field 3");
  EXPECT_EQ(Utf16ToUtf8(menu.Items[2].Insert), "?text3?");

  parameters.cbTDelim = false;
  ASSERT_TRUE(RebuildTextFileMenu(t.fs, parameters, format, menu).ok());
  ASSERT_EQ(menu.Items.size(), 1u);

  parameters.cbTDelim = true;
  parameters.txtTSkip = u"5";  // no line left: still one item
  ASSERT_TRUE(RebuildTextFileMenu(t.fs, parameters, format, menu).ok());
  ASSERT_EQ(menu.Items.size(), 1u);

  // A file that disappears disables the menu but keeps its items.
  parameters.txtTName = u"/data/gone.csv";
  ASSERT_TRUE(RebuildTextFileMenu(t.fs, parameters, format, menu).ok());
  EXPECT_FALSE(menu.Enabled);
  EXPECT_EQ(menu.Items.size(), 1u);
}

TEST_F(TTextFileRenamingTest, ALargeFileIsSearchedForEveryEntryInLinearTime) {
  // 200,000 lines and as many searches: a scan per entry would take minutes.
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += "IMG_" + std::to_string(i) + ".jpg,new " + std::to_string(i) + "\n";
  t.fs.AddFile(kFile, bytes);
  parameters.Match = TTextMatchMode::BySearch;
  Prepare();
  for (int i = 199999; i >= 0; i -= 7) {
    const std::u16string name = AsciiToUtf16("IMG_" + std::to_string(i) + ".jpg");
    const RenameRecord rec = TestRecord(name);
    ASSERT_EQ(renaming.AssignFields(rec, 1, t.vars), i) << Utf16ToUtf8(name);
  }
}
