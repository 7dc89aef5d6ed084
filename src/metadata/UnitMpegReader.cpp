#include "metadata/UnitMpegReader.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitBytes.h"
#include "metadata/UnitVideoProperties.h"

namespace {

constexpr uint64_t kProgramStreamLimit = 40001;     // forward walk of a program stream
constexpr uint64_t kElementaryStreamLimit = 160000;  // forward walk of a bare video stream
constexpr uint64_t kBackwardBlock = 8192;
constexpr int kBackwardBlocks = 50;

constexpr uint8_t kSequenceHeader = 0xB3;
constexpr uint8_t kGroupOfPictures = 0xB8;
constexpr uint8_t kPack = 0xBA;

// A group-of-pictures time code in whole seconds.
uint64_t TimeCodeSeconds(uint32_t word) {
  const uint64_t hours = (word >> 26) & 31, minutes = (word >> 20) & 63;
  const uint64_t seconds = (word >> 13) & 63;
  return hours * 3600 + minutes * 60 + seconds;
}

struct TForwardScan {
  bool haveSize = false;
  uint32_t width = 0, height = 0;
  std::optional<uint64_t> first;  // seconds of the first time code
};

// Position of the next 00 00 01 at or after `from` with its code byte before
// `limit`, or nothing.
std::optional<uint64_t> NextStartCode(TByteSource& source, uint64_t from, uint64_t limit) {
  constexpr size_t kChunk = 4096;
  while (from + 4 <= limit) {
    const size_t count = static_cast<size_t>(std::min<uint64_t>(kChunk + 3, limit - from));
    std::string_view chunk;
    if (!source.View(from, count, chunk)) return std::nullopt;
    for (size_t i = 0; i + 4 <= chunk.size(); ++i) {
      if (chunk[i] == 0 && chunk[i + 1] == 0 && chunk[i + 2] == 1) return from + i;
    }
    from += count - 3;
  }
  return std::nullopt;
}

// Where the walk goes on after the start code at `at` (code `code`, with the
// bytes that follow in `after`): packs and packets that cannot hold video are
// skipped whole; inside a video packet the walk looks for start codes in its
// payload, where the sequence header and the group headers sit.
uint64_t NextPosition(uint64_t at, uint8_t code, std::string_view after) {
  if (code == kPack) {
    const bool mpeg2 = (ByteAt(after, 0) & 0xC0) == 0x40;
    return mpeg2 ? at + 14 + (ByteAt(after, 9) & 7) : at + 12;
  }
  const uint64_t length = BigEndian16(after, 0);
  if (code >= 0xE0 && code <= 0xEF) {
    const bool mpeg2 = (ByteAt(after, 2) & 0xC0) == 0x80;
    return mpeg2 ? at + 9 + ByteAt(after, 4) : at + 6;
  }
  if (code >= 0xBB) return at + 6 + length;  // system header, padding, private, audio, ...
  return at + 4;                             // a start code of the video stream itself
}

void WalkForward(TByteSource& source, uint64_t limit, TForwardScan& scan) {
  uint64_t position = 0;
  while (!(scan.haveSize && scan.first)) {
    const std::optional<uint64_t> at = NextStartCode(source, position, limit);
    if (!at) return;
    std::string_view bytes;
    if (!source.View(*at, static_cast<size_t>(std::min<uint64_t>(16, source.Size() - *at)), bytes)) {
      return;
    }
    const uint8_t code = ByteAt(bytes, 3);
    const std::string_view after = bytes.substr(4);
    if (code == kSequenceHeader && after.size() >= 3) {
      scan.haveSize = true;
      scan.width = (ByteAt(after, 0) << 4) | (ByteAt(after, 1) >> 4);
      scan.height = ((ByteAt(after, 1) & 15) << 8) | ByteAt(after, 2);
    } else if (code == kGroupOfPictures && after.size() >= 4 && !scan.first) {
      scan.first = TimeCodeSeconds(BigEndian32(after, 0));
    }
    position = NextPosition(*at, code, after);
  }
}

// The time code of the last group of pictures, searched backwards from the
// end of the file in blocks.
std::optional<uint64_t> LastTimeCode(TByteSource& source) {
  const uint64_t size = source.Size();
  uint64_t blockEnd = size;
  for (int block = 0; block < kBackwardBlocks && blockEnd > 0; ++block) {
    const uint64_t blockStart = blockEnd > kBackwardBlock ? blockEnd - kBackwardBlock : 0;
    // Seven bytes more, so a start code at the block's end still has its word.
    const uint64_t viewEnd = std::min(size, blockEnd + 7);
    std::string_view bytes;
    if (!source.View(blockStart, static_cast<size_t>(viewEnd - blockStart), bytes)) break;
    for (size_t i = static_cast<size_t>(blockEnd - blockStart); i-- > 0;) {
      if (i + 8 > bytes.size()) continue;
      if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 &&
          static_cast<uint8_t>(bytes[i + 3]) == kGroupOfPictures) {
        return TimeCodeSeconds(BigEndian32(bytes, i + 4));
      }
    }
    blockEnd = blockStart;
  }
  return std::nullopt;
}

}  // namespace

void ReadMpeg(TByteSource& source, TVideoProperties& video) {
  std::string_view head;
  if (!source.View(0, 4, head) || head[0] != 0 || head[1] != 0 || head[2] != 1) return;
  const bool programStream = static_cast<uint8_t>(head[3]) == kPack;
  TForwardScan scan;
  WalkForward(source, std::min(source.Size(), programStream ? kProgramStreamLimit
                                                            : kElementaryStreamLimit),
              scan);
  video.recognised = true;
  video.width = scan.width;
  video.height = scan.height;
  // The duration is the distance between the two time codes.
  const std::optional<uint64_t> last = LastTimeCode(source);
  if (!last) return;
  const uint64_t first = scan.first.value_or(0);
  const uint64_t seconds = *last >= first ? *last - first : *last;
  if (seconds != 0) video.texts.Set(u"?v_len?", DurationText(seconds));
}
