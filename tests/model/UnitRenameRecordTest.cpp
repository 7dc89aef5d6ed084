#include "model/UnitRenameRecord.h"

#include <gtest/gtest.h>

#include "platform/UnitText.h"

TEST(RenameRecordTest, NameAndExtension) {
  struct Case {
    std::u16string caption;
    bool folder;
    std::u16string name, ext;
  };
  const Case cases[] = {
      {u"photo.2013.jpg", false, u"photo.2013", u"jpg"},
      {u"README", false, u"README", u""},
      {u"v1.2", true, u"v1.2", u""},
      {u"sub/dir.x/file", false, u"file", u""},
      {u"sub/song.mp3", false, u"song", u"mp3"},
      {u"trailing.", false, u"trailing", u""},
      {u".bashrc", false, u"", u"bashrc"},
  };
  for (const auto& c : cases) {
    RenameRecord r;
    FillRenameRecordNames(r, u"/data", c.caption, c.folder, u"", u"");
    EXPECT_EQ(r.name, c.name) << Utf16ToUtf8(c.caption);
    EXPECT_EQ(r.ext, c.ext) << Utf16ToUtf8(c.caption);
    EXPECT_EQ(r.FullName, u"/data/" + c.caption);
    EXPECT_EQ(r.columnname, c.caption);
  }
}

TEST(RenameRecordTest, DateColumnLosesOnePairOfBrackets) {
  RenameRecord r;
  FillRenameRecordNames(r, u"/data/", u"a.txt", false, u"", u"[2013-08-14]");
  EXPECT_EQ(r.filedate, u"2013-08-14");
  EXPECT_EQ(r.FullName, u"/data/a.txt");
  FillRenameRecordNames(r, u"/data/", u"a.txt", false, u"", u"2013-08-14 10:00:00");
  EXPECT_EQ(r.filedate, u"2013-08-14 10:00:00");
  FillRenameRecordNames(r, u"/data/", u"a.txt", false, u"", u"[");
  EXPECT_EQ(r.filedate, u"");
}

TEST(RenameRecordTest, PathParts) {
  EXPECT_EQ(ExtractFilePath(u"/a/b/c.jpg"), u"/a/b/");
  EXPECT_EQ(ExtractFileName(u"/a/b/c.jpg"), u"c.jpg");
  EXPECT_EQ(ExtractFilePath(u"c.jpg"), u"");
  EXPECT_EQ(ExtractFileName(u"c.jpg"), u"c.jpg");
}
