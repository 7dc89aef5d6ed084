// The video container readers on files built by hand: AVI, MPEG program and
// elementary streams, QuickTime/MP4 atoms and ASF objects, good and broken.
#include "metadata/UnitVideo.h"

#include <gtest/gtest.h>

#include "UnitMediaBytes.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

TTagList ReadVideoBytes(const std::u16string& extension, const std::string& bytes) {
  TFakeFileSystem fs;
  fs.AddFile(u"/v" + extension, bytes);
  std::unique_ptr<TRandomAccessFile> file;
  EXPECT_TRUE(fs.OpenForReading(u"/v" + extension, file).ok());
  TTagList list;
  ReadVideoFile(*file, extension, list);
  return list;
}

// --- AVI

std::string Avi(uint32_t microsecondsPerFrame, uint32_t frames, uint32_t width, uint32_t height) {
  std::string avih = Little(microsecondsPerFrame, 4) + Little(0, 12) + Little(frames, 4) +
                     Little(0, 12) + Little(width, 4) + Little(height, 4) + Little(0, 16);
  std::string hdrl = "hdrl" + std::string("avih") + Little(avih.size(), 4) + avih;
  std::string list = "LIST" + Little(hdrl.size(), 4) + hdrl;
  return "RIFF" + Little(list.size() + 4, 4) + "AVI " + list;
}

TEST(TAviReaderTest, SizeAndDuration) {
  EXPECT_EQ(Dump(ReadVideoBytes(u".avi", Avi(40000, 90000, 640, 480))),
            "?v_wd?=640\r\n?v_ht?=480\r\n?v_len?=01-00-00\r\n");
  // 64-bit arithmetic: 4,000,000,000 us x 4,000,000,000 frames.
  EXPECT_EQ(Utf16ToUtf8(ReadVideoBytes(u".AVI", Avi(4000000000u, 4000000000u, 1, 1)).Value(u"?v_len?")),
            "4444444444-26-40");
}

TEST(TAviReaderTest, OtherFilesYieldNothing) {
  std::string wave = Avi(40000, 25, 1, 1);
  wave.replace(8, 4, "WAVE");
  for (const std::string& bytes : {wave, Avi(40000, 25, 1, 1).substr(0, 71), std::string("RIFF")}) {
    EXPECT_TRUE(ReadVideoBytes(u".avi", bytes).Empty()) << bytes.size();
  }
}

// --- MPEG

std::string StartCode(uint8_t code) { return std::string("\0\0\x01", 3) + static_cast<char>(code); }

// A group-of-pictures header with a time code.
std::string Gop(int hours, int minutes, int seconds) {
  const uint32_t word = (static_cast<uint32_t>(hours) << 26) | (static_cast<uint32_t>(minutes) << 20) |
                        (1u << 19) | (static_cast<uint32_t>(seconds) << 13);
  return StartCode(0xB8) + Big(word, 4);
}

std::string SequenceHeader(int width, int height) {
  return StartCode(0xB3) + static_cast<char>(width >> 4) +
         static_cast<char>(((width & 15) << 4) | (height >> 8)) + static_cast<char>(height & 0xFF) +
         std::string("\x13\xFF\xFF\xE0\x18", 5);
}

std::string Packet(uint8_t stream, const std::string& payload) {
  return StartCode(stream) + Big(payload.size(), 2) + payload;
}

// An MPEG-2 pack header without stuffing.
std::string Pack() { return StartCode(0xBA) + std::string("\x44\0\x04\0\x04\x01\x01\x89\xC3\xF8", 10); }

// An MPEG-2 video packet with an empty PES header extension.
std::string VideoPacket(const std::string& video) {
  return Packet(0xE0, std::string("\x80\x00\x00", 3) + video);
}

