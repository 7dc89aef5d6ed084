// The exclude list: its masks, "exclude.ini", and unchecking after a refresh.
#include "filelist/UnitExclude.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/UnitFileList.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

namespace {

TEST(FileMaskTest, Cases) {
  struct Case {
    std::u16string mask, name;
    bool expected;
  };
  const Case cases[] = {
      {u"*.txt", u"notes.TXT", true},
      {u"*.txt", u"notes.txt.bak", false},
      {u"Thumbs.db", u"thumbs.DB", true},
      {u"Thumbs.db", u"Thumbs.db2", false},
      {u"?.txt", u"a.txt", true},
      {u"?.txt", u"ab.txt", false},
      {u"[abc]*", u"Banana", true},
      {u"[!a]*", u"apple", false},
      {u"[^a]*", u"pear", true},
      {u"[a-c]x", u"bx", true},
      {u"[A-C]x", u"Bx", true},
      {u"[a-c]x", u"dx", false},
      {u"[c-a]x", u"bx", true},  // a reversed range is read in order
      {u"[]]", u"]", true},
      {u"[a-]", u"-", true},
      {u"[abc", u"[abc", true},  // an unclosed set is literal
      {u"[abc", u"a", false},
      {u"a*b*c", u"aXbYbZc", true},
      {u"a*b*c", u"aXbYc!", false},
      {u"*a", u"banana", true},
      {u"a**", u"a", true},
      {u"*", u"", true},
      {u"", u"", true},
      {u"", u"a", false},
      {u"*.*", u"README", false},  // the "." is literal here
      {u"\u00C4*", u"\u00E4rger", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TFileMask(c.mask).Matches(c.name), c.expected)
        << Utf16ToUtf8(c.mask) << " on " << Utf16ToUtf8(c.name);
  }
  EXPECT_TRUE(TFileMask(u"Thumbs.db").IsLiteral());
  EXPECT_FALSE(TFileMask(u"[ab]").IsLiteral());
}

TEST(FileMaskTest, ManyStarsStayFast) {
  const std::u16string name(5000, u'a');
  EXPECT_FALSE(TFileMask(u"*a*a*a*a*a*a*a*a*b").Matches(name));
}

TEST(ExcludeTest, KeepsMasksSortedWithoutDuplicates) {
  TFrmExclude exclude;
  EXPECT_TRUE(exclude.Add(u"  Thumbs.db "));
  EXPECT_TRUE(exclude.Add(u"*.txt"));
  EXPECT_FALSE(exclude.Add(u"thumbs.DB"));
  EXPECT_FALSE(exclude.Add(u"   "));
  EXPECT_TRUE(exclude.Add(u"desktop.ini"));
  EXPECT_EQ(exclude.Masks(), (std::vector<std::u16string>{u"*.txt", u"desktop.ini", u"Thumbs.db"}));
  EXPECT_TRUE(exclude.Delete(u"THUMBS.DB"));
  EXPECT_FALSE(exclude.Delete(u"Thumbs.db"));
  EXPECT_EQ(exclude.Masks().size(), 2u);
}

TEST(ExcludeTest, ExampleMasks) {
  const std::vector<std::u16string> examples = TFrmExclude::ExampleMasks();
  ASSERT_EQ(examples.size(), 4u);
  EXPECT_EQ(examples[2], u"Thumbnails   (Thumbs.db)");
  EXPECT_EQ(TFrmExclude::MaskOfExample(examples[0]), u"*.txt");
  EXPECT_EQ(TFrmExclude::MaskOfExample(examples[3]), u"Desktop.ini");
  EXPECT_EQ(TFrmExclude::MaskOfExample(u" plain.txt "), u"plain.txt");
}

TEST(ExcludeTest, MatchesNamesInSubFoldersAndPathMasks) {
  TFrmExclude exclude;
  exclude.Add(u"Thumbs.db");
  exclude.Add(u"cache/*");
  exclude.Add(u"*.t[mx]p");
  struct Case {
    std::u16string caption;
    bool expected;
  };
  const Case cases[] = {
      {u"Thumbs.db", true},    {u"sub/deeper/THUMBS.DB", true}, {u"Thumbs.db.txt", false},
      {u"cache/a.bin", true},  {u"sub/cache/a.bin", false},     {u"a.tmp", true},
      {u"sub/a.txp", true},    {u"a.tap", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(exclude.Matches(c.caption), c.expected) << Utf16ToUtf8(c.caption);
  }
}

TEST(ExcludeTest, LoadAndSave) {
  TFakeFileSystem fs;
  TFrmExclude exclude;
  EXPECT_TRUE(exclude.Load(fs, u"/app/exclude.ini").ok()) << "a missing file is no error";
  EXPECT_TRUE(exclude.Masks().empty());

  fs.AddFile(u"/app/exclude.ini", "\xEF\xBB\xBFThumbs.db\r\n*.txt\r\n\r\nthumbs.db\n  spaced.ini  \r");
  ASSERT_TRUE(exclude.Load(fs, u"/app/exclude.ini").ok());
  EXPECT_EQ(exclude.Masks(),
            (std::vector<std::u16string>{u"*.txt", u"spaced.ini", u"Thumbs.db"}));
  EXPECT_TRUE(exclude.Matches(u"Thumbs.db"));

  fs.AddFile(u"/app/old.ini", "caf\xE9.txt\n");  // Windows-1252
  ASSERT_TRUE(exclude.Load(fs, u"/app/old.ini").ok());
  EXPECT_EQ(exclude.Masks(), (std::vector<std::u16string>{u"caf\u00E9.txt"}));

  ASSERT_TRUE(exclude.Save(fs, u"/app/new.ini").ok());
  EXPECT_EQ(*fs.FileBytes(u"/app/new.ini"), "caf\xC3\xA9.txt\n");

  fs.FailWrites(1);
  EXPECT_FALSE(exclude.Save(fs, u"/app/new.ini").ok());
}

TEST(ExcludeTest, ExcludeNowUnchecksMatchingCheckedEntries) {
  TFakeFileSystem fs;
  TFixedClock clock;
  TFrmDummyShowPreview list{fs, clock};
  const struct {
    const char16_t* caption;
    bool checked;
  } entries[] = {{u"Thumbs.db", true}, {u"sub/Thumbs.db", true}, {u"a.txt", false},
                 {u"b.jpg", true},     {u"notes.txt", true}};
  for (const auto& e : entries) {
    TFileListData data;
    data.caption = e.caption;
    list.AddEntry(std::move(data), TTagData(), e.checked);
  }
  TFrmExclude exclude;
  EXPECT_EQ(exclude.ExcludeNow(list), 0);
  exclude.Add(u"Thumbs.db");
  exclude.Add(u"*.txt");
  EXPECT_EQ(exclude.ExcludeNow(list), 3) << "a.txt was unchecked already";
  EXPECT_EQ(list.GetCheckedCount(), 1);
  EXPECT_TRUE(list.GetChecked(3));
  EXPECT_EQ(exclude.ExcludeNow(list), 0);
}

}  // namespace
