// The EXIF IFD walk and value formatting, on APP1 segments built by hand in
// both byte orders, and the tag table.
#include "metadata/UnitExifReader.h"

#include <gtest/gtest.h>

#include <set>

#include "UnitMediaBytes.h"
#include "metadata/UnitExifTags.h"
#include "metadata/UnitFileTags.h"
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

TTagList ReadExifPayload(const std::string& payload) {
  return ReadJpegBytes(JpegFile(JpegSegment(0xE1, payload)));
}

std::string Value(const TTagList& list, const char16_t* name) {
  return Utf16ToUtf8(list.Value(name));
}

class TExifReaderTest : public ::testing::TestWithParam<bool> {
 protected:
  TExifBuilder Builder() const { return TExifBuilder(GetParam()); }
  std::string Order() const { return GetParam() ? "II" : "MM"; }
};

TEST_P(TExifReaderTest, ValueForms) {
  TExifBuilder b = Builder();
  b.Entry(41728, 1, 1, "\xC8")                           // byte
      .Entry(41729, 6, 1, "\xF6")                        // signed byte
      .Short(274, 65535)                                 // short
      .Entry(37383, 8, 1, b.Number(0xFFFE, 2))           // signed short
      .Long(40962, 4000000000u)                          // long
      .Entry(40963, 9, 1, b.Number(0xFFFFFFFF, 4))       // signed long
      .Rational(282, 72, 1)                              // rational
      .Rational(37122, 1, 100)
      .Rational(37377, 17, 6)
      .Rational(37378, 5, 0)
      .Entry(37380, 10, 1, b.Number(static_cast<uint32_t>(-7), 4) + b.Number(10, 4))
      .Ascii(271, "Maker")                               // ASCII beyond 4 bytes
      .Ascii(272, "Mod")                                 // ASCII inline
      .Entry(36864, 7, 4, "0230")                        // undefined
      .Entry(41483, 11, 1, b.Number(1, 4))               // float: skipped
      .Entry(41484, 12, 1, b.Number(0, 4) + b.Number(1, 4))  // double: skipped
      .Entry(41486, 13, 1, b.Number(0, 4));               // unknown type: skipped
  const TTagList list = ReadExifPayload(b.Payload());
  const struct {
    const char16_t* name;
    const char* value;
  } cases[] = {
      {u"FileSource", "200"},     {u"SceneType", "-10"},           {u"Orientation", "65535"},
      {u"MeteringMode", "-2"},    {u"ExifImageWidth", "4000000000"}, {u"ExifImageLength", "-1"},
      {u"XResolution", "72"},     {u"CompressedBitsPerPixel", "0.01"},
      {u"ShutterSpeedValue", "2.83"}, {u"ApertureValue", "0.0"},  {u"ExposureBiasValue", "-0.7"},
      {u"Make", "Maker"},         {u"Model", "Mod"},               {u"ExifVersion", "0230"},
  };
  for (const auto& c : cases) EXPECT_EQ(Value(list, c.name), c.value) << Order() << " " << Utf16ToUtf8(c.name);
  for (const char16_t* skipped : {u"FlashEnergy", u"SpatialFrequencyResponse", u"FocalPlaneXResolution"}) {
    EXPECT_FALSE(list.Contains(skipped)) << Order() << " " << Utf16ToUtf8(skipped);
  }
  EXPECT_EQ(Value(list, u"IFD0"), "----------");
}

