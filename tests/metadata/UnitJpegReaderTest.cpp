// The JPEG segment walk (TJPEGSegment), the frame size and the XMP reader.
#include "metadata/UnitJpegReader.h"

#include <gtest/gtest.h>

#include "UnitMediaBytes.h"
#include "metadata/UnitByteSource.h"
#include "metadata/UnitFileTags.h"
#include "metadata/UnitJPEGSegment.h"
#include "metadata/UnitXmpReader.h"
#include "platform/UnitText.h"
#include "support/UnitFakeFileSystem.h"

namespace {

TTagList ReadJpegBytes(const std::string& bytes) {
  TFakeFileSystem fs;
  fs.AddFile(u"/a.jpg", bytes);
  std::unique_ptr<TRandomAccessFile> file;
  EXPECT_TRUE(fs.OpenForReading(u"/a.jpg", file).ok());
  TTagList list;
  ReadJpegFile(*file, list);
  return list;
}

// A start-of-frame payload: precision, height, width, components.
std::string Frame(int precision, int height, int width, int components) {
  return static_cast<char>(precision) + Big(height, 2) + Big(width, 2) +
         static_cast<char>(components) + std::string(3 * components, '\x11');
}

std::string XmpSegment(const std::string& packet) {
  return JpegSegment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

TTagList ReadXmpText(const std::string& packet) {
  TTagList list;
  ReadXmp(packet, list);
  return list;
}

TEST(TJpegReaderTest, FrameSizeAndColourBits) {
  const struct {
    const char* name;
    uint8_t marker;
    std::string frame;
    const char* dump;
  } cases[] = {
      {"baseline colour", 0xC0, Frame(8, 480, 640, 3),
       "JFIF_PRECISION=24\r\nJFIF_HEIGHT=480\r\nJFIF_WIDTH=640\r\n"},
      {"progressive grey", 0xC2, Frame(8, 1, 65535, 1),
       "JFIF_PRECISION=8\r\nJFIF_HEIGHT=1\r\nJFIF_WIDTH=65535\r\n"},
      {"extended 12-bit", 0xC1, Frame(12, 10, 20, 3),
       "JFIF_PRECISION=36\r\nJFIF_HEIGHT=10\r\nJFIF_WIDTH=20\r\n"},
      {"arithmetic", 0xC9, Frame(8, 2, 3, 4), "JFIF_PRECISION=32\r\nJFIF_HEIGHT=2\r\nJFIF_WIDTH=3\r\n"},
      {"lossless is not read", 0xC3, Frame(8, 2, 3, 1), ""},
      {"frame too short", 0xC0, "\x08\x00\x01\x00", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dump(ReadJpegBytes(JpegFile(JpegSegment(c.marker, c.frame)))), c.dump) << c.name;
  }
}

TEST(TJpegReaderTest, WalkSkipsOtherSegmentsAndFillBytes) {
  const std::string file = "\xFF\xD8" + JpegSegment(0xE0, "JFIF\0\x01\x01") + "\xFF\xFF\xFF" +
                           JpegSegment(0xFE, "comment") + JpegSegment(0xC0, Frame(8, 2, 3, 3)) +
                           "\xFF\xDA\x00\x02" + JpegSegment(0xC0, Frame(8, 9, 9, 1));
  const TTagList list = ReadJpegBytes(file);
  // The walk ends at the start of the scan: the second frame is not seen.
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"JFIF_WIDTH")), "3") << Dump(list);
}

TEST(TJpegReaderTest, StrayBytesBetweenSegmentsAreSkipped) {
  const std::string xmp =
      XmpSegment("<rdf:Description xmlns:dc='d'><dc:title>T</dc:title></rdf:Description>");
  const struct {
    const char* name;
    std::string stray;
    bool found;
  } cases[] = {
      {"fill bytes", "\xFF\xFF\xFF", true},
      {"zero padding", std::string(40, '\0'), true},
      {"junk", "junk", true},
      {"0xFF before no marker", std::string("ab\xFF\x00\xFF\xFF\x00\xFF\x05z", 10), true},
      {"more than the walk skips", std::string(TJPEGSegment::kMaxStrayBytes + 1, 'j'), false},
  };
  for (const auto& c : cases) {
    // Stray bytes after APP0 and again after the XMP segment.
    const TTagList list = ReadJpegBytes(JpegFile(JpegSegment(0xE0, "JFIF") + c.stray + xmp +
                                                 c.stray + JpegSegment(0xC0, Frame(8, 2, 3, 3))));
    EXPECT_EQ(list.Value(u"?xmp_dc_title?"), c.found ? u"T" : u"") << c.name << ": " << Dump(list);
    EXPECT_EQ(list.Value(u"JFIF_WIDTH"), c.found ? u"3" : u"") << c.name;
  }
}

