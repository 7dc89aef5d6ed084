#include <gtest/gtest.h>

#include "config/UnitColumnManager.h"
#include "config/UnitColumnVisibility.h"
#include "config/UnitConfigTestSupport.h"
#include "config/UnitCustomColumnsFile.h"
#include "support/UnitFakeFileSystem.h"

namespace {

const std::u16string kColumnsDat = kAppFolder + u"columns.dat";
const std::u16string kCustomIni = kAppFolder + u"customcolumns.ini";

std::string Bits(const TColumnVisibility& v) {
  return std::string() + (v.type ? '1' : '0') + (v.dateModified ? '1' : '0') +
         (v.size ? '1' : '0') + (v.dateCreated ? '1' : '0');
}

TEST(TColumnVisibilityTest, ReadsTheFourBytesInTheirOrder) {
  struct TCase {
    const char* name;
    std::string bytes;
    const char* bits;  // type, date modified, size, date created
    bool ok;
  };
  const TCase cases[] = {
      {"all on", std::string("\1\1\1\1", 4), "1111", true},
      {"order", std::string("\0\1\0\1", 4), "0101", true},
      {"fixture of 2 bytes", ConfigFixture("columns-short.dat"), "1011", false},
      {"empty", "", "1111", false},
      {"long", std::string("\0\0\0\0\1\1", 6), "0000", false},
      {"any non-zero byte shows", "\x7F\x80\x02\xFF", "1111", true},
  };
  for (const TCase& c : cases) {
    TFakeFileSystem fs;
    fs.AddFile(kColumnsDat, c.bytes);
    TColumnVisibility v;
    const TStatus st = LoadColumnVisibility(fs, kAppFolder, v);
    EXPECT_EQ(Bits(v), c.bits) << c.name;
    EXPECT_EQ(st.ok(), c.ok) << c.name;
    if (!st.ok()) {
      EXPECT_EQ(U8(st.file()), "/app/columns.dat") << c.name;
    }
  }
  TFakeFileSystem none;
  TColumnVisibility v;
  EXPECT_TRUE(LoadColumnVisibility(none, kAppFolder, v).ok());  // missing: no message
  EXPECT_EQ(Bits(v), "1111");
}

TEST(TColumnVisibilityTest, SavesFourBytes) {
  TFakeFileSystem fs;
  TColumnVisibility v;
  v.size = false;
  ASSERT_TRUE(SaveColumnVisibility(fs, kAppFolder, v).ok());
  EXPECT_EQ(*fs.FileBytes(kColumnsDat), std::string("\1\1\0\1", 4));
  fs.FailWrites(1);
  EXPECT_FALSE(SaveColumnVisibility(fs, kAppFolder, v).ok());
}

TEST(TCustomColumnsFileTest, LoadsAFileInTheSingleByteCodePage) {
  TFakeFileSystem fs;
  fs.AddFile(kCustomIni, ConfigFixture("customcolumns-cp1252.ini"));
  TColumnManager columns;
  ASSERT_TRUE(LoadCustomColumns(fs, kAppFolder, columns).ok());
  ASSERT_EQ(columns.CustomCount(), 3u);  // the section beyond the count is ignored
  EXPECT_EQ(U8(columns.Custom(0).title), "Caf\xC3\xA9 Track");
  EXPECT_EQ(columns.Custom(0).wrapper.columnType, SORT_AS_NUMBER);
  EXPECT_EQ(U8(columns.Custom(1).data), "?x_dt:Fyyyy-MM-dd?");
  EXPECT_EQ(columns.Custom(1).wrapper.columnType, SORT_AS_DATE);
  EXPECT_EQ(columns.Custom(2).wrapper.columnType, SORT_AS_TEXT);  // no Type: 0
  EXPECT_EQ(U8(columns.Caption(8)), "Artist");
}

TEST(TCustomColumnsFileTest, SaveAndLoadGiveTheSameColumns) {
  TFakeFileSystem fs;
  TColumnManager columns;
  ASSERT_TRUE(columns.AddOrReplaceCustomColumn(u" padded ", u"\"?n?\"", SORT_AS_NUMBER).ok());
  ASSERT_TRUE(
      columns.AddOrReplaceCustomColumn(u"\u00C9t\u00E9", u"?dmo:FYYYY?", SORT_AS_DATE).ok());
  ASSERT_TRUE(SaveCustomColumns(fs, kAppFolder, columns).ok());
  TColumnManager back;
  ASSERT_TRUE(LoadCustomColumns(fs, kAppFolder, back).ok());
  ASSERT_EQ(back.CustomCount(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(U8(back.Custom(i).title), U8(columns.Custom(i).title)) << i;
    EXPECT_EQ(U8(back.Custom(i).data), U8(columns.Custom(i).data)) << i;
    EXPECT_EQ(back.Custom(i).wrapper.columnType, columns.Custom(i).wrapper.columnType) << i;
  }
  // Written as UTF-8; with fewer columns the count drops and the rest is ignored.
  EXPECT_NE(fs.FileBytes(kCustomIni)->find("Title=\xC3\x89t\xC3\xA9"), std::string::npos);
  ASSERT_TRUE(columns.DeleteCustomColumn(u" padded "));
  ASSERT_TRUE(SaveCustomColumns(fs, kAppFolder, columns).ok());
  TColumnManager fewer;
  ASSERT_TRUE(LoadCustomColumns(fs, kAppFolder, fewer).ok());
  ASSERT_EQ(fewer.CustomCount(), 1u);
  EXPECT_EQ(U8(fewer.Custom(0).title), "\xC3\x89t\xC3\xA9");
}

TEST(TCustomColumnsFileTest, BadFilesAreBoundedAndReported) {
  TColumnManager none;
  TFakeFileSystem missing;
  EXPECT_TRUE(LoadCustomColumns(missing, kAppFolder, none).ok());
  EXPECT_EQ(none.CustomCount(), 0u);
  // An absurd count over no sections ends at the first missing one.
  TFakeFileSystem absurd;
  absurd.AddFile(kCustomIni, "[Start]\nTotalCustomColumns=2147483647\n[CustomColumn0]\nTitle=A\n");
  TColumnManager one;
  const TStatus st = LoadCustomColumns(absurd, kAppFolder, one);
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(one.CustomCount(), 1u);
  // More definitions than column positions: the first ones load, then a message.
  std::string many = "[Start]\nTotalCustomColumns=5000\n";
  for (int i = 0; i < 5000; ++i) {
    many += "[CustomColumn" + std::to_string(i) + "]\nTitle=t" + std::to_string(i) + "\n";
  }
  TFakeFileSystem big;
  big.AddFile(kCustomIni, many);
  TColumnManager full;
  EXPECT_FALSE(LoadCustomColumns(big, kAppFolder, full).ok());
  EXPECT_EQ(full.CustomCount(), TColumnManager::kMaxRegistry - 6);
}

}  // namespace
