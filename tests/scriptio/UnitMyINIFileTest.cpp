#include "scriptio/UnitMyINIFile.h"

#include <gtest/gtest.h>

#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

// UTF-16LE bytes of `text`, with the byte-order mark when `bom`.
std::string Utf16LE(std::u16string_view text, bool bom = true) {
  std::string bytes = bom ? "\xFF\xFE" : "";
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string Show(std::u16string_view text) { return Utf16ToUtf8(text); }

TMyINIFile Loaded(std::u16string_view text) {
  TMyINIFile ini;
  ini.LoadFromBytes(Utf16LE(text));
  return ini;
}

}  // namespace

TEST(TMyINIFileTest, QuotingRoundTripsValuesWithOuterBlanksAndQuotes) {
  struct Case {
    std::u16string value, stored;
  };
  const Case cases[] = {
      {u"a", u"a"},
      {u" a ", u"\" a \""},
      {u"a ", u"\"a \""},
      {u"\ta", u"\"\ta\""},
      {u" ", u"\" \""},
      {u"\" x", u"\"\" x\""},   // begins with a quote and a space
      {u"x \"", u"\"x \"\""},   // ends with a space and a quote
      {u"\"a\"", u"\"a\""},     // quoted without spaces: kept as is
      {u"\"", u"\""},
      {u"", u""},
      {u"a = b", u"a = b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuoteIniValue(c.value), c.stored) << "value [" << Show(c.value) << "]";
    EXPECT_EQ(UnquoteIniValue(c.stored), c.value) << "stored [" << Show(c.stored) << "]";
    TMyINIFile ini;
    ini.WriteString(u"S", u"k", c.value);
    TMyINIFile again;
    again.LoadFromBytes(ini.SaveToBytes());
    EXPECT_EQ(again.ReadString(u"S", u"k", u"default"), c.value)
        << "file round trip of [" << Show(c.value) << "]";
  }
}

TEST(TMyINIFileTest, UnquoteLeavesOtherQuotedValuesAlone) {
  EXPECT_EQ(UnquoteIniValue(u"\"abc\""), u"\"abc\"");
  EXPECT_EQ(UnquoteIniValue(u"\"\" x \"\""), u"\" x \"");
  EXPECT_EQ(UnquoteIniValue(u"\" a"), u"\" a");  // no closing quote
  EXPECT_EQ(UnquotePlainIniValue(u"'single'"), u"single");
  EXPECT_EQ(UnquotePlainIniValue(u"\"double\""), u"double");
  EXPECT_EQ(UnquotePlainIniValue(u"'mixed\""), u"'mixed\"");
  EXPECT_EQ(UnquotePlainIniValue(u"\""), u"\"");
}

TEST(TMyINIFileTest, LineBreaksInAValueCannotSplitTheLine) {
  TMyINIFile ini;
  ini.WriteString(u"S", u"k", u"a\r\n[Evil]\nx=1");
  TMyINIFile again;
  again.LoadFromBytes(ini.SaveToBytes());
  EXPECT_FALSE(again.SectionExists(u"Evil"));
  EXPECT_EQ(again.ReadString(u"S", u"k", u""), u"a  [Evil] x=1");
}

TEST(TMyINIFileTest, IntegersInDecimalOrHexadecimal) {
  struct Case {
    std::u16string text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {u"0", true, 0},          {u"42", true, 42},       {u"-7", true, -7},
      {u"+7", true, 7},         {u"0x1F", true, 31},     {u"0X1f", true, 31},
      {u"0xFF000008", true, -16777208},                  {u"0x", false, 0},
      {u"", false, 0},          {u"-", false, 0},        {u"1.5", false, 0},
      {u" 1", false, 0},        {u"$10", false, 0},      {u"2147483647", true, 2147483647},
      {u"-2147483648", true, -2147483647 - 1},           {u"2147483648", false, 0},
      {u"0x100000000", false, 0},                        {u"12a", false, 0},
  };
  for (const Case& c : cases) {
    int value = 0;
    EXPECT_EQ(ParseIniInteger(c.text, value), c.ok) << "text [" << Show(c.text) << "]";
    if (c.ok) {
      EXPECT_EQ(value, c.value) << "text [" << Show(c.text) << "]";
    }
  }
  const TMyINIFile ini = Loaded(u"[N]\r\na_unicode=x\r\nb_unicode=0x10\r\nc_unicode=0\r\n");
  EXPECT_EQ(ini.ReadInteger(u"N", u"a", 9), 9);
  EXPECT_EQ(ini.ReadInteger(u"N", u"b", 9), 16);
  EXPECT_TRUE(ini.ReadBool(u"N", u"b", false));
  EXPECT_FALSE(ini.ReadBool(u"N", u"c", true));
  EXPECT_TRUE(ini.ReadBool(u"N", u"missing", true));
}

TEST(TMyINIFileTest, WritesTheStoredForm) {
  TMyINIFile ini;
  ini.WriteInteger(u"SCRIPT0", u"TYPE", 0);
  ini.WriteBool(u"SCRIPT0", u"ENABLED", true);
  ini.WriteString(u"SCRIPT0", u"txtAdd", u"x_");
  ini.WriteString(u"Filter", u"txtFilter", u"*.*");
  ini.WriteString(u"script0", u"txtadd", u"y_");  // same key, other case: replaced in place
  EXPECT_EQ(ini.SaveToBytes(), Utf16LE(u"[SCRIPT0]\r\nTYPE_unicode=0\r\nENABLED_unicode=1\r\n"
                                       u"txtAdd_unicode=y_\r\n\r\n"
                                       u"[Filter]\r\ntxtFilter_unicode=*.*\r\n\r\n"));
}

TEST(TMyINIFileTest, ReadsPlainKeysOfOlderFilesWhenNoUnicodeKeyExists) {
  const TMyINIFile ini = Loaded(
      u"[Opts]\r\n"
      u"Plain=\"quoted\"\r\n"
      u"Single='x'\r\n"
      u"Both=old\r\n"
      u"BOTH_UNICODE=new\r\n"
      u"  Spaced  =  value with blanks  \r\n");
  EXPECT_EQ(ini.ReadString(u"opts", u"plain", u"-"), u"quoted");
  EXPECT_EQ(ini.ReadString(u"Opts", u"Single", u"-"), u"x");
  EXPECT_EQ(ini.ReadString(u"Opts", u"Both", u"-"), u"new");
  EXPECT_EQ(ini.ReadString(u"Opts", u"Spaced", u"-"), u"value with blanks");
  EXPECT_TRUE(ini.ValueExists(u"OPTS", u"plain"));
  EXPECT_FALSE(ini.ValueExists(u"Opts", u"Missing"));
  EXPECT_EQ(ini.ReadString(u"Nowhere", u"Plain", u"-"), u"-");
}

TEST(TMyINIFileTest, WritingKeepsAPlainKeyOfTheSameName) {
  TMyINIFile ini = Loaded(u"[S]\r\nk=old\r\n");
  ini.WriteString(u"S", u"k", u"new");
  TMyINIFile again;
  again.LoadFromBytes(ini.SaveToBytes());
  EXPECT_EQ(again.ReadString(u"S", u"k", u""), u"new");
  EXPECT_EQ(again.ReadSection(u"S"), (std::vector<std::u16string>{u"k"}));
  EXPECT_EQ(again.SaveToBytes(), Utf16LE(u"[S]\r\nk=old\r\nk_unicode=new\r\n\r\n"));
}

TEST(TMyINIFileTest, ToleratesCommentsStrayLinesAndLineEnds) {
  const TMyINIFile ini = Loaded(
      u"stray=before any section\n"
      u"; comment\r"
      u"[A]\n"
      u"no equals sign\n"
      u"=no name\n"
      u"[Broken\n"
      u"k_unicode=1\n"
      u"k_unicode=2\n"  // the first of two equal keys is read
      u"[B]\r\n"
      u"x_unicode=b\r\n"
      u"[a]\r\n"  // a repeated section continues the first
      u"y_unicode=a2");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::u16string>{u"A", u"B"}));
  EXPECT_EQ(ini.ReadSection(u"A"), (std::vector<std::u16string>{u"k", u"y"}));
  EXPECT_EQ(ini.ReadInteger(u"A", u"k", 0), 1);
  EXPECT_EQ(ini.ReadString(u"A", u"y", u""), u"a2");
  EXPECT_EQ(ini.ReadString(u"B", u"x", u""), u"b");
}