TEST(TMpegReaderTest, ProgramStream) {
  // The sequence header hides in a video packet behind a padding packet
  // that itself looks like it holds one.
  const std::string head = Pack() + Packet(0xBE, SequenceHeader(16, 16)) +
                           VideoPacket(SequenceHeader(720, 576) + Gop(0, 0, 10) + StartCode(0x00));
  const std::string file = head + std::string(100000, '\0') + Pack() +
                           VideoPacket(Gop(0, 1, 15) + StartCode(0x00)) + std::string(300, '\xFF');
  EXPECT_EQ(Dump(ReadVideoBytes(u".mpg", file)), "?v_wd?=720\r\n?v_ht?=576\r\n?v_len?=00-01-05\r\n");
}

TEST(TMpegReaderTest, DurationIsTheDistanceBetweenTimeCodes) {
  const struct {
    int first[3], last[3];
    const char* length;  // nullptr: none
  } cases[] = {
      {{0, 0, 0}, {1, 2, 3}, "01-02-03"},
      {{0, 0, 59}, {0, 1, 5}, "00-00-06"},
      {{1, 0, 0}, {1, 0, 10}, "00-00-10"},
      {{0, 5, 0}, {0, 5, 0}, nullptr},
      {{0, 9, 0}, {0, 1, 0}, "00-01-00"},  // a last time code before the first: taken alone
  };
  for (const auto& c : cases) {
    const std::string file = Pack() + VideoPacket(SequenceHeader(32, 32) +
                                                  Gop(c.first[0], c.first[1], c.first[2])) +
                             std::string(20000, '\0') + VideoPacket(Gop(c.last[0], c.last[1], c.last[2]));
    const TTagList list = ReadVideoBytes(u".mpeg", file);
    EXPECT_EQ(list.Contains(u"?v_len?"), c.length != nullptr) << Dump(list);
    if (c.length) {
      EXPECT_EQ(Utf16ToUtf8(list.Value(u"?v_len?")), c.length) << Dump(list);
    }
  }
}

TEST(TMpegReaderTest, GopStraddlingABlockBoundaryIsFound) {
  for (size_t tail = 0; tail < 12; ++tail) {
    std::string file = Pack() + VideoPacket(SequenceHeader(32, 32) + Gop(0, 0, 0));
    file += std::string(3 * 8192 - file.size() - 4 - tail, '\0');
    file += Gop(0, 0, 7) + std::string(tail, '\x55');
    EXPECT_EQ(Utf16ToUtf8(ReadVideoBytes(u".mpg", file).Value(u"?v_len?")), "00-00-07") << tail;
  }
}

TEST(TMpegReaderTest, ElementaryStream) {
  const std::string file = StartCode(0xB3).substr(0, 0) + std::string("\0\0\x01\xB5", 4) + "xx" +
                           SequenceHeader(352, 288) + Gop(0, 0, 0) + std::string(5000, '\0') +
                           Gop(0, 0, 4);
  EXPECT_EQ(Dump(ReadVideoBytes(u".mpg", file)), "?v_wd?=352\r\n?v_ht?=288\r\n?v_len?=00-00-04\r\n");
}

TEST(TMpegReaderTest, BrokenStreams) {
  const struct {
    const char* name;
    std::string bytes;
    const char* dump;
  } cases[] = {
      {"no start codes", std::string(50000, '\x47'), ""},
      {"empty", "", ""},
      {"pack code only", StartCode(0xBA), "?v_wd?=0\r\n?v_ht?=0\r\n"},
      {"cut sequence header", Pack() + VideoPacket(SequenceHeader(32, 32).substr(0, 6)),
       "?v_wd?=0\r\n?v_ht?=0\r\n"},
      {"packet longer than the file", Pack() + StartCode(0xBE) + "\xFF\xFF" + SequenceHeader(32, 32),
       "?v_wd?=0\r\n?v_ht?=0\r\n"},
      {"start codes everywhere", [] {
         std::string codes;
         for (int i = 0; i < 100000; ++i) codes += std::string("\0\0\x01\0", 4);
         return codes;
       }(), "?v_wd?=0\r\n?v_ht?=0\r\n"},
      {"zeros", std::string(2000, '\0') + "\x01", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Dump(ReadVideoBytes(u".mpg", c.bytes)), c.dump) << c.name;
}

TEST(TMpegReaderTest, ReadsABoundedAmountOfAHugeFile) {
  TSparseFileSystem fs(u"/big.mpg", 10'000'000'000);
  fs.Put(0, Pack() + VideoPacket(SequenceHeader(32, 32)));
  TFileTagReader reader(fs);
  TTagList list;
  ASSERT_TRUE(reader.ReadVideo(u"/big.mpg", list).ok());
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"?v_wd?")), "32");
  EXPECT_LE(fs.BytesRead(), 600'000u);
}