TEST_P(TExifReaderTest, SpecialTags) {
  TExifBuilder b = Builder();
  b.Rational(33434, 10, 1250)
      .Rational(658, 1, 3)
      .Rational(33437, 4, 1)
      .Short(34855, 80)
      .Entry(37121, 7, 4, std::string("\x01\x02\x03\x00", 4))
      .Entry(37510, 7, 16, std::string("UNICODE\0H\0i\0!\0\0\0", 16))
      .Entry(59932, 7, 8, std::string(8, 'x'))
      .Ascii(306, "2013:05:17 10:20:30")
      .Ascii(36867, "0000:00:00 00:00:00")
      .Ascii(36868, "    :  :     :  :  ")
      .Entry(37500, 7, 6, "maker!")
      .Short(0x1234, 5);
  const TTagList list = ReadExifPayload(b.Payload());
  const struct {
    const char16_t* name;
    const char* value;
  } cases[] = {
      {u"ExposureTime", "1/125"},        {u"0292 not found", "1/3"},
      {u"FNumber", "4.0"},               {u"ISOSpeedRatings", "080"},
      {u"ComponentsConfiguration", "01020300"}, {u"UserComment", "Hi!"},
      {u"EA1C not found", "BAD MS FORMAT"}, {u"DateTime", "2013-05-17 10:20:30"},
      {u"DateTimeOriginal", ""},         {u"DateTimeDigitized", ""},
      {u"1234 not found", "5"},
  };
  for (const auto& c : cases) EXPECT_EQ(Value(list, c.name), c.value) << Order() << " " << Utf16ToUtf8(c.name);
  EXPECT_FALSE(list.Contains(u"MakerNote")) << Dump(list);
}

TEST_P(TExifReaderTest, UserCommentsEndAtTheirFirstZeroCharacter) {
  const TExifBuilder b = Builder();
  const std::string ascii("ASCII\0\0\0", 8), unicode("UNICODE\0", 8);
  const struct {
    const char* name;
    std::string value;
    const char* text;
  } cases[] = {
      {"text, zero, binary", ascii + std::string("Holiday\0\x01\x02\xFE!binary", 16), "Holiday"},
      {"blanks and zeros after the text", ascii + "Note   " + std::string(300, '\0'), "Note"},
      {"UTF-16 in the other byte order",
       unicode + (GetParam() ? std::string("\0H\0i\0\0\0x", 8) : std::string("H\0i\0\0\0x\0", 8)),
       "Hi"},
      {"UTF-16 in the EXIF byte order",
       unicode + b.Number(0x20AC, 2) + b.Number(0x4E00, 2) + b.Number(' ', 2) + b.Number(0, 2) +
           b.Number('z', 2),
       "\xE2\x82\xAC\xE4\xB8\x80"},
      {"unpaired surrogate", unicode + b.Number(0xD800, 2) + b.Number('Z', 2), "\xEF\xBF\xBDZ"},
      {"shorter than its code", "ASCII", ""},
  };
  for (const auto& c : cases) {
    TExifBuilder entry = Builder();
    entry.Entry(37510, 7, static_cast<uint32_t>(c.value.size()), c.value);
    const TTagList list = ReadExifPayload(entry.Payload());
    EXPECT_EQ(Value(list, u"UserComment"), c.text) << Order() << " " << c.name;
  }
}

TEST_P(TExifReaderTest, FollowsTheExifIfd) {
  TExifBuilder sub = Builder();
  sub.Ascii(36867, "2013:05:17 10:20:30").Rational(33437, 28, 10);
  TExifBuilder b = Builder();
  b.Ascii(271, "Maker").Sub(34665, sub);
  const TTagList list = ReadExifPayload(b.Payload());
  EXPECT_EQ(Value(list, u"Make"), "Maker") << Dump(list);
  EXPECT_EQ(Value(list, u"SubIFD"), "-------------");
  EXPECT_EQ(Value(list, u"DateTimeOriginal"), "2013-05-17 10:20:30") << Dump(list);
  EXPECT_EQ(Value(list, u"FNumber"), "2.8");
}

TEST_P(TExifReaderTest, NextIfdIsNotRead) {
  TExifBuilder b = Builder();
  b.Ascii(271, "Maker");
  std::string payload = b.Payload(26 + 6);  // IFD0 ends at 26; a second IFD follows
  payload += b.Number(1, 2) + b.Number(272, 2) + b.Number(2, 2) + b.Number(3, 4) + "TC\0\0" +
             b.Number(0, 4);
  const TTagList list = ReadExifPayload(payload);
  EXPECT_EQ(Value(list, u"Make"), "Maker");
  EXPECT_FALSE(list.Contains(u"Model")) << Dump(list);
}

