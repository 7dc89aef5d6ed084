// TFileTagReader over the fixture files made by real encoders
// (scripts/make-metadata-fixtures.sh): the values the encoders were told and
// the values ffprobe and exiftool read from the same fields (expected.tsv).
#include "metadata/UnitFileTags.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "UnitMediaBytes.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

const std::string kData = TALLOWICK_TEST_DATA "/metadata/";

TTagFamily FamilyOf(std::string variable) {
  for (char& c : variable) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (variable.rfind("?v_", 0) == 0) return TTagFamily::Video;
  if (variable.rfind("?xmp_", 0) == 0) return TTagFamily::Xmp;
  if (variable.rfind("?x_", 0) == 0) return TTagFamily::Exif;
  if (variable.rfind("?j_", 0) == 0) return TTagFamily::Jfif;
  return TTagFamily::Mp3;
}

class TFileTagReaderFixtureTest : public ::testing::Test {
 protected:
  // The list of a fixture file as the family's read gives it.
  TTagList Read(const std::string& file, bool withStream = true) {
    TTagList list;
    const std::u16string path = Utf8ToUtf16(kData + file);
    const std::string ext = file.substr(file.rfind('.'));
    TStatus status = ext == ".jpg"   ? reader_.ReadJpeg(path, list)
                     : ext == ".mp3" ? reader_.ReadMp3(path, withStream, list)
                                     : reader_.ReadVideo(path, list);
    EXPECT_TRUE(status.ok()) << file << ": " << Utf16ToUtf8(status.Message());
    return list;
  }
  std::string Value(const std::string& file, const std::string& variable) {
    return Utf16ToUtf8(reader_.Lookup(FamilyOf(variable), Read(file), Utf8ToUtf16(variable)));
  }

  std::unique_ptr<TFileSystem> fs_ = NewPosixFileSystem();
  TFileTagReader reader_{*fs_};
};

TEST_F(TFileTagReaderFixtureTest, AgreesWithFfprobeAndExiftool) {
  std::ifstream in(kData + "expected.tsv");
  ASSERT_TRUE(in) << "missing expected.tsv";
  std::map<std::string, TTagList> lists;
  std::string line;
  int rows = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string file, variable, expected;
    std::getline(fields, file, '\t');
    std::getline(fields, variable, '\t');
    std::getline(fields, expected);
    if (!lists.count(file)) lists[file] = Read(file);
    const std::u16string got =
        reader_.Lookup(FamilyOf(variable), lists[file], Utf8ToUtf16(variable));
    EXPECT_EQ(Utf16ToUtf8(got), expected) << file << " " << variable;
    ++rows;
  }
  EXPECT_GT(rows, 100);
}

TEST_F(TFileTagReaderFixtureTest, JpegValuesAsTheWriterWasTold) {
  const struct {
    const char* variable;
    const char* value;
  } cases[] = {
      {"?x_dto?", "2013-05-17 10:20:30"}, {"?x_isosr?", "080"}, {"?x_cc?", "01020300"},
      {"?x_ebv?", "-0.7"}, {"?x_ru?", "2"}, {"?x_yr?", "72"}, {"?x_gc?", ""},
      {"?x_zz?", ":ERROR:"}, {"?x_eo?", ""}, {"?j_q?", ":ERROR:"},
      {"?xmp_dc_subject?", "one two"}, {"?xmp_dc_nothing?", ""},
  };
  for (const char* file : {"color-mm.jpg", "color-ii.jpg"}) {
    for (const auto& c : cases) EXPECT_EQ(Value(file, c.variable), c.value) << file << " " << c.variable;
  }
}

TEST_F(TFileTagReaderFixtureTest, ExifCodesMatchWhateverTheCase) {
  for (const char* variable : {"?x_Ma?", "?X_MA?", "?x_ma?"}) {
    EXPECT_EQ(Value("color-mm.jpg", variable), "Tallowick Camera Works") << variable;
  }
}

TEST_F(TFileTagReaderFixtureTest, BothByteOrdersGiveTheSameList) {
  const TTagList mm = Read("color-mm.jpg"), ii = Read("color-ii.jpg");
  EXPECT_EQ(Dump(mm), Dump(ii));
  EXPECT_GT(mm.Size(), 30u) << Dump(mm);
}

TEST_F(TFileTagReaderFixtureTest, PlainJpegHasOnlyTheFrameSize) {
  const TTagList list = Read("grey-plain.jpg");
  EXPECT_EQ(list.Size(), 3u) << Dump(list);
  EXPECT_EQ(Value("grey-plain.jpg", "?x_dto?"), "");
}

TEST_F(TFileTagReaderFixtureTest, Mp3TagsWithoutStream) {
  const TTagList list = Read("stereo-id3.mp3", false);
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"Title")), "Song Title");
  EXPECT_FALSE(list.Contains(u"Bitrate")) << Dump(list);
  EXPECT_TRUE(Read("no-id3v1.mp3", false).Empty());
}

TEST_F(TFileTagReaderFixtureTest, Mp3UnknownCodeIsAnError) {
  EXPECT_EQ(Value("stereo-id3.mp3", "?i_xx?"), ":ERROR:");
  EXPECT_EQ(Value("stereo-id3.mp3", "?m_q?"), ":ERROR:");
  EXPECT_EQ(Value("stereo-id3.mp3", "?I_TR?"), "7");
}

TEST_F(TFileTagReaderFixtureTest, VideoValuesAsTheEncoderWasTold) {
  // 3 s at 25 frames/s in groups of 25 pictures: the last group starts at 2 s.
  EXPECT_EQ(Value("clip-mpeg1.mpg", "?v_len?"), "00-00-02");
  EXPECT_EQ(Value("clip-mpeg2.mpg", "?v_len?"), "00-00-02");
  EXPECT_EQ(Value("clip.mp4", "?v_xyz?"), "");
  EXPECT_EQ(Value("clip.wmv", "?v_ms_description?"), "");
}