TEST(TMyINIFileTest, DetectsTheEncoding) {
  struct Case {
    const char* label;
    std::string bytes;
    TIniEncoding encoding;
  };
  const std::u16string text = u"[S]\r\nk_unicode=caf\u00E9\r\n";
  std::string big = "\xFE\xFF";
  for (const char16_t c : text) big += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  const Case cases[] = {
      {"UTF-16LE with mark", Utf16LE(text), TIniEncoding::Utf16LE},
      {"UTF-16LE without mark", Utf16LE(text, false), TIniEncoding::Utf16LE},
      {"UTF-16BE with mark", big, TIniEncoding::Utf16BE},
      {"UTF-16BE without mark", big.substr(2), TIniEncoding::Utf16BE},
      {"UTF-8 with mark", "\xEF\xBB\xBF[S]\nk_unicode=caf\xC3\xA9\n", TIniEncoding::Utf8},
      {"UTF-8 without mark", "[S]\nk_unicode=caf\xC3\xA9\n", TIniEncoding::Utf8},
      {"Windows-1252", "[S]\r\nk_unicode=caf\xE9\r\n", TIniEncoding::Windows1252},
  };
  for (const Case& c : cases) {
    TMyINIFile ini;
    ini.LoadFromBytes(c.bytes);
    EXPECT_EQ(ini.Encoding(), c.encoding) << c.label;
    EXPECT_EQ(ini.ReadString(u"S", u"k", u""), u"caf\u00E9") << c.label;
  }
}