TEST(TJpegReaderTest, BrokenFilesKeepWhatWasFound) {
  const std::string frame = JpegSegment(0xC0, Frame(8, 2, 3, 3));
  const struct {
    const char* name;
    std::string bytes;
    bool hasFrame;
  } cases[] = {
      {"empty", "", false},
      {"one byte", "\xFF", false},
      {"not a JPEG", "GIF89a" + frame, false},
      {"garbage after the frame", "\xFF\xD8" + frame + "garbage", true},
      {"length larger than the file", "\xFF\xD8" + frame + "\xFF\xE1\xFF\xFF" + "Exif", true},
      {"length below 2", "\xFF\xD8" + frame + std::string("\xFF\xE1\x00\x01", 4), true},
      {"cut inside the frame", "\xFF\xD8" + frame.substr(0, 8), false},
      {"only fill bytes", "\xFF\xD8" + std::string(10000, '\xFF'), false},
  };
  for (const auto& c : cases) {
    const TTagList list = ReadJpegBytes(c.bytes);
    EXPECT_EQ(list.Contains(u"JFIF_WIDTH"), c.hasFrame) << c.name << ": " << Dump(list);
  }
}

TEST(TJpegReaderTest, ReadsOnlyTheSegmentsBeforeTheScan) {
  // A 2 GB JPEG whose header lies in the first bytes: the scan data is never read.
  TSparseFileSystem fs(u"/big.jpg", 2'000'000'000);
  fs.Put(0, "\xFF\xD8" + JpegSegment(0xC0, Frame(8, 2, 3, 3)) + JpegSegment(0xDA, std::string(10, '\0')));
  TFileTagReader reader(fs);
  TTagList list;
  ASSERT_TRUE(reader.ReadJpeg(u"/big.jpg", list).ok());
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"JFIF_WIDTH")), "3");
  EXPECT_LE(fs.BytesRead(), 8192u);
}

TEST(TJpegReaderTest, ExifAndXmpInOneWalk) {
  TExifBuilder exif(true);
  exif.Ascii(271, "Maker");
  const std::string xmp =
      "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
      "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
      "xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:title>T</dc:title>"
      "</rdf:Description></rdf:RDF></x:xmpmeta>";
  const TTagList list = ReadJpegBytes(JpegFile(JpegSegment(0xE1, exif.Payload()) + XmpSegment(xmp) +
                                               JpegSegment(0xC0, Frame(8, 2, 3, 3))));
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"Make")), "Maker");
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"?xmp_dc_title?")), "T");
  EXPECT_EQ(Utf16ToUtf8(list.Value(u"JFIF_HEIGHT")), "2");
}

TEST(TJpegReaderTest, ShortExifSegments) {
  for (const std::string& payload : {std::string("Exif"), std::string("Exif\0\0II", 8),
                                    std::string("Exif\0\0MM\0\x2a\xff\xff\xff\xff", 14)}) {
    const TTagList list = ReadJpegBytes(JpegFile(JpegSegment(0xE1, payload)));
    EXPECT_EQ(Dump(list), "IFD0=----------\r\n") << payload.size();
  }
}

TEST(TJPEGSegmentTest, DataReadsFollowTheByteOrder) {
  TJPEGSegment s;
  s.SegData = std::string("\x01\x02\x03\x04\x00\x41\x00\x42", 8);
  EXPECT_EQ(s.GetDataWord(0), 0x0102);
  EXPECT_EQ(s.GetDataLongWord(0), 0x01020304u);
  s.SetLittleIndian(true);
  EXPECT_EQ(s.GetDataWord(0), 0x0201);
  EXPECT_EQ(s.GetDataLong(0), 0x04030201);
  EXPECT_EQ(s.GetDataWord(7), 0) << "past the end";
  EXPECT_EQ(s.GetDataLongWord(6), 0u) << "past the end";
  EXPECT_EQ(s.GetDataString(4, 4, false), "AB");
  EXPECT_EQ(s.GetDataString(0, 8, true), "");
  EXPECT_EQ(s.GetDataString(4, 5, false), "") << "past the end";
}

