#include "metadata/UnitAsfReader.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "metadata/UnitByteSource.h"
#include "metadata/UnitBytes.h"
#include "metadata/UnitVideoProperties.h"

namespace {

using TGuid = std::string_view;

constexpr TGuid kHeaderObject{"\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16};
constexpr TGuid kContentDescription{
    "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16};
constexpr TGuid kStreamProperties{
    "\x91\x07\xDC\xB7\xB7\xA9\xCF\x11\x8E\xE6\x00\xC0\x0C\x20\x53\x65", 16};
constexpr TGuid kVideoMedia{"\xC0\xEF\x19\xBC\x4D\x5B\xCF\x11\xA8\xFD\x00\x80\x5F\x5C\x44\x2B", 16};
constexpr TGuid kFileProperties{
    "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", 16};

constexpr uint64_t kObjectHeader = 24;  // GUID and 64-bit size
constexpr int kMaxObjects = 1024;
constexpr uint64_t kMaxDescription = 34 + 5 * 65535;

// UTF-16 little-endian text without its terminating zero characters.
std::u16string Utf16Le(std::string_view bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(LittleEndianAt(bytes, i, 2));
  }
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

void ReadContentDescription(std::string_view object, TVideoProperties& video) {
  static constexpr std::array<std::u16string_view, 5> kNames = {
      u"?v_ms_title?", u"?v_ms_author?", u"?v_ms_copyright?", u"?v_ms_description?",
      u"?v_ms_rating?"};
  if (object.size() < 34) return;
  size_t at = 34;
  for (size_t i = 0; i < kNames.size(); ++i) {
    const size_t length = static_cast<size_t>(LittleEndianAt(object, 24 + 2 * i, 2));
    if (length > object.size() - at) return;
    video.texts.Set(kNames[i], Utf16Le(object.substr(at, length)));
    at += length;
  }
}

// True for a video stream, whose picture size it then gives.
bool ReadStreamProperties(std::string_view object, TVideoProperties& video) {
  if (object.size() < 86 || object.substr(24, 16) != kVideoMedia) return false;
  video.width = LittleEndian32(object, 78);
  video.height = LittleEndian32(object, 82);
  return true;
}

// The play duration counts in 100 ns units and includes the preroll (in
// milliseconds), the time that passes before the first sample plays.
void ReadFileProperties(std::string_view object, TVideoProperties& video) {
  if (object.size() < 88) return;
  const uint64_t playDuration = LittleEndianAt(object, 64, 8);
  const uint64_t preroll = LittleEndianAt(object, 80, 8) * 10000;
  const uint64_t duration = playDuration > preroll ? playDuration - preroll : playDuration;
  video.texts.Set(u"?v_len?", DurationText(duration / 10000000));
}

}  // namespace

// A header whose objects were all walked and that describes streams, none of
// them video, belongs to a file without pictures: like other containers
// without video it then gives no picture size. When the walk stops early the
// size stays unknown (0), as a video stream may lie further on.
void ReadAsf(TByteSource& source, TVideoProperties& video) {
  std::string_view head;
  if (!source.View(0, 30, head) || head.substr(0, 16) != kHeaderObject) return;
  video.recognised = true;
  const uint64_t end = std::min<uint64_t>(LittleEndianAt(head, 16, 8), source.Size());
  uint64_t position = 30;
  bool streams = false, videoStream = false;
  for (int n = 0; n < kMaxObjects && position + kObjectHeader <= end; ++n) {
    std::string_view object;
    if (!source.View(position, kObjectHeader, object)) return;
    const uint64_t size = LittleEndianAt(object, 16, 8);
    if (size < kObjectHeader || size > end - position) return;
    const std::string guid(object.substr(0, 16));  // the view dies with the next read
    if (guid == kContentDescription || guid == kStreamProperties || guid == kFileProperties) {
      std::string_view body;
      if (!source.View(position, static_cast<size_t>(std::min(size, kMaxDescription)), body)) {
        return;
      }
      if (guid == kContentDescription) ReadContentDescription(body, video);
      if (guid == kStreamProperties) {
        streams = true;
        if (ReadStreamProperties(body, video)) videoStream = true;
      }
      if (guid == kFileProperties) ReadFileProperties(body, video);
    }
    position += size;
  }
  if (position + kObjectHeader > end && streams && !videoStream) video.recognised = false;
}