TEST(TMyINIFileTest, MalformedUtf16KeepsWhatCanBeRead) {
  // Odd byte count: the lone last byte is dropped.
  TMyINIFile odd;
  odd.LoadFromBytes(Utf16LE(u"[S]\r\nk_unicode=ab") + "c");
  EXPECT_EQ(odd.ReadString(u"S", u"k", u""), u"ab");
  // A lone surrogate stays a code unit of the value and is written back as it was.
  TMyINIFile lone;
  lone.LoadFromBytes(Utf16LE(u"[S]\r\nk_unicode=a\xD800z\r\n"));
  EXPECT_EQ(lone.ReadString(u"S", u"k", u""), u"a\xD800z");
  EXPECT_EQ(lone.SaveToBytes(), Utf16LE(u"[S]\r\nk_unicode=a\xD800z\r\n\r\n"));
  // Only the mark, or nothing at all.
  for (const std::string& bytes : {std::string("\xFF\xFE"), std::string("\xFF"), std::string()}) {
    TMyINIFile empty;
    empty.LoadFromBytes(bytes);
    EXPECT_TRUE(empty.ReadSections().empty()) << bytes.size() << " bytes";
  }
}

TEST(TMyINIFileTest, DeleteAndErase) {
  TMyINIFile ini = Loaded(u"[S]\r\nk=1\r\nk_unicode=2\r\nm_unicode=3\r\n[T]\r\nx_unicode=1\r\n");
  ini.DeleteKey(u"s", u"K");
  EXPECT_FALSE(ini.ValueExists(u"S", u"k"));
  EXPECT_EQ(ini.ReadInteger(u"S", u"m", 0), 3);
  ini.EraseSection(u"s");
  EXPECT_FALSE(ini.SectionExists(u"S"));
  EXPECT_EQ(ini.ReadInteger(u"T", u"x", 0), 1);
  ini.WriteInteger(u"T", u"y", 2);
  EXPECT_EQ(ini.ReadSection(u"T"), (std::vector<std::u16string>{u"x", u"y"}));
}

TEST(TMyINIFileTest, OpenAndUpdateThroughTheFileSystem) {
  TFakeFileSystem fs;
  TMyINIFile ini;
  ASSERT_TRUE(ini.Open(fs, u"/app/tw.ini").ok());  // missing: an empty store
  EXPECT_FALSE(ini.Modified());
  EXPECT_TRUE(ini.UpdateFile().ok());
  EXPECT_EQ(fs.FileBytes(u"/app/tw.ini"), nullptr);  // nothing changed, nothing written

  ini.WriteString(u"Startup", u"WindowX", u"10");
  ini.WriteString(u"Startup", u"WindowY", u"20");
  ASSERT_TRUE(ini.UpdateFile().ok());
  ASSERT_NE(fs.FileBytes(u"/app/tw.ini"), nullptr);

  TMyINIFile reopened;
  ASSERT_TRUE(reopened.Open(fs, u"/app/tw.ini").ok());
  EXPECT_EQ(reopened.ReadInteger(u"Startup", u"WindowY", 0), 20);
}

TEST(TMyINIFileTest, AFailedRewriteIsReportedAndKeepsTheOldFile) {
  TFakeFileSystem fs;
  fs.AddFile(u"/app/a.twscr", Utf16LE(u"[S]\r\nk_unicode=old\r\n"));
  TMyINIFile ini;
  ASSERT_TRUE(ini.Open(fs, u"/app/a.twscr").ok());
  ini.WriteString(u"S", u"k", u"new");
  fs.FailWrites(1);
  const TStatus status = ini.UpdateFile();
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.file(), u"/app/a.twscr");
  EXPECT_FALSE(status.reason().empty());
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(*fs.FileBytes(u"/app/a.twscr"), Utf16LE(u"[S]\r\nk_unicode=old\r\n"));
  EXPECT_TRUE(ini.UpdateFile().ok());  // the next attempt writes it
  EXPECT_EQ(*fs.FileBytes(u"/app/a.twscr"), Utf16LE(u"[S]\r\nk_unicode=new\r\n\r\n"));
}

TEST(TMyINIFileTest, AnUnreadableFileGivesAnEmptyStoreAndAStatus) {
  TFakeFileSystem fs;
  fs.AddFolder(u"/app/folder.ini");
  TMyINIFile ini;
  const TStatus status = ini.Open(fs, u"/app/folder.ini");
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.file(), u"/app/folder.ini");
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_FALSE(TMyINIFile().UpdateFile().ok());  // bound to no file
}