TEST(TXmpReaderTest, ElementsAndAttributesOfDeclaredNamespaces) {
  const std::string packet = R"(<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>
<x:xmpmeta xmlns:x='adobe:ns:meta/'>
 <rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>
  <rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'>
   <dc:creator>
    <rdf:Seq>
     <rdf:li>Ann Example</rdf:li>
    </rdf:Seq>
   </dc:creator>
   <dc:subject><rdf:Bag><rdf:li>one</rdf:li><rdf:li>two</rdf:li></rdf:Bag></dc:subject>
   <dc:Title>First</dc:Title>
   <dc:title>Second</dc:title>
  </rdf:Description>
  <rdf:Description rdf:about='' xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmp:Rating='4'
    xmp:CreatorTool='Tool'>
   <xmp:Label><![CDATA[ cdata ]]></xmp:Label>
  </rdf:Description>
 </rdf:RDF>
</x:xmpmeta>
<?xpacket end='w'?>)";
  const TTagList list = ReadXmpText(packet);
  const struct {
    const char16_t* key;
    const char* value;
  } cases[] = {
      {u"?xmp_dc_creator?", "Ann Example"}, {u"?xmp_dc_subject?", "one two"},
      {u"?xmp_dc_title?", "Second"},        {u"?xmp_xmp_rating?", "4"},
      {u"?xmp_xmp_creatortool?", "Tool"},   {u"?xmp_xmp_label?", "cdata"},
      {u"?xmp_x_xmpmeta?", ""},             {u"?xmp_rdf_li?", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(list.Value(c.key)), c.value) << Utf16ToUtf8(c.key) << "\n" << Dump(list);
}

TEST(TXmpReaderTest, NamespacesDeclaredAroundTheDescriptionAndResources) {
  const TTagList list = ReadXmpText(R"(<x:xmpmeta xmlns:x='adobe:ns:meta/' x:xmptk='K' xmlns:dc='d'>
 <rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' xmlns:xmp='x' xmlns:cc='c'>
  <rdf:Description rdf:about='' xmp:Rating='3'>
   <dc:title><rdf:Alt><rdf:li xml:lang='x-default'>Outer</rdf:li></rdf:Alt></dc:title>
   <cc:license rdf:resource='http://example.org/licence'/>
   <dc:relation><rdf:Bag><rdf:li rdf:resource='a:1'/><rdf:li rdf:resource='a:2'/></rdf:Bag>
   </dc:relation>
  </rdf:Description></rdf:RDF></x:xmpmeta>)");
  EXPECT_EQ(Dump(list),
            "?xmp_xmp_rating?=3\r\n?xmp_cc_license?=http://example.org/licence\r\n"
            "?xmp_dc_title?=Outer\r\n?xmp_dc_relation?=a:1 a:2\r\n")
      << "RDF and the wrapper shape the packet; their names are no properties";
}

TEST(TXmpReaderTest, BadPacketsYieldNothing) {
  const char* cases[] = {
      "",
      "not xml",
      "<rdf:Description xmlns:dc='d'><dc:title>unclosed</rdf:Description>",
      "<rdf:Description xmlns:dc='d'><dc:title>T</dc:title></rdf:Description><extra",
      // Prefixes that are no plain names are not pasted into queries.
      "<rdf:Description xmlns:a|b='d' xmlns:='e'><x>T</x></rdf:Description>",
      "<rdf:RDF xmlns:dc='d'><rdf:Description><dc:title>T</dc:title></rdf:RDF>",
      "<rdf:RDF xmlns:dc='d'><rdf:Description rdf:resource='u'><dc:title rdf:resource='v'>",
  };
  for (const char* packet : cases) EXPECT_TRUE(ReadXmpText(packet).Empty()) << packet << "\n" << Dump(ReadXmpText(packet));
}

TEST(TXmpReaderTest, UnicodeText) {
  const TTagList list = ReadXmpText(
      "<rdf:Description xmlns:dc='d'><dc:title>Caf\xC3\xA9 \xE2\x82\xAC</dc:title></rdf:Description>");
  EXPECT_EQ(list.Value(u"?xmp_dc_title?"), u"Caf\u00E9 \u20AC");
}

TEST(TXmpReaderTest, DeepNestingStaysBounded) {
  std::string packet = "<rdf:Description xmlns:a='d'>";
  for (int i = 0; i < 5000; ++i) packet += "<a:b>";
  packet += "x";
  for (int i = 0; i < 5000; ++i) packet += "</a:b>";
  packet += "</rdf:Description>";
  const TTagList list = ReadXmpText(packet);
  EXPECT_EQ(list.Size(), 1u);
}

}  // namespace
