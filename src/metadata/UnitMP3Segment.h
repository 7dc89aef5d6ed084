// One MPEG audio frame header: its test and decoding, and the search for the
// first frame of a file (after the ID3v2 tags when the file starts with one).
#pragma once

#include <array>
#include <cstdint>

class TByteSource;

class TMP3Segment {
 public:
  // The search gives up this many bytes after its start, so a file without
  // frames is never read whole.
  static constexpr uint64_t kSearchLimit = 1u << 20;

  std::array<uint8_t, 4> header{};
  int version = 0;  // 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
  int layer = 0;    // 0 reserved, 1 layer III, 2 layer II, 3 layer I
  int bitrate = 0;  // kbit/s
  int sample = 0;   // Hz
  int channel = 0;  // 1 or 2
  uint64_t filep = 0;  // file position just after the header

  // Tests the four bytes in `header` and, when they are a frame header,
  // decodes them into the fields above.
  bool IsHeader();
  // Searches `source` for the first frame header after the ID3v2 tags that
  // a second header follows where the first frame's length says (or the end
  // of the audio); true when one was found.
  bool GetHeader(TByteSource& source);
};