// --- QuickTime / MP4

std::string Atom(const std::string& type, const std::string& payload) {
  return Big(payload.size() + 8, 4) + type + payload;
}

std::string TrackHeader(int version, uint32_t flags, uint32_t width, uint32_t height) {
  const size_t fields = version == 1 ? 88 : 76;
  std::string p = static_cast<char>(version) + Big(flags, 3);
  p += std::string(fields - 4, '\0') + Big(width << 16, 4) + Big(height << 16, 4);
  return Atom("tkhd", p);
}

std::string MediaHeader(int version, uint32_t timeScale, uint64_t duration) {
  std::string p = static_cast<char>(version) + std::string(3, '\0');
  p += version == 1 ? std::string(16, '\0') + Big(timeScale, 4) + Big(duration, 8)
                    : std::string(8, '\0') + Big(timeScale, 4) + Big(duration, 4);
  return Atom("mdhd", p + std::string(4, '\0'));
}

std::string Track(const std::string& tkhd, const std::string& mdhd) {
  return Atom("trak", tkhd + Atom("mdia", mdhd + Atom("hdlr", std::string(24, '\0'))));
}

std::string QuickTimeText(const std::string& text) { return Big(text.size(), 2) + "\x15\xC7" + text; }

std::string IlstItem(const std::string& type, const std::string& text) {
  return Atom(type, Atom("data", std::string("\0\0\0\x01\0\0\0\0", 8) + text));
}

const std::string kFtyp = Atom("ftyp", "isom" + Big(512, 4) + "isomiso2");

TEST(TQuickTimeReaderTest, TracksDurationAndTexts) {
  const std::string udta = Atom(
      "udta", Atom("\xA9nam", QuickTimeText("Old Title")) + Atom("\xA9" "day", QuickTimeText("2013")) +
                  Atom("meta", std::string(4, '\0') + Atom("hdlr", std::string(25, '\0')) +
                                   Atom("ilst", IlstItem("\xA9nam", "Title") +
                                                    IlstItem("\xA9" "ART", "Caf\xC3\xA9") +
                                                    IlstItem("desc", "About"))));
  const std::string moov =
      Atom("moov", Atom("mvhd", std::string(100, '\0')) +
                       Track(TrackHeader(0, 3, 1920, 1080), MediaHeader(0, 1000, 7200000)) +
                       Track(TrackHeader(0, 3, 0, 0), MediaHeader(1, 8000, 16000 * 61)) + udta);
  const TTagList list = ReadVideoBytes(u".mp4", kFtyp + Atom("free", "") + moov + Atom("mdat", "x"));
  EXPECT_EQ(Dump(list),
            "?v_wd?=1920\r\n?v_ht?=1080\r\n?v_len?=00-02-02\r\n?v_qt__nam?=Title\r\n"
            "?v_qt__day?=2013\r\n?v_qt__ART?=Caf\xC3\xA9\r\n?v_qt_desc?=About\r\n");
}

TEST(TQuickTimeReaderTest, TrackHeaders) {
  const struct {
    const char* name;
    std::string tkhd;
    const char* dump;
  } cases[] = {
      {"version 0", TrackHeader(0, 1, 640, 480), "?v_wd?=640\r\n?v_ht?=480\r\n"},
      {"version 1", TrackHeader(1, 2, 320, 240), "?v_wd?=320\r\n?v_ht?=240\r\n"},
      {"disabled track", TrackHeader(0, 0, 640, 480), ""},
      {"no picture", TrackHeader(0, 3, 0, 480), ""},
      {"cut header", Atom("tkhd", std::string(40, '\x03')), ""},
  };
  for (const auto& c : cases) {
    const std::string file = kFtyp + Atom("moov", Atom("trak", c.tkhd));
    EXPECT_EQ(Dump(ReadVideoBytes(u".mov", file)), c.dump) << c.name;
  }
}

