#include "config/UnitPlainIniFile.h"

#include <gtest/gtest.h>

#include "config/UnitConfigTestSupport.h"
#include "support/UnitFakeFileSystem.h"

namespace {

struct TReadCase {
  const char* file;
  const char16_t* section;
  const char16_t* key;
  const char16_t* expected;
};

TEST(TPlainIniFileTest, ReadsValuesByTheIniRules) {
  const TReadCase cases[] = {
      {"[a]\nk=v\n", u"a", u"k", u"v"},
      {"[a]\r\nk=v\r\n", u"A", u"K", u"v"},                // names ignore case
      {"[a]\rk=v\r", u"a", u"k", u"v"},                    // lone CR ends a line
      {"  [ a ]  \n  k  =  v w  \n", u"a", u"k", u"v w"},  // outer blanks dropped
      {"[a]\nk=\"  v \"\n", u"a", u"k", u"  v "},          // one pair of quotes
      {"[a]\nk='v'\n", u"a", u"k", u"v"},                  // single quotes too
      {"[a]\nk=\"\"v\"\"\n", u"a", u"k", u"\"v\""},        // only one pair
      {"[a]\nk=\"v'\n", u"a", u"k", u"\"v'"},              // unmatched: kept
      {"[a]\nk=x=y\n", u"a", u"k", u"x=y"},                // first "=" splits
      {"[a]\nk=1\nk=2\n", u"a", u"k", u"1"},               // first key wins
      {"[a]\nk=1\n[a]\nk=2\n", u"a", u"k", u"1"},          // first section wins
      {"k=top\n[a]\n", u"a", u"k", u"(none)"},             // before any section
      {"[a]\n;k=c\n", u"a", u"k", u"(none)"},              // comment
      {"[a]\nk\n", u"a", u"k", u"(none)"},                 // no "="
      {"[a]\nk=\n", u"a", u"k", u""},                      // present and empty
      {"[b]\nk=v\n", u"a", u"k", u"(none)"},               // other section
      {"[a", u"a", u"k", u"(none)"},                       // truncated header
  };
  for (const TReadCase& c : cases) {
    const TPlainIniFile ini = TPlainIniFile::FromBytes(c.file);
    EXPECT_EQ(U8(ini.ReadString(c.section, c.key, u"(none)")), U8(c.expected)) << c.file;
  }
}

TEST(TPlainIniFileTest, ReadsIntegersWithTheirDefault) {
  const TPlainIniFile ini =
      TPlainIniFile::FromBytes("[n]\na=12\nb=-3\nc=0x1F\nd=12x\ne=\nf=99999999999\n");
  EXPECT_EQ(ini.ReadInteger(u"n", u"a", 7), 12);
  EXPECT_EQ(ini.ReadInteger(u"n", u"b", 7), -3);
  EXPECT_EQ(ini.ReadInteger(u"n", u"c", 7), 31);
  EXPECT_EQ(ini.ReadInteger(u"n", u"d", 7), 7);
  EXPECT_EQ(ini.ReadInteger(u"n", u"e", 7), 7);
  EXPECT_EQ(ini.ReadInteger(u"n", u"f", 7), 7);
  EXPECT_EQ(ini.ReadInteger(u"n", u"missing", 7), 7);
}

TEST(TPlainIniFileTest, DecodesUtf8AndFallsBackToWindows1252) {
  EXPECT_EQ(U8(TPlainIniFile::FromBytes("[a]\nk=caf\xC3\xA9\n").ReadString(u"a", u"k", u"")),
            "caf\xC3\xA9");
  EXPECT_EQ(U8(TPlainIniFile::FromBytes("\xEF\xBB\xBF[a]\nk=v\n").ReadString(u"a", u"k", u"")),
            "v");  // byte-order mark skipped
  // 0xE9 alone is not UTF-8: the file is Windows-1252, 0x80 is the euro sign.
  EXPECT_EQ(U8(TPlainIniFile::FromBytes("[a]\nk=caf\xE9 \x80\n").ReadString(u"a", u"k", u"")),
            "caf\xC3\xA9 \xE2\x82\xAC");
}

TEST(TPlainIniFileTest, WritesInPlaceKeepingTheRest) {
  TPlainIniFile ini = TPlainIniFile::FromBytes(
      "; my shortcuts\r\n[one]\r\na=1\r\n; note\r\nb=2\r\n\r\n[two]\r\nc=3\r\n");
  ini.WriteString(u"ONE", u"B", u"20");   // replaced where it stands
  ini.WriteString(u"one", u"new", u"x");  // appended at the end of its section
  ini.WriteString(u"three", u"d", u"4");  // new section at the end
  EXPECT_EQ(ini.ToBytes(),
            "; my shortcuts\r\n[one]\r\na=1\r\n; note\r\nB=20\r\nnew=x\r\n\r\n[two]\r\nc=3\r\n"
            "\r\n[three]\r\nd=4\r\n");
}

TEST(TPlainIniFileTest, WrittenValuesReadBackExactly) {
  const std::u16string values[] = {
      u"plain", u" lead", u"trail ", u"\"quoted\"", u"'single'",
      u"\"",    u"a\"b",  u"",       u"x = y",      u"caf\u00E9 \u20AC"};
  TPlainIniFile ini;
  for (size_t i = 0; i < std::size(values); ++i) {
    ini.WriteString(u"s", u"k" + IntToStr(static_cast<long long>(i)), values[i]);
  }
  const TPlainIniFile back = TPlainIniFile::FromBytes(ini.ToBytes());
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(U8(back.ReadString(u"s", u"k" + IntToStr(static_cast<long long>(i)), u"(none)")),
              U8(values[i]));
  }
  // A new file is UTF-8 without byte-order mark, with LF line ends.
  EXPECT_EQ(ini.ToBytes().substr(0, 10), "[s]\nk0=pla");
}

