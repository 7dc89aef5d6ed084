#include "metadata/UnitJPEGSegment.h"

#include <string_view>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitBytes.h"

namespace {

// Markers that stand alone, without a length: start and end of image,
// restart markers and TEM.
bool StandsAlone(uint8_t marker) {
  return marker == 0xD8 || marker == 0xD9 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

}  // namespace

bool TJPEGSegment::GetSegment(TByteSource& source, uint64_t& position,
                              bool (*wanted)(uint8_t marker)) {
  SegData.clear();
  SegSize = 0;
  std::string_view bytes;
  if (!source.View(position, 2, bytes)) return false;
  const uint8_t first = static_cast<uint8_t>(bytes[0]);
  uint8_t marker = static_cast<uint8_t>(bytes[1]);
  position += 2;
  if (first != 0xFF) return false;
  while (marker == 0xFF) {  // fill bytes before the marker
    if (!source.View(position, 1, bytes)) return false;
    marker = static_cast<uint8_t>(bytes[0]);
    ++position;
  }
  SegType = marker;
  if (StandsAlone(marker)) return true;
  if (!source.View(position, 2, bytes)) return false;
  const uint16_t length = BigEndian16(bytes, 0);
  if (length < 2) return false;
  SegSize = static_cast<uint16_t>(length - 2);
  position += 2;
  if (wanted(marker) && !source.Read(position, SegSize, SegData)) return false;
  position += SegSize;
  return true;
}

uint8_t TJPEGSegment::GetDataByte(uint64_t i) const {
  return i < SegData.size() ? static_cast<uint8_t>(SegData[static_cast<size_t>(i)]) : 0;
}

uint16_t TJPEGSegment::GetDataWord(uint64_t i) const {
  if (!Holds(i, 2)) return 0;
  const auto at = static_cast<size_t>(i);
  return static_cast<uint16_t>(LittleEndian ? LittleEndianAt(SegData, at, 2)
                                            : BigEndianAt(SegData, at, 2));
}

uint32_t TJPEGSegment::GetDataLongWord(uint64_t i) const {
  if (!Holds(i, 4)) return 0;
  const auto at = static_cast<size_t>(i);
  return static_cast<uint32_t>(LittleEndian ? LittleEndianAt(SegData, at, 4)
                                            : BigEndianAt(SegData, at, 4));
}

int32_t TJPEGSegment::GetDataLong(uint64_t i) const {
  return static_cast<int32_t>(GetDataLongWord(i));
}

std::string TJPEGSegment::GetDataString(uint64_t offset, uint64_t length, bool skip8) const {
  if (!Holds(offset, length)) return {};
  std::string out;
  for (uint64_t i = skip8 ? 8 : 0; i < length; ++i) {
    const char c = SegData[static_cast<size_t>(offset + i)];
    if (c != '\0') out += c;
  }
  return out;
}
