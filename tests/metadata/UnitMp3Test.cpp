// TMP3Segment (frame header test, decoding and search), the ID3v1 tag reader
// with its genre table, and the MP3 variable codes.
#include "metadata/UnitMP3Segment.h"

#include <gtest/gtest.h>

#include "UnitMediaBytes.h"
#include "metadata/UnitByteSource.h"
#include "metadata/UnitId3v1.h"
#include "metadata/UnitMp3Reader.h"
#include "metadata/UnitTagList.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

// Runs `read` over `bytes` as a file.
template <typename F>
TTagList ReadBytes(const std::string& bytes, F read) {
  TFakeFileSystem fs;
  fs.AddFile(u"/a.mp3", bytes);
  std::unique_ptr<TRandomAccessFile> file;
  EXPECT_TRUE(fs.OpenForReading(u"/a.mp3", file).ok());
  TByteSource source(*file);
  TTagList list;
  read(source, list);
  return list;
}

std::string Padded(const std::string& text, size_t length, char pad = '\0') {
  return text + std::string(length - text.size(), pad);
}

// An ID3v1 tag; `track` 0 makes a version 1.0 comment of 30 characters.
std::string Id3v1(const std::string& title, const std::string& comment, int track, int genre) {
  std::string tag = "TAG" + Padded(title, 30) + Padded("Artist", 30) + Padded("Album", 30) +
                    "1999";
  tag += track >= 0 ? Padded(comment, 28) + '\0' + static_cast<char>(track) : Padded(comment, 30);
  return tag + static_cast<char>(genre);
}

const std::string kFrame("\xFF\xFB\x90\x64", 4);  // MPEG-1 layer III, 128 kbit/s, 44.1 kHz, joint stereo

TEST(TMP3SegmentTest, DecodesHeaders) {
  const struct {
    const char* name;
    uint32_t header;
    int version, layer, bitrate, sample, channel;
  } cases[] = {
      {"MPEG-1 III 128k 44.1k stereo", 0xFFFB9064, 3, 1, 128, 44100, 2},
      {"MPEG-1 III 320k 48k mono", 0xFFFBE4C4, 3, 1, 320, 48000, 1},
      {"MPEG-1 II 192k 32k", 0xFFFDA800, 3, 2, 192, 32000, 2},
      {"MPEG-1 I 448k", 0xFFFFE000, 3, 3, 448, 44100, 2},
      {"MPEG-2 III 64k 22.05k mono", 0xFFF380C0, 2, 1, 64, 22050, 1},
      {"MPEG-2 I 256k 24k", 0xFFF7E400, 2, 3, 256, 24000, 2},
      {"MPEG-2.5 III 8k 8k", 0xFFE31800, 0, 1, 8, 8000, 2},
      {"free format bit rate", 0xFFFB0000, 3, 1, 0, 44100, 2},
  };
  for (const auto& c : cases) {
    TMP3Segment s;
    for (int i = 0; i < 4; ++i) s.header[static_cast<size_t>(i)] = static_cast<uint8_t>(c.header >> (24 - 8 * i));
    ASSERT_TRUE(s.IsHeader()) << c.name;
    EXPECT_EQ(s.version, c.version) << c.name;
    EXPECT_EQ(s.layer, c.layer) << c.name;
    EXPECT_EQ(s.bitrate, c.bitrate) << c.name;
    EXPECT_EQ(s.sample, c.sample) << c.name;
    EXPECT_EQ(s.channel, c.channel) << c.name;
  }
}

TEST(TMP3SegmentTest, RejectsWhatIsNoHeader) {
  const struct {
    const char* name;
    uint32_t header;
  } cases[] = {
      {"no sync byte", 0xFEFB9064},      {"sync bits short", 0xFFDB9064},
      {"reserved version", 0xFFEB9064},  {"reserved layer", 0xFFF99064},
      {"bit-rate index 15", 0xFFFBF064}, {"sampling index 3", 0xFFFB9C64},
  };
  for (const auto& c : cases) {
    TMP3Segment s;
    for (int i = 0; i < 4; ++i) s.header[static_cast<size_t>(i)] = static_cast<uint8_t>(c.header >> (24 - 8 * i));
    EXPECT_FALSE(s.IsHeader()) << c.name;
  }
}

