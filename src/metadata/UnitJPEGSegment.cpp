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

// Marker types that can follow 0xFF in the header part of a file: TEM and
// 0xC0 to 0xFE. 0x00 after 0xFF is a stuffed byte of entropy-coded data and
// 0x02 to 0xBF are reserved, so neither starts a segment when the walk looks
// for its way back through stray bytes.
bool IsMarker(uint8_t marker) { return marker == 0x01 || (marker >= 0xC0 && marker != 0xFF); }

// Moves `position` past the next marker and gives its type. Fill bytes (0xFF)
// before the type are padding. Unless `resync`, the marker must begin right
// at `position`; with it, stray bytes are skipped as decoders skip them, up
// to the next 0xFF followed by a marker type, for at most kMaxStrayBytes.
bool NextMarker(TByteSource& source, uint64_t& position, bool resync, uint8_t& marker) {
  const uint64_t start = position;
  std::string_view byte;
  for (;;) {
    if (position - start > TJPEGSegment::kMaxStrayBytes || !source.View(position, 1, byte)) {
      return false;
    }
    ++position;
    if (static_cast<uint8_t>(byte[0]) != 0xFF) {
      if (!resync) return false;
      continue;
    }
    do {
      if (!source.View(position, 1, byte)) return false;
      ++position;
    } while (static_cast<uint8_t>(byte[0]) == 0xFF);
    marker = static_cast<uint8_t>(byte[0]);
    if (!resync || IsMarker(marker)) return true;
  }
}

}  // namespace

bool TJPEGSegment::GetSegment(TByteSource& source, uint64_t& position,
                              bool (*wanted)(uint8_t marker), bool resync) {
  SegData.clear();
  SegSize = 0;
  uint8_t marker = 0;
  if (!NextMarker(source, position, resync, marker)) return false;
  SegType = marker;
  if (StandsAlone(marker)) return true;
  std::string_view bytes;
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
