#include "metadata/UnitMP3Segment.h"

#include <algorithm>
#include <string_view>

#include "metadata/UnitByteSource.h"

namespace {

// Bit rates in kbit/s by bit-rate index, for MPEG-1 layers I, II and III and
// for MPEG-2 and 2.5 layer I and layers II and III.
constexpr std::array<std::array<int, 16>, 5> kBitrates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
}};

// `layer` as coded: 3 layer I, 2 layer II, 1 layer III.
int Bitrate(int version, int layer, int index) {
  size_t table;
  if (version == 3) {
    table = static_cast<size_t>(3 - layer);
  } else {
    table = layer == 3 ? 3 : 4;
  }
  return kBitrates[table][static_cast<size_t>(index)];
}

int SampleRate(int version, int index) {
  static constexpr int kMpeg1[3] = {44100, 48000, 32000};
  static constexpr int kMpeg2[3] = {22050, 24000, 16000};
  static constexpr int kMpeg25[3] = {11025, 12000, 8000};
  switch (version) {
    case 3: return kMpeg1[index];
    case 2: return kMpeg2[index];
    default: return kMpeg25[index];
  }
}

// Where the frames start: after the ID3v2 tag, whose size is a 28-bit
// synchsafe number (7 bits a byte) after its 10-byte header, and after any
// further tags that follow it (a tagger that put a new tag in front of an
// old one), so nothing inside a tag is taken for a frame.
uint64_t SearchStart(TByteSource& source) {
  constexpr int kMaxTags = 16;
  uint64_t start = 0;
  std::string_view head;
  for (int n = 0; n < kMaxTags && source.View(start, 10, head) && head.substr(0, 3) == "ID3"; ++n) {
    uint64_t size = 0;
    for (size_t i = 6; i < 10; ++i) size = (size << 7) | (static_cast<uint8_t>(head[i]) & 0x7F);
    start += size + 10;
  }
  return start;
}

// The length in bytes of the frame whose header `s` decoded, or 0 for a
// free-format frame, whose length its header does not tell.
uint64_t FrameLength(const TMP3Segment& s) {
  const uint64_t bitsPerSecond = uint64_t{static_cast<unsigned>(s.bitrate)} * 1000;
  const uint64_t padding = (s.header[2] >> 1) & 1;
  if (s.layer == 3) return (12 * bitsPerSecond / static_cast<unsigned>(s.sample) + padding) * 4;
  const uint64_t factor = s.layer == 1 && s.version != 3 ? 72 : 144;  // layer III of MPEG-2, 2.5
  return factor * bitsPerSecond / static_cast<unsigned>(s.sample) + padding;
}

// Where the frames end: at the ID3v1 tag in the last 128 bytes, or at the
// end of the file.
uint64_t AudioEnd(TByteSource& source) {
  std::string_view tag;
  const bool tagged = source.View(source.Size() - 128, 3, tag) && tag == "TAG";
  return tagged ? source.Size() - 128 : source.Size();
}

// True when the frame that `s` begins at `at` is followed, where its length
// says, by a header of the same version, layer and sampling rate, or reaches
// `audioEnd`, where the last frame ends. This is the check by which decoders
// tell a frame from bytes that only look like its header. A free-format
// header, whose length cannot be checked, is never taken.
bool FollowedByFrame(TByteSource& source, const TMP3Segment& s, uint64_t at, uint64_t audioEnd) {
  const uint64_t length = FrameLength(s);
  if (length == 0) return false;
  const uint64_t next = at + length;
  if (next + 4 > audioEnd) return true;
  std::string_view bytes;
  if (!source.View(next, 4, bytes)) return false;
  TMP3Segment following;
  std::copy_n(bytes.begin(), 4, following.header.begin());
  return following.IsHeader() && following.version == s.version && following.layer == s.layer &&
         following.sample == s.sample;
}

}  // namespace

bool TMP3Segment::IsHeader() {
  const uint8_t b1 = header[1], b2 = header[2], b3 = header[3];
  if (header[0] != 0xFF || (b1 & 0xE0) != 0xE0) return false;
  const int v = (b1 >> 3) & 3, l = (b1 >> 1) & 3, bitrateIndex = b2 >> 4;
  const int sampleIndex = (b2 >> 2) & 3;
  if (v == 1 || l == 0 || bitrateIndex == 15 || sampleIndex == 3) return false;
  version = v;
  layer = l;
  bitrate = Bitrate(v, l, bitrateIndex);
  sample = SampleRate(v, sampleIndex);
  channel = (b3 >> 6) == 3 ? 1 : 2;
  return true;
}

bool TMP3Segment::GetHeader(TByteSource& source) {
  if (source.Size() < 128) return false;
  uint64_t position = SearchStart(source);
  const uint64_t audioEnd = AudioEnd(source);
  const uint64_t end = std::min(source.Size(), position + kSearchLimit);
  constexpr size_t kChunk = 4096;
  std::string chunk;  // a copy: checking a candidate reads elsewhere in the file
  while (position + 4 <= end) {
    // Chunks overlap by three bytes so no header straddles two of them.
    const size_t count = static_cast<size_t>(std::min<uint64_t>(kChunk + 3, end - position));
    if (!source.Read(position, count, chunk)) return false;
    for (size_t i = 0; i + 4 <= chunk.size(); ++i) {
      if (static_cast<uint8_t>(chunk[i]) != 0xFF) continue;
      std::copy_n(chunk.begin() + static_cast<std::ptrdiff_t>(i), 4, header.begin());
      if (IsHeader() && FollowedByFrame(source, *this, position + i, audioEnd)) {
        filep = position + i + 4;
        return true;
      }
    }
    position += count - 3;
  }
  return false;
}