TEST(TMP3SegmentTest, SearchSkipsTheId3v2TagAndFalseSyncs) {
  // A 300 KB ID3v2 tag with a frame header inside it that must not be taken.
  const uint32_t tagSize = 300000;
  std::string tag = "ID3\x03";
  tag += std::string("\0\0", 2);
  for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((tagSize >> shift) & 0x7F);
  std::string body(tagSize, '\0');
  body.replace(100, 4, std::string("\xFF\xF3\x80\xC0", 4));
  const std::string junk("\xFF\x00\xFF\x10\xFF", 5);  // 0xFF bytes that start no header
  const std::string file = tag + body + junk + kFrame + std::string(400, '\0');
  TTagList list = ReadBytes(file, ReadMp3Stream);
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"Bitrate")), "128") << Dump(list);
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"headerpos:")), std::to_string(10 + tagSize + 5 + 4));
}

// `count` frames of `length` bytes, each the 4-byte `header` and zeros.
std::string Frames(const std::string& header, size_t length, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += header + std::string(length - 4, '\0');
  return out;
}

// An ID3v2.3 tag holding `body`.
std::string Id3v2(const std::string& body) {
  std::string tag("ID3\x03\0\0", 6);
  for (int shift = 21; shift >= 0; shift -= 7) {
    tag += static_cast<char>((body.size() >> shift) & 0x7F);
  }
  return tag + body;
}

TEST(TMP3SegmentTest, FirstFrameIsOneThatAnotherFollows) {
  // A header counts when its frame length, computed by version and layer,
  // lands on the next header; otherwise the search goes on.
  const auto frames = [](uint32_t header, size_t length) {
    return Frames(Big(header, 4), length, 3) + std::string(3000, '\0');
  };
  const std::string stream = Frames(kFrame, 417, 3) + std::string(2000, '\0');
  const std::string mpeg2("\xFF\xF3\x80\xC0", 4);  // MPEG-2 III 64k 22.05k: 208 bytes
  const struct {
    const char* name;
    std::string bytes;
    const char* bitrate;
    uint64_t headerpos;
  } cases[] = {
      {"MPEG-1 III padded", frames(0xFFFB9264, 418), "128", 4},
      {"MPEG-1 II", frames(0xFFFDA800, 864), "192", 4},
      {"MPEG-2 I padded", frames(0xFFF7E600, 516), "256", 4},
      {"MPEG-2 II", frames(0xFFF58000, 417), "64", 4},
      {"MPEG-2 III", frames(0xFFF380C0, 208), "64", 4},
      {"free-format bit rate", std::string("\xFF\xFB\x00\x64", 4) + std::string(100, '\0') + stream,
       "128", 108},
      {"lone header of another rate", mpeg2 + std::string(50, '\0') + stream, "128", 58},
      {"next header of another sampling rate",
       kFrame + std::string(413, '\0') + "\xFF\xFB\x94\x64" + std::string(20, '\0') + stream, "128",
       445},
      {"stream inside a second ID3v2 tag",
       Id3v2(std::string(64, '\0')) + Id3v2(Frames(mpeg2, 208, 3)) + stream, "128", 712},
      {"last frame ends at the ID3v1 tag",
       std::string(7, 'x') + kFrame + std::string(413, '\0') + Id3v1("T", "c", 1, 1), "128", 11},
  };
  for (const auto& c : cases) {
    const TTagList list = ReadBytes(c.bytes, ReadMp3Stream);
    EXPECT_EQ(Utf16ToUtf8(list.Value(u"Bitrate")), c.bitrate) << c.name << "\n" << Dump(list);
    EXPECT_EQ(Utf16ToUtf8(list.Value(u"headerpos:")), std::to_string(c.headerpos)) << c.name;
  }
}

TEST(TMP3SegmentTest, SearchGivesUpAfterItsLimit) {
  const std::string file = std::string(TMP3Segment::kSearchLimit + 10, 'x') + kFrame + std::string(200, '\0');
  EXPECT_TRUE(ReadBytes(file, ReadMp3Stream).Empty());
  EXPECT_FALSE(ReadBytes(std::string(5000, 'x') + kFrame + std::string(200, '\0'), ReadMp3Stream).Empty());
}

TEST(TMP3ReaderTest, StreamReaderNeedsAFrameAndThenReadsTheTag) {
  const std::string tag = Id3v1("Hello", "Note", 7, 17);
  TTagList list = ReadBytes(kFrame + std::string(200, '\0') + tag, ReadMp3Stream);
  EXPECT_EQ(Dump(list),
            "Bitrate=128\r\nSample=44100\r\nChannels=2\r\nheaderpos:=4\r\nTitle=Hello\r\n"
            "Artist=Artist\r\nAlbum=Album\r\nYear=1999\r\nComment=Note\r\nTrack=7\r\nGenre=Rock\r\n");
  // Without a frame header nothing is stored, not even the tag.
  EXPECT_TRUE(ReadBytes(std::string(200, '\0') + tag, ReadMp3Stream).Empty());
}

