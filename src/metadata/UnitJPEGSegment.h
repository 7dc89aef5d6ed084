// One segment of a JPEG file (marker, payload) and typed reads from its
// payload in the byte order of the EXIF data it may hold.
#pragma once

#include <cstdint>
#include <string>

class TByteSource;

class TJPEGSegment {
 public:
  bool LittleEndian = false;  // byte order of GetData*: false is "MM" (and JPEG) order
  uint8_t SegType = 0;        // the marker type, the byte after 0xFF
  uint16_t SegSize = 0;       // payload length
  std::string SegData;        // the payload, when it was read

  // Stray bytes skipped between two segments, at most.
  static constexpr uint64_t kMaxStrayBytes = 1u << 20;

  // Reads the segment at `position` and moves `position` past it. The payload
  // is read only when `wanted(SegType)`; SegData stays empty otherwise. False
  // when the bytes there are no segment or the file ends inside it. With
  // `resync`, stray bytes before the segment's marker are skipped.
  bool GetSegment(TByteSource& source, uint64_t& position, bool (*wanted)(uint8_t marker),
                  bool resync = false);

  uint8_t GetType() const { return SegType; }
  uint16_t GetSize() const { return SegSize; }
  void SetLittleIndian(bool value) { LittleEndian = value; }

  // True when `count` payload bytes at `offset` exist.
  bool Holds(uint64_t offset, uint64_t count) const {
    return offset <= SegData.size() && count <= SegData.size() - offset;
  }
  // Reads from the payload; bytes outside it read as 0.
  uint8_t GetDataByte(uint64_t i) const;
  uint16_t GetDataWord(uint64_t i) const;
  int32_t GetDataLong(uint64_t i) const;
  uint32_t GetDataLongWord(uint64_t i) const;
  // Payload bytes offset .. offset + length - 1, zero bytes left out, the
  // first 8 bytes too with `skip8`; empty when they run past the payload.
  std::string GetDataString(uint64_t offset, uint64_t length, bool skip8) const;
};