TEST_P(TExifReaderTest, LoopingIfdChainsAreWalkedOnce) {
  TExifBuilder b = Builder();
  b.Ascii(271, "Maker").Long(34665, 8).Raw(1, 4, 1, 8);  // both point back at IFD0
  const TTagList list = ReadExifPayload(b.Payload(8));  // and so does the next-IFD link
  EXPECT_EQ(Value(list, u"Make"), "Maker");
  EXPECT_EQ(Value(list, u"SubIFD"), "-------------");
  EXPECT_EQ(Value(list, u"InterIFD"), "-------------");
}

TEST_P(TExifReaderTest, OffsetsOutsideTheSegmentAreSkipped) {
  TExifBuilder b = Builder();
  b.Raw(271, 2, 100, 5000)           // text past the end
      .Raw(282, 5, 1, 0xFFFFFFF0)    // rational past the end
      .Raw(34665, 4, 1, 0xFFFFFFFF)  // sub-IFD past the end
      .Raw(272, 2, 0xFFFFFFFF, 8)    // huge count
      .Ascii(305, "Tool");
  const TTagList list = ReadExifPayload(b.Payload());
  EXPECT_EQ(Value(list, u"Software"), "Tool") << Dump(list);
  EXPECT_EQ(Value(list, u"Make"), "");
  EXPECT_EQ(Value(list, u"Model"), "");
}

TEST_P(TExifReaderTest, IfdCountLargerThanTheSegment) {
  TExifBuilder b = Builder();
  b.Ascii(305, "Tool");
  std::string payload = b.Payload();
  payload.replace(6 + 8, 2, b.Number(60000, 2));  // IFD0 claims 60000 entries
  const TTagList list = ReadExifPayload(payload);
  EXPECT_EQ(Value(list, u"Software"), "Tool") << Dump(list);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, TExifReaderTest, ::testing::Values(false, true),
                         [](const auto& order) { return order.param ? "II" : "MM"; });

TEST(TExifTextTest, Rationals) {
  const struct {
    double numerator, denominator;
    const char* text;
  } cases[] = {{72, 1, "72"},       {1, 100, "0.01"},   {17, 6, "2.83"}, {1, 3, "0.33"},
               {-7, 10, "-0.7"},    {-17, 6, "-2.8"},   {5, 0, "0.0"},   {0, 5, "0"},
               {123456, 1, "1234"}, {1, 100000, "1E-5"}, {1e20, 1, "1E20"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(RationalText(c.numerator, c.denominator)), c.text)
        << c.numerator << "/" << c.denominator;
  }
}

TEST(TExifTextTest, Dates) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"2013:05:17 10:20:30", "2013-05-17 10:20:30"},
               {"2012:02:29 00:00:00", "2012-02-29 00:00:00"},
               {"2013:02:29 00:00:00", ""},
               {"2013:13:01 00:00:00", ""},
               {"2013:05:17 24:00:00", ""},
               {"2013:05:17", ""},
               {"", ""},
               {"abcd:ef:gh ij:kl:mn", ""}};
  for (const auto& c : cases) EXPECT_EQ(Utf16ToUtf8(ExifDateText(c.in)), c.out) << c.in;
}

TEST(TExifTagsTest, TableHas95DistinctCodes) {
  std::set<std::u16string> codes;
  for (const TExifTag& tag : ExifTagTable()) codes.insert(AsciiLowerCase(tag.code));
  EXPECT_EQ(ExifTagTable().size(), 95u);
  EXPECT_EQ(codes.size(), 95u);
}

TEST(TExifTagsTest, Lookups) {
  EXPECT_EQ(GetTagNumber(u"x_dto"), 36867);
  EXPECT_EQ(GetTagNumber(u"X_MA"), 271);
  EXPECT_EQ(GetTagNumber(u"x_pcr"), 319);
  EXPECT_EQ(GetTagNumber(u"x_pc"), 284);
  EXPECT_EQ(GetTagNumber(u"x_fl35"), 41989);
  EXPECT_FALSE(GetTagNumber(u"x_zz"));
  EXPECT_FALSE(GetTagNumber(u"dto"));
  EXPECT_EQ(GetTagName(33723), u"IPTC/NAA");
  EXPECT_EQ(GetTagName(0xABC), u"0ABC not found");
}

}  // namespace