TEST(TId3v1Test, Fields) {
  const struct {
    const char* name;
    std::string tag;
    const char* title;
    const char* comment;
    const char* track;  // nullptr: no "Track"
  } cases[] = {
      {"v1.1 track 7", Id3v1("Hello", "Note", 7, 0), "Hello", "Note", "7"},
      {"blanks and zeros after the title", Id3v1(Padded("Hello", 20, ' '), "c", 3, 0), "Hello", "c", "3"},
      {"track byte 0", Id3v1("T", "c", 0, 0), "T", "c", nullptr},
      {"track byte 32", Id3v1("T", "c", 32, 0), "T", "c", nullptr},
      {"v1.0 comment of 30 characters", Id3v1("T", std::string(29, 'c') + "d", -1, 0), "T",
       "cccccccccccccccccccccccccccccd", nullptr},
      {"text after a zero byte", Id3v1(std::string("Hi\0there", 8), "c", 1, 0), "Hi", "c", "1"},
      {"Windows-1252 text", Id3v1("Caf\xE9", "\x80", 1, 0), "Caf\xC3\xA9", "\xE2\x82\xAC", "1"},
      {"UTF-8 text", Id3v1("Caf\xC3\xA9", "c", 1, 0), "Caf\xC3\xA9", "c", "1"},
  };
  for (const auto& c : cases) {
    const TTagList list = ReadBytes(std::string(50, '\0') + c.tag, ReadMp3Tags);
    EXPECT_EQ(Utf16ToUtf8(list.Value(u"Title")), c.title) << c.name;
    EXPECT_EQ(Utf16ToUtf8(list.Value(u"Comment")), c.comment) << c.name;
    EXPECT_EQ(list.Contains(u"Track"), c.track != nullptr) << c.name;
    if (c.track) {
      EXPECT_EQ(Utf16ToUtf8(list.Value(u"Track")), c.track) << c.name;
    }
  }
}

TEST(TId3v1Test, NoTagOrShortFile) {
  EXPECT_TRUE(ReadBytes(std::string(300, 'x'), ReadMp3Tags).Empty());
  EXPECT_TRUE(ReadBytes(std::string(100, 'x'), ReadMp3Tags).Empty());
  EXPECT_TRUE(ReadBytes(Id3v1("T", "c", 1, 1).substr(0, 127), ReadMp3Tags).Empty());
  EXPECT_FALSE(ReadBytes(Id3v1("T", "c", 1, 1), ReadMp3Tags).Empty());
}

TEST(TId3v1Test, GenreNames) {
  const struct {
    int number;
    const char16_t* name;
  } cases[] = {{0, u"Blues"},        {17, u"Rock"},         {67, u"Psychadelic"},
               {79, u"Hard Rock"},   {80, u"Folk"},         {144, u"Trash Metal"},
               {146, u"Jpop"},       {147, u"Synthpop"},    {148, u"Unknown"},
               {200, u"Unknown"},    {255, u"Unknown"},     {-1, u"Unknown"}};
  for (const auto& c : cases) EXPECT_EQ(GenreName(c.number), c.name) << c.number;
}

TEST(TMp3CodesTest, CodesMapToKeysInOrder) {
  const char16_t* codes[] = {u"i_al", u"I_AR", u"i_c", u"i_g", u"i_ti",
                             u"i_tr", u"i_y",  u"m_b", u"m_s", u"M_C"};
  const char16_t* keys[] = {u"Album", u"Artist", u"Comment", u"Genre", u"Title",
                            u"Track", u"Year",   u"Bitrate", u"Sample", u"Channels"};
  for (size_t i = 0; i < 10; ++i) {
    const std::optional<MP3_Enum> code = Mp3Code(codes[i]);
    ASSERT_TRUE(code) << Utf16ToUtf8(codes[i]);
    EXPECT_EQ(static_cast<size_t>(*code), i);
    EXPECT_EQ(Mp3Key(*code), keys[i]);
  }
  for (const char16_t* bad : {u"", u"i_", u"i_tix", u"x_al", u"m_"}) EXPECT_FALSE(Mp3Code(bad)) << Utf16ToUtf8(bad);
}

}  // namespace