TEST_F(TFileTagReaderFixtureTest, ContainerOfAnotherKindYieldsNothing) {
  std::ifstream in(kData + "clip-mpeg1.mpg", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string mpeg = bytes.str();
  TFakeFileSystem fake;
  for (const char16_t* name : {u"/v/clip.avi", u"/v/clip.mp4", u"/v/clip.wmv", u"/v/clip.txt"}) {
    fake.AddFile(name, mpeg);
    TFileTagReader reader(fake);
    TTagList list;
    ASSERT_TRUE(reader.ReadVideo(name, list).ok());
    EXPECT_TRUE(list.Empty()) << Utf16ToUtf8(name) << ": " << Dump(list);
  }
}

// --- Opening and the debug logs, on a fake file system.

TEST(TFileTagReaderTest, FileThatCannotBeOpenedIsAnError) {
  TFakeFileSystem fs;
  TFileTagReader reader(fs);
  TTagList list;
  list.Set(u"old", u"value");
  const TStatus jpeg = reader.ReadJpeg(u"/no/such.jpg", list);
  EXPECT_FALSE(jpeg.ok());
  EXPECT_EQ(Utf16ToUtf8(jpeg.Message()),
            "ReadJpeg: Can't open file: /no/such.jpg (" + std::to_string(jpeg.code()) + ")");
  EXPECT_TRUE(list.Empty());
  EXPECT_FALSE(reader.ReadMp3(u"/no/such.mp3", true, list).ok());
  EXPECT_FALSE(reader.ReadVideo(u"/no/such.avi", list).ok());
}

TEST(TFileTagReaderTest, EmptyFilesGiveEmptyLists) {
  TFakeFileSystem fs;
  TFileTagReader reader(fs);
  for (const char16_t* name : {u"/e.jpg", u"/e.mp3", u"/e.avi", u"/e.mpg", u"/e.mov", u"/e.wmv"}) {
    fs.AddFile(name, "");
    TTagList list;
    EXPECT_TRUE(reader.ReadJpeg(name, list).ok());
    EXPECT_TRUE(list.Empty()) << Utf16ToUtf8(name);
    EXPECT_TRUE(reader.ReadMp3(name, true, list).ok());
    EXPECT_TRUE(list.Empty()) << Utf16ToUtf8(name);
    EXPECT_TRUE(reader.ReadVideo(name, list).ok());
    EXPECT_TRUE(list.Empty()) << Utf16ToUtf8(name);
  }
}

TEST(TFileTagReaderTest, WritesDebugLogsOnlyWhileTheFolderExists) {
  TFakeFileSystem fs;
  fs.AddFile(u"/photos/a.jpg", JpegFile(JpegSegment(0xC0, std::string("\x08\x00\x10\x00\x20\x03", 6))));
  TFileTagReader reader(fs, u"/cwd/debug");
  TTagList list;
  ASSERT_TRUE(reader.ReadJpeg(u"/photos/a.jpg", list).ok());
  EXPECT_EQ(fs.FileBytes(u"/cwd/debug/a.jpg-log.txt"), nullptr);
  fs.AddFolder(u"/cwd/debug");
  ASSERT_TRUE(reader.ReadJpeg(u"/photos/a.jpg", list).ok());
  const std::string* log = fs.FileBytes(u"/cwd/debug/a.jpg-log.txt");
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(*log, "JFIF_PRECISION=24\r\nJFIF_HEIGHT=16\r\nJFIF_WIDTH=32\r\n");
}

TEST(TFileTagReaderTest, NoDebugFolderMeansNoLogs) {
  TFakeFileSystem fs;
  fs.AddFolder(u"debug");
  fs.AddFile(u"/a.jpg", JpegFile(""));
  TFileTagReader reader(fs);
  TTagList list;
  ASSERT_TRUE(reader.ReadJpeg(u"/a.jpg", list).ok());
  EXPECT_EQ(fs.FileBytes(u"debug/a.jpg-log.txt"), nullptr);
}

TEST(TFileTagReaderTest, LookupByFamily) {
  TFakeFileSystem fs;
  TFileTagReader reader(fs);
  TTagList list;
  list.Set(u"Track", u"7");
  list.Set(u"JFIF_WIDTH", u"640");
  list.Set(u"DateTimeOriginal", u"2013-05-17 10:20:30");
  list.Set(u"?xmp_dc_title?", u"T");
  list.Set(u"?v_len?", u"01-00-00");
  const struct {
    TTagFamily family;
    const char16_t* variable;
    const char* value;
  } cases[] = {
      {TTagFamily::Mp3, u"?i_tr?", "7"},          {TTagFamily::Mp3, u"?i_ti?", ""},
      {TTagFamily::Mp3, u"?i_zz?", ":ERROR:"},    {TTagFamily::Jfif, u"?j_w?", "640"},
      {TTagFamily::Jfif, u"?j_h?", ""},           {TTagFamily::Jfif, u"?j_x?", ":ERROR:"},
      {TTagFamily::Exif, u"?x_dto?", "2013-05-17 10:20:30"},
      {TTagFamily::Exif, u"?x_dt?", ""},          {TTagFamily::Exif, u"?x_?", ":ERROR:"},
      {TTagFamily::Xmp, u"?xmp_dc_title?", "T"},  {TTagFamily::Xmp, u"?xmp_zz?", ""},
      {TTagFamily::Video, u"?v_len?", "01-00-00"}, {TTagFamily::Video, u"?v_xyz?", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(reader.Lookup(c.family, list, c.variable)), c.value)
        << Utf16ToUtf8(c.variable);
  }
}

}  // namespace