TEST(TQuickTimeReaderTest, AtomSizes) {
  const std::string track = Atom("moov", Track(TrackHeader(0, 3, 8, 6), MediaHeader(0, 10, 50)));
  const std::string large = Big(1, 4) + "free" + Big(16 + 4, 8) + "abcd";
  const struct {
    const char* name;
    std::string bytes;
    bool found;
  } cases[] = {
      {"64-bit size", kFtyp + large + track, true},
      {"size 0 runs to the end", kFtyp + track + Big(0, 4) + "mdat" + std::string(100, 'x'), true},
      {"size 0 before the movie", kFtyp + Big(0, 4) + "mdat" + track, false},
      {"size 4", kFtyp + Big(4, 4) + "free" + track, false},
      {"size 1 with a 64-bit size below 16", kFtyp + Big(1, 4) + "free" + Big(8, 8) + track, false},
      {"larger than the file", kFtyp + Big(0xFFFFFFF0u, 4) + "free" + track, false},
      {"child larger than its parent",
       kFtyp + Atom("moov", Big(0x7FFFFFFF, 4) + "trak" + TrackHeader(0, 3, 8, 6)) + track, true},
      {"first atom unknown", Atom("abcd", "") + track, false},
      {"movie first", track, true},
      {"cut in the middle", (kFtyp + track).substr(0, 60), false},
  };
  for (const auto& c : cases) {
    const TTagList list = ReadVideoBytes(u".m4v", c.bytes);
    EXPECT_EQ(list.Contains(u"?v_len?"), c.found) << c.name << ": " << Dump(list);
  }
}

TEST(TQuickTimeReaderTest, DeepNestingIsCut) {
  std::string atom = TrackHeader(0, 3, 8, 6);
  for (int i = 0; i < 100; ++i) atom = Atom("trak", atom);
  EXPECT_TRUE(ReadVideoBytes(u".mov", kFtyp + Atom("moov", atom)).Empty());
}

TEST(TQuickTimeReaderTest, ReadsABoundedAmountOfAHugeFile) {
  // Ten gigabytes of media data in front of the movie atom.
  const uint64_t mdat = 10'000'000'000;
  TSparseFileSystem fs(u"/big.mp4", kFtyp.size() + mdat + 2000);
  fs.Put(0, kFtyp + Big(1, 4) + "mdat" + Big(mdat, 8));
  fs.Put(kFtyp.size() + mdat, Atom("moov", Track(TrackHeader(0, 3, 8, 6), MediaHeader(0, 10, 50))));
  TFileTagReader reader(fs);
  TTagList list;
  ASSERT_TRUE(reader.ReadVideo(u"/big.mp4", list).ok());
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"?v_len?")), "00-00-05") << Dump(list);
  EXPECT_LE(fs.BytesRead(), 16384u);
}

// --- ASF

