#include "metadata/UnitJpegReader.h"

#include <string_view>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitExifReader.h"
#include "metadata/UnitJPEGSegment.h"
#include "metadata/UnitTagList.h"
#include "metadata/UnitXmpReader.h"
#include "platform/UnitText.h"

namespace {

constexpr int kMaxSegments = 1024;  // segments before the scan, at most
constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kStartOfScan = 0xDA;
// The XMP namespace identifier that opens an XMP segment; a zero byte
// follows it, then the packet.
constexpr std::string_view kXmpIdentifier = "http://ns.adobe.com/xap/1.0/";

bool IsStartOfFrame(uint8_t marker) {
  return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

bool NeedsPayload(uint8_t marker) { return marker == kApp1 || IsStartOfFrame(marker); }

void ReadFrame(const TJPEGSegment& segment, TTagList& list) {
  if (!segment.Holds(0, 6)) return;
  list.Set(u"JFIF_PRECISION", IntToStr(segment.GetDataByte(0) * segment.GetDataByte(5)));
  list.Set(u"JFIF_HEIGHT", IntToStr(segment.GetDataWord(1)));
  list.Set(u"JFIF_WIDTH", IntToStr(segment.GetDataWord(3)));
}

void ReadApp1(TJPEGSegment& segment, TTagList& list) {
  const std::string_view payload = segment.SegData;
  if (payload.substr(0, 4) == "Exif") {
    ReadExif(segment, list);
  } else if (payload.size() > kXmpIdentifier.size() &&
             payload.substr(0, kXmpIdentifier.size()) == kXmpIdentifier) {
    ReadXmp(payload.substr(kXmpIdentifier.size() + 1), list);
  }
}

}  // namespace

void ReadJpegTags(TByteSource& source, TTagList& list) {
  TJPEGSegment segment;
  uint64_t position = 0;
  // The file must begin with a marker; between later segments stray bytes
  // are skipped, so a writer's padding or junk there loses nothing after it.
  for (int n = 0; n < kMaxSegments && segment.GetSegment(source, position, NeedsPayload, n > 0);
       ++n) {
    if (segment.SegType == kStartOfScan) return;
    if (IsStartOfFrame(segment.SegType)) ReadFrame(segment, list);
    if (segment.SegType == kApp1) ReadApp1(segment, list);
  }
}