TEST(TPlainIniFileTest, LineBreaksInAValueCannotAddKeys) {
  TPlainIniFile ini;
  ini.WriteString(u"s", u"k", u"a\r\n[evil]\nx=1");
  const TPlainIniFile back = TPlainIniFile::FromBytes(ini.ToBytes());
  EXPECT_FALSE(back.HasSection(u"evil"));
  EXPECT_EQ(U8(back.ReadString(u"s", u"k", u"")), "a  [evil] x=1");
}

TEST(TPlainIniFileTest, ListsSectionsOnceAndKeysInFileOrder) {
  const TPlainIniFile ini = TPlainIniFile::FromBytes("[b]\nx=1\n-=\n-=\n[a]\ny='2'\n[B]\nz=3\n");
  const auto names = ini.SectionNames();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(U8(names[0]), "b");
  EXPECT_EQ(U8(names[1]), "a");
  const auto values = ini.SectionValues(u"B");
  ASSERT_EQ(values.size(), 3u);  // the first section of that name
  EXPECT_EQ(U8(values[1].key), "-");
  EXPECT_EQ(U8(values[2].key), "-");
  EXPECT_EQ(U8(ini.SectionValues(u"a")[0].value), "2");
}

TEST(TPlainIniFileTest, LoadAndSaveGoThroughTheFileSystem) {
  TFakeFileSystem fs;
  TPlainIniFile ini;
  bool existed = true;
  ASSERT_TRUE(LoadPlainIniFile(fs, u"/app/x.ini", ini, existed).ok());
  EXPECT_FALSE(existed);
  ini.WriteInteger(u"s", u"n", 5);
  ASSERT_TRUE(SavePlainIniFile(fs, u"/app/x.ini", ini).ok());
  ASSERT_TRUE(LoadPlainIniFile(fs, u"/app/x.ini", ini, existed).ok());
  EXPECT_TRUE(existed);
  EXPECT_EQ(ini.ReadInteger(u"s", u"n", 0), 5);
  fs.FailWrites(1);
  const TStatus failed = SavePlainIniFile(fs, u"/app/x.ini", ini);
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(U8(failed.file()), "/app/x.ini");
}

}  // namespace