const std::string kHeaderGuid("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
const std::string kContentGuid("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
const std::string kStreamGuid("\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65", 16);
const std::string kVideoGuid("\xC0\xEF\x19\xBC\x4D\x5B\xCF\x11\xA8\xFD\x00\x80\x5F\x5C\x44\x2B", 16);
const std::string kAudioGuid("\x40\x9E\x69\xF8\x4D\x5B\xCF\x11\xA8\xFD\x00\x80\x5F\x5C\x44\x2B", 16);
const std::string kFileGuid("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16);

std::string AsfObject(const std::string& guid, const std::string& body) {
  return guid + Little(body.size() + 24, 8) + body;
}

std::string Utf16Le(const std::u16string& text) {
  std::string out;
  for (const char16_t c : text + u'\0') PutLittle(out, c, 2);
  return out;
}

std::string Content(const std::u16string& title, const std::u16string& author) {
  const std::string t = Utf16Le(title), a = Utf16Le(author), empty = Utf16Le(u"");
  return AsfObject(kContentGuid, Little(t.size(), 2) + Little(a.size(), 2) + Little(2, 2) +
                                     Little(2, 2) + Little(0, 2) + t + a + empty + empty);
}

std::string Stream(const std::string& type, uint32_t width, uint32_t height) {
  return AsfObject(kStreamGuid, type + std::string(38, '\0') + Little(width, 4) + Little(height, 4) +
                                    std::string(20, '\0'));
}

std::string FileProperties(uint64_t playDuration, uint64_t prerollMs) {
  return AsfObject(kFileGuid, std::string(40, '\0') + Little(playDuration, 8) + Little(0, 8) +
                                  Little(prerollMs, 8) + std::string(20, '\0'));
}

std::string Asf(const std::string& objects) {
  return kHeaderGuid + Little(30 + objects.size(), 8) + Little(3, 4) + "\x01\x02" + objects +
         AsfObject(std::string(16, 'D'), std::string(100, '\0'));
}

TEST(TAsfReaderTest, DescriptionStreamAndDuration) {
  const std::string file = Asf(FileProperties(3723ull * 10000000 + 31000000, 3100) +
                               Stream(kAudioGuid, 9, 9) + Stream(kVideoGuid, 320, 240) +
                               Content(u"T\u00EDtulo", u"Author"));
  EXPECT_EQ(Dump(ReadVideoBytes(u".wmv", file)),
            "?v_wd?=320\r\n?v_ht?=240\r\n?v_len?=01-02-03\r\n?v_ms_title?=T\xC3\xADtulo\r\n"
            "?v_ms_author?=Author\r\n?v_ms_copyright?=\r\n?v_ms_description?=\r\n?v_ms_rating?=\r\n");
}

TEST(TAsfReaderTest, BrokenObjects) {
  const std::string zero = kContentGuid + Little(0, 8);
  const struct {
    const char* name;
    std::string bytes;
    const char* dump;
  } cases[] = {
      {"object of size 0", Asf(zero + Stream(kVideoGuid, 8, 6)), "?v_wd?=0\r\n?v_ht?=0\r\n"},
      {"object larger than the header", Asf(Stream(kVideoGuid, 8, 6)).substr(0, 100),
       "?v_wd?=0\r\n?v_ht?=0\r\n"},
      {"text lengths past the object",
       Asf(AsfObject(kContentGuid, Little(500, 2) + std::string(8, '\0') + "ab")),
       "?v_wd?=0\r\n?v_ht?=0\r\n"},
      {"not ASF", std::string(100, '\x30'), ""},
      {"header only", kHeaderGuid, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Dump(ReadVideoBytes(u".asf", c.bytes)), c.dump) << c.name;
}

TEST(TAsfReaderTest, AudioOnlyFilesHaveNoPictureSize) {
  const std::string length = FileProperties(20000000, 0);
  const struct {
    const char* name;
    std::string bytes;
    const char* dump;
  } cases[] = {
      {"audio only", Asf(length + Stream(kAudioGuid, 0, 0)), "?v_len?=00-00-02\r\n"},
      {"audio before video", Asf(Stream(kAudioGuid, 0, 0) + Stream(kVideoGuid, 8, 6) + length),
       "?v_wd?=8\r\n?v_ht?=6\r\n?v_len?=00-00-02\r\n"},
      // The walk stops at a broken object: a video stream may follow it.
      {"audio, then a broken object", Asf(Stream(kAudioGuid, 0, 0) + kContentGuid + Little(0, 8)),
       "?v_wd?=0\r\n?v_ht?=0\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Dump(ReadVideoBytes(u".wmv", c.bytes)), c.dump) << c.name;
}

TEST(TVideoTest, DurationText) {
  const struct {
    uint64_t seconds;
    const char* text;
  } cases[] = {{0, "00-00-00"}, {59, "00-00-59"}, {3723, "01-02-03"}, {360000, "100-00-00"}};
  for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(DurationText(c.seconds)), c.text) << c.seconds;
}

}  // namespace
